#include "scene/RayPicker.h"

#include <OgreAnimationState.h>
#include <OgreEntity.h>
#include <OgreHardwareBufferManager.h>
#include <OgreMath.h>
#include <OgreMeshManager.h>
#include <OgreRay.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSceneQuery.h>
#include <OgreSkeletonInstance.h>
#include <OgreStringConverter.h>
#include <OgreSubEntity.h>
#include <OgreSubMesh.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "scene/TriangleBvh.h"

int pathDepth = 0;

namespace {

constexpr int MAX_PATH_DEPTH = 20;
// Detour candidates: back from the hit along the ray by k, out sideways by m.
constexpr int DETOUR_BACK_STEP = 1000;
constexpr int DETOUR_BACK_END = 32000;
constexpr int DETOUR_SIDE_START = 2000;
constexpr int DETOUR_SIDE_STEP = 400;
constexpr int DETOUR_SIDE_END = 8000;

// The one place world vertices are computed, so that every path through
// the picker rounds exactly alike.
inline Ogre::Vector3 transformVertex(const Ogre::Vector3& v, const Ogre::Vector3& position,
                                     const Ogre::Quaternion& orientation,
                                     const Ogre::Vector3& scale) {
    return orientation * (v * scale) + position;
}

// Copies vertex data positions (from the start of the buffer, as many as
// both the data and the buffer hold) into out from slot offset on.
void copyPositions(const Ogre::VertexData* data, std::vector<Ogre::Vector3>& out, size_t offset,
                   const Ogre::Vector3& position, const Ogre::Quaternion& orientation,
                   const Ogre::Vector3& scale) {
    const Ogre::VertexElement* element =
        data->vertexDeclaration->findElementBySemantic(Ogre::VES_POSITION);
    if (!element || element->getType() != Ogre::VET_FLOAT3) return;
    Ogre::HardwareVertexBufferSharedPtr buffer =
        data->vertexBufferBinding->getBuffer(element->getSource());
    if (!buffer) return;
    const size_t count = std::min(data->vertexCount, buffer->getNumVertices());
    Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    const auto* bytes = static_cast<const unsigned char*>(lock.pData);
    for (size_t j = 0; j < count; ++j, bytes += buffer->getVertexSize()) {
        float* p = nullptr;
        element->baseVertexPointerToElement(const_cast<unsigned char*>(bytes), &p);
        out[offset + j] =
            transformVertex(Ogre::Vector3(p[0], p[1], p[2]), position, orientation, scale);
    }
}

// Appends the whole triangles of an index data, each index plus base.
void appendIndices(const Ogre::IndexData* data, std::vector<Ogre::uint32>& out, size_t base) {
    const Ogre::HardwareIndexBufferSharedPtr& buffer = data->indexBuffer;
    if (!buffer || data->indexCount == 0) return;
    if (data->indexStart >= buffer->getNumIndexes()) return;
    size_t count = std::min(data->indexCount, buffer->getNumIndexes() - data->indexStart);
    count -= count % 3;
    Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    if (buffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT) {
        const auto* indices = static_cast<const Ogre::uint32*>(lock.pData) + data->indexStart;
        for (size_t k = 0; k < count; ++k)
            out.push_back(static_cast<Ogre::uint32>(indices[k] + base));
    } else {
        const auto* indices = static_cast<const Ogre::uint16*>(lock.pData) + data->indexStart;
        for (size_t k = 0; k < count; ++k)
            out.push_back(static_cast<Ogre::uint32>(indices[k] + base));
    }
}

// extractMeshData over a mesh, with an entity's skinned vertices when given.
MeshData extract(const Ogre::Mesh* mesh, Ogre::Entity* skinned, const Ogre::Vector3& position,
                 const Ogre::Quaternion& orientation, const Ogre::Vector3& scale) {
    MeshData result;
    // The entity's blended copies exist for the vertex data its mesh has.
    auto sourceOf = [&](unsigned short i) -> const Ogre::VertexData* {
        const Ogre::SubMesh* sub = mesh->getSubMesh(i);
        if (sub->useSharedVertices) {
            if (!mesh->sharedVertexData) return nullptr;
            return skinned ? skinned->_getSkelAnimVertexData() : mesh->sharedVertexData;
        }
        if (!sub->vertexData) return nullptr;
        return skinned ? skinned->getSubEntity(i)->_getSkelAnimVertexData() : sub->vertexData;
    };
    size_t vertexCount = 0;
    size_t indexCount = 0;
    bool sharedCounted = false;
    for (unsigned short i = 0; i < mesh->getNumSubMeshes(); ++i) {
        const Ogre::SubMesh* sub = mesh->getSubMesh(i);
        if (const Ogre::VertexData* data = sourceOf(i)) {
            if (!sub->useSharedVertices) {
                vertexCount += data->vertexCount;
            } else if (!sharedCounted) {
                vertexCount += data->vertexCount;
                sharedCounted = true;
            }
        }
        indexCount += sub->indexData->indexCount - sub->indexData->indexCount % 3;
    }
    result.vertices.assign(vertexCount, Ogre::Vector3::ZERO);
    result.indices.reserve(indexCount);

    size_t offset = 0;
    size_t sharedOffset = 0;
    bool sharedCopied = false;
    for (unsigned short i = 0; i < mesh->getNumSubMeshes(); ++i) {
        const Ogre::SubMesh* sub = mesh->getSubMesh(i);
        const Ogre::VertexData* data = sourceOf(i);
        if (!data) continue;
        size_t added = 0;
        if (!sub->useSharedVertices || !sharedCopied) {
            if (sub->useSharedVertices) {
                sharedOffset = offset;
                sharedCopied = true;
            }
            copyPositions(data, result.vertices, offset, position, orientation, scale);
            added = data->vertexCount;
        }
        appendIndices(sub->indexData, result.indices,
                      sub->useSharedVertices ? sharedOffset : offset);
        offset += added;
    }
    return result;
}

// The best hit of a cast so far: its distance (-1 before the first) and
// the corners of its triangle in world space.
struct Hit {
    Ogre::Real closest = -1;
    Ogre::Vector3 corners[3];
};

// Tests one entity's triangles, given in world space, against the ray; a
// front-side hit nearer than the best one (the first of equals) replaces it.
bool testWorldTriangles(const MeshData& world, const Ogre::Ray& ray, Hit& hit) {
    bool improved = false;
    const size_t vertexCount = world.vertices.size();
    for (size_t k = 0; k + 2 < world.indices.size(); k += 3) {
        const Ogre::uint32 i0 = world.indices[k], i1 = world.indices[k + 1],
                           i2 = world.indices[k + 2];
        if (i0 >= vertexCount || i1 >= vertexCount || i2 >= vertexCount) continue;
        const auto result = Ogre::Math::intersects(ray, world.vertices[i0], world.vertices[i1],
                                                   world.vertices[i2], true, false);
        if (result.first && (hit.closest < 0 || result.second < hit.closest)) {
            hit.closest = result.second;
            hit.corners[0] = world.vertices[i0];
            hit.corners[1] = world.vertices[i1];
            hit.corners[2] = world.vertices[i2];
            improved = true;
        }
    }
    return improved;
}

bool testByExtraction(Ogre::Entity* entity, const Ogre::Ray& ray, const Ogre::Vector3& position,
                      const Ogre::Quaternion& orientation, const Ogre::Vector3& scale, Hit& hit) {
    return testWorldTriangles(extractMeshData(entity, position, orientation, scale), ray, hit);
}

// The ray in the entity's model space, through the inverse of the linear
// map v -> orientation * (v * scale), in double precision.
struct ModelRay {
    TriangleBvh::Vec origin, direction;
    double inverseNorm;  // bounds how far a world distance can stretch in model space
    double determinant;  // its sign tells whether the map mirrors
};

bool toModelSpace(const Ogre::Ray& ray, const Ogre::Vector3& position,
                  const Ogre::Quaternion& orientation, const Ogre::Vector3& scale, ModelRay& out) {
    // Columns of the map: the images of the unit vectors, computed the way
    // the engine applies a quaternion (which need not be exactly unit).
    const double w = orientation.w, qx = orientation.x, qy = orientation.y, qz = orientation.z;
    double m[3][3];
    for (int c = 0; c < 3; ++c) {
        const double v[3] = {c == 0 ? 1.0 : 0.0, c == 1 ? 1.0 : 0.0, c == 2 ? 1.0 : 0.0};
        const double uv[3] = {qy * v[2] - qz * v[1], qz * v[0] - qx * v[2], qx * v[1] - qy * v[0]};
        const double uuv[3] = {qy * uv[2] - qz * uv[1], qz * uv[0] - qx * uv[2],
                               qx * uv[1] - qy * uv[0]};
        for (int r = 0; r < 3; ++r) m[r][c] = (v[r] + 2 * w * uv[r] + 2 * uuv[r]) * scale[c];
    }
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    double norm = 0;
    for (auto& row : m)
        for (double x : row) norm = std::max(norm, std::fabs(x));
    if (!std::isfinite(det) || std::fabs(det) <= 1e-12 * norm * norm * norm) return false;
    const double r = 1 / det;
    const double inv[3][3] = {
        {(m[1][1] * m[2][2] - m[1][2] * m[2][1]) * r, (m[0][2] * m[2][1] - m[0][1] * m[2][2]) * r,
         (m[0][1] * m[1][2] - m[0][2] * m[1][1]) * r},
        {(m[1][2] * m[2][0] - m[1][0] * m[2][2]) * r, (m[0][0] * m[2][2] - m[0][2] * m[2][0]) * r,
         (m[0][2] * m[1][0] - m[0][0] * m[1][2]) * r},
        {(m[1][0] * m[2][1] - m[1][1] * m[2][0]) * r, (m[0][1] * m[2][0] - m[0][0] * m[2][1]) * r,
         (m[0][0] * m[1][1] - m[0][1] * m[1][0]) * r}};
    const Ogre::Vector3& o = ray.getOrigin();
    const Ogre::Vector3& d = ray.getDirection();
    const double rel[3] = {double(o.x) - position.x, double(o.y) - position.y,
                           double(o.z) - position.z};
    double mo[3], md[3], frobenius = 0;
    for (int r = 0; r < 3; ++r) {
        mo[r] = inv[r][0] * rel[0] + inv[r][1] * rel[1] + inv[r][2] * rel[2];
        md[r] = inv[r][0] * d.x + inv[r][1] * d.y + inv[r][2] * d.z;
        for (int c = 0; c < 3; ++c) frobenius += inv[r][c] * inv[r][c];
    }
    out.origin = {mo[0], mo[1], mo[2]};
    out.direction = {md[0], md[1], md[2]};
    out.inverseNorm = std::sqrt(frobenius);
    out.determinant = det;
    return std::isfinite(out.inverseNorm);
}

// The picker's test: the mesh's cached model-space triangles find the few
// candidates; each is then tested exactly as the brute-force path would,
// with world corners computed the same way, so both agree to the bit.
bool testWithCache(RayPicker& picker, Ogre::Entity* entity, const Ogre::Ray& ray,
                   const Ogre::Vector3& position, const Ogre::Quaternion& orientation,
                   const Ogre::Vector3& scale, Hit& hit) {
    if (entity->hasSkeleton())
        return testByExtraction(entity, ray, position, orientation, scale, hit);
    const TriangleBvh* triangles = picker.meshTriangles(entity->getMesh().get());
    if (!triangles) return false;
    ModelRay model;
    if (!toModelSpace(ray, position, orientation, scale, model))
        return testByExtraction(entity, ray, position, orientation, scale, hit);

    // How far apart a triangle's world and model forms can be after float
    // rounding, in model units; also covers the engine's own edge tolerance.
    const double maxScale = std::max({std::fabs(scale.x), std::fabs(scale.y), std::fabs(scale.z)});
    const double worldSize = position.length() + maxScale * triangles->radius();
    const double pad =
        (16 * FLT_EPSILON * worldSize + 1e-5 * maxScale * triangles->radius()) * model.inverseNorm;

    const MeshData& mesh = triangles->mesh();
    bool improved = false;
    Ogre::uint32 bestTriangle = 0;
    const double start = hit.closest < 0 ? std::numeric_limits<double>::infinity() : hit.closest;
    triangles->forEachCandidate(
        model.origin, model.direction, pad, model.determinant > 0 ? 1.0 : -1.0, start,
        [&](std::uint32_t triangle, double bound) {
            const Ogre::uint32* i = &mesh.indices[triangle * 3];
            const Ogre::Vector3 a =
                transformVertex(mesh.vertices[i[0]], position, orientation, scale);
            const Ogre::Vector3 b =
                transformVertex(mesh.vertices[i[1]], position, orientation, scale);
            const Ogre::Vector3 c =
                transformVertex(mesh.vertices[i[2]], position, orientation, scale);
            const auto result = Ogre::Math::intersects(ray, a, b, c, true, false);
            if (!result.first) return bound;
            // Strictly nearer than hits of earlier entities; among this
            // entity's triangles the first of equals, as a walk in order would.
            const bool better =
                hit.closest < 0 || result.second < hit.closest ||
                (improved && result.second == hit.closest && triangle < bestTriangle);
            if (!better) return bound;
            hit.closest = result.second;
            hit.corners[0] = a;
            hit.corners[1] = b;
            hit.corners[2] = c;
            bestTriangle = triangle;
            improved = true;
            return static_cast<double>(hit.closest);
        });
    return improved;
}

template <class EntityTest>
bool walkQuery(RayPicker& picker, const Ogre::Vector3& origin, const Ogre::Vector3& direction,
               Ogre::Vector3& hitPoint, Ogre::Vector3& normal, Ogre::Entity*& entity,
               Ogre::Real& distance, EntityTest test) {
    if (!picker.query) return false;
    const Ogre::Ray ray(origin, direction);
    picker.query->setRay(ray);
    Ogre::RaySceneQueryResult& results = picker.query->execute();
    if (results.empty()) return false;
    Hit hit;
    for (const Ogre::RaySceneQueryResultEntry& result : results) {
        if (hit.closest >= 0 && result.distance > hit.closest) break;
        if (!result.movable || result.movable->getMovableType() != "Entity") continue;
        auto* candidate = static_cast<Ogre::Entity*>(result.movable);
        const Ogre::Node* node = candidate->getParentNode();
        if (!node) continue;
        if (test(candidate, ray, node->_getDerivedPosition(), node->_getDerivedOrientation(),
                 node->getScale(), hit)) {
            hitPoint = ray.getPoint(hit.closest);
            entity = candidate;
        }
    }
    if (hit.closest < 0) return false;
    distance = hit.closest;
    hitPoint = ray.getPoint(hit.closest);
    normal = Ogre::Math::calculateBasicFaceNormal(hit.corners[0], hit.corners[1], hit.corners[2]);
    return true;
}

template <class Path>
void findPathIn(RayPicker& picker, const Ogre::Vector3& start, const Ogre::Vector3& target,
                Path& path) {
    ++pathDepth;
    struct Leave {
        ~Leave() { --pathDepth; }
    } leave;  // also when the engine throws
    if (path.empty() || path.back() != start) path.push_back(start);
    const Ogre::Vector3 direction = (target - start).normalisedCopy();
    Ogre::Vector3 hitPoint, normal;
    Ogre::Entity* entity = nullptr;
    Ogre::Real distance = 0;
    if (pathDepth < MAX_PATH_DEPTH &&
        castRay(picker, start, direction, hitPoint, normal, entity, distance)) {
        const Ogre::Vector3 side = (target - start).perpendicular().normalisedCopy();
        Ogre::Vector3 candidate = hitPoint;
        bool accepted = false;
        for (int k = 0; k < DETOUR_BACK_END && !accepted; k += DETOUR_BACK_STEP) {
            for (int m = DETOUR_SIDE_START; m < DETOUR_SIDE_END && !accepted;
                 m += DETOUR_SIDE_STEP) {
                candidate = hitPoint - direction * static_cast<Ogre::Real>(k) +
                            side * static_cast<Ogre::Real>(m);
                Ogre::Vector3 h, n;
                Ogre::Entity* e = nullptr;
                Ogre::Real d = 0;
                const bool blocked =
                    castRay(picker, start, (candidate - start).normalisedCopy(), h, n, e, d);
                accepted = !blocked || start.distance(candidate) < d;
            }
        }
        path.push_back(candidate);
        findPathIn(picker, candidate, target, path);
    }
    path.push_back(target);
}

}  // namespace

