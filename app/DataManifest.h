#ifndef MOSSDEN_APP_DATAMANIFEST_H
#define MOSSDEN_APP_DATAMANIFEST_H

// The list of the game's data files as the build made them, and the check
// of a data root against it before the engine reads a byte of them: the
// engine's parsers are not written for damaged bytes.
//
// The build writes MANIFEST_PATH below the data root, and the package
// installs it with the data. One line per file: the file's XXH3 64-bit hash
// (xxHash: fast enough to hash the whole media tree at every start), its
// size in bytes and its path below the data root; the last line holds the
// hash of everything before it, so that a damaged manifest says so instead
// of blaming good files. Engine-free: the build's tool writes it with the
// same code.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Mossden {

class DataManifest {
public:
    static constexpr const char* MANIFEST_PATH = "media/MANIFEST";

    struct Entry {
        std::string path;  // below the data root, with '/'
        std::uint64_t size = 0;
        std::uint64_t hash = 0;
    };

    enum class Fault { Missing, Damaged, Unreadable, Extra };

    struct Problem {
        std::string path;  // below the data root
        Fault fault;
    };

    // The entries of every regular file below `root`/media, sorted by path,
    // leaving out the manifest and the folders named in `skipped` (below
    // media/). Throws std::runtime_error naming a file that cannot be read.
    static std::vector<Entry> scan(const std::string& root, const std::vector<std::string>& skipped);
    // The manifest's text for `entries`.
    static std::string format(const std::vector<Entry>& entries);
    // Reads a manifest's text; nullopt with `error` set when the text is
    // not one the build wrote whole.
    static std::optional<DataManifest> parse(const std::string& text, std::string& error);

    // Hash and size of a file; nullopt when it cannot be read.
    static std::optional<Entry> measure(const std::string& file);

    // Compares the files below `root` with the manifest: listed files
    // missing, unreadable or with another size or hash, and files in the
    // listed files' folders that the manifest does not list.
    std::vector<Problem> check(const std::string& root) const;

    const std::vector<Entry>& entries() const { return list; }

    // Whether the game cannot go on without the file: the scene files and
    // the scripts that define the menu's and the scenes' materials,
    // overlays, fonts and particles. Meshes, skeletons, textures, shaders
    // and sounds are left out like missing ones, and the game goes on
    // without them where it can.
    static bool essential(const std::string& path);

    // The one line about a problem: the file, what is wrong, how to repair.
    static std::string describe(const Problem& problem, const std::string& root);

private:
    std::vector<Entry> list;
};

}  // namespace Mossden

#endif
