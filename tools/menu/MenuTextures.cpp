// The menu pictures' generator as the build runs every generator:
//   mossden_gen_menu <media root>
// The drawing itself is menu_textures.sh (ImageMagick and the DejaVu
// fonts); this runs it, without a shell in between, for <media root>/textures.
#include <spawn.h>
#include <sys/wait.h>

#include <iostream>
#include <string>
#include <vector>

extern char** environ;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <media root>" << std::endl;
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
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
