#include "mediagen/Generator.h"

#include <exception>
#include <filesystem>
#include <iostream>

namespace MediaGen {

std::string Output::path(const std::string& relative) const {
    const std::filesystem::path full = std::filesystem::path(root) / relative;
    std::filesystem::create_directories(full.parent_path());
    return full.string();
}

int runGenerator(int argc, char** argv, const std::function<void(const Output&)>& make) {
    if (argc != 2) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "generator") << " <media root>\n";
        return 2;
    }
    try {
        make(Output(argv[1]));
    } catch (const std::exception& e) {
        std::cerr << argv[0] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace MediaGen
