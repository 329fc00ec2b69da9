// The model of the configurator's screen, a plain state with no terminal:
// the objects as the body lists them (grouped, each with its shown value,
// a mark for a setting that differs from the default and its first
// conflict), which groups are folded, the cursor, the search, and the undo
// and redo stacks of settings. The screen (menu_screen.cpp) only draws it
// and the controller (menu_controller.cpp) fills it after each run.
#ifndef KOVA_MENU_MODEL_H
#define KOVA_MENU_MODEL_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "session/object_groups.h"
#include "session/settings_text.h"

// One object as a body line shows it.
struct KOVA_MENU_OBJECT {
    KOVA_OBJECT_STATE state;
    std::string shown;     // the value, or a port's usage word
    bool changed = false;  // its settings differ from the defaults'
    std::string conflict;  // the text of its first error; "" for none
};

// A body line: a group's header, or one of its objects.
struct KOVA_MENU_ROW {
    std::size_t group = 0;
    std::optional<std::size_t> object;  // index into objects(); none on a header
};

class KOVA_MENU_MODEL {
public:
    // New contents after a run. Folds are kept by group title and the
    // cursor by the object (or header) it was on; a folded group that
    // gains a conflict is unfolded so that no conflict is hidden. The
    // group of objects outside the configuration starts folded.
    void set_contents(std::vector<KOVA_MENU_OBJECT> objects, std::vector<KOVA_OBJECT_GROUP> groups);

    const std::vector<KOVA_MENU_OBJECT>& objects() const { return m_objects; }
    const std::vector<KOVA_OBJECT_GROUP>& groups() const { return m_groups; }
    // Invariant: rows() lists every group header, and the objects of each
    // unfolded group after it; cursor() < rows().size() unless it is empty.
    const std::vector<KOVA_MENU_ROW>& rows() const { return m_rows; }
    std::size_t cursor() const { return m_cursor; }
    bool folded(std::size_t group) const;
    // The object under the cursor; none on a header.
    std::optional<std::size_t> current() const;

    // Moves by delta rows, clamped to the first and last row.
    void move(long delta);
    void home() { m_cursor = 0; }
    void end() { m_cursor = m_rows.empty() ? 0 : m_rows.size() - 1; }
    // Folds or unfolds the group under the cursor (the cursor's object's
    // group, the cursor then on its header).
    void toggle_fold();
    // Puts the cursor on the object of that name (letter case ignored),
    // unfolding its group; false when there is none.
    bool jump_to(const std::string& name);

    // The next object after the cursor (the one before with backward)
    // that kova_object_matches the query, wrapping around and looking into
    // folded groups too, which unfold. Without a query the last one is
    // searched again (n and N). False when nothing matches.
    bool search(const std::string& query, bool backward = false);
    const std::string& last_search() const { return m_search; }

private:
    void build_rows();
    std::string cursor_key() const;
    void place_cursor(const std::string& key);

    std::vector<KOVA_MENU_OBJECT> m_objects;
    std::vector<KOVA_OBJECT_GROUP> m_groups;
    std::vector<std::string> m_folded;  // group_key of each folded group
    std::vector<KOVA_MENU_ROW> m_rows;
    std::size_t m_cursor = 0;
    std::string m_search;
    bool m_started = false;
};

// Undo and redo of whole settings lists: each change (a fix as a whole)
// pushes the settings it started from.
class KOVA_MENU_HISTORY {
public:
    // Before a change: its starting settings; the redo stack is emptied.
    void record(std::vector<KOVA_SETTING> before);
    // The settings to go back to from now (which redo will give back);
    // none when there is nothing to undo.
    std::optional<std::vector<KOVA_SETTING>> undo(std::vector<KOVA_SETTING> now);
    std::optional<std::vector<KOVA_SETTING>> redo(std::vector<KOVA_SETTING> now);

private:
    // The last of from, now pushed on to.
    static std::optional<std::vector<KOVA_SETTING>> step(std::vector<std::vector<KOVA_SETTING>>& from,
                                                         std::vector<std::vector<KOVA_SETTING>>& to,
                                                         std::vector<KOVA_SETTING> now);
    std::vector<std::vector<KOVA_SETTING>> m_undo, m_redo;
};

#endif
