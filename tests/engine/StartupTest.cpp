#include <gtest/gtest.h>

#include <Ogre.h>
#include <OgreOverlayManager.h>

#include <fstream>
#include <sstream>

#include "tests/engine/EngineEnvironment.h"

using Mossden::Test::app;
using Mossden::Test::renderFrames;

TEST(Startup, WindowCameraAndViewport) {
    ASSERT_NE(app().window, nullptr);
    EXPECT_EQ(app().window->getName(), "Mossden");
    Ogre::Camera* cam = app().sceneManager->getCamera("PlayerCam");
    EXPECT_EQ(cam, app().camera);
    EXPECT_FLOAT_EQ(cam->getNearClipDistance(), 0.4f);
    // Once a frame has been rendered with stencil shadows, the engine has
    // switched the camera to an infinite far plane (0).
    const Ogre::Real farClip = cam->getFarClipDistance();
    EXPECT_TRUE(farClip == 1500000.0f || farClip == 0.0f) << farClip;
    ASSERT_EQ(app().window->getNumViewports(), 1u);
    Ogre::Viewport* vp = app().window->getViewport(0);
    EXPECT_EQ(vp->getCamera(), cam);
    EXPECT_EQ(vp->getBackgroundColour(), Ogre::ColourValue(0, 0, 0, 1));
    EXPECT_FLOAT_EQ(cam->getAspectRatio(), Ogre::Real(vp->getActualWidth()) / vp->getActualHeight());
    EXPECT_EQ(app().resolution, std::to_string(vp->getActualWidth()) + "x" +
                                    std::to_string(vp->getActualHeight()));
    EXPECT_EQ(app().sceneManager->getShadowTechnique(), Ogre::SHADOWTYPE_STENCIL_ADDITIVE);
    EXPECT_TRUE(renderFrames(3));
}

TEST(Startup, SavedConfigurationHasFsaaZero) {
    ASSERT_EQ(Mossden::Test::seededFsaa(), "4") << "the start had no other value to replace";
    std::ifstream in(app().userOgreCfgPath);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\nFSAA=0\n"), std::string::npos) << text.str();
}

TEST(Startup, VideoModesAreSizeTexts) {
    ASSERT_FALSE(app().videoModes.empty());
    for (const auto& mode : app().videoModes) {
        EXPECT_EQ(mode.find(' '), std::string::npos) << mode;
        EXPECT_NE(mode.find('x'), std::string::npos) << mode;
    }
    std::vector<std::string> fsaa;
    app().collectFsaaValues(fsaa);
    EXPECT_FALSE(fsaa.empty());
}

TEST(Startup, MalformedSizeTextIsIgnored) {
    const std::string before = app().resolution;
    app().setResolution("big");
    app().setResolution("800x");
    EXPECT_EQ(app().resolution, before);
    const std::string saved = app().resolution;
    app().resolution = "garbage";
    app().setFullscreen(false);  // must not end the process
    app().resolution = saved;
    EXPECT_TRUE(renderFrames(1));
}

TEST(Startup, FadeOverlayExists) {
    ASSERT_NE(app().fader, nullptr);
    EXPECT_NE(app().fader->textureUnit, nullptr);
    EXPECT_NE(app().fader->overlay, nullptr);
    EXPECT_NE(Ogre::OverlayManager::getSingleton().getByName("Overlays/FadeInOut"), nullptr);
}
