#include "scene/MossdenScene.h"

#include <OgreAnimation.h>
#include <OgreAnimationTrack.h>
#include <OgreEntity.h>
#include <OgreKeyFrame.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreTechnique.h>
#include <tinyxml.h>

#include <cmath>
#include <iostream>
#include <vector>

#include "scene/CameraManInput.h"

namespace {

// Fog settings that make a material ignore the scene's fog.
constexpr Ogre::Real NO_FOG_DENSITY = 0.001f;
constexpr Ogre::Real NO_FOG_START = 0;
constexpr Ogre::Real NO_FOG_END = 1;

void logLine(const std::string& text) {
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr()) log->logMessage(text);
}

}  // namespace

MossdenScene::MossdenScene(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan,
                           Mossden::SceneServices& services)
    : CDotScene(sceneManager), services(services), cameraMan(cameraMan) {}

MossdenScene::~MossdenScene() = default;

void MossdenScene::loadCustom(TiXmlElement* element) {
    if (!element) return;  // nothing to read: every key is optional
    if (const TiXmlElement* speed = element->FirstChildElement("cameraSpeed"))
        cameraSpeed = readIntAttribute("value", speed);
    const TiXmlElement* disableFog = element->FirstChildElement("disableFog");
    if (!disableFog) return;
    for (const TiXmlElement* m = disableFog->FirstChildElement("material"); m;
         m = m->NextSiblingElement("material")) {
        const std::string name = readStringAttribute("name", m);
        Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name);
        Ogre::Technique* technique =
            material && material->getNumTechniques() > 0 ? material->getTechnique(0) : nullptr;
        if (!technique || technique->getNumPasses() == 0) {
            logLine("[dotSceneLoader] " + sceneFileName + " line " + std::to_string(m->Row()) +
                    ": <disableFog> names material \"" + name +
                    "\", which does not exist or has no pass; skipped");
            continue;
        }
        technique->getPass(0)->setFog(true, Ogre::FOG_NONE, Ogre::ColourValue::White,
                                      NO_FOG_DENSITY, NO_FOG_START, NO_FOG_END);
    }
}

Ogre::SceneNode* MossdenScene::createTrack(const TiXmlElement* parent, const std::string& name) {
    return createTrack(parent, name, name);
}

Ogre::SceneNode* MossdenScene::createTrack(const TiXmlElement* parent,
                                           const std::string& elementName,
                                           const std::string& animationName) {
    const TiXmlElement* track = parent ? parent->FirstChildElement(elementName) : nullptr;
    if (!track) {
        std::cout << "Error: Track '" << elementName << "' not found" << std::endl;
        return nullptr;
    }
    Ogre::SceneNode* node = sceneManager->getRootSceneNode()->createChildSceneNode();
    const auto length = static_cast<Ogre::Real>(readIntAttribute("length", track));
    Ogre::Animation* animation = sceneManager->createAnimation(animationName, length);
    Ogre::NodeAnimationTrack* nodeTrack = animation->createNodeTrack(0, node);
    nodeTrack->setUseShortestRotationPath(true);
    if (readStringAttribute("type", track) == "Spline")
        animation->setInterpolationMode(Ogre::Animation::IM_SPLINE);

    auto pointOf = [](const TiXmlElement* e) {
        return Ogre::Vector3(static_cast<Ogre::Real>(readIntAttribute("x", e)),
                             static_cast<Ogre::Real>(readIntAttribute("y", e)),
                             static_cast<Ogre::Real>(readIntAttribute("z", e)));
    };
    if (readBoolAttribute("autoFrame", track)) {
        // Key times proportional to the distance travelled: constant speed
        // along the polyline, the last point at the animation's length.
        std::vector<Ogre::Vector3> points;
        for (const TiXmlElement* e = track->FirstChildElement("translate"); e;
             e = e->NextSiblingElement("translate"))
            points.push_back(pointOf(e));
        Ogre::Real total = 0;
        for (size_t i = 1; i < points.size(); ++i) total += points[i].distance(points[i - 1]);
        Ogre::Real travelled = 0;
        for (size_t i = 0; i < points.size(); ++i) {
            if (i > 0) travelled += points[i].distance(points[i - 1]);
            // Points that all coincide have no distance to share out: they
            // all stand at time 0.
            const Ogre::Real time = total > 0 ? travelled * length / total : 0;
            nodeTrack->createNodeKeyFrame(time)->setTranslate(points[i]);
        }
    } else {
        for (const TiXmlElement* e = track->FirstChildElement("translate"); e;
             e = e->NextSiblingElement("translate")) {
            const Ogre::Real time = readRealAttribute("keyFrame", e);
            if (!std::isfinite(time)) {
                // Key frames are kept sorted by time, which a NaN would break.
                std::cout << "Error: Track '" << elementName << "': translate with keyFrame \""
                          << readStringAttribute("keyFrame", e) << "\" skipped" << std::endl;
                continue;
            }
            nodeTrack->createNodeKeyFrame(time)->setTranslate(pointOf(e));
        }
    }
    return node;
}

