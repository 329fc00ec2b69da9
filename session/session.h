// A configuration session: one description loaded into a validator, the
// user's settings applied to it, validation runs, and every step's
// problems as located, graded messages. Every front end (the kova tool,
// the web configurator, the Python module) works through this class, so
// they load, apply, run and report alike.
//
// Thread rule: a session is used by one thread at a time; copies share
// nothing mutable, so copies of one loaded session may run in parallel.
#ifndef KOVA_SESSION_H
#define KOVA_SESSION_H

#include <chrono>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "session/message.h"
#include "session/problem.h"
#include "session/settings_text.h"
#include "validator/kova_rules_validator.h"

struct KOVA_LOAD_OPTIONS {
    std::string description;
    std::string library_dir;
    std::string function_name;  // "" keeps the description's own
    // Rule texts evaluated from their compiled forms, made at open. A
    // front end that answers from a single run may leave this off:
    // compiling every text of a large model costs more than the one run
    // it would speed up. The answers are the same either way.
    bool compiled = true;
};

// A value or usage state that a run changed silently: what it was and the
// object's rule whose value the run followed.
struct KOVA_CORRECTION {
    std::string was;       // the value or usage state before the run; "" for no value
    int rule_index = -1;   // the rule's place among the object's rules; -1 for none
    KOVA_SOURCE_FIELD field = KOVA_FIELD_VALUE;  // the rule's field the run took
};

struct KOVA_RUN_RESULT {
    bool valid = false;       // the engine's answer and no error message
    KOVA_MESSAGES messages;   // initialisation, run, function rules, corrections
};

class KOVA_SESSION {
public:
    // Loads and initialises the description and gives every port and
    // parameter its default state, as a wizard does before the user
    // changes anything. Null when the description cannot be read; the
    // reasons are appended to problems.
    static std::unique_ptr<KOVA_SESSION> open(const KOVA_LOAD_OPTIONS& options, KOVA_MESSAGES& problems);

    KOVA_SESSION(const KOVA_SESSION& other);
    KOVA_SESSION& operator=(const KOVA_SESSION&) = delete;
    ~KOVA_SESSION();

    // Puts this session in the state of a fresh copy of original, reusing
    // its own objects where this session is a copy of original (or of a
    // copy of it) and copying otherwise: settings, corrections, values,
    // usage states, widths and run records alike. For a thread that
    // validates one configuration after another; unlike
    // reset_to_defaults, which keeps what a default leaves unset, nothing
    // of an earlier configuration stays. original must not change during
    // the call.
    void restore(const KOVA_SESSION& original);

    KOVA_RULES_VALIDATOR& validator() { return *m_validator; }
    const KOVA_RULES_VALIDATOR& validator() const { return *m_validator; }
    const std::string& description() const { return m_description; }

    // What initialisation reported (cycles); every run repeats them, since
    // the run clears the engine's list.
    const KOVA_MESSAGES& initialization_messages() const { return m_init_messages; }

    // Applies settings in order: a value, or USED, UNUSED or CONSTANT, or
    // CONSTANT:VALUE for a port held at a value; a later setting of a name
    // overrides an earlier one, as the command line overrides a file.
    // Every problem is appended (unknown names with the current name when
    // they are a previous name of an object, else with the nearest known
    // one), and a warning for an integer value that the engine reads as
    // another number ("32abc" as 32). The answer is no problem when none
    // of them is an error; else a not-found problem when every refused
    // setting names no port or parameter, an invalid-value one otherwise,
    // holding the refusals.
    KOVA_PROBLEM apply(const std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& problems);

    // A warning at each port held at a constant wider than the port, whose
    // value the engine cuts to the port's width; run() reports them, and
    // kova generate refuses such a configuration unless forced.
    KOVA_MESSAGES constant_width_warnings() const;

    // Forgets every setting: each port and parameter back in its default
    // state, as open leaves them.
    void reset_to_defaults();

    // One validation run and everything it reports.
    KOVA_RUN_RESULT run();

    // A run whose messages are dropped, so that derived values (hidden
    // parameters, macro calls) are up to date, as a wizard does before it
    // asks for widths, ranges or values. The engine keeps a port's width
    // once evaluated, so every width is forgotten first and the next
    // query evaluates it under the current settings.
    void derive();

    // Every port's width evaluated afresh from the current values, and the
    // values of ports held constant given again at those widths. A run
    // keeps the widths an earlier evaluation gave, so a front end that
    // changes settings between runs calls this before reading widths
    // (after a run or derive, so that derived values are current).
    void refresh_port_widths();

    // The engine's records since its list was last cleared, as messages;
    // the list is cleared.
    KOVA_MESSAGES take_messages();

    // The settings now held, in the model's order, written so that
    // applying them again restores the same values and states.
    std::vector<KOVA_SETTING> current_settings() const;
    // The settings that give this configuration again when applied to a
    // fresh session of the description, with its messages: those the user
    // made, each with where it was made (its source, and the file and line
    // of a settings file, as conflict messages name them), and any other
    // object no longer as a fresh session has it.
    std::vector<KOVA_SETTING> placed_settings() const;

