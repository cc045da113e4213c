#include "app/DataManifest.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <stdexcept>
#include <system_error>

#define XXH_INLINE_ALL
#include <xxhash.h>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace Mossden {

namespace {

constexpr const char* HEADER = "# Mossden data manifest: XXH3-64 hash, size in bytes, path below the data root";
constexpr const char* END = "# end ";
constexpr std::size_t READ_CHUNK = 256 * 1024;

std::string hexHash(std::uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

std::string joined(const std::string& root, const std::string& relative) {
    return root.empty() ? relative : (fs::path(root) / relative).string();
}

std::string extension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    return path.substr(dot + 1);
}

}  // namespace

std::optional<DataManifest::Entry> DataManifest::measure(const std::string& file) {
    Entry entry;
    entry.path = file;
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
#ifndef _WIN32
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    static thread_local std::vector<char> buffer(READ_CHUNK);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        XXH3_64bits_update(&state, buffer.data(), static_cast<std::size_t>(n));
        entry.size += static_cast<std::uint64_t>(n);
    }
    ::close(fd);
#else
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return std::nullopt;
    std::vector<char> buffer(READ_CHUNK);
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), f)) {
        XXH3_64bits_update(&state, buffer.data(), n);
        entry.size += n;
    }
    const bool failed = std::ferror(f);
    std::fclose(f);
    if (failed) return std::nullopt;
#endif
    entry.hash = XXH3_64bits_digest(&state);
    return entry;
}

std::vector<DataManifest::Entry> DataManifest::scan(const std::string& root,
                                                    const std::vector<std::string>& skipped) {
    std::vector<Entry> entries;
    const fs::path media = fs::path(joined(root, "media"));
    std::error_code ec;
    fs::recursive_directory_iterator it(media, fs::directory_options::follow_directory_symlink, ec), end;
    if (ec) throw std::runtime_error(media.string() + ": " + ec.message());
    for (; it != end; it.increment(ec)) {
        if (ec) throw std::runtime_error(media.string() + ": " + ec.message());
        const std::string relative = "media/" + fs::relative(it->path(), media).generic_string();
        if (it->is_directory()) {
            const std::string below = relative.substr(6);
            if (std::find(skipped.begin(), skipped.end(), below) != skipped.end()) it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file() || relative == MANIFEST_PATH) continue;
        auto entry = measure(it->path().string());
        if (!entry) throw std::runtime_error(it->path().string() + " cannot be read");
        entry->path = relative;
        entries.push_back(*entry);
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.path < b.path; });
    return entries;
}

std::string DataManifest::format(const std::vector<Entry>& entries) {
    std::string text = std::string(HEADER) + "\n";
    for (const auto& entry : entries)
        text += hexHash(entry.hash) + " " + std::to_string(entry.size) + " " + entry.path + "\n";
    text += END + hexHash(XXH3_64bits(text.data(), text.size())) + "\n";
    return text;
}

std::optional<DataManifest> DataManifest::parse(const std::string& text, std::string& error) {
    const std::size_t endAt = text.rfind(END);
    if (text.compare(0, std::string(HEADER).size(), HEADER) != 0 || endAt == std::string::npos ||
        (endAt > 0 && text[endAt - 1] != '\n')) {
        error = "is not a whole manifest";
        return std::nullopt;
    }
    const std::string sealed = text.substr(endAt + std::string(END).size());
    if (sealed != hexHash(XXH3_64bits(text.data(), endAt)) + "\n") {
        error = "is damaged (its own hash does not match)";
        return std::nullopt;
    }
    DataManifest manifest;
    std::istringstream lines(text.substr(0, endAt));
    std::string line;
    std::getline(lines, line);  // the header
    int number = 1;
    while (std::getline(lines, line)) {
        ++number;
        Entry entry;
        char hash[17] = {};
        unsigned long long size = 0;
        int consumed = 0;
        if (std::sscanf(line.c_str(), "%16[0-9a-f] %llu %n", hash, &size, &consumed) != 2 || consumed == 0 ||
            static_cast<std::size_t>(consumed) >= line.size()) {
            error = "line " + std::to_string(number) + " is not <hash> <size> <path>";
            return std::nullopt;
        }
        entry.hash = std::strtoull(hash, nullptr, 16);
        entry.size = size;
        entry.path = line.substr(static_cast<std::size_t>(consumed));
        manifest.list.push_back(entry);
    }
    return manifest;
}

std::vector<DataManifest::Problem> DataManifest::check(const std::string& root) const {
    std::vector<Problem> problems;
    std::set<std::string> listed;
    std::set<std::string> folders;
    for (const auto& entry : list) {
        listed.insert(entry.path);
        folders.insert(entry.path.substr(0, entry.path.find_last_of('/')));
        const std::string file = joined(root, entry.path);
        std::error_code ec;
        const auto status = fs::status(file, ec);
        if (!fs::exists(status)) {
            problems.push_back({entry.path, Fault::Missing});
            continue;
        }
        if (!fs::is_regular_file(status)) {
            problems.push_back({entry.path, Fault::Unreadable});
            continue;
        }
        const auto measured = measure(file);
        if (!measured)
            problems.push_back({entry.path, Fault::Unreadable});
        else if (measured->size != entry.size || measured->hash != entry.hash)
            problems.push_back({entry.path, Fault::Damaged});
    }
    for (const auto& folder : folders) {
        std::error_code ec;
        for (fs::directory_iterator it(joined(root, folder), ec), end; !ec && it != end; it.increment(ec)) {
            const std::string relative = folder + "/" + it->path().filename().string();
            if (relative == MANIFEST_PATH || listed.count(relative)) continue;
            std::error_code kind;
            if (it->is_directory(kind)) continue;
            problems.push_back({relative, Fault::Extra});
        }
    }
    return problems;
}

bool DataManifest::essential(const std::string& path) {
    static const std::set<std::string> ESSENTIAL = {"xml", "material", "overlay", "fontdef", "particle",
                                                    "program", "compositor"};
    return ESSENTIAL.count(extension(path)) > 0;
}

std::string DataManifest::describe(const Problem& problem, const std::string& root) {
    const std::string file = joined(root, problem.path);
    const std::string repair = essential(problem.path)
                                   ? "; the game cannot go on without it: reinstall the package (or rebuild, in a build folder)"
                                   : "; left out: reinstall the package (or rebuild, in a build folder)";
    switch (problem.fault) {
        case Fault::Missing:
            return file + " is missing" + repair;
        case Fault::Unreadable:
            return file + " cannot be read (not a readable file)" + repair;
        case Fault::Damaged:
            return file + " is damaged (its size or content differs from the data as built)" + repair;
        case Fault::Extra:
            return file + " is not part of the game's data and is left out: remove it, or reinstall the package (or rebuild)";
    }
    return file;
}

}  // namespace Mossden
