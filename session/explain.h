// Why a port or parameter is in the state a run left it in: its label
// and help text, its current and derived (alternate) state, each of its
// rules with what the condition gives now and what the rule applied, the
// settings each rule depends on (through hidden parameters, macros and
// macro instances), the objects that read it, and which rule the run's
// conflict messages name. Everything is evaluated on a copy of the
// session, so explaining never changes the session or its run.
#ifndef KOVA_EXPLAIN_H
#define KOVA_EXPLAIN_H

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "session/dependency_tree.h"
#include "session/help_texts.h"
#include "session/problem.h"
#include "session/session.h"
#include "session/value_origins.h"

struct KOVA_EXPLAINED_RULE {
    int index = 0;              // the rule's place in the object's rules, from 0
    std::string type;           // the rule type word
    std::string condition;      // as written; "" for a rule without one
    std::string result;         // what the condition evaluates to after the run
    // What the rule did: "value" or "usage" (applied_from tells which
    // field), "check-holds", "check-failed", "none" (a failing condition
    // without an alt value), "not-boolean", or "port-values" (a port
    // value rule, applied to the port's legal values: kova ranges).
    std::string effect;
    std::string applied_from;   // "value", "alt_value", or "" when nothing was applied
    std::string applied;        // the text applied, evaluated
    std::string conflict;       // the kind of the run's error message naming this rule, or ""
    KOVA_SOURCE_LOCATION location;       // the condition, or the value for a rule without one
    std::vector<std::size_t> depends_on; // nodes the condition, value and alt value read,
                                         // in the explanation's graph
};

struct KOVA_EXPLANATION {
    std::string name;            // as the description spells it
    std::string kind;            // kova_object_kind_name
    KOVA_HELP help;              // the description's label and help text
    KOVA_VALUE_ORIGIN origin;    // where its value came from
    bool port = false, parameter = false;
    std::string value, alt_value;  // a parameter's current and derived value; a hidden
                                   // parameter's or macro's value now
    std::string expression;        // a hidden parameter's or macro's value text
    int usage = KOVA_USAGE_NONE, alt_usage = KOVA_USAGE_NONE;
    int width = -1;                // a port's width; -1 when not evaluated
    std::vector<std::size_t> expression_depends_on;  // nodes of the value text
    std::vector<KOVA_EXPLAINED_RULE> rules;
    std::vector<KOVA_DEPENDENCY_NODE> nodes;  // every node of every tree, once
    std::vector<std::string> dependents;      // kova_dependents
    KOVA_MESSAGES messages;                   // the run's messages about the object
};

// Explains the object of that name (letter case ignored) after run, the
// result of the session's last run. A not-found problem (with a
// suggestion of the nearest name) when the description has no such
// object.
KOVA_PROBLEM kova_explain(const KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const std::string& name,
                          KOVA_EXPLANATION& explanation);

// kova_explain on session itself, which the evaluation may change (port
// widths evaluated afresh, derived values): for a caller that keeps a
// copy of its own for explaining, so that each explanation saves a copy.
KOVA_PROBLEM kova_explain_on(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const std::string& name,
                             KOVA_EXPLANATION& explanation);

// The members of the explain document (docs/json.md).
nlohmann::json kova_explanation_json(const KOVA_EXPLANATION& explanation);

// The explanation as text: the origin, the label and help text (one
// paragraph each), the state, one block per rule with its dependency tree (each
// node expanded once per tree), the dependents.
void kova_print_explanation(const KOVA_EXPLANATION& explanation, const std::string& fallback_file,
                            std::ostream& out);

#endif