    // The settings the description's defaults give, as current_settings
    // wrote them when the session was opened (before any setting).
    const std::vector<KOVA_SETTING>& default_settings() const { return m_default_settings; }

    // The last setting given to the object of that name (letter case
    // ignored) since the session was opened or reset, with its source;
    // null when it has none.
    const KOVA_SETTING* setting_of(const std::string& name) const;
    // The last silent correction a run made to the object of that name
    // since it was last set; null when none. A later correction keeps the
    // first one's was, the value the object had before any of them.
    const KOVA_CORRECTION* correction_of(const std::string& name) const;

    // Every port and parameter name, for suggestions.
    std::vector<std::string> object_names() const;

    // The time by which long work on the session (a repair's search) must
    // stop, none unless set; a copy keeps it. kova serve sets it on each
    // request's copy, so that no request holds a worker for long.
    void set_work_deadline(std::chrono::steady_clock::time_point deadline) { m_work_deadline = deadline; }
    std::chrono::steady_clock::time_point work_deadline() const { return m_work_deadline; }

private:
    KOVA_SESSION() = default;
    void capture_scanner_output();
    void apply_constant_values();
    std::string apply_one(const KOVA_SETTING& setting);
    // The same for a setting whose port and parameter copies (either may
    // be null) were looked up already: a setting's name is looked up once.
    std::string apply_one(const KOVA_SETTING& setting, const KOVA_PORT_OBJ* port, const KOVA_PARAMETER_OBJ* parameter);
    std::string unknown_setting_name(const std::string& name) const;
    void add_reading_warning(const KOVA_SETTING& setting, const KOVA_PARAMETER_OBJ* parameter,
                             KOVA_MESSAGES& problems) const;
    // A setting as a run's comparison of the settings before and after it
    // reads it: its object's position in the model's object list, its
    // name (the object's own, kept while the model is), its text as
    // current_settings writes it, and whether the text sets a usage state.
    struct SETTING_MARK {
        std::size_t owner = 0;
        const std::string* name = nullptr;
        std::string value;
        bool usage = false;
    };
    template <typename ADD>
    void visit_settings(ADD add) const;
    // The current settings written into the first marks; their number.
    std::size_t take_setting_marks(std::vector<SETTING_MARK>& marks) const;
    // Notes every setting the run changed: the first before marks of
    // m_marks_before against the settings now.
    void add_corrections(std::size_t before, KOVA_MESSAGES& messages);
    // One object's value and usage settings among the first count marks
    // (null where it has none); at moves past them.
    struct OBJECT_SETTINGS {
        const SETTING_MARK* value = nullptr;
        const SETTING_MARK* usage = nullptr;
    };
    static OBJECT_SETTINGS settings_of(const std::vector<SETTING_MARK>& marks, std::size_t count, std::size_t owner,
                                       std::size_t& at);
    // A note that the run changed name's setting from one text to another,
    // recorded for correction_of.
    void add_correction(const std::string& name, const std::string& from, const std::string& to,
                        KOVA_MESSAGES& messages);
    void record_correction(const std::string& name, const std::string& was);
    // The silent corrections a derive made to values or states that
    // settings gave: recorded, and their notes kept for the next run,
    // which no longer sees them change.
    void note_derived_corrections();
    void add_function_rule_failure(KOVA_MESSAGES& messages) const;
    void mark_settings(KOVA_MESSAGES& messages) const;

    std::unique_ptr<KOVA_RULES_VALIDATOR> m_validator;
    std::string m_description;
    KOVA_MESSAGES m_init_messages;
    std::vector<KOVA_SETTING> m_default_settings;
    std::chrono::steady_clock::time_point m_work_deadline = std::chrono::steady_clock::time_point::max();
    // The last setting of each object, by lower-case name; a conflict is
    // marked with the place of one read from a file.
    std::map<std::string, KOVA_SETTING> m_set_by;
    // The silent corrections since each object was last set, by
    // lower-case name, each with the number of the run that made it last.
    struct CORRECTION_RECORD {
        KOVA_CORRECTION correction;
        std::size_t run = 0;
    };
    std::map<std::string, CORRECTION_RECORD> m_corrections;
    std::size_t m_runs = 0;  // runs made, numbering them for m_corrections
    // Correction notes of derives since the last run, which reports them.
    KOVA_MESSAGES m_derived_notes;
    // The values of ports held constant, by lower-case name: the name as
    // set and the value as written.
    std::map<std::string, std::pair<std::string, std::string>> m_constants;
    // Characters the scanner cannot place are reported as messages, never
    // written to standard output; the stream itself discards them.
    std::ostream m_discard{nullptr};
    // Scratch of run(): the marks before and after it, whose strings keep
    // their storage from run to run. A copy starts with none.
    std::vector<SETTING_MARK> m_marks_before, m_marks_after;
};

// "hidden", "in", "out", "inout", "integer", "string", "other", "macro".
std::string kova_object_kind_name(int type);

#endif
