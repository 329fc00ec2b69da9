// The configurator's screen drawn with ncursesw: layout, colours and
// marks, and the dialogs that read keys until they have an answer.
#include "menu/menu_screen.h"

#include <curses.h>
#include <langinfo.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "session/message.h"

volatile int kova_menu_signal = 0;

namespace {

enum { PAIR_CONFLICT = 1, PAIR_CHANGED, PAIR_GROUP, PAIR_BAR };

// Lines the title and key line take, besides the body.
const int k_bars = 3;

// Within 80 columns; ? opens the whole key map.
const char* const KEY_LINE = " ? keys  Enter edit  / find  e explain  f fix  u undo  d diff  s save  q quit";

bool g_started = false;
bool g_colour = false;

void set_colour(int pair, bool on) {
    if (!g_colour) return;
    if (on) attron(COLOR_PAIR(pair));
    else attroff(COLOR_PAIR(pair));
}

// The body rows the screen has room for under the notice lines.
int body_height(int notice) { return std::max(1, LINES - k_bars - notice); }

void draw_bar(int y, const std::string& text) {
    attron(A_REVERSE);
    mvaddstr(y, 0, kova_menu_fit(text, COLS).c_str());
    attroff(A_REVERSE);
}

std::string fold_mark(const KOVA_MENU_LOOK& look, bool folded) {
    if (look.utf8) return folded ? "\u25b8 " : "\u25be ";
    return folded ? "+ " : "- ";
}

// The first column marks the cursor's row in plain text too, for a
// terminal (or a capture) without reverse video.
std::string cursor_mark(bool here) { return here ? ">" : " "; }

void draw_group(const KOVA_MENU_CONTROLLER& menu, const KOVA_MENU_LOOK& look, const KOVA_MENU_ROW& row, int y,
                bool here) {
    const KOVA_OBJECT_GROUP& group = menu.model().groups()[row.group];
    std::size_t conflicts = 0;
    for (std::size_t i : group.members) conflicts += menu.model().objects()[i].conflict.empty() ? 0 : 1;
    std::string text = cursor_mark(here) + fold_mark(look, menu.model().folded(row.group)) + group.title + " (" +
                       std::to_string(group.members.size()) + ")";
    if (conflicts) text += "  ! " + std::to_string(conflicts) + " conflicts";
    set_colour(PAIR_GROUP, true);
    attron(A_BOLD);
    mvaddstr(y, 0, kova_menu_fit(text, COLS).c_str());
    attroff(A_BOLD);
    set_colour(PAIR_GROUP, false);
}

// The whole words of text that fit in width columns (a first word too
// long is cut).
std::string first_words(const std::string& text, int width) {
    std::string fitted = kova_menu_fit(text, width);
    const std::string longer = kova_menu_fit(text, width + 1);
    // Cut inside a word: the text goes on past the width with no blank there.
    if (longer.back() != ' ' && fitted.back() != ' ') {
        const std::size_t blank = fitted.find_last_of(' ');
        if (blank != std::string::npos && blank > 0) fitted.erase(blank);
    }
    return fitted;
}

void draw_object(const KOVA_MENU_CONTROLLER& menu, const KOVA_MENU_COLUMNS& columns, std::size_t index, int y,
                 bool here) {
    const KOVA_MENU_OBJECT& object = menu.model().objects()[index];
    const std::string keep = menu.kept(object.state.name) ? "K " : "  ";
    mvaddstr(y, 0, (cursor_mark(here) + " " + keep + kova_menu_fit(object.state.name, columns.name) + " " +
                    kova_menu_fit(object.shown, columns.value) + " ").c_str());
    set_colour(PAIR_CHANGED, true);
    addstr(object.changed ? "*" : " ");
    set_colour(PAIR_CHANGED, false);
    if (object.conflict.empty() || columns.conflict < 3) return;
    set_colour(PAIR_CONFLICT, true);
    addstr((" ! " + first_words(object.conflict, columns.conflict - 3)).c_str());
    set_colour(PAIR_CONFLICT, false);
}

// Top-left corner, horizontal, vertical, and the other corners.
struct FRAME {
    const char *top_left, *horizontal, *vertical, *top_right, *bottom_left, *bottom_right;
};

FRAME frame_of(const KOVA_MENU_LOOK& look) {
    if (look.utf8) return {"\u250c", "\u2500", "\u2502", "\u2510", "\u2514", "\u2518"};
    return {"+", "-", "|", "+", "+", "+"};
}

// A framed pane over the body: its title in the top edge, lines inside
// from first, the one at cursor reversed.
void draw_pane(const KOVA_MENU_LOOK& look, const std::string& title, const std::vector<std::string>& lines,
               std::size_t first, std::size_t cursor) {
    const FRAME frame = frame_of(look);
    const int width = COLS, height = std::max(3, LINES - 1);
    erase();
    // The title fills the top edge, padded to its width.
    const std::string name = kova_menu_fit(" " + title + " ", std::max(0, width - 4));
    const std::string top = std::string(frame.top_left) + frame.horizontal + name + frame.horizontal;
    mvaddstr(0, 0, (top + frame.top_right).c_str());
    for (int y = 1; y < height - 1; ++y) {
        const std::size_t at = first + static_cast<std::size_t>(y - 1);
        mvaddstr(y, 0, frame.vertical);
        if (at == cursor) attron(A_REVERSE);
        addstr(kova_menu_fit(at < lines.size() ? lines[at] : "", width - 2).c_str());
        if (at == cursor) attroff(A_REVERSE);
        addstr(frame.vertical);
    }
    std::string bottom = frame.bottom_left;
    for (int x = 1; x < width - 1; ++x) bottom += frame.horizontal;
    mvaddstr(height - 1, 0, (bottom + frame.bottom_right).c_str());
}

// A key loop over a list: moves the cursor; answers the key that ends it.
int list_key(std::size_t count, std::size_t& cursor, std::size_t& first) {
    const int rows = std::max(1, LINES - 3);
    const int key = kova_menu_key();
    const long last = static_cast<long>(count) - 1;
    long at = static_cast<long>(cursor);
    if (key == KEY_UP || key == 'k') --at;
    else if (key == KEY_DOWN || key == 'j') ++at;
    else if (key == KEY_PPAGE) at -= rows;
    else if (key == KEY_NPAGE) at += rows;
    else if (key == KEY_HOME) at = 0;
    else if (key == KEY_END) at = last;
    cursor = static_cast<std::size_t>(std::clamp(at, 0L, std::max(0L, last)));
    if (cursor < first) first = cursor;
    if (cursor >= first + static_cast<std::size_t>(rows)) first = cursor - static_cast<std::size_t>(rows) + 1;
    return key;
}

bool is_enter(int key) { return key == '\n' || key == '\r' || key == KEY_ENTER; }
bool is_cancel(int key) { return key == 27 || key == 'q' || key == KOVA_KEY_SIGNAL; }

}  // namespace