MeshData extractMeshData(Ogre::Entity* entity, const Ogre::Vector3& position,
                         const Ogre::Quaternion& orientation, const Ogre::Vector3& scale) {
    if (!entity) return {};
    Ogre::Entity* skinned = nullptr;
    if (entity->hasSkeleton()) {
        entity->_updateAnimation();
        skinned = entity;
    }
    return extract(entity->getMesh().get(), skinned, position, orientation, scale);
}

RayPicker::RayPicker(Ogre::SceneManager* sceneManager)
    : sceneManager(sceneManager),
      query(sceneManager->createRayQuery(Ogre::Ray(Ogre::Vector3::ZERO, Ogre::Vector3::UNIT_Z),
                                         Ogre::SceneManager::WORLD_GEOMETRY_TYPE_MASK)) {
    query->setSortByDistance(true);
}

RayPicker::~RayPicker() { sceneManager->destroyQuery(query); }

const TriangleBvh* RayPicker::meshTriangles(const Ogre::Mesh* mesh) {
    if (!mesh) return nullptr;
    CachedMesh& cached = meshCache[mesh];
    // A handle is never reused, so a new mesh at a freed address is noticed;
    // the state count changes when a mesh is reloaded.
    if (!cached.triangles || cached.handle != mesh->getHandle() ||
        cached.stateCount != mesh->getStateCount()) {
        cached.handle = mesh->getHandle();
        cached.stateCount = mesh->getStateCount();
        cached.triangles = std::make_unique<TriangleBvh>(extract(mesh, nullptr, Ogre::Vector3::ZERO,
                                                                 Ogre::Quaternion::IDENTITY,
                                                                 Ogre::Vector3::UNIT_SCALE));
    }
    return cached.triangles->candidateCount() > 0 ? cached.triangles.get() : nullptr;
}

