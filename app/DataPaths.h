#ifndef MOSSDEN_APP_DATAPATHS_H
#define MOSSDEN_APP_DATAPATHS_H

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Mossden {

// Joins a candidate directory and a relative path: an empty candidate gives
// the relative path itself, otherwise one separator goes between them.
std::string joinDataPath(const std::string& candidate, const std::string& relative);

// The five places searched for the game's data, in order: the working
// directory, <exe dir>/../games/Mossden/, <exe dir>/../, /usr/games/Mossden/,
// /usr/local/games/Mossden/. exePath is the program's own path.
std::vector<std::string> dataCandidates(const std::string& exePath);

// First candidate-joined path that exists (file or directory). Throws
// Ogre::Exception (file not found) "<relative> not found" otherwise.
std::string findDataFile(const std::vector<std::string>& candidates, const std::string& relative);

// The data root: the first candidate that holds "cfg/ogre.cfg" (file or
// not). Every data file comes from that one root, so a folder that holds
// some of the files never mixes with another data set. Throws
// Ogre::Exception (file not found) "cfg/ogre.cfg not found" otherwise.
std::string findDataRoot(const std::vector<std::string>& candidates);

// A path below the data root that must be a regular, readable file (or with
// directory set, a directory). Throws Ogre::Exception naming the path and
// what is wrong with it otherwise.
std::string requireDataPath(const std::string& root, const std::string& relative,
                            bool directory = false);

// A window size text "<width>x<height>", both whole decimal numbers.
// Anything else (missing piece, sign, spaces, junk, overflow) gives nullopt.
std::optional<std::pair<int, int>> parseSizeText(const std::string& text);

}  // namespace Mossden

#endif
