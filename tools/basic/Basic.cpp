// Plain textures that material scripts use as a base for manual colours
// and alphas.
#include "mediagen/Generator.h"
#include "mediagen/Image.h"

int main(int argc, char** argv) {
    return MediaGen::runGenerator(argc, argv, [](MediaGen::Output& out) {
        MediaGen::Image(4, 4, {1, 1, 1, 1}).writePng(out.path("textures/white.png"));
    });
}
