// The fader on the real overlay and material: alpha sequences, completion
// calls and the instant black that scenes use.
#include <Ogre.h>
#include <OgreOverlay.h>
#include <gtest/gtest.h>

#include "app/Fader.h"
#include "tests/engine/EngineEnvironment.h"

namespace {

using Mossden::Fader;
using Mossden::Test::app;

struct CallCounter : FaderCallback {
    void fadeInCallback() override { ++fadeIns; }
    void fadeOutCallback() override { ++fadeOuts; }
    int fadeIns = 0;
    int fadeOuts = 0;
};

class FaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(fader.textureUnit, nullptr);
        ASSERT_NE(fader.overlay, nullptr);
    }
    // Leave the shared overlay and material as the game expects them.
    void TearDown() override {
        fader.applyAlpha(0.0);
        fader.overlay->hide();
    }

    // The value the last fade gave the texture unit, with the blend it must use.
    Ogre::Real appliedAlpha() const {
        const Ogre::LayerBlendModeEx& blend = fader.textureUnit->getAlphaBlendMode();
        EXPECT_EQ(blend.operation, Ogre::LBX_MODULATE);
        EXPECT_EQ(blend.source1, Ogre::LBS_MANUAL);
        EXPECT_EQ(blend.source2, Ogre::LBS_TEXTURE);
        EXPECT_EQ(blend.alphaArg2, 1.0f);
        EXPECT_EQ(blend.factor, 0.0f);
        return blend.alphaArg1;
    }

    // A fade that has ended: idle at alpha, with the completion calls so far.
    void expectEnded(double alpha, bool covering, int fadeIns, int fadeOuts) const {
        EXPECT_EQ(fader.alpha, alpha);
        EXPECT_EQ(fader.operation, Fader::FADE_NONE);
        EXPECT_EQ(fader.overlay->isVisible(), covering);
        EXPECT_EQ(calls.fadeIns, fadeIns);
        EXPECT_EQ(calls.fadeOuts, fadeOuts);
    }

    CallCounter calls;
    Fader fader{&calls};
};

TEST_F(FaderTest, FadeInTurnsAnyDurationIntoAUsableOne) {
    struct Case {
        double given, used;
    };
    for (const Case& c : {Case{-3.0, 3.0}, Case{0.0, 1.0}, Case{0.0000005, 1.0}, Case{7.0, 7.0}}) {
        SCOPED_TRACE(c.given);
        fader.startFadeIn(c.given);
        EXPECT_EQ(fader.totalDuration, c.used);
        EXPECT_EQ(fader.currentDuration, c.used);
        EXPECT_EQ(fader.alpha, 1.0);
        EXPECT_EQ(fader.operation, Fader::FADE_IN);
        EXPECT_TRUE(fader.overlay->isVisible());
    }
    EXPECT_EQ(calls.fadeIns + calls.fadeOuts, 0);
}

TEST_F(FaderTest, FadeInOfSevenSecondsInTenthsEndsPastSevenSeconds) {
    fader.startFadeIn(7.0);
    fader.fade(0.1);
    EXPECT_NEAR(fader.alpha, 0.985714, 1e-6);
    EXPECT_FLOAT_EQ(appliedAlpha(), static_cast<Ogre::Real>(fader.alpha));

    double summed = 0.1;
    double previous = fader.alpha;
    while (summed <= 7.0) {
        ASSERT_EQ(calls.fadeIns, 0) << "ended early, at " << summed << " s";
        fader.fade(0.1);
        summed += 0.1;
        if (summed <= 7.0) {
            EXPECT_LT(fader.alpha, previous);
            EXPECT_GE(fader.alpha, 0.0);
            previous = fader.alpha;
        }
    }
    // The frame that passed 7 s applied a negative alpha, then clamped.
    EXPECT_LT(appliedAlpha(), 0.0f);
    expectEnded(0.0, false, 1, 0);
}

TEST_F(FaderTest, FadesEndOnlyStrictlyPastTheirDuration) {
    // Quarter seconds add up exactly: alpha reaches the bound without passing it.
    fader.startFadeIn(1.0);
    for (int i = 0; i < 4; ++i) fader.fade(0.25);
    EXPECT_EQ(fader.alpha, 0.0);
    EXPECT_EQ(fader.operation, Fader::FADE_IN);
    EXPECT_TRUE(fader.overlay->isVisible());
    EXPECT_EQ(calls.fadeIns, 0);
    fader.fade(0.25);
    EXPECT_EQ(calls.fadeIns, 1);
    EXPECT_FALSE(fader.overlay->isVisible());

    fader.startFadeOut(2.0);
    EXPECT_EQ(fader.alpha, 0.0);
    EXPECT_TRUE(fader.overlay->isVisible());
    for (double expected : {0.25, 0.5, 0.75, 1.0}) {
        fader.fade(0.5);
        EXPECT_EQ(fader.alpha, expected);
        EXPECT_FLOAT_EQ(appliedAlpha(), static_cast<Ogre::Real>(expected));
    }
    EXPECT_EQ(calls.fadeOuts, 0);
    fader.fade(0.5);
    EXPECT_FLOAT_EQ(appliedAlpha(), 1.25f);
    expectEnded(1.0, true, 1, 1);  // a finished fade-out keeps covering
}

TEST_F(FaderTest, InstantBlackCompletesInOneCall) {
    fader.startFadeOut(1.0);
    fader.fade(999.0);
    EXPECT_FLOAT_EQ(appliedAlpha(), 999.0f);
    expectEnded(1.0, true, 0, 1);
}

TEST_F(FaderTest, IdleFadeAndReplacedFades) {
    fader.applyAlpha(0.4);
    fader.fade(1.0);
    EXPECT_EQ(fader.alpha, 0.0);
    EXPECT_FLOAT_EQ(appliedAlpha(), 0.4f);
    EXPECT_EQ(calls.fadeIns + calls.fadeOuts, 0);

    // A start during a running fade replaces it at once.
    fader.startFadeOut(4.0);
    fader.fade(1.0);
    fader.startFadeIn(2.0);
    EXPECT_EQ(fader.alpha, 1.0);
    fader.fade(1.0);
    EXPECT_EQ(fader.alpha, 0.5);
    fader.fade(1.5);
    EXPECT_EQ(calls.fadeIns, 1);
    EXPECT_EQ(calls.fadeOuts, 0);
}

TEST_F(FaderTest, TheApplicationsFaderRunsOnGameTime) {
    Fader& appFader = *app().fader;
    appFader.startFadeIn(10.0);
    ASSERT_TRUE(Mossden::Test::renderFrames(1, 0.125));
    EXPECT_NEAR(appFader.alpha, 0.9875, 1e-6);
    // A stalled frame counts as a quarter of a second.
    ASSERT_TRUE(Mossden::Test::renderFrames(1, 2.5));
    EXPECT_NEAR(appFader.alpha, 0.9625, 1e-6);
    ASSERT_TRUE(Mossden::Test::renderFrames(39, 0.25));
    EXPECT_EQ(appFader.operation, Fader::FADE_NONE);
    EXPECT_FALSE(appFader.overlay->isVisible());
}

}  // namespace
