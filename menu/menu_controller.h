// What the configurator does with the session: opening it with its
// settings (an invalid settings file too, its problems shown), each
// change as one undoable step followed by a run, the fix, explain and
// difference texts, saving and the recovery file. Everything the page or
// the CLI also answers comes from session/; this only joins it to the
// screen model (menu_model.h). No terminal here either.
#ifndef KOVA_MENU_CONTROLLER_H
#define KOVA_MENU_CONTROLLER_H

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "menu/menu_model.h"
#include "session/fix.h"
#include "session/session.h"

struct KOVA_MENU_START {
    KOVA_LOAD_OPTIONS load;
    std::string settings_file;              // "" for none
    std::vector<KOVA_SETTING> settings;     // the command line's, applied after the file
    std::string save_file;                  // --save; "" for none
};

class KOVA_MENU_CONTROLLER {
public:
    // Null, with the reasons in problems, when the description cannot be
    // loaded or the settings file cannot be read at all. A file with
    // errors or unknown names opens, its good lines applied.
    static std::unique_ptr<KOVA_MENU_CONTROLLER> open(const KOVA_MENU_START& start, KOVA_MESSAGES& problems);

    KOVA_MENU_MODEL& model() { return m_model; }
    const KOVA_MENU_MODEL& model() const { return m_model; }
    const KOVA_SESSION& session() const { return *m_session; }
    const KOVA_RUN_RESULT& run() const { return m_run; }
    std::size_t error_count() const { return kova_error_count(m_run.messages); }
    // The title line's words: "FUNCTION  FILE  valid" or "... N errors".
    std::string title() const;
    // The problems of opening: the settings naming no object, listed once
    // on a line of their own, then the other problems (a broken line of the
    // file, a refused value) on one more; none when it opened cleanly.
    const std::vector<std::string>& notice() const { return m_notice; }
    // What the last action told: a setting's warnings, a save's result.
    std::string status;

    // One undoable step: the setting applied, then a run. The session's
    // problems and warnings (how the engine read the value) go to status.
    // Taken by value: a caller's name may live in the objects the run replaces.
    void set(std::string name, std::string value);
    // Space: the other of a two-valued list, or a port's USED/UNUSED;
    // false (nothing changed) for any other object.
    bool toggle(std::size_t object);
    // Enter: the legal values a chooser offers (a list's items, or a
    // port's usage words); empty when an input line is wanted instead,
    // with hint the range or value text it shows.
    std::vector<std::string> choices(std::size_t object, std::string& hint) const;

    // The repair the session would make, on a copy: nothing changes yet.
    KOVA_FIX_RESULT propose_fix() const;
    // The accepted changes of a proposal, applied as one step.
    void apply_fix(const std::vector<KOVA_FIX_CHANGE>& accepted);
    // K: the names a fix leaves alone.
    void toggle_keep(const std::string& name);
    bool kept(const std::string& name) const;

    // The kova explain text of the object, one line an entry.
    std::vector<std::string> explain(const std::string& name) const;
    // "NAME: DEFAULT -> NOW" for each setting that differs.
    std::vector<std::string> differences() const;

    bool undo();
    bool redo();

    // Where s and S save: --save, else --settings, else "" (ask).
    std::string save_target() const;
    // Saves all settings (keeping an existing file's comments) or the
    // minimal ones; status tells the outcome. False when it failed.
    bool save(const std::string& path, bool minimal);
    bool unsaved() const;

    // FILE.kova-recover beside the save target (in the current folder,
    // named after the description, when there is none).
    std::string recovery_path() const;
    bool write_recovery() const;
    // Applies the recovery file's settings as one step and removes it.
    bool restore_recovery();
    void discard_recovery() const;

private:
    KOVA_MENU_CONTROLLER() = default;
    void replace_settings(std::vector<KOVA_SETTING> settings);
    // Applies the settings that name an object and fills the notice.
    void apply_known(const std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& problems);
    void refresh();

    std::unique_ptr<KOVA_SESSION> m_session;
    KOVA_MENU_START m_start;
    KOVA_RUN_RESULT m_run;
    KOVA_MENU_MODEL m_model;
    KOVA_MENU_HISTORY m_history;
    std::vector<KOVA_OBJECT_GROUP> m_groups;  // computed once: membership does not follow settings
    std::set<std::string> m_keep;             // lower-case names
    std::vector<KOVA_SETTING> m_saved;        // the settings as last saved or opened
    std::vector<std::string> m_notice;
};

#endif
