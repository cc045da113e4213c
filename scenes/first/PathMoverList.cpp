#include "scenes/first/PathMoverList.h"

#include <Ogre.h>
#include <tinyxml.h>

#include <algorithm>
#include <iostream>

#include "scene/CDotScene.h"
#include "scene/Helpers.h"

namespace Mossden {

namespace {

// Path parameter at a time; a path without duration counts as travelled.
float pathParameter(float time, float duration) {
    if (duration <= 0) return 1.0f;
    return std::min(time / duration, 1.0f);
}

}  // namespace

Ogre::Quaternion headingToward(const Ogre::Quaternion& current, const Ogre::Vector3& p,
                               const Ogre::Vector3& p2) {
    Ogre::Vector3 forward = current * Ogre::Vector3::UNIT_Z;
    Ogre::Vector3 direction = p2 - p;
    forward.y = 0;
    direction.y = 0;
    forward.normalise();
    direction.normalise();
    return forward.getRotationTo(direction) * current;
}

void PathMoverList::load(TiXmlElement* element) {
    if (!element) return;
    for (TiXmlElement* object = element->FirstChildElement("object"); object;
         object = object->NextSiblingElement("object")) {
        TiXmlElement* nodeElement = object->FirstChildElement("node");
        TiXmlElement* entityElement = nodeElement ? nodeElement->FirstChildElement("entity") : nullptr;
        if (!entityElement) {
            // Nothing to move: say so and go on with the next object.
            std::cout << "pathMoveObjects: an object without node/entity is skipped" << std::endl;
            continue;
        }
        Ogre::Entity* entity =
            sceneManager->createEntity(readStringAttribute("name", entityElement),
                                       readStringAttribute("meshFile", entityElement));
        Ogre::SceneNode* outer = sceneManager->getRootSceneNode()->createChildSceneNode();
        Ogre::SceneNode* inner = outer->createChildSceneNode();
        if (TiXmlElement* scale = nodeElement->FirstChildElement("scale"))
            inner->setScale(readRealAttribute("x", scale), readRealAttribute("y", scale),
                            readRealAttribute("z", scale));
        inner->attachObject(entity);
        if (TiXmlElement* rotation = nodeElement->FirstChildElement("rotation"))
            inner->setOrientation(readRealAttribute("qw", rotation), readRealAttribute("qx", rotation),
                                  readRealAttribute("qy", rotation), readRealAttribute("qz", rotation));
        TiXmlElement* path = object->FirstChildElement("path");
        if (!path) continue;
        movers.emplace_back();
        PathMover& mover = movers.back();
        mover.entity = entity;
        mover.duration = readRealAttribute("time", path);
        mover.node = outer;
        mover.spline.setAutoCalculate(true);
        for (TiXmlElement* point = path->FirstChildElement("point"); point;
             point = point->NextSiblingElement("point"))
            mover.spline.addPoint(Ogre::Vector3(readRealAttribute("x", point),
                                                readRealAttribute("y", point),
                                                readRealAttribute("z", point)));
        if (mover.duration <= 0)
            std::cout << "pathMoveObjects: path of '" << entity->getName()
                      << "' has no positive time; it stays at its end" << std::endl;
    }
}

void PathMoverList::place(PathMover& mover) {
    if (mover.spline.getNumPoints() == 0) return;
    mover.node->setPosition(mover.spline.interpolate(pathParameter(mover.elapsed, mover.duration)));
}

void PathMoverList::start() {
    for (PathMover& mover : movers) {
        startAllAnimations(mover.entity, true);
        place(mover);
    }
}

void PathMoverList::update(float dt) {
    for (PathMover& mover : movers) {
        advanceAllAnimations(mover.entity, dt);
        mover.elapsed += dt;
        if (mover.spline.getNumPoints() == 0) continue;
        const Ogre::Vector3 p =
            mover.spline.interpolate(pathParameter(mover.elapsed, mover.duration));
        const Ogre::Vector3 p2 =
            mover.spline.interpolate(pathParameter(mover.elapsed + HEADING_LEAD, mover.duration));
        mover.node->setPosition(p);
        mover.node->setOrientation(headingToward(mover.node->getOrientation(), p, p2));
    }
}

}  // namespace Mossden
