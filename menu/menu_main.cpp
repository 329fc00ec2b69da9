// The configurator's key loop: each key becomes an action of the
// controller or a dialog of the screen; signals end the loop with the
// terminal given back (and, on a hang-up, the unsaved settings written to
// the recovery file).
#include "menu/menu.h"

#include <curses.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <exception>
#include <sstream>

#include "menu/menu_screen.h"
#include "session/file_io.h"

namespace {

// The key map, within 76 columns to fit the pane on an 80-column screen.
const char* const HELP_LINES[] = {
    "Up Down j k    move             PageUp PageDown  a screen",
    "Home End       first, last line",
    "Enter          edit: a chooser of legal values, or an input line",
    "               (on a group: fold or unfold it)",
    "Space          toggle a two-valued setting or a port's USED/UNUSED",
    "/  n  N        search names, labels, values, help texts; next; previous",
    "e              explain the object; Enter on a line jumps to its name",
    "f              fix: the proposed changes with reasons; accept all or some",
    "K              keep this setting when fixing",
    "u  Ctrl-R      undo, redo (a fix is one step)",
    "d              the settings that differ from the defaults",
    "s  S           save all settings; save only those that differ",
    "q              quit (asking when there are unsaved changes)",
    "?              this key map; Esc closes a pane",
};

void on_signal(int number) { kova_menu_signal = number; }

void catch_signals() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
}

// Gives the terminal back when the loop is left by any path.
struct SCREEN_GUARD {
    ~SCREEN_GUARD() { kova_menu_end_screen(); }
};

class MENU_LOOP {
public:
    MENU_LOOP(KOVA_MENU_CONTROLLER& menu, const KOVA_MENU_LOOK& look) : m_menu(menu), m_look(look) {}

    // Until q; false when a signal ended it.
    bool run();

private:
    bool handle(int key);
    void edit(std::size_t object);
    void search();
    void explain(std::size_t object);
    void fix();
    void save(bool minimal);
    bool quit();
    void help() {
        kova_menu_pane(m_look, "Keys", std::vector<std::string>(std::begin(HELP_LINES), std::end(HELP_LINES)));
    }

    KOVA_MENU_CONTROLLER& m_menu;
    KOVA_MENU_LOOK m_look;
    std::size_t m_top = 0;
};

bool MENU_LOOP::run() {
    for (;;) {
        kova_menu_draw(m_menu, m_look, m_top);
        const int key = kova_menu_key();
        if (key == KOVA_KEY_SIGNAL) return false;
        if (!handle(key)) return !kova_menu_signal;
    }
}

bool MENU_LOOP::handle(int key) {
    KOVA_MENU_MODEL& model = m_menu.model();
    const int page = std::max(1, LINES - 4);
    const std::optional<std::size_t> object = model.current();
    m_menu.status.clear();
    switch (key) {
        case KEY_UP: case 'k': model.move(-1); break;
        case KEY_DOWN: case 'j': model.move(1); break;
        case KEY_PPAGE: model.move(-page); break;
        case KEY_NPAGE: model.move(page); break;
        case KEY_HOME: model.home(); break;
        case KEY_END: model.end(); break;
        case '\n': case '\r': case KEY_ENTER:
            if (object) edit(*object);
            else model.toggle_fold();
            break;
        case ' ':
            if (!object) model.toggle_fold();
            else if (!m_menu.toggle(*object))
                m_menu.status = "Space toggles a two-valued setting or a port; Enter edits";
            break;
        case '/': search(); break;
        case 'n': case 'N':
            if (!model.search("", key == 'N')) m_menu.status = "not found: " + model.last_search();
            break;
        case 'e': if (object) explain(*object); break;
        case 'f': fix(); break;
        case 'K': if (object) m_menu.toggle_keep(model.objects()[*object].state.name); break;
        case 'u': m_menu.undo(); break;
        case 18: m_menu.redo(); break;
        case 'd': kova_menu_pane(m_look, "Differences from the defaults", m_menu.differences()); break;
        case 's': case 'S': save(key == 'S'); break;
        case '?': help(); break;
        case 'q': return !quit();
        default: break;
    }
    return !kova_menu_signal;
}

