// One builder per answer of the front ends: the members of a command's
// JSON document (docs/json.md) and its text form, from a session after
// the run. The kova tool prints an answer, kova serve sends it and the
// Python module converts it, so no front end builds a member itself.
// generate and lint answer beside their own code (generate/answer.h,
// lint/answer.h), which sits above this layer.
//
// A builder fills the answer it is given and sets problem when it cannot
// answer (then the members mean nothing).
#ifndef KOVA_ANSWERS_H
#define KOVA_ANSWERS_H

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "session/fix.h"
#include "session/problem.h"
#include "session/session.h"
#include "session/state_changes.h"

struct KOVA_ANSWER {
    nlohmann::json document = nlohmann::json::object();  // the command's own members
    std::function<void(std::ostream&)> text;             // the same as text, raw bytes of the description
    KOVA_MESSAGES messages;                              // after the run's
    bool replaces_messages = false;                      // messages stand for the run's
    bool failed = false;                                 // no answer to give, though the request was fine
    // The text is a product (generated source) that an output stream
    // holds alone; messages go elsewhere.
    bool product = false;
    // The verdict when the builder changed the configuration after the
    // run (fix): it stands for the run's.
    std::optional<bool> valid;
    KOVA_PROBLEM problem;
};

// For a builder that gathers messages in the answer as it goes: its
// problem keeps its one-line text and takes every message gathered, in
// order, to explain it.
void kova_explain_problem(KOVA_ANSWER& answer);

using KOVA_ANSWER_BUILDER = std::function<void(KOVA_SESSION&, const KOVA_RUN_RESULT&, KOVA_ANSWER&)>;

// validate: "ports" and "parameters", each object's state in the one
// shape of session/json_document.h (with_objects
// unset leaves them out, for a text answer of a large description).
void kova_validate_answer(KOVA_SESSION& session, bool with_objects, KOVA_ANSWER& answer);
// show: "function" and "objects", every port's and parameter's state in
// the one shape; the text a table of kind, name, value text, default and
// usage states after a count line that names the description as given,
// and with origins set each object's origin (kova_value_origin_text) in a
// last column. With help_texts set, "function" and "help_texts" instead: every object,
// wizard map and vector that has a label or help text (kova_help_items),
// the text kova_print_help_items after a line "DESCRIPTION: N help entries".
void kova_show_answer(KOVA_SESSION& session, bool help_texts, KOVA_ANSWER& answer, bool origins = false);
// widths: "ports", each {"port", "width" (null when unknown), "expression"}.
void kova_widths_answer(KOVA_SESSION& session, KOVA_ANSWER& answer);
// ranges: one port's bounds and values, or {"ports": [...]} for every
// port when name is "".
void kova_ranges_answer(KOVA_SESSION& session, const std::string& name, KOVA_ANSWER& answer);
// messages: "wizard_messages".
void kova_messages_answer(KOVA_SESSION& session, KOVA_ANSWER& answer);
// simlib: "libraries" and "library_text".
void kova_simlib_answer(KOVA_SESSION& session, KOVA_ANSWER& answer);
// wizard-map: one map, or {"maps": [...]} for every map when name is "".
void kova_wizard_map_answer(KOVA_SESSION& session, const std::string& name, KOVA_ANSWER& answer);
// stimulus: "vector", "time" and "transitions" at time.
void kova_stimulus_answer(KOVA_SESSION& session, const std::string& vector, int time, KOVA_ANSWER& answer);
// deps: "names" and "text" of an object (is_expression unset) or of an
// expression.
void kova_deps_answer(const KOVA_SESSION& session, const std::string& text, bool is_expression, KOVA_ANSWER& answer);
// eval: "expression" and "result"; failed when the text does not parse.
void kova_eval_answer(KOVA_SESSION& session, const std::string& expression, KOVA_RULES_VALIDATOR_PARSER_MODE mode,
                      KOVA_ANSWER& answer);
// explain: the explanation's members; its messages replace the run's.
void kova_explain_answer(const KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const std::string& name,
                         KOVA_ANSWER& answer);
// fix: the repair's members; the verdict and messages of its last run
// replace the run's. The session is left repaired.
void kova_fix_answer(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_FIX_OPTIONS& options,
                     KOVA_ANSWER& answer);
// states: "objects", every port's, parameter's and hidden parameter's
// state as the validator holds it now.
void kova_states_answer(KOVA_SESSION& session, KOVA_ANSWER& answer);
// refresh: what a form shows after a change, from the one run: "objects"
// as states gives them but only those that differ from baseline (the
// states the form holds already), "ranges" (every port's, as ranges gives them),
// "wizard_maps" (every map, as wizard-map gives them), "wizard_messages"
// as messages and "libraries" and "library_text" as simlib give them,
// "changed_settings" the names whose settings differ from the defaults and
// "causes" which of those each error of the run follows from, and which
// of them is last_change, the setting the user changed last ("" when not
// known) (session/setting_causes.h); what each query posted follows the
// run's messages once. No text form.
void kova_refresh_answer(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_STATE_BASELINE& baseline,
                         const std::string& last_change, KOVA_ANSWER& answer);
// settings: "minimal" and "text", the settings file after the run.
void kova_settings_answer(const KOVA_SESSION& session, bool minimal, KOVA_ANSWER& answer);
// load: "settings" of an uploaded settings file text, each {"name",
// "value", "line"}; the file's warnings as messages.
void kova_load_answer(const std::string& text, const std::string& file, KOVA_ANSWER& answer);

#endif
