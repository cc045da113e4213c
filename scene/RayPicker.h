#ifndef MOSSDEN_SCENE_RAYPICKER_H
#define MOSSDEN_SCENE_RAYPICKER_H

// Picking with rays against the triangles of a scene's entities, the
// triangles of an entity, and detour paths around what the rays hit.
#include <OgrePrerequisites.h>
#include <OgreQuaternion.h>
#include <OgreVector.h>

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TriangleBvh;

// An entity's triangles: vertices (in the space asked for) and three indices
// per triangle into them. Sub-meshes follow one another in mesh order;
// vertices shared by several sub-meshes appear once.
struct MeshData {
    std::vector<Ogre::Vector3> vertices;
    std::vector<Ogre::uint32> indices;
};

// The entity's triangles, each vertex v stored as orientation * (v * scale)
// + position (scale component by component). A skinned entity gives its
// current pose (its animation is updated first). Only whole triangles are
// copied: a sub-mesh whose index count is not a multiple of 3 loses the rest.
MeshData extractMeshData(Ogre::Entity* entity, const Ogre::Vector3& position,
                         const Ogre::Quaternion& orientation, const Ogre::Vector3& scale);

// Casts rays against the triangles of the entities of one scene manager.
// Owns its ray query and, per mesh, the model-space triangles with a
// bounding-volume hierarchy (built on a mesh's first cast), so a cast costs
// a few box and triangle tests per entity; skinned entities, whose vertices
// move, are extracted anew at every cast.
class RayPicker {
public:
    explicit RayPicker(Ogre::SceneManager* sceneManager);
    ~RayPicker();
    RayPicker(const RayPicker&) = delete;
    RayPicker& operator=(const RayPicker&) = delete;

    // The cached triangles of a mesh; null for meshes without triangles.
    const TriangleBvh* meshTriangles(const Ogre::Mesh* mesh);

    Ogre::SceneManager* sceneManager;  // not owned
    Ogre::RaySceneQuery* query;        // owned; sorted by distance, no result limit

private:
    struct CachedMesh {
        Ogre::ResourceHandle handle = 0;
        size_t stateCount = 0;
        std::unique_ptr<TriangleBvh> triangles;
    };
    std::unordered_map<const Ogre::Mesh*, CachedMesh> meshCache;
};

// Casts a ray from origin along direction (not necessarily unit length;
// distances are in units of its length) against the front faces of the
// triangles of the entities the picker's query meets, nearest first. On a
// hit, hitPoint, normal (the hit triangle's face normal), entity and
// distance are written and the result is true. On a miss the result is
// false and the outputs are untouched.
bool castRay(RayPicker& picker, const Ogre::Vector3& origin, const Ogre::Vector3& direction,
             Ogre::Vector3& hitPoint, Ogre::Vector3& normal, Ogre::Entity*& entity,
             Ogre::Real& distance);

// castRay by brute force: every entity the walk reaches is extracted into
// world space and all its triangles are tested. Same results as castRay;
// kept to check it and to measure it against.
bool castRayExtracting(RayPicker& picker, const Ogre::Vector3& origin,
                       const Ogre::Vector3& direction, Ogre::Vector3& hitPoint,
                       Ogre::Vector3& normal, Ogre::Entity*& entity, Ogre::Real& distance);

// Nesting of findPath calls in progress; 0 when none is active.
extern int pathDepth;
// Appends a path from start to target that steps around what castRay hits:
// start (unless the path already ends exactly there), a detour point per
// obstacle and then target once for every nesting level (a path with n
// detours ends with target n + 1 times). Detours nest at most 19 deep.
void findPath(RayPicker& picker, const Ogre::Vector3& start, const Ogre::Vector3& target,
              std::vector<Ogre::Vector3>& path);
void findPath(RayPicker& picker, const Ogre::Vector3& start, const Ogre::Vector3& target,
              std::list<Ogre::Vector3>& path);

#endif
