#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "app/UserPaths.h"

namespace fs = std::filesystem;
using namespace Mossden;

namespace {

Environment fakeEnvironment(const std::map<std::string, std::string>& vars) {
    return [vars](const char* name) -> const char* {
        const auto it = vars.find(name);
        return it == vars.end() ? nullptr : it->second.c_str();
    };
}

}  // namespace

TEST(UserPaths, XdgRules) {
    struct Case {
        std::map<std::string, std::string> env;
        const char* config;
        const char* state;
        std::size_t notes;  // for both folders together
    };
    const Case cases[] = {
        {{{"HOME", "/home/p"}}, "/home/p/.config/mossden/", "/home/p/.local/state/mossden/", 0},
        {{{"HOME", "/home/p/"}, {"XDG_CONFIG_HOME", "/c"}, {"XDG_STATE_HOME", "/s/"}},
         "/c/mossden/", "/s/mossden/", 0},
        // Empty counts as unset; relative is invalid and ignored with a note.
        {{{"HOME", "/h"}, {"XDG_CONFIG_HOME", ""}, {"XDG_STATE_HOME", "state"}},
         "/h/.config/mossden/", "/h/.local/state/mossden/", 1},
        {{{"HOME", "/h"}, {"XDG_CONFIG_HOME", "./cfg"}, {"XDG_STATE_HOME", "~/s"}},
         "/h/.config/mossden/", "/h/.local/state/mossden/", 2},
        // Without an absolute HOME there is no fallback: a note per folder.
        {{}, "", "", 2},
        {{{"HOME", ""}}, "", "", 2},
        {{{"HOME", "home"}}, "", "", 2},
        {{{"HOME", "home"}, {"XDG_CONFIG_HOME", "/c"}}, "/c/mossden/", "", 1},
        {{{"XDG_CONFIG_HOME", "/c"}, {"XDG_STATE_HOME", "/s"}}, "/c/mossden/", "/s/mossden/", 0},
    };
    for (const auto& c : cases) {
        std::vector<std::string> notes;
        const Environment env = fakeEnvironment(c.env);
        EXPECT_EQ(userFolder(env, UserFolder::Config, notes), c.config);
        EXPECT_EQ(userFolder(env, UserFolder::State, notes), c.state);
        EXPECT_EQ(notes.size(), c.notes) << (notes.empty() ? "" : notes[0]);
    }
    std::vector<std::string> notes;
    userFolder(fakeEnvironment({{"HOME", "/h"}, {"XDG_STATE_HOME", "state"}}), UserFolder::State, notes);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], "Ignoring XDG_STATE_HOME 'state': not an absolute path");
    notes.clear();
    userFolder(fakeEnvironment({}), UserFolder::Config, notes);
    EXPECT_EQ(notes, std::vector<std::string>{"HOME is not set: no per-user folder for the settings"});
}

class UserFolderTree : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("mossden-user-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

TEST_F(UserFolderTree, FoldersAreMadePrivateAndBlockersNamed) {
    const fs::path made = root / "a/b/mossden/";
    std::string note;
    ASSERT_TRUE(ensureFolder(made.string(), note)) << note;
    for (const auto& p : {root / "a", root / "a/b", root / "a/b/mossden"}) {
        struct stat info {};
        ASSERT_EQ(::stat(p.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << p;
    }
    EXPECT_TRUE(ensureFolder(made.string(), note)) << "an existing folder is fine";

    std::ofstream(root / "file") << "x";
    EXPECT_FALSE(ensureFolder((root / "file/mossden/").string(), note));
    EXPECT_NE(note.find((root / "file").string()), std::string::npos) << note;
    EXPECT_FALSE(ensureFolder((root / "file").string(), note));
    EXPECT_EQ(note, "'" + (root / "file").string() + "' is not a folder");
}

TEST_F(UserFolderTree, EngineConfigIsReadFromThePlayersCopyWhenThereIsOne) {
    const std::string user = (root / "user").string() + "/";
    const std::string data = (root / "data/cfg/ogre.cfg").string();
    fs::create_directories(user);
    EngineConfigPaths paths = engineConfigPaths(user, data);
    EXPECT_EQ(paths.read, data);
    EXPECT_EQ(paths.write, user + "ogre.cfg");

    fs::create_directory(user + "ogre.cfg");  // not a file: the data's copy is read
    EXPECT_EQ(engineConfigPaths(user, data).read, data);
    fs::remove(user + "ogre.cfg");

    std::ofstream(user + "ogre.cfg") << "Render System=x\n";
    paths = engineConfigPaths(user, data);
    EXPECT_EQ(paths.read, user + "ogre.cfg");
    EXPECT_EQ(paths.write, user + "ogre.cfg");

    paths = engineConfigPaths("", data);
    EXPECT_EQ(paths.read, data);
    EXPECT_EQ(paths.write, "");
}

TEST(UserPaths, EngineConfigTextHasTheEnginesLayout) {
    const std::string text = engineConfigText(
        "OpenGL Rendering Subsystem",
        {{"OpenGL Rendering Subsystem", {{"Full Screen", "No"}, {"Video Mode", "1024 x 768"}}},
         {"Other", {}}});
    EXPECT_EQ(text,
              "Render System=OpenGL Rendering Subsystem\n\n[OpenGL Rendering Subsystem]\nFull Screen=No\n"
              "Video Mode=1024 x 768\n\n[Other]\n");
}
