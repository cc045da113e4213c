#ifndef MOSSDEN_APP_DATAGUARD_H
#define MOSSDEN_APP_DATAGUARD_H

// The data check at the start (DataManifest) and what follows from it: one
// line for every file that is missing, damaged or not part of the data; the
// game stops on a file it cannot do without; the others are kept from the
// engine, which sees them as missing.
#include <string>

namespace Mossden::DataGuard {

// Checks the data below `root` (the data root; "" is the working
// directory) against its manifest. Throws std::runtime_error with the line
// of the first file the game cannot go on without.
void check(const std::string& root);

// From now on the engine's file-system archives do not show the files that
// the check refused. Call once the engine root exists, before resource
// locations are added; does nothing when no file was refused.
void guardArchives();

// Whether `path` (as the engine's archives name it: folder and file) was
// refused by the check.
bool refused(const std::string& folder, const std::string& file);

}  // namespace Mossden::DataGuard

#endif
