// Attribute readers, the nesting guard in front of the XML parser, and the
// OIS-to-camera-man conversion: all without a window.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <climits>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "scene/CDotScene.h"
#include "scene/CameraManInput.h"
#include "scene/SceneReaders.h"

namespace {

TiXmlElement withAttribute(const char* value) {
    TiXmlElement element("e");
    if (value) element.SetAttribute("v", value);
    return element;
}

// Element depth of a parsed document, walked without recursion.
int treeDepth(const TiXmlDocument& document) {
    int deepest = 0;
    std::vector<std::pair<const TiXmlElement*, int>> stack;
    for (const TiXmlElement* e = document.FirstChildElement(); e; e = e->NextSiblingElement())
        stack.push_back({e, 1});
    while (!stack.empty()) {
        auto [element, depth] = stack.back();
        stack.pop_back();
        deepest = std::max(deepest, depth);
        for (const TiXmlElement* c = element->FirstChildElement(); c; c = c->NextSiblingElement())
            stack.push_back({c, depth + 1});
    }
    return deepest;
}

}  // namespace

TEST(SceneReaders, ConvertLikeTheEngine) {
    struct Case {
        const char* text;  // null: attribute absent
        std::string asString;
        int asInt;
        float asReal;
        bool asBool;
    };
    const Case cases[] = {
        {nullptr, "", 0, 0, false},
        {"", "", 0, 0, false},
        {"12.9", "12.9", 12, 12.9f, false},
        {"-3", "-3", -3, -3, false},
        {"1.75", "1.75", 1, 1.75f, false},
        {"abc", "abc", 0, 0, false},
        {"1e3", "1e3", 1, 1000, false},
        {"true", "true", 0, 0, true},
        {"True", "True", 0, 0, true},
        {"TRUE", "TRUE", 0, 0, false},
        {"1", "1", 1, 1, false},
        {"yes", "yes", 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(absent)");
        const TiXmlElement element = withAttribute(c.text);
        EXPECT_EQ(readStringAttribute("v", &element), c.asString);
        EXPECT_EQ(readIntAttribute("v", &element), c.asInt);
        EXPECT_FLOAT_EQ(readRealAttribute("v", &element), c.asReal);
        EXPECT_EQ(readBoolAttribute("v", &element), c.asBool);
    }
    // A null element reads like one without the attribute.
    EXPECT_EQ(readStringAttribute("v", nullptr), "");
    EXPECT_EQ(readIntAttribute("v", nullptr), 0);
    EXPECT_EQ(readRealAttribute("v", nullptr), 0);
    EXPECT_FALSE(readBoolAttribute("v", nullptr));
}

TEST(SceneReaders, NestingDepthOfKnownTexts) {
    const std::pair<std::string, int> cases[] = {
        {"", 0},
        {"<a/>", 1},
        {"<a><b/><c><d></d></c></a>", 3},
        {"<a x='>' y=\"/>\"><b/></a>", 2},
        {"<a><!-- <b><c><d> --><![CDATA[<e><f>]]></a>", 1},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><a><b/></a>", 2},
        {"<!DOCTYPE scene><a><!x><b></b></a>", 2},
        {"< a><b></b>", 1},          // "< " starts no element
        {"<a><b><c>", 3},            // never closed
        {"</a></a><a><b/></a>", 2},  // stray closers do not go below zero
        {"<a/ ><b>", 2},
    };
    for (const auto& [text, depth] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(xmlNestingDepth(text), depth);
    }
    // Declarations the parser might end elsewhere are refused outright.
    EXPECT_EQ(xmlNestingDepth("<?xml version=\"1 0\"?><a/>"), INT_MAX);
    EXPECT_EQ(xmlNestingDepth("<?xml version=\"><a>\"?>"), INT_MAX);
    EXPECT_EQ(xmlNestingDepth("<?xml version=\"1.0?>"), INT_MAX);
}

// The guard must never count fewer levels than the parser builds, whatever
// the text: random documents made of every kind of markup, then damaged.
TEST(SceneReaders, NestingDepthNeverBelowTheParsersDepth) {
    std::mt19937 random(77u);
    const std::vector<std::string> pieces = {"<n>",
                                             "</n>",
                                             "<n a='1'>",
                                             "<n a=\"x>y\">",
                                             "<n/>",
                                             "<n a='/>'/>",
                                             "text",
                                             "<!-- <n> -->",
                                             "<![CDATA[<n>]]>",
                                             "<!x>",
                                             "<?xml version=\"1.0\"?>",
                                             "<?pi <n> ?>",
                                             "< n>",
                                             "<_n>",
                                             "\xc3\xa9",
                                             "<n a=b>",
                                             "<n\n>",
                                             "</ n>",
                                             "<n a='1' b=\"2\" />",
                                             "<",
                                             ">",
                                             "'",
                                             "\"",
                                             "/",
                                             "="};
    int parsed = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string text = "<root>";
        const int count = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
        for (int i = 0; i < count; ++i)
            if (random() % 2) text += "</n>";
        text += "</root>";
        TiXmlDocument document;
        document.Parse(text.c_str());
        if (document.Error()) continue;
        ++parsed;
        EXPECT_GE(xmlNestingDepth(text), treeDepth(document)) << text;
    }
    EXPECT_GT(parsed, 100);
}

