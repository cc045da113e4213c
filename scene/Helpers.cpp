#include "scene/Helpers.h"

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

int sphereMarkerCount = 0;

namespace {

constexpr int SPHERE_RINGS = 16;
constexpr int SPHERE_SEGMENTS = 16;

}  // namespace

Ogre::MeshPtr createSphereMesh(const std::string& name, Ogre::Real radius) {
    constexpr int ringVertices = SPHERE_SEGMENTS + 1;
    constexpr size_t vertexCount = (SPHERE_RINGS + 1) * ringVertices;
    constexpr size_t indexCount = SPHERE_RINGS * ringVertices * 6;
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(name, Ogre::RGN_DEFAULT);
    Ogre::SubMesh* sub = mesh->createSubMesh();
    mesh->sharedVertexData = new Ogre::VertexData();
    Ogre::VertexData* vertexData = mesh->sharedVertexData;
    vertexData->vertexCount = vertexCount;
    Ogre::VertexDeclaration* declaration = vertexData->vertexDeclaration;
    size_t stride = 0;
    stride += declaration->addElement(0, stride, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    stride += declaration->addElement(0, stride, Ogre::VET_FLOAT3, Ogre::VES_NORMAL).getSize();
    stride += declaration->addElement(0, stride, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0)
                  .getSize();
    auto& buffers = Ogre::HardwareBufferManager::getSingleton();
    Ogre::HardwareVertexBufferSharedPtr vertexBuffer = buffers.createVertexBuffer(
        stride, vertexCount, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, false);
    vertexData->vertexBufferBinding->setBinding(0, vertexBuffer);
    Ogre::HardwareIndexBufferSharedPtr indexBuffer =
        buffers.createIndexBuffer(Ogre::HardwareIndexBuffer::IT_16BIT, indexCount,
                                  Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, false);
    {
        Ogre::HardwareBufferLockGuard vertexLock(vertexBuffer, Ogre::HardwareBuffer::HBL_DISCARD);
        Ogre::HardwareBufferLockGuard indexLock(indexBuffer, Ogre::HardwareBuffer::HBL_DISCARD);
        auto* vertex = static_cast<float*>(vertexLock.pData);
        auto* index = static_cast<Ogre::uint16*>(indexLock.pData);
        const Ogre::Real ringAngle = Ogre::Math::PI / SPHERE_RINGS;
        const Ogre::Real segmentAngle = 2 * Ogre::Math::PI / SPHERE_SEGMENTS;
        Ogre::uint16 w = 0;
        for (int ring = 0; ring <= SPHERE_RINGS; ++ring) {
            const Ogre::Real r0 = radius * std::sin(ring * ringAngle);
            const Ogre::Real y0 = radius * std::cos(ring * ringAngle);
            for (int segment = 0; segment <= SPHERE_SEGMENTS; ++segment, ++w) {
                const Ogre::Real x0 = r0 * std::sin(segment * segmentAngle);
                const Ogre::Real z0 = r0 * std::cos(segment * segmentAngle);
                const Ogre::Vector3 normal = Ogre::Vector3(x0, y0, z0).normalisedCopy();
                *vertex++ = x0;
                *vertex++ = y0;
                *vertex++ = z0;
                *vertex++ = normal.x;
                *vertex++ = normal.y;
                *vertex++ = normal.z;
                *vertex++ = static_cast<Ogre::Real>(segment) / SPHERE_SEGMENTS;
                *vertex++ = static_cast<Ogre::Real>(ring) / SPHERE_RINGS;
                if (ring != SPHERE_RINGS) {
                    for (Ogre::uint16 i : {w + ringVertices, w + 0, w + ringVertices - 1,
                                           w + ringVertices, w + 1, w + 0})
                        *index++ = i;
                }
            }
        }
    }
    sub->useSharedVertices = true;
    sub->indexData->indexBuffer = indexBuffer;
    sub->indexData->indexCount = indexCount;
    sub->indexData->indexStart = 0;
    mesh->_setBounds(Ogre::AxisAlignedBox(-radius, -radius, -radius, radius, radius, radius),
                     false);
    mesh->_setBoundingSphereRadius(radius);
    mesh->load();
    return mesh;
}

void createSphereMarker(const Ogre::Vector3& position, Ogre::Real radius,
                        Ogre::SceneManager* sceneManager) {
    ++sphereMarkerCount;
    const std::string name = std::to_string(sphereMarkerCount) + "MANUALSPHERE";
    createSphereMesh(name, radius);
    Ogre::Entity* entity = sceneManager->createEntity(name, name);
    entity->setCastShadows(false);
    Ogre::SceneNode* node = sceneManager->getRootSceneNode()->createChildSceneNode();
    node->attachObject(entity);
    node->setPosition(position);
}

void destroySphereMarkers(int first, int last, Ogre::SceneManager* sceneManager) {
    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    for (int count = first; count < last; ++count) {
        const std::string name = std::to_string(count) + "MANUALSPHERE";
        if (sceneManager && sceneManager->hasEntity(name)) {
            Ogre::Entity* entity = sceneManager->getEntity(name);
            Ogre::SceneNode* node = entity->getParentSceneNode();
            sceneManager->destroyEntity(entity);
            if (node) sceneManager->destroySceneNode(node);
        }
        meshes.remove(name, Ogre::RGN_DEFAULT);
    }
}

void moveToParent(Ogre::SceneNode* newParent, Ogre::SceneNode* node,
                  const Ogre::Vector3& worldPosition) {
    Ogre::Node* oldParent = node->getParent();
    node->setPosition(newParent->_getDerivedOrientation().Inverse() *
                      (worldPosition - newParent->_getDerivedPosition()));
    if (oldParent) oldParent->removeChild(node);
    newParent->addChild(node);
}

Ogre::Vector3 localToWorld(const Ogre::Node* node, const Ogre::Vector3& point) {
    return node->_getDerivedOrientation() * (point * node->_getDerivedScale()) +
           node->_getDerivedPosition();
}

void startAllAnimations(Ogre::Entity* entity, bool loop) {
    if (!entity) return;
    if (entity->hasSkeleton()) entity->getSkeleton()->setBlendMode(Ogre::ANIMBLEND_CUMULATIVE);
    Ogre::AnimationStateSet* states = entity->getAllAnimationStates();
    if (!states) return;
    for (const auto& [name, state] : states->getAnimationStates()) {
        state->setEnabled(true);
        state->setLoop(loop);
        state->setTimePosition(0);
    }
}

void advanceAllAnimations(Ogre::Entity* entity, Ogre::Real dt) {
    if (!entity) return;
    Ogre::AnimationStateSet* states = entity->getAllAnimationStates();
    if (!states) return;
    for (const auto& [name, state] : states->getAnimationStates()) state->addTime(dt);
}
