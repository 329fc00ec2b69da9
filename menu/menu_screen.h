// Drawing the configurator with ncurses, and its dialogs: the chooser,
// the input line, the text pane, the toggle list and the yes/no question.
// Everything here reads the screen model and the controller; nothing
// changes the session. Keys are read through kova_menu_key, which gives
// KOVA_KEY_SIGNAL once a signal asks the program to stop, so that every
// dialog gives way to it.
#ifndef KOVA_MENU_SCREEN_H
#define KOVA_MENU_SCREEN_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "menu/menu_controller.h"

// Set by the signal handlers (menu_main.cpp): the signal that asks the
// program to stop, 0 while none has.
extern volatile int kova_menu_signal;

const int KOVA_KEY_SIGNAL = -2;

// Colour only where the terminal has it and NO_COLOR is unset; UTF-8
// line drawing only in a UTF-8 locale.
struct KOVA_MENU_LOOK {
    bool colour = false;
    bool utf8 = false;
};

// Starts curses on the terminal; the answer says how to draw.
KOVA_MENU_LOOK kova_menu_start_screen();
// Gives the terminal back; safe to call more than once.
void kova_menu_end_screen();

// The next key, or KOVA_KEY_SIGNAL.
int kova_menu_key();

// The columns of a body line: the value column shrinks first below 80
// columns, then the conflict text takes what is left.
struct KOVA_MENU_COLUMNS {
    int name = 0, value = 0, conflict = 0;
};
KOVA_MENU_COLUMNS kova_menu_columns(int width, std::size_t longest_name);

// The whole screen: title, notice, body (scrolled so that the cursor is
// seen; top is the first body row shown), status and key line.
void kova_menu_draw(const KOVA_MENU_CONTROLLER& menu, const KOVA_MENU_LOOK& look, std::size_t& top);

// The dialogs. Each answers nothing when Escape or a signal ends it.
std::optional<std::size_t> kova_menu_choose(const KOVA_MENU_LOOK& look, const std::string& title,
                                            const std::vector<std::string>& items, std::size_t selected);
std::optional<std::string> kova_menu_ask_line(const std::string& prompt, const std::string& initial);
// A pane of text lines; Enter answers the line under the cursor.
std::optional<std::size_t> kova_menu_pane(const KOVA_MENU_LOOK& look, const std::string& title,
                                          const std::vector<std::string>& lines);
// Space toggles an item, a accepts all, Enter accepts those checked.
bool kova_menu_toggles(const KOVA_MENU_LOOK& look, const std::string& title, const std::vector<std::string>& items,
                       std::vector<bool>& checked);
// A question on the status line; true for y.
bool kova_menu_ask_yes(const std::string& question);

// Display columns of a text as the screen shows it (control characters
// made visible), cut or padded to width.
std::string kova_menu_fit(const std::string& text, int width);

#endif
