#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Settings.h"

namespace fs = std::filesystem;
using namespace Mossden;

namespace {

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class SettingsFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("mossden-settings-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        file = folder / "settings.cfg";
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }
    std::size_t entries() const { return std::distance(fs::directory_iterator(folder), {}); }
    fs::path folder, file;
};

}  // namespace

TEST(Settings, RoundTripKeepsEveryValueAndUnknownLines) {
    Settings s;
    s.volume = 3;
    s.fullscreen = true;
    s.screenSize = "1920x1080";
    s.mouseSensitivity = 0.3717f;
    s.invertVerticalLook = true;
    s.fieldOfView = 61.25f;
    s.quality = Settings::Quality::Low;
    s.keptLines = {"# my notes", "future_key = some value"};
    std::vector<std::string> notes;
    EXPECT_EQ(parseSettings(formatSettings(s), "settings.cfg", notes), s);
    EXPECT_TRUE(notes.empty());

    // Unset window mode and size stay unset, and the defaults read back.
    EXPECT_EQ(parseSettings(formatSettings(Settings{}), "settings.cfg", notes), Settings{});
    EXPECT_EQ(formatSettings(Settings{}).find("screen_size"), std::string::npos);
    // No quality until the first start picks one: an unset quality is not
    // written, so that a later start still sees it unpicked.
    EXPECT_EQ(formatSettings(Settings{}).find("quality"), std::string::npos);
    EXPECT_FALSE(parseSettings("volume=3\n", "settings.cfg", notes).quality);
    EXPECT_TRUE(notes.empty());
}

TEST(Settings, FirstQualityIsLowOnlyForSoftwareRenderers) {
    struct Case {
        const char* renderer;
        Settings::Quality quality;
    };
    const Case cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", Settings::Quality::Low},
        {"Gallium 0.4 on softpipe", Settings::Quality::Low},
        {"LLVMPIPE", Settings::Quality::Low},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", Settings::Quality::High},
        {"AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)", Settings::Quality::High},
        {"", Settings::Quality::High},
    };
    for (const auto& c : cases) EXPECT_EQ(firstQuality(c.renderer), c.quality) << c.renderer;
}

TEST(Settings, ReadsSpacingCaseAndLineEndingsAPlayerMightWrite) {
    std::vector<std::string> notes;
    const Settings s = parseSettings(
        "  volume = 4\r\n\n\twindow_mode=Windowed\nINVERT_VERTICAL_LOOK=yes\ninvert_vertical_look=ON\n"
        "field_of_view=50",
        "f", notes);
    EXPECT_EQ(s.volume, 4);
    EXPECT_EQ(s.fullscreen, std::optional<bool>(false));
    EXPECT_TRUE(s.invertVerticalLook);
    EXPECT_FLOAT_EQ(s.fieldOfView, 50.0f);  // last line without a newline
    // Keys are exact: the capitalised one is somebody else's, kept as is.
    EXPECT_EQ(s.keptLines, std::vector<std::string>{"INVERT_VERTICAL_LOOK=yes"});
    EXPECT_TRUE(notes.empty());
}

