#include "scenes/third/Hole.h"

#include <Ogre.h>
#include <tinyxml.h>

#include <iostream>

#include "scene/CDotScene.h"
#include "scene/Helpers.h"

namespace Mossden {

namespace {

int holesMade = 0;  // ids run on over the process, also when the scene is built again

Ogre::Vector3 readPoint(const TiXmlElement* element) {
    if (!element) return Ogre::Vector3::ZERO;
    return Ogre::Vector3(readRealAttribute("x", element), readRealAttribute("y", element),
                         readRealAttribute("z", element));
}

Ogre::SceneNode* nodeAt(Ogre::SceneManager* sceneManager, const Ogre::Vector3& position) {
    Ogre::SceneNode* node = sceneManager->getRootSceneNode()->createChildSceneNode();
    node->setPosition(position);
    return node;
}

}  // namespace

std::unique_ptr<Hole> Hole::read(const TiXmlElement* element, Ogre::SceneManager* sceneManager) {
    const TiXmlElement* sphere = element->FirstChildElement("sphere");
    if (!sphere) return nullptr;
    auto hole = std::make_unique<Hole>();
    hole->id = ++holesMade;
    hole->sceneManager = sceneManager;
    hole->particleTemplate = readStringAttribute("particleSystem", element);
    hole->particleTemplate2 = readStringAttribute("particleSystem2", element);
    hole->butterflyName = readStringAttribute("butterFly", element);
    hole->swirlNodeName = readStringAttribute("swirlNode", element);
    hole->radius = readRealAttribute("radius", sphere);
    hole->centerNode = nodeAt(sceneManager, readPoint(element->FirstChildElement("centerPoint")));
    hole->downNode = nodeAt(sceneManager, readPoint(element->FirstChildElement("downPoint")));
    hole->upNode = nodeAt(sceneManager, readPoint(element->FirstChildElement("upPoint")));
    hole->sphereNode = nodeAt(sceneManager, readPoint(sphere));
    hole->butterfly = std::make_unique<Butterfly>(sceneManager, hole->butterflyName, hole.get());
    if (const TiXmlElement* fall = element->FirstChildElement("fallPoints"))
        for (const TiXmlElement* p = fall->FirstChildElement("point"); p; p = p->NextSiblingElement("point"))
            hole->fallPoints.push_back(readPoint(p));
    return hole;
}

Ogre::Vector3 Hole::nearestFallPoint(const Ogre::Vector3& p) const {
    if (fallPoints.empty()) return p;
    const Ogre::Vector3* best = &fallPoints.front();
    for (const Ogre::Vector3& f : fallPoints)
        if (f.squaredDistance(p) < best->squaredDistance(p)) best = &f;
    return *best;
}

void Hole::attach(Ogre::SceneNode* pivot) {
    moveToParent(pivot, sphereNode, sphereNode->_getDerivedPosition());
    if (!swirlNodeName.empty() && resolveSwirlNode())
        moveToParent(pivot, swirlNode, swirlNode->_getDerivedPosition());
    butterfly->attach(pivot);
}

Ogre::SceneNode* Hole::resolveSwirlNode() {
    if (!swirlNode && !swirlNodeName.empty() && sceneManager->hasSceneNode(swirlNodeName))
        swirlNode = sceneManager->getSceneNode(swirlNodeName);
    return swirlNode;
}

void Hole::startSwirl() {
    if (firstSwirl) sceneManager->destroyParticleSystem(firstSwirl);
    if (secondSwirl) sceneManager->destroyParticleSystem(secondSwirl);
    firstSwirl = secondSwirl = nullptr;
    const std::string stem = std::to_string(id);
    if (!particleTemplate.empty()) {
        std::cout << "run " << particleTemplate << " " << particleTemplate2 << std::endl;
        firstSwirl = sceneManager->createParticleSystem(stem + "swirlFirst", particleTemplate);
        if (!particleTemplate2.empty())
            secondSwirl = sceneManager->createParticleSystem(stem + "swirlSecond", particleTemplate2);
    } else {
        // The stand-in swirl is named per hole, so that two holes without
        // templates never ask for the same name.
        firstSwirl = sceneManager->createParticleSystem(stem + "test", "spiral");
    }
    Ogre::SceneNode* node = resolveSwirlNode();
    if (!node) {
        Ogre::LogManager::getSingleton().logMessage("Hole " + stem + ": no swirl node '" + swirlNodeName +
                                                    "'; its swirl is not shown");
        return;
    }
    node->attachObject(firstSwirl);
    if (secondSwirl) node->attachObject(secondSwirl);
}

}  // namespace Mossden
