#ifndef MOSSDEN_BENCH_ROCKFIELD_H
#define MOSSDEN_BENCH_ROCKFIELD_H

// A deterministic field of lumpy, spinning rocks the size of the third
// scene's asteroids, and rays through it: what the picking benchmark and
// the picking tests cast against.
#include <Ogre.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace RockField {

// A lumpy sphere on a latitude-longitude grid: 2 * rings * segments
// triangles (those at the poles degenerate), outward faces in front,
// positions and normals, shadowed buffers as a loaded mesh has them.
inline Ogre::MeshPtr makeRockMesh(const std::string& name, Ogre::Real radius, int rings,
                                  int segments, unsigned seed) {
    auto& meshes = Ogre::MeshManager::getSingleton();
    if (Ogre::MeshPtr old = meshes.getByName(name, Ogre::RGN_DEFAULT)) return old;
    const double phase = seed * 0.7317;
    auto surface = [&](int ring, int segment) {
        const double theta = Ogre::Math::PI * ring / rings;
        const double phi = 2 * Ogre::Math::PI * segment / segments;
        const double lump = 1 +
                            0.15 * std::sin(3 * theta + phase) * std::cos(2 * phi + 1.3 * phase) +
                            0.08 * std::sin(7 * theta + 5 * phi + 2.1 * phase) +
                            0.03 * std::cos(13 * theta - 11 * phi + phase);
        const double r = radius * lump;
        return Ogre::Vector3(Ogre::Real(r * std::sin(theta) * std::sin(phi)),
                             Ogre::Real(r * std::cos(theta)),
                             Ogre::Real(r * std::sin(theta) * std::cos(phi)));
    };
    const size_t vertexCount = size_t(rings + 1) * (segments + 1);
    std::vector<float> raw;
    raw.reserve(vertexCount * 6);
    for (int ring = 0; ring <= rings; ++ring)
        for (int segment = 0; segment <= segments; ++segment) {
            const Ogre::Vector3 p = surface(ring, segment);
            const Ogre::Vector3 n = p.normalisedCopy();
            raw.insert(raw.end(), {p.x, p.y, p.z, n.x, n.y, n.z});
        }
    std::vector<Ogre::uint32> indices;
    for (int ring = 0; ring < rings; ++ring)
        for (int segment = 0; segment < segments; ++segment) {
            const Ogre::uint32 a = ring * (segments + 1) + segment, b = a + segments + 1, c = b + 1,
                               d = a + 1;
            indices.insert(indices.end(), {a, b, c, a, c, d});
        }

    Ogre::MeshPtr mesh = meshes.createManual(name, Ogre::RGN_DEFAULT);
    mesh->sharedVertexData = new Ogre::VertexData();
    mesh->sharedVertexData->vertexCount = vertexCount;
    Ogre::VertexDeclaration* decl = mesh->sharedVertexData->vertexDeclaration;
    decl->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    decl->addElement(0, 12, Ogre::VET_FLOAT3, Ogre::VES_NORMAL);
    auto& buffers = Ogre::HardwareBufferManager::getSingleton();
    Ogre::HardwareVertexBufferSharedPtr vb = buffers.createVertexBuffer(
        24, vertexCount, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    vb->writeData(0, vb->getSizeInBytes(), raw.data(), true);
    mesh->sharedVertexData->vertexBufferBinding->setBinding(0, vb);
    Ogre::SubMesh* sub = mesh->createSubMesh();
    sub->useSharedVertices = true;
    Ogre::HardwareIndexBufferSharedPtr ib =
        buffers.createIndexBuffer(Ogre::HardwareIndexBuffer::IT_32BIT, indices.size(),
                                  Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    ib->writeData(0, ib->getSizeInBytes(), indices.data(), true);
    sub->indexData->indexBuffer = ib;
    sub->indexData->indexCount = indices.size();
    Ogre::AxisAlignedBox box;
    for (size_t i = 0; i < raw.size(); i += 6)
        box.merge(Ogre::Vector3(raw[i], raw[i + 1], raw[i + 2]));
    mesh->_setBounds(box, false);
    mesh->_setBoundingSphereRadius(std::max(box.getMaximum().length(), box.getMinimum().length()));
    mesh->load();
    return mesh;
}

struct Rock {
    Ogre::Entity* entity;
    Ogre::SceneNode* node;
    Ogre::Vector3 spinAxis;
    Ogre::Real radius;
};

// count rocks of 2 * rings * segments triangles each, spread over a cube of
// side 12000 around the origin. mirrorEvery > 0 gives every such rock a
// mirroring (negative) scale on one axis.
inline std::vector<Rock> build(Ogre::SceneManager* manager, const std::string& prefix, int count,
                               int rings, int segments, unsigned seed, int mirrorEvery = 0) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(-1, 1);
    std::vector<Rock> rocks;
    for (int i = 0; i < count; ++i) {
        const Ogre::Real radius = 300 + 400 * (unit(random) + 1) / 2;
        const std::string name = prefix + std::to_string(i + 1);
        makeRockMesh(name + ".mesh", radius, rings, segments, seed + i);
        Rock rock;
        rock.entity = manager->createEntity(name, name + ".mesh");
        rock.node = manager->getRootSceneNode()->createChildSceneNode();
        rock.node->attachObject(rock.entity);
        rock.node->setPosition(6000 * unit(random), 6000 * unit(random), 6000 * unit(random));
        rock.node->setScale(1 + 0.2f * unit(random), 1 + 0.2f * unit(random),
                            1 + 0.2f * unit(random));
        if (mirrorEvery > 0 && i % mirrorEvery == 0) rock.node->scale(-1, 1, 1);
        rock.spinAxis = Ogre::Vector3(unit(random), unit(random), unit(random)).normalisedCopy();
        rock.radius = radius;
        rocks.push_back(rock);
    }
    return rocks;
}

// Turns every rock to its pose at time seconds and refreshes world bounds,
// as a rendered frame would, so the ray query sees the rocks where they are.
inline void spin(Ogre::SceneManager* manager, std::vector<Rock>& rocks, Ogre::Real time) {
    for (size_t i = 0; i < rocks.size(); ++i)
        rocks[i].node->setOrientation(
            Ogre::Quaternion(Ogre::Radian(time * (0.1f + 0.01f * i)), rocks[i].spinAxis));
    manager->getRootSceneNode()->_update(true, false);
}

struct Ray {
    Ogre::Vector3 origin, direction;
};

// Rays from points in the field: three in four aimed near a rock (most
// hit), one in four in any direction; direction lengths from 0.5 to 50.
inline std::vector<Ray> rays(const std::vector<Rock>& rocks, int count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(-1, 1);
    std::vector<Ray> out;
    for (int i = 0; i < count; ++i) {
        Ray ray;
        ray.origin = Ogre::Vector3(7000 * unit(random), 7000 * unit(random), 7000 * unit(random));
        Ogre::Vector3 direction;
        if (i % 4 != 3) {
            const Rock& rock = rocks[random() % rocks.size()];
            const Ogre::Vector3 aim =
                rock.node->getPosition() +
                Ogre::Vector3(unit(random), unit(random), unit(random)) * rock.radius;
            direction = (aim - ray.origin).normalisedCopy();
        } else {
            direction = Ogre::Vector3(unit(random), unit(random), unit(random)).normalisedCopy();
        }
        ray.direction = direction * (0.5f + 49.5f * (unit(random) + 1) / 2);
        out.push_back(ray);
    }
    return out;
}

}  // namespace RockField

#endif
