#ifndef MOSSDEN_TOOLS_MEDIAGEN_GENERATOR_H
#define MOSSDEN_TOOLS_MEDIAGEN_GENERATOR_H

// The command line shared by every generator executable:
//     <generator> <media root>
// The generator writes its files at fixed paths under the media root (for
// example "sound/button.ogg"); the build runs it into the build tree's
// media/, the determinism test into a scratch folder.
#include <functional>
#include <string>

namespace MediaGen {

class Output {
public:
    explicit Output(std::string root) : root(std::move(root)) {}
    // Full path of `relative` under the media root; creates its folder.
    std::string path(const std::string& relative) const;

private:
    std::string root;
};

// Runs `make` with the media root from argv; reports an exception on
// stderr and returns the exit code for main.
int runGenerator(int argc, char** argv, const std::function<void(const Output&)>& make);

}  // namespace MediaGen

#endif