TEST(SceneReaders, MediaAreTheMeshesAndMaterialsTheFileNames) {
    TiXmlDocument doc;
    doc.Parse(R"(<scene><nodes>
        <node name="a"><entity name="a" meshFile="rock.mesh" materialName="Moss"/></node>
        <node name="b"><node name="c"><entity name="c" meshFile="rock.mesh"/></node>
            <entity name="b" meshFile="fern.mesh"/><entity name="empty" meshFile=""/></node>
        <node name="fog"><billboardSet materialName="Fog"/><billboardSet materialName="Fog"/></node>
        <node name="p"><particleSystem name="p" file="Trail"/></node>
        </nodes><config><skyBox materialName="Sky" distance="50000"/></config></scene>)");
    const SceneMedia media = sceneMedia(doc.RootElement());
    EXPECT_EQ(media.meshes, (std::vector<std::string>{"rock.mesh", "fern.mesh"}));
    EXPECT_EQ(media.materials, (std::vector<std::string>{"Moss", "Fog", "Sky"}));
    EXPECT_TRUE(sceneMedia(nullptr).meshes.empty());
}

TEST(SceneCameraManInput, KeyCodesFollowSdl) {
    const std::pair<OIS::KeyCode, OgreBites::Keycode> cases[] = {
        {OIS::KC_W, 'w'},
        {OIS::KC_A, 'a'},
        {OIS::KC_S, 's'},
        {OIS::KC_D, 'd'},
        {OIS::KC_Q, 'q'},
        {OIS::KC_M, 'm'},
        {OIS::KC_0, '0'},
        {OIS::KC_SPACE, ' '},
        {OIS::KC_ESCAPE, OgreBites::SDLK_ESCAPE},
        {OIS::KC_UP, OgreBites::SDLK_UP},
        {OIS::KC_DOWN, OgreBites::SDLK_DOWN},
        {OIS::KC_LEFT, OgreBites::SDLK_LEFT},
        {OIS::KC_RIGHT, OgreBites::SDLK_RIGHT},
        {OIS::KC_PGUP, OgreBites::SDLK_PAGEUP},
        {OIS::KC_PGDOWN, OgreBites::SDLK_PAGEDOWN},
        {OIS::KC_LSHIFT, OgreBites::SDLK_LSHIFT},
        {OIS::KC_F1, OgreBites::SDLK_F1},
        {OIS::KC_F12, OgreBites::SDLK_F12},
        {OIS::KC_UNASSIGNED, 0},
        {OIS::KC_MEDIASELECT, 0},
    };
    for (const auto& [ois, sdl] : cases) {
        SCOPED_TRACE(ois);
        EXPECT_EQ(bitesKeycode(ois), sdl);
    }
    // All 26 letters map to distinct lower-case letters.
    std::set<OgreBites::Keycode> letters;
    for (int code = 0; code < 256; ++code) {
        const OgreBites::Keycode key = bitesKeycode(static_cast<OIS::KeyCode>(code));
        if (key >= 'a' && key <= 'z') letters.insert(key);
    }
    EXPECT_EQ(letters.size(), 26u);
}

TEST(SceneCameraManInput, MouseEventsCarryPositionsAndButtons) {
    OIS::MouseState state;
    state.X.abs = 100;
    state.Y.abs = 50;
    state.X.rel = -3;
    state.Y.rel = 7;
    const OIS::MouseEvent evt(nullptr, state);
    const OgreBites::MouseMotionEvent motion = bitesMotionEvent(evt);
    EXPECT_EQ(motion.type, OgreBites::MOUSEMOTION);
    EXPECT_EQ(motion.x, 100);
    EXPECT_EQ(motion.y, 50);
    EXPECT_EQ(motion.xrel, -3);
    EXPECT_EQ(motion.yrel, 7);
    const std::pair<OIS::MouseButtonID, int> buttons[] = {
        {OIS::MB_Left, OgreBites::BUTTON_LEFT},
        {OIS::MB_Right, OgreBites::BUTTON_RIGHT},
        {OIS::MB_Middle, OgreBites::BUTTON_MIDDLE}};
    for (const auto& [ois, bites] : buttons) {
        const OgreBites::MouseButtonEvent b =
            bitesButtonEvent(OgreBites::MOUSEBUTTONDOWN, evt, ois);
        EXPECT_EQ(b.button, bites);
        EXPECT_EQ(b.type, OgreBites::MOUSEBUTTONDOWN);
        EXPECT_EQ(b.x, 100);
        EXPECT_EQ(b.y, 50);
    }
}