std::unique_ptr<Ogre::SimpleSpline> MossdenScene::loadSpline(const TiXmlElement* parent,
                                                             const std::string& childName) {
    auto spline = std::make_unique<Ogre::SimpleSpline>();
    spline->setAutoCalculate(false);
    if (const TiXmlElement* path = parent ? parent->FirstChildElement(childName) : nullptr) {
        for (const TiXmlElement* p = path->FirstChildElement("point"); p;
             p = p->NextSiblingElement("point"))
            spline->addPoint(Ogre::Vector3(static_cast<Ogre::Real>(readIntAttribute("x", p)),
                                           static_cast<Ogre::Real>(readIntAttribute("y", p)),
                                           static_cast<Ogre::Real>(readIntAttribute("z", p))));
    }
    spline->recalcTangents();
    spline->setAutoCalculate(true);
    return spline;
}

std::unique_ptr<AnimationStarter> MossdenScene::loadAnimationStarter(const TiXmlElement* element) {
    if (!element) return nullptr;
    auto starter = std::make_unique<AnimationStarter>();
    for (const TiXmlElement* s = element->FirstChildElement("start"); s;
         s = s->NextSiblingElement("start")) {
        const std::string name = readStringAttribute("entity", s);
        if (!sceneManager->hasEntity(name)) {
            std::cout << sceneFileName << " line " << s->Row() << ": animation start for \"" << name
                      << "\", which the scene does not have; left out" << std::endl;
            continue;
        }
        starter->pending.emplace_back(sceneManager->getEntity(name), readRealAttribute("time", s));
    }
    return starter;
}

bool MossdenScene::isFinished() { return finished; }

void MossdenScene::setFinished(bool value) { finished = value; }

void MossdenScene::tick(int) {}

void MossdenScene::applyLook(const Mossden::LookStep&) {}

void MossdenScene::applyQuality(Mossden::Settings::Quality quality) {
    // The distances at which meshes go coarser, scaled: Low, Medium, High.
    constexpr Ogre::Real DETAIL_BIAS[] = {0.5f, 0.75f, 1.0f};
    const Ogre::Real bias = DETAIL_BIAS[static_cast<int>(quality)];
    for (const auto& entry : sceneManager->getMovableObjects("Entity"))
        static_cast<Ogre::Entity*>(entry.second)->setMeshLodBias(bias);
}

Mossden::LookOptions MossdenScene::currentLookOptions() const {
    return Mossden::LookOptions::from(services.settings());
}

bool MossdenScene::mouseMoved(const OIS::MouseEvent& evt) {
    if (cameraMan) injectMouseMove(*cameraMan, evt);
    return true;
}

bool MossdenScene::mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) {
    if (cameraMan) injectMouseDown(*cameraMan, evt, id);
    if (id == OIS::MB_Left) leftButtonDown = true;
    return true;
}

bool MossdenScene::mouseReleased(const OIS::MouseEvent& evt, OIS::MouseButtonID id) {
    if (cameraMan) injectMouseUp(*cameraMan, evt, id);
    if (id == OIS::MB_Left) leftButtonDown = false;
    return true;
}

bool MossdenScene::keyPressed(const OIS::KeyEvent& evt) {
    heldKeys.insert(evt.key);
    if (evt.key == OIS::KC_ESCAPE) services.request(Mossden::Request::OpenMenu);
    if (!cameraKeysDisabled && cameraMan) injectKeyDown(*cameraMan, evt);
    return true;
}

bool MossdenScene::keyReleased(const OIS::KeyEvent& evt) {
    heldKeys.erase(evt.key);
    if (!cameraKeysDisabled && cameraMan) injectKeyUp(*cameraMan, evt);
    return true;
}
