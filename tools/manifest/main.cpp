// Writes the data manifest of a build's data root: every file below media/
// with its size and hash (app/DataManifest.h). Rewrites the file only when
// its text changes, so that what depends on it is not rebuilt for nothing.
//   mossden_manifest <data root> [folder below media/ to leave out]...
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/DataManifest.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: mossden_manifest <data root> [skipped folder]..." << std::endl;
        return 2;
    }
    const std::string root = argv[1];
    const std::vector<std::string> skipped(argv + 2, argv + argc);
    try {
        const std::string text = Mossden::DataManifest::format(Mossden::DataManifest::scan(root, skipped));
        const std::string path = root + "/" + Mossden::DataManifest::MANIFEST_PATH;
        std::ifstream old(path, std::ios::binary);
        std::ostringstream oldText;
        oldText << old.rdbuf();
        if (old && oldText.str() == text) return 0;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out) throw std::runtime_error(path + " cannot be written");
    } catch (const std::exception& e) {
        std::cerr << "mossden_manifest: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
