#include "app/DataGuard.h"

#include <OgreArchive.h>
#include <OgreArchiveManager.h>
#include <OgreFileSystem.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "app/DataManifest.h"

namespace fs = std::filesystem;

namespace Mossden::DataGuard {

namespace {

// Files refused by the check, as canonical folder, '/', file name: the
// engine's archives are named by the locations of resources.cfg, which may
// reach the same folder by another path (a link).
std::set<std::string>& refusedFiles() {
    static std::set<std::string> files;
    return files;
}

std::string canonicalFolder(const std::string& folder) {
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(fs::path(folder), ec);
    return ec ? folder : canonical.string();
}

std::string key(const std::string& folder, const std::string& file) {
    return canonicalFolder(folder) + "/" + file;
}

// A file-system archive that shows none of the refused files.
class CheckedArchive : public Ogre::Archive {
public:
    CheckedArchive(Ogre::Archive* inner, const std::string& name)
        : Ogre::Archive(name, inner->getType()), inner(inner), folder(canonicalFolder(name)) {}

    Ogre::Archive* wrapped() const { return inner; }

    bool isCaseSensitive() const override { return inner->isCaseSensitive(); }
    void load() override { inner->load(); }
    void unload() override { inner->unload(); }
    bool isReadOnly() const override { return inner->isReadOnly(); }
    Ogre::DataStreamPtr open(const Ogre::String& filename, bool readOnly) const override {
        if (hidden(filename))
            OGRE_EXCEPT(Ogre::Exception::ERR_FILE_NOT_FOUND, "'" + filename + "' was refused by the data check",
                        "CheckedArchive::open");
        return inner->open(filename, readOnly);
    }
    Ogre::DataStreamPtr create(const Ogre::String& filename) override { return inner->create(filename); }
    void remove(const Ogre::String& filename) override { inner->remove(filename); }
    Ogre::StringVectorPtr list(bool recursive, bool dirs) const override {
        return filtered(inner->list(recursive, dirs));
    }
    Ogre::FileInfoListPtr listFileInfo(bool recursive, bool dirs) const override {
        return filtered(inner->listFileInfo(recursive, dirs));
    }
    Ogre::StringVectorPtr find(const Ogre::String& pattern, bool recursive, bool dirs) const override {
        return filtered(inner->find(pattern, recursive, dirs));
    }
    bool exists(const Ogre::String& filename) const override {
        return !hidden(filename) && inner->exists(filename);
    }
    time_t getModifiedTime(const Ogre::String& filename) const override { return inner->getModifiedTime(filename); }
    Ogre::FileInfoListPtr findFileInfo(const Ogre::String& pattern, bool recursive, bool dirs) const override {
        return filtered(inner->findFileInfo(pattern, recursive, dirs));
    }

private:
    bool hidden(const std::string& filename) const { return refusedFiles().count(folder + "/" + filename) > 0; }

    Ogre::StringVectorPtr filtered(Ogre::StringVectorPtr names) const {
        auto out = std::make_shared<Ogre::StringVector>();
        for (const auto& name : *names)
            if (!hidden(name)) out->push_back(name);
        return out;
    }

    Ogre::FileInfoListPtr filtered(Ogre::FileInfoListPtr infos) const {
        auto out = std::make_shared<Ogre::FileInfoList>();
        for (auto info : *infos) {
            if (hidden(info.filename)) continue;
            info.archive = this;
            out->push_back(info);
        }
        return out;
    }