KOVA_MENU_LOOK kova_menu_start_screen() {
    std::setlocale(LC_ALL, "");
    KOVA_MENU_LOOK look;
    look.utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    initscr();
    g_started = true;
    cbreak();
    noecho();
    keypad(stdscr, TRUE);
    set_escdelay(25);
    timeout(200);
    look.colour = has_colors() && !std::getenv("NO_COLOR");
    if (look.colour) {
        start_color();
        use_default_colors();
        init_pair(PAIR_CONFLICT, COLOR_RED, -1);
        init_pair(PAIR_CHANGED, COLOR_YELLOW, -1);
        init_pair(PAIR_GROUP, COLOR_CYAN, -1);
    }
    g_colour = look.colour;
    return look;
}

void kova_menu_end_screen() {
    if (!g_started) return;
    g_started = false;
    endwin();
}

int kova_menu_key() {
    // getch waits 200 ms for a key; a terminal that is gone answers at
    // once, every time. Many quick answers in a row are taken as the
    // hang-up whose signal never came, rather than spinning.
    int quick = 0;
    for (;;) {
        if (kova_menu_signal) return KOVA_KEY_SIGNAL;
        const auto asked = std::chrono::steady_clock::now();
        const int key = getch();
        if (key != ERR) return key;
        quick = std::chrono::steady_clock::now() - asked < std::chrono::milliseconds(20) ? quick + 1 : 0;
        if (quick > 100) kova_menu_signal = SIGHUP;
    }
}

KOVA_MENU_COLUMNS kova_menu_columns(int width, std::size_t longest_name) {
    KOVA_MENU_COLUMNS columns;
    columns.name = static_cast<int>(std::clamp<std::size_t>(longest_name, 8, 20));
    // Four columns of marks and blanks before the name, three after it.
    const int fixed = 4 + columns.name + 3;
    columns.value = std::clamp(20 - std::max(0, 80 - width), 6, 20);
    columns.conflict = std::max(0, width - fixed - columns.value);
    return columns;
}

