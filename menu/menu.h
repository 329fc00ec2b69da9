// kova menu: the full-screen terminal configurator. The entry point the
// kova tool calls; the session work is in menu_controller.h, the screen's
// state in menu_model.h and its drawing in menu_screen.h.
#ifndef KOVA_MENU_H
#define KOVA_MENU_H

#include <ostream>

#include "menu/menu_controller.h"

// Runs the configurator until q or a signal; answers the exit status: 0
// after q, 2 when standard input or output is no terminal (refused, with
// a line naming kova validate and kova fix on err) or the description
// cannot be opened, 128 + the signal's number after a signal. The
// terminal is given back on every one of these paths, and after an
// exception (status 2).
int kova_menu_main(const KOVA_MENU_START& start, std::ostream& err);

#endif