// Each kind of bad line gives exactly one note naming the file and line,
// and the rest of the file still counts.
TEST(Settings, EveryMalformedLineGivesOneNoteAndIsSkipped) {
    struct Case {
        const char* line;
        const char* noteHas;
    };
    const Case cases[] = {
        {"volume 7", "not key=value"},
        {"= 7", "no key"},
        {"volume=\x01", "control character"},
        {"volume=loud", "'loud' is not a number"},
        {"volume=7.5", "is not a number"},
        {"volume=", "'' is not a number"},
        {"mouse_sensitivity=nan", "is not a number"},
        {"mouse_sensitivity=1e999", "is not a number"},
        {"field_of_view=45deg", "is not a number"},
        {"window_mode=maximised", "not fullscreen or windowed"},
        {"screen_size=1024", "not <width>x<height>"},
        {"screen_size=0x768", "not <width>x<height>"},
        {"screen_size=-1x5", "not <width>x<height>"},
        {"invert_vertical_look=maybe", "not yes or no"},
        {"quality=ultra", "not low, medium or high"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> notes;
        const Settings s =
            parseSettings(std::string("before=1\n") + c.line + "\nafter=2\n", "settings.cfg", notes);
        ASSERT_EQ(notes.size(), 1u) << c.line;
        EXPECT_EQ(notes[0].rfind("settings.cfg:2: ", 0), 0u) << notes[0];
        EXPECT_NE(notes[0].find(c.noteHas), std::string::npos) << notes[0];
        Settings expected;
        expected.keptLines = {"before=1", "after=2"};
        EXPECT_EQ(s, expected) << c.line;
    }
}

TEST(Settings, OutOfRangeValuesGoToTheNearerEndWithANote) {
    std::vector<std::string> notes;
    const Settings s = parseSettings(
        "volume=11\nmouse_sensitivity=0.1\nfield_of_view=120\nvolume=-1\nmouse_sensitivity=4\n", "f", notes);
    EXPECT_EQ(s.volume, 0);  // the second volume line counts
    EXPECT_FLOAT_EQ(s.mouseSensitivity, Settings::MAX_SENSITIVITY);
    EXPECT_FLOAT_EQ(s.fieldOfView, Settings::MAX_FIELD_OF_VIEW);
    // 11, 0.1, 120, -1, and the two repeated keys; 4 is in range.
    ASSERT_EQ(notes.size(), 6u);
    EXPECT_EQ(notes[0], "f:1: volume: '11' is outside 0..10; 10 used");
    EXPECT_EQ(notes[3], "f:4: volume given again; the last one counts");
}

TEST(Settings, BinaryTextAndFloodsOfBadLinesStayShort) {
    std::vector<std::string> notes;
    const Settings binary = parseSettings(std::string("volume=3\n\0\xff\xfe", 13), "f", notes);
    EXPECT_EQ(binary, Settings{});
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("binary"), std::string::npos);

    notes.clear();
    std::string flood;
    for (int i = 0; i < 500; ++i) flood += "junk\n";
    parseSettings(flood + "volume=2\n", "f", notes);
    ASSERT_EQ(notes.size(), static_cast<std::size_t>(Settings::MAX_LINE_NOTES) + 1);
    EXPECT_EQ(notes.back(), "f: 490 more lines with problems");
}

TEST_F(SettingsFolder, MissingFileIsTheFirstRunAndSilent) {
    std::vector<std::string> notes;
    EXPECT_EQ(loadSettings(file.string(), notes), Settings{});
    EXPECT_TRUE(notes.empty());
}

// What is not a settings file gives the defaults and one note, and never
// blocks: a folder, a named pipe with no writer, an oversized file.
TEST_F(SettingsFolder, FilesThatAreNotSettingsGiveDefaultsAndOneNote) {
    const fs::path dir = folder / "dir.cfg", pipe = folder / "pipe.cfg", huge = folder / "huge.cfg";
    fs::create_directory(dir);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::ofstream(huge) << "volume=1\n" << std::string(Settings::MAX_FILE_BYTES, '#');
    for (const auto& path : {dir, pipe, huge}) {
        std::vector<std::string> notes;
        EXPECT_EQ(loadSettings(path.string(), notes), Settings{}) << path;
        ASSERT_EQ(notes.size(), 1u) << path;
        EXPECT_NE(notes[0].find(path.string()), std::string::npos) << notes[0];
    }
}

TEST_F(SettingsFolder, SavedFileLoadsBackAndLeavesNoTemporaryFile) {
    Settings s;
    s.volume = 6;
    s.keptLines = {"newer_option=1"};
    std::string note;
    ASSERT_TRUE(saveSettings(file.string(), s, note)) << note;
    s.volume = 2;
    ASSERT_TRUE(saveSettings(file.string(), s, note)) << note;
    std::vector<std::string> notes;
    EXPECT_EQ(loadSettings(file.string(), notes), s);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(entries(), 1u);
}

// A write that fails half way (the disk full, simulated by a file size
// limit) leaves the old file whole and no temporary file behind.
TEST_F(SettingsFolder, FailedWriteLeavesTheOldFile) {
    std::ofstream(file) << "volume=4\n";
    Settings big;
    big.keptLines.assign(200, "padding_line=0123456789");
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string note;
    const bool saved = saveSettings(file.string(), big, note);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_NE(note.find(file.string()), std::string::npos) << note;
    EXPECT_EQ(readAll(file), "volume=4\n");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SettingsFolder, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    std::ofstream(file) << "volume=4\n";
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    std::string note;
    EXPECT_FALSE(saveSettings(file.string(), Settings{}, note));
    EXPECT_NE(note.find("Permission denied"), std::string::npos) << note;
    EXPECT_EQ(readAll(file), "volume=4\n");
}
