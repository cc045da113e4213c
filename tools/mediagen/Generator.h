#ifndef MOSSDEN_TOOLS_MEDIAGEN_GENERATOR_H
#define MOSSDEN_TOOLS_MEDIAGEN_GENERATOR_H

// The command line shared by every generator executable:
//     <generator> <media root> [<declared outputs>]
// The generator writes its files at fixed paths under the media root (for
// example "sound/button.ogg"); the build runs it into the build tree's
// media/, the determinism test into a scratch folder. The optional second
// argument is a file listing, one a line, the paths the build declares for
// this generator: the run fails unless it wrote exactly those, so that the
// build tracks, and the determinism test compares, every file made.
#include <functional>
#include <set>
#include <string>

namespace MediaGen {

class Output {
public:
    explicit Output(std::string root) : root(std::move(root)) {}
    // Full path of `relative` under the media root; creates its folder and
    // records `relative` as written.
    std::string path(const std::string& relative);
    const std::set<std::string>& written() const { return paths; }

private:
    std::string root;
    std::set<std::string> paths;
};

// Runs `make` with the media root from argv and checks its files against
// the declared list when one is given; reports an exception or a mismatch
// on stderr and returns the exit code for main.
int runGenerator(int argc, char** argv, const std::function<void(Output&)>& make);

// The lines of a declared-outputs file. Throws when it cannot be read.
std::set<std::string> readDeclaredOutputs(const std::string& listPath);

}  // namespace MediaGen

#endif
