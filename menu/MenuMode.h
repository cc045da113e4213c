#ifndef MOSSDEN_MENU_MENUMODE_H
#define MOSSDEN_MENU_MENUMODE_H

namespace Mossden {

// Which menu shows: the start menu, the in-game (pause) menu, the end menu.
enum class MenuMode { Start, InGame, End };

}  // namespace Mossden

#endif
