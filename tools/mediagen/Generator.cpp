#include "mediagen/Generator.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace MediaGen {

std::string Output::path(const std::string& relative) {
    const std::filesystem::path full = std::filesystem::path(root) / relative;
    std::filesystem::create_directories(full.parent_path());
    paths.insert(relative);
    return full.string();
}

std::set<std::string> readDeclaredOutputs(const std::string& listPath) {
    std::ifstream in(listPath);
    if (!in) throw std::runtime_error("cannot read the declared outputs " + listPath);
    std::set<std::string> declared;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) declared.insert(line);
    return declared;
}

namespace {

// Lists every difference on stderr; true when there is none.
bool matchesDeclared(const std::set<std::string>& written, const std::set<std::string>& declared,
                     const char* program) {
    bool same = true;
    for (const std::string& p : written)
        if (!declared.count(p)) {
            std::cerr << program << ": wrote " << p << ", which its OUTPUTS do not declare\n";
            same = false;
        }
    for (const std::string& p : declared)
        if (!written.count(p)) {
            std::cerr << program << ": did not write the declared " << p << "\n";
            same = false;
        }
    return same;
}

}  // namespace

int runGenerator(int argc, char** argv, const std::function<void(Output&)>& make) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "generator")
                  << " <media root> [<declared outputs>]\n";
        return 2;
    }
    try {
        Output out(argv[1]);
        make(out);
        if (argc == 3 && !matchesDeclared(out.written(), readDeclaredOutputs(argv[2]), argv[0]))
            return 1;
    } catch (const std::exception& e) {
        std::cerr << argv[0] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace MediaGen