    Ogre::Archive* inner;
    std::string folder;
};

// Takes the place of the engine's own "FileSystem" factory.
class CheckedFileSystemFactory : public Ogre::FileSystemArchiveFactory {
public:
    Ogre::Archive* createInstance(const Ogre::String& name, bool readOnly) override {
        return new CheckedArchive(Ogre::FileSystemArchiveFactory::createInstance(name, readOnly), name);
    }
    void destroyInstance(Ogre::Archive* archive) override {
        auto* checked = static_cast<CheckedArchive*>(archive);
        Ogre::FileSystemArchiveFactory::destroyInstance(checked->wrapped());
        delete checked;
    }
};

// The archive manager's table of factories: addArchiveFactory keeps the
// first factory of a type, and the engine root has added its own
// "FileSystem" factory by the time ours exists.
struct FactoryTable : Ogre::ArchiveManager {
    static std::map<Ogre::String, Ogre::ArchiveFactory*>& of(Ogre::ArchiveManager& manager) {
        return manager.*(&FactoryTable::mArchFactories);
    }
};

std::string readAll(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    ok = static_cast<bool>(in) || in.eof();
    return text.str();
}

// resources.cfg as the engine reads it ("\t:=" separators, trimmed): every
// setting must name an archive type the engine has, or the engine's error
// quotes the line's bytes without naming the file.
void checkResourcesConfig(const std::string& root) {
    const std::string path = root.empty() ? "cfg/resources.cfg" : (fs::path(root) / "cfg/resources.cfg").string();
    std::ifstream in(path, std::ios::binary);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#' || line[first] == '[') continue;
        const auto separator = line.find_first_of("\t:=", first);
        std::string type = line.substr(first, separator == std::string::npos ? std::string::npos : separator - first);
        type.erase(type.find_last_not_of(" \t\r") + 1);
        if (type != "FileSystem" && type != "Zip")
            throw std::runtime_error(path + " line " + std::to_string(number) + ": \"" + type +
                                     "\" is not an archive type (FileSystem or Zip): the file is damaged; "
                                     "reinstall the package (or rebuild, in a build folder)");
    }
}

}  // namespace

void check(const std::string& root) {
    checkResourcesConfig(root);
    const auto started = std::chrono::steady_clock::now();
    const std::string manifestPath = root.empty() ? DataManifest::MANIFEST_PATH
                                                  : (fs::path(root) / DataManifest::MANIFEST_PATH).string();
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(manifestPath, ec))) {
        std::cout << manifestPath
                  << " is missing: the data files go unchecked; reinstall the package (or rebuild, in a build folder)"
                  << std::endl;
        return;
    }
    bool ok = fs::is_regular_file(fs::status(manifestPath, ec));
    const std::string text = ok ? readAll(manifestPath, ok) : std::string();
    std::string error = "cannot be read";
    const auto manifest = ok ? DataManifest::parse(text, error) : std::nullopt;
    if (!manifest)
        throw std::runtime_error(manifestPath + " " + error +
                                 ": the data cannot be checked; reinstall the package (or rebuild, in a build folder)");
    const auto problems = manifest->check(root);
    std::string fatal;
    for (const auto& problem : problems) {
        const std::string line = DataManifest::describe(problem, root);
        if (DataManifest::essential(problem.path) && problem.fault != DataManifest::Fault::Extra) {
            if (fatal.empty()) fatal = line;
            continue;
        }
        std::cout << line << std::endl;
        const fs::path file = fs::path(root.empty() ? "." : root) / problem.path;
        refusedFiles().insert(key(file.parent_path().string(), file.filename().string()));
    }
    if (!fatal.empty()) throw std::runtime_error(fatal);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    std::cout << "Data checked: " << manifest->entries().size() << " files in " << static_cast<int>(ms + 0.5) << " ms"
              << std::endl;
    // MOSSDEN_CHECK_DATA=1: check the data and end, before the engine
    // starts (status 1 when a file is wrong): for packagers, and for tests
    // that start the game on hundreds of damaged data sets.
    if (const char* only = std::getenv("MOSSDEN_CHECK_DATA"); only && std::string(only) == "1") {
        std::cout << "Data check: " << manifest->entries().size() << " files, " << problems.size()
                  << " not as built" << std::endl;
        std::exit(problems.empty() ? 0 : 1);
    }
}

void guardArchives() {
    if (refusedFiles().empty()) return;
    // The archive manager uses its factories until the engine root's very
    // end; the factory lives to the process's end so that no order of
    // static destruction can leave it behind.
    static auto* factory = new CheckedFileSystemFactory;
    FactoryTable::of(Ogre::ArchiveManager::getSingleton())[factory->getType()] = factory;
}

bool refused(const std::string& folder, const std::string& file) { return refusedFiles().count(key(folder, file)) > 0; }

}  // namespace Mossden::DataGuard
