#ifndef MOSSDEN_TESTS_FUZZ_SCRATCHFOLDER_H
#define MOSSDEN_TESTS_FUZZ_SCRATCHFOLDER_H

// A private folder for the file a fuzz target hands to the game code, which
// reads its data from files. It lies in memory (/dev/shm) where there is
// one: rewriting a file on disk thousands of times a second waits on the
// disk, since the file system flushes a file truncated and written again.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace Mossden::Fuzz {

class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "mossden-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes the bytes as the whole of the named file; returns its path.
    std::string write(const std::string& name, const uint8_t* data, size_t size) const {
        const std::string file = (path / name).string();
        FILE* out = std::fopen(file.c_str(), "wb");
        if (!out || (size && std::fwrite(data, 1, size, out) != size) || std::fclose(out) != 0)
            std::abort();
        return file;
    }

    std::filesystem::path path;
};

}  // namespace Mossden::Fuzz

#endif
