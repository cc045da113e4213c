// The menu pictures' generator as the build runs every generator:
//   mossden_gen_menu <media root> [<declared outputs>]
// The drawing itself is menu_textures.sh (ImageMagick and the DejaVu
// fonts); this runs it, without a shell in between, for <media root>/textures,
// then checks that every declared picture is there.
#include <spawn.h>
#include <sys/wait.h>

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "mediagen/Generator.h"

extern char** environ;

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: " << argv[0] << " <media root> [<declared outputs>]" << std::endl;
        return 2;
    }
    std::vector<std::string> args = {"bash", MENU_TEXTURES_SCRIPT, CONVERT_EXE, FONT_DIR,
                                     std::string(argv[1]) + "/textures"};
    std::vector<char*> argvOut;
    for (auto& arg : args) argvOut.push_back(arg.data());
    argvOut.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, "bash", nullptr, nullptr, argvOut.data(), environ) != 0) {
        std::cerr << "mossden_gen_menu: cannot run bash" << std::endl;
        return 1;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return 1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
    if (argc == 2) return 0;
    try {
        bool complete = true;
        for (const std::string& rel : MediaGen::readDeclaredOutputs(argv[2]))
            if (!std::filesystem::is_regular_file(std::filesystem::path(argv[1]) / rel)) {
                std::cerr << "mossden_gen_menu: menu_textures.sh did not write the declared " << rel << std::endl;
                complete = false;
            }
        return complete ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "mossden_gen_menu: " << e.what() << std::endl;
        return 1;
    }
}