bool castRay(RayPicker& picker, const Ogre::Vector3& origin, const Ogre::Vector3& direction,
             Ogre::Vector3& hitPoint, Ogre::Vector3& normal, Ogre::Entity*& entity,
             Ogre::Real& distance) {
    return walkQuery(picker, origin, direction, hitPoint, normal, entity, distance,
                     [&picker](Ogre::Entity* e, const Ogre::Ray& ray, const Ogre::Vector3& p,
                               const Ogre::Quaternion& q, const Ogre::Vector3& s,
                               Hit& hit) { return testWithCache(picker, e, ray, p, q, s, hit); });
}

bool castRayExtracting(RayPicker& picker, const Ogre::Vector3& origin,
                       const Ogre::Vector3& direction, Ogre::Vector3& hitPoint,
                       Ogre::Vector3& normal, Ogre::Entity*& entity, Ogre::Real& distance) {
    return walkQuery(picker, origin, direction, hitPoint, normal, entity, distance,
                     testByExtraction);
}

void findPath(RayPicker& picker, const Ogre::Vector3& start, const Ogre::Vector3& target,
              std::vector<Ogre::Vector3>& path) {
    findPathIn(picker, start, target, path);
}

void findPath(RayPicker& picker, const Ogre::Vector3& start, const Ogre::Vector3& target,
              std::list<Ogre::Vector3>& path) {
    findPathIn(picker, start, target, path);
}
