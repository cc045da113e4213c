#include "scenes/third/Butterfly.h"

#include <Ogre.h>

#include "scene/Helpers.h"
#include "scenes/third/Hole.h"

namespace Mossden {

Butterfly::Butterfly(Ogre::SceneManager* sceneManager, std::string name, const Hole* hole)
    : mSceneManager(sceneManager), mName(std::move(name)), mHole(hole) {}

Ogre::SceneNode* Butterfly::node() {
    if (!mNode && !mName.empty() && mSceneManager->hasSceneNode(mName)) {
        mNode = mSceneManager->getSceneNode(mName);
        if (mSceneManager->hasBillboardSet(mName)) mBillboards = mSceneManager->getBillboardSet(mName);
        if (mSceneManager->hasParticleSystem(mName + "_particle"))
            mTrail = mSceneManager->getParticleSystem(mName + "_particle");
    }
    return mNode;
}

void Butterfly::attach(Ogre::SceneNode* pivot) {
    if (!node()) return;
    mPivot = pivot;
    moveToParent(pivot, mNode, mNode->_getDerivedPosition());
    mStartPosition = mNode->getPosition();
    const Ogre::Vector3 down = pivot->_getDerivedOrientation().Inverse() *
                               (mHole->downNode->getPosition() - pivot->_getDerivedPosition());
    mDirection = (down - mStartPosition).normalisedCopy();
}

void Butterfly::show() {
    if (!node() || mShown) return;
    mNode->setPosition(mStartPosition);
    mNode->setVisible(true);
    mShown = true;
    if (mBillboards) mBillboards->setVisible(true);
    if (mTrail) mTrail->setEmitting(true);
}

void Butterfly::launch() {
    if (!mPivot) {
        hide();
        return;
    }
    if (!mShown || mFlying) return;
    mFlightTime = 0;
    mShown = false;
    mFlying = true;
    mNode->setPosition(mStartPosition);
}

void Butterfly::hide() {
    if (node()) mNode->setVisible(false);
}

void Butterfly::update(float dt) {
    if (!mFlying) return;
    mFlightTime += dt;
    if (mFlightTime > WINGS_SECONDS && mBillboards) mBillboards->setVisible(false);
    if (mFlightTime > FLIGHT_SECONDS) {
        if (mTrail) mTrail->setEmitting(false);
        mFlying = false;
        mShown = false;
        mNode->setVisible(false);
        return;
    }
    mNode->translate(mDirection * (dt * SPEED), Ogre::Node::TS_PARENT);
}

}  // namespace Mossden
