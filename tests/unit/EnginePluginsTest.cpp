#include <gtest/gtest.h>

#include <sstream>

#include "app/EnginePlugins.h"

using Mossden::readPluginConfig;

// Plugins come from the engine's folder only, whatever the file says.
TEST(EnginePlugins, OnlyBareNamesFromTheEngineFolder) {
    struct Case {
        const char* text;
        std::vector<std::string> plugins;
        std::size_t notes;
    };
    const std::string engine = "/usr/lib/engine/plugins";
    const Case cases[] = {
        {"# engine plugins\nPluginFolder=/usr/lib/engine/plugins\nPlugin=RenderSystem_GL\nPlugin=Codec_STBI\n",
         {engine + "/RenderSystem_GL", engine + "/Codec_STBI"}, 0},
        {"PluginFolder=/usr/lib/engine/plugins/\nPlugin=A\n", {engine + "/A"}, 0},
        {"PluginFolder=/tmp/evil\nPlugin=RenderSystem_GL\n", {engine + "/RenderSystem_GL"}, 1},
        {"Plugin=/tmp/evil/libx\nPlugin=../../tmp/x\nPlugin=..\nPlugin=\nPlugin=B\n", {engine + "/B"}, 4},
        {"Plugin = C \r\nSomething=else\n\n", {engine + "/C"}, 1},
        {"", {}, 0},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        std::vector<std::string> notes;
        EXPECT_EQ(readPluginConfig(in, engine, notes), c.plugins) << c.text;
        EXPECT_EQ(notes.size(), c.notes) << c.text;
    }
}
