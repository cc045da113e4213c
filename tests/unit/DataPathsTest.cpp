#include <gtest/gtest.h>

#include <OgreException.h>

#include <filesystem>
#include <fstream>

#include "app/DataPaths.h"

namespace fs = std::filesystem;
using namespace Mossden;

namespace {

// A throw-away directory tree, removed with the fixture.
class DataTree : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("mossden-paths-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
    void touch(const fs::path& p) {
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "x";
    }
    fs::path root;
};

}  // namespace

TEST(DataPaths, JoinsWithOneSeparator) {
    EXPECT_EQ(joinDataPath("", "cfg/ogre.cfg"), "cfg/ogre.cfg");
    EXPECT_EQ(joinDataPath("/usr/games/Mossden/", "cfg/ogre.cfg"), "/usr/games/Mossden/cfg/ogre.cfg");
    EXPECT_EQ(joinDataPath("/opt/m", "media/sound/"), "/opt/m/media/sound/");
}

TEST(DataPaths, CandidatesInOrder) {
    const auto c = dataCandidates("/opt/x/games/mossden");
    ASSERT_EQ(c.size(), 5u);
    EXPECT_EQ(c[0], "");
    EXPECT_EQ(c[1], "/opt/x/games/../games/Mossden/");
    EXPECT_EQ(c[2], "/opt/x/games/../");
    EXPECT_EQ(c[3], "/usr/games/Mossden/");
    EXPECT_EQ(c[4], "/usr/local/games/Mossden/");
}

TEST_F(DataTree, EachPathSearchedOnItsOwnFirstCandidateFirst) {
    const fs::path a = root / "a", b = root / "b";
    touch(b / "cfg/ogre.cfg");
    touch(a / "cfg/plugins.cfg");
    touch(b / "cfg/plugins.cfg");
    fs::create_directories(b / "media/sound");  // a directory satisfies the search
    const std::vector<std::string> candidates = {a.string(), b.string()};
    EXPECT_EQ(findDataFile(candidates, "cfg/ogre.cfg"), (b / "cfg/ogre.cfg").string());
    EXPECT_EQ(findDataFile(candidates, "cfg/plugins.cfg"), (a / "cfg/plugins.cfg").string());
    EXPECT_EQ(findDataFile(candidates, "media/sound/"), (b / "media/sound/").string());
}

TEST_F(DataTree, ExecutableRelativeInstallIsFound) {
    touch(root / "games/Mossden/cfg/ogre.cfg");
    const auto candidates = dataCandidates((root / "games/mossden").string());
    const std::string found = findDataFile({candidates[1], candidates[2]}, "cfg/ogre.cfg");
    EXPECT_TRUE(fs::equivalent(found, root / "games/Mossden/cfg/ogre.cfg"));
}

TEST_F(DataTree, MissingEverywhereRaisesNotFound) {
    try {
        findDataFile({root.string(), (root / "nothing").string()}, "cfg/ogre.cfg");
        FAIL() << "expected an exception";
    } catch (const Ogre::Exception& e) {
        EXPECT_NE(dynamic_cast<const Ogre::FileNotFoundException*>(&e), nullptr);
        EXPECT_EQ(e.getDescription(), "cfg/ogre.cfg not found");
        EXPECT_EQ(e.getSource(), "Helpers");
    }
}

// A folder with part of the data never mixes with the root that has it all.
TEST_F(DataTree, EveryFileComesFromTheFirstRootWithOgreCfg) {
    const fs::path partial = root / "partial", full = root / "full";
    touch(partial / "cfg/plugins.cfg");
    fs::create_directories(partial / "media/sound");
    for (const char* f : {"cfg/ogre.cfg", "cfg/plugins.cfg", "cfg/resources.cfg"}) touch(full / f);
    fs::create_directories(full / "media/sound");
    const std::string found = findDataRoot({partial.string(), full.string()});
    EXPECT_EQ(found, full.string());
    EXPECT_EQ(requireDataPath(found, "cfg/plugins.cfg"), (full / "cfg/plugins.cfg").string());
    EXPECT_EQ(requireDataPath(found, "media/sound/", true), (full / "media/sound/").string());
}

TEST_F(DataTree, DataPathsThatCannotBeUsedAreNamed) {
    fs::create_directories(root / "cfg/ogre.cfg");  // a folder where a file belongs
    touch(root / "cfg/plugins.cfg");
    touch(root / "media/sound");
    struct Case {
        const char* relative;
        bool directory;
        const char* problem;
    };
    const Case cases[] = {
        {"cfg/ogre.cfg", false, "is not a regular file"},
        {"cfg/resources.cfg", false, "not found"},
        {"media/sound", true, "is not a folder"},
    };
    EXPECT_EQ(findDataRoot({root.string()}), root.string());
    for (const auto& c : cases) {
        try {
            requireDataPath(root.string(), c.relative, c.directory);
            ADD_FAILURE() << c.relative << " was taken";
        } catch (const Ogre::Exception& e) {
            EXPECT_EQ(e.getDescription(), (root / c.relative).string() + " " + c.problem);
        }
    }
    EXPECT_THROW(findDataRoot({(root / "nothing").string()}), Ogre::FileNotFoundException);
}

TEST(DataPaths, SizeTexts) {
    struct Case {
        const char* text;
        bool ok;
        int w, h;
    };
    const Case cases[] = {
        {"1024x768", true, 1024, 768}, {"800x600x32", true, 800, 600}, {"1024", false, 0, 0},
        {"x768", false, 0, 0},         {"1024x", false, 0, 0},         {"10 24x768", false, 0, 0},
        {"-5x3", false, 0, 0},         {"abcxdef", false, 0, 0},       {"99999999999x1", false, 0, 0},
    };
    for (const auto& c : cases) {
        const auto size = parseSizeText(c.text);
        EXPECT_EQ(size.has_value(), c.ok) << c.text;
        if (size && c.ok) {
            EXPECT_EQ(size->first, c.w) << c.text;
            EXPECT_EQ(size->second, c.h) << c.text;
        }
    }
}