void MENU_LOOP::edit(std::size_t object) {
    const KOVA_MENU_OBJECT& shown = m_menu.model().objects()[object];
    const std::string name = shown.state.name;
    std::string hint;
    const std::vector<std::string> choices = m_menu.choices(object, hint);
    if (!choices.empty()) {
        std::size_t at = 0;
        while (at < choices.size() && choices[at] != shown.shown) ++at;
        const auto chosen = kova_menu_choose(m_look, name, choices, at);
        if (chosen) m_menu.set(name, choices[*chosen]);
        return;
    }
    const auto typed = kova_menu_ask_line(name + " (" + hint + "): ", shown.state.value);
    if (typed) m_menu.set(name, *typed);
}

void MENU_LOOP::search() {
    const auto query = kova_menu_ask_line("/", "");
    if (query && !query->empty() && !m_menu.model().search(*query)) m_menu.status = "not found: " + *query;
}

void MENU_LOOP::explain(std::size_t object) {
    const std::string name = m_menu.model().objects()[object].state.name;
    const std::vector<std::string> lines = m_menu.explain(name);
    const auto chosen = kova_menu_pane(m_look, "Explain " + name + " (Enter jumps to a name, Esc closes)", lines);
    if (!chosen) return;
    // The first word of the chosen line that names an object.
    std::istringstream words(lines[*chosen]);
    for (std::string word; words >> word;) {
        while (!word.empty() && std::strchr(":,()=", word.back())) word.pop_back();
        if (word != name && m_menu.model().jump_to(word)) return;
    }
}

void MENU_LOOP::fix() {
    const KOVA_FIX_RESULT proposal = m_menu.propose_fix();
    if (proposal.changes.empty()) {
        m_menu.status = proposal.gave_up ? "no fix: " + proposal.gave_up_reason : "nothing to fix";
        return;
    }
    std::vector<std::string> items;
    for (const KOVA_FIX_CHANGE& change : proposal.changes)
        items.push_back(change.name + ": " + change.old_value + " -> " + change.new_value + " (" + change.reason + ")");
    std::vector<bool> checked(items.size(), true);
    const std::string title = proposal.valid ? "Fix" : "Fix (not yet valid: " + proposal.gave_up_reason + ")";
    if (!kova_menu_toggles(m_look, title, items, checked)) return;
    std::vector<KOVA_FIX_CHANGE> accepted;
    for (std::size_t i = 0; i < checked.size(); ++i)
        if (checked[i]) accepted.push_back(proposal.changes[i]);
    m_menu.apply_fix(accepted);
}

void MENU_LOOP::save(bool minimal) {
    std::string path = m_menu.save_target();
    if (path.empty()) {
        const auto typed = kova_menu_ask_line("Save to: ", "");
        if (!typed || typed->empty()) return;
        path = *typed;
    }
    m_menu.save(path, minimal);
}

bool MENU_LOOP::quit() { return !m_menu.unsaved() || kova_menu_ask_yes("Unsaved changes: quit without saving?"); }

// Offers the settings a hang-up left in the recovery file, over the
// screen as opened.
void offer_recovery(KOVA_MENU_CONTROLLER& menu, const KOVA_MENU_LOOK& look) {
    if (!kova_file_exists(menu.recovery_path())) return;
    std::size_t top = 0;
    menu.status = "Unsaved changes of an earlier session are in " + menu.recovery_path();
    kova_menu_draw(menu, look, top);
    if (kova_menu_ask_yes("Restore the unsaved changes of an earlier session?"))
        menu.restore_recovery();
    else
        menu.discard_recovery();
}

int run_screen(KOVA_MENU_CONTROLLER& menu) {
    SCREEN_GUARD guard;
    const KOVA_MENU_LOOK look = kova_menu_start_screen();
    curs_set(0);
    catch_signals();
    offer_recovery(menu, look);
    MENU_LOOP loop(menu, look);
    if (loop.run()) return 0;
    const int number = kova_menu_signal;
    if (number == SIGHUP && menu.unsaved()) menu.write_recovery();
    return 128 + number;
}

}  // namespace

int kova_menu_main(const KOVA_MENU_START& start, std::ostream& err) {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
        err << "kova menu: needs a terminal on standard input and output; in scripts use kova validate to check "
               "settings and kova fix to repair them\n";
        return 2;
    }
    KOVA_MESSAGES problems;
    std::unique_ptr<KOVA_MENU_CONTROLLER> menu = KOVA_MENU_CONTROLLER::open(start, problems);
    if (!menu) {
        kova_print_messages(problems, start.load.description, err);
        return 2;
    }
    try {
        return run_screen(*menu);
    } catch (const std::exception& e) {
        kova_menu_end_screen();
        err << "kova menu: " << e.what() << "\n";
        return 2;
    }
}
