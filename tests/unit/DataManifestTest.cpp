#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "app/DataManifest.h"

namespace fs = std::filesystem;
using namespace Mossden;

namespace {

class ManifestTree : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("mossden-manifest-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        write("media/models/a.mesh", "mesh bytes");
        write("media/scenes/first_scene.xml", "<scene/>");
        write("media/bench/sky.png", "not game data");
    }
    void TearDown() override { fs::remove_all(root); }
    void write(const std::string& relative, const std::string& text) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << text;
    }
    DataManifest built() {
        std::string error;
        auto manifest = DataManifest::parse(DataManifest::format(DataManifest::scan(root.string(), {"bench"})), error);
        EXPECT_TRUE(manifest) << error;
        return *manifest;
    }
    fs::path root;
};

}  // namespace

TEST_F(ManifestTree, BuiltDataPassesAndEachFaultIsNamed) {
    const DataManifest manifest = built();
    ASSERT_EQ(manifest.entries().size(), 2u);  // bench left out
    EXPECT_TRUE(manifest.check(root.string()).empty());

    write("media/models/a.mesh", "mesh bytez");  // same size, other content
    fs::remove(root / "media/scenes/first_scene.xml");
    write("media/models/stray.material", "material x {}");
    fs::create_directories(root / "media/models/sub");  // folders are no extras
    const auto problems = manifest.check(root.string());
    ASSERT_EQ(problems.size(), 3u);
    std::map<std::string, DataManifest::Fault> found;
    for (const auto& p : problems) found[p.path] = p.fault;
    EXPECT_EQ(found["media/models/a.mesh"], DataManifest::Fault::Damaged);
    EXPECT_EQ(found["media/scenes/first_scene.xml"], DataManifest::Fault::Missing);
    EXPECT_EQ(found["media/models/stray.material"], DataManifest::Fault::Extra);

    const std::string line = DataManifest::describe({"media/models/a.mesh", DataManifest::Fault::Damaged}, "/data");
    EXPECT_EQ(line.rfind("/data/media/models/a.mesh is damaged", 0), 0u) << line;
    EXPECT_NE(line.find("reinstall the package"), std::string::npos);
    EXPECT_TRUE(DataManifest::essential("media/scenes/first_scene.xml"));
    EXPECT_FALSE(DataManifest::essential("media/models/a.mesh"));
}

TEST_F(ManifestTree, DamagedManifestIsRefusedWhole) {
    const std::string text = DataManifest::format(DataManifest::scan(root.string(), {"bench"}));
    std::string error;
    for (std::size_t at : {std::size_t(0), text.size() / 2, text.size() - 3}) {
        std::string flipped = text;
        flipped[at] ^= 0x04;
        EXPECT_FALSE(DataManifest::parse(flipped, error)) << "flip at " << at;
    }
    EXPECT_FALSE(DataManifest::parse(text.substr(0, text.size() / 2), error));
    EXPECT_FALSE(DataManifest::parse("", error));
}
