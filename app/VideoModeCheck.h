#ifndef MOSSDEN_APP_VIDEOMODECHECK_H
#define MOSSDEN_APP_VIDEOMODECHECK_H

#include <string>
#include <vector>

namespace Mossden {

struct VideoModeChoice {
    std::string mode;  // the value to use, as the render system spells it
    std::string note;  // empty when the requested mode is used; else why not
};

// Checks the engine configuration's "Video Mode" against the modes the
// render system offers ("<w> x <h>", optionally followed by "@ ..."). A
// mode that is malformed, zero, or not offered gives the nearest offered
// size (or the first offered mode when the text has no size), with a note
// naming the bad value; a configuration saved afterwards heals. With no
// offered modes to compare with, a well-formed non-zero size is kept.
VideoModeChoice checkVideoMode(const std::string& requested, const std::vector<std::string>& offered);

}  // namespace Mossden

#endif