void kova_menu_draw(const KOVA_MENU_CONTROLLER& menu, const KOVA_MENU_LOOK& look, std::size_t& top) {
    erase();
    const KOVA_MENU_MODEL& model = menu.model();
    const int notice = static_cast<int>(menu.notice().size());
    draw_bar(0, " " + menu.title());
    for (int y = 0; y < notice; ++y) mvaddstr(1 + y, 0, kova_menu_fit(menu.notice()[y], COLS).c_str());
    const int first_y = 1 + notice, height = body_height(notice);
    if (model.cursor() < top) top = model.cursor();
    if (model.cursor() >= top + static_cast<std::size_t>(height)) top = model.cursor() - height + 1;
    std::size_t longest = 0;
    for (const KOVA_MENU_OBJECT& object : model.objects()) longest = std::max(longest, object.state.name.size());
    const KOVA_MENU_COLUMNS columns = kova_menu_columns(COLS, longest);
    for (int y = 0; y < height && top + y < model.rows().size(); ++y) {
        const KOVA_MENU_ROW& row = model.rows()[top + y];
        const bool here = top + y == model.cursor();
        if (here) attron(A_REVERSE);
        if (row.object) draw_object(menu, columns, *row.object, first_y + y, here);
        else draw_group(menu, look, row, first_y + y, here);
        if (here) attroff(A_REVERSE);
    }
    mvaddstr(LINES - 2, 0, kova_menu_fit(menu.status, COLS).c_str());
    draw_bar(LINES - 1, KEY_LINE);
    refresh();
}

std::optional<std::size_t> kova_menu_choose(const KOVA_MENU_LOOK& look, const std::string& title,
                                            const std::vector<std::string>& items, std::size_t selected) {
    std::size_t cursor = std::min(selected, items.empty() ? 0 : items.size() - 1), first = 0;
    for (;;) {
        draw_pane(look, title + " (Enter chooses, Esc cancels)", items, first, cursor);
        refresh();
        const int key = list_key(items.size(), cursor, first);
        if (is_cancel(key)) return std::nullopt;
        if (is_enter(key) && !items.empty()) return cursor;
    }
}

std::optional<std::string> kova_menu_ask_line(const std::string& prompt, const std::string& initial) {
    std::string text = initial;
    curs_set(1);
    for (;;) {
        move(LINES - 2, 0);
        clrtoeol();
        addstr(kova_menu_fit(prompt + text, COLS - 1).c_str());
        refresh();
        const int key = kova_menu_key();
        if (key == 27 || key == KOVA_KEY_SIGNAL) break;
        if (is_enter(key)) {
            curs_set(0);
            return text;
        }
        if ((key == KEY_BACKSPACE || key == 127 || key == 8) && !text.empty()) text.pop_back();
        else if (key >= 32 && key < 256 && key != 127) text += static_cast<char>(key);
    }
    curs_set(0);
    return std::nullopt;
}

std::optional<std::size_t> kova_menu_pane(const KOVA_MENU_LOOK& look, const std::string& title,
                                          const std::vector<std::string>& lines) {
    std::size_t cursor = 0, first = 0;
    for (;;) {
        draw_pane(look, title, lines, first, cursor);
        refresh();
        const int key = list_key(lines.size(), cursor, first);
        if (is_cancel(key)) return std::nullopt;
        if (is_enter(key)) return cursor;
    }
}

bool kova_menu_toggles(const KOVA_MENU_LOOK& look, const std::string& title, const std::vector<std::string>& items,
                       std::vector<bool>& checked) {
    std::size_t cursor = 0, first = 0;
    for (;;) {
        std::vector<std::string> shown;
        for (std::size_t i = 0; i < items.size(); ++i) shown.push_back((checked[i] ? "[x] " : "[ ] ") + items[i]);
        draw_pane(look, title + " (Space toggles, a accepts all, Enter accepts, Esc cancels)", shown, first, cursor);
        refresh();
        const int key = list_key(items.size(), cursor, first);
        if (is_cancel(key)) return false;
        if (key == ' ' && cursor < checked.size()) checked[cursor] = !checked[cursor];
        if (key == 'a') std::fill(checked.begin(), checked.end(), true);
        if (key == 'a' || is_enter(key)) return true;
    }
}

bool kova_menu_ask_yes(const std::string& question) {
    move(LINES - 2, 0);
    clrtoeol();
    // The answer's keys stay seen however narrow the screen.
    std::string shown = kova_menu_fit(question, std::max(0, COLS - 7));
    shown.erase(shown.find_last_not_of(' ') + 1);
    addstr((shown + " (y/n)").c_str());
    refresh();
    const int key = kova_menu_key();
    return key == 'y' || key == 'Y';
}

std::string kova_menu_fit(const std::string& text, int width) {
    const std::string visible = kova_visible_text(text);
    std::string out;
    int used = 0;
    std::mbstate_t state{};
    for (std::size_t at = 0; at < visible.size();) {
        wchar_t wide = 0;
        const std::size_t length = std::mbrtowc(&wide, visible.data() + at, visible.size() - at, &state);
        if (length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2) || length == 0) {
            // A byte that is no character here shows as '?'.
            state = std::mbstate_t{};
            if (used + 1 > width) break;
            out += '?';
            ++used, ++at;
            continue;
        }
        const int columns = std::max(0, wcwidth(wide));
        if (used + columns > width) break;
        out.append(visible, at, length);
        used += columns;
        at += length;
    }
    return out + std::string(static_cast<std::size_t>(std::max(0, width - used)), ' ');
}
