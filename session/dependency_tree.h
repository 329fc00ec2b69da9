// What a rule text depends on, followed down to the user's settings: the
// names and macro calls a text reads, then through every hidden parameter,
// function macro and macro instance it reaches, to the ports and
// parameters a user sets. Texts are read as the engine's dependency walk
// reads them (element tokens; a macro name followed by "(" is a call, its
// instance named by the call text), so the tree agrees with the levels
// and with the names the engine's messages show.
//
// The graph holds every node once, keyed by its lower-case name; it is
// built with a work list, never by recursing along the model, so a chain
// of any depth costs no stack.
#ifndef KOVA_DEPENDENCY_TREE_H
#define KOVA_DEPENDENCY_TREE_H

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "validator/kova_rules_validator.h"

struct KOVA_DEPENDENCY_NODE {
    std::string name;        // the object's name, or the call as written ("bytes(WIDTH)")
    std::string kind;        // kova_object_kind_name of the object, or "call"
    std::string value;       // a parameter's value (its usage state when it is not used),
                             // a port's usage state, the value a derived node has now
    std::string expression;  // what gives a derived node its value: the hidden
                             // parameter's or macro's text, the call's body; "" for settings
    bool setting = false;    // a port or parameter the user sets (a leaf)
    std::vector<std::size_t> children;  // the nodes its expression reads, in order
};

class KOVA_DEPENDENCY_GRAPH {
public:
    // Values are read from, and derived nodes evaluated on, evaluator,
    // which should be a copy of a validator after its run: evaluating a
    // call or a macro may refresh values.
    explicit KOVA_DEPENDENCY_GRAPH(KOVA_RULES_VALIDATOR& evaluator) : m_evaluator(evaluator) {}

    // The nodes text reads, in order of first mention, each once; every
    // node below them is added too.
    std::vector<std::size_t> add_text(const std::string& text);

    const std::vector<KOVA_DEPENDENCY_NODE>& nodes() const { return m_nodes; }

    // The settings reached from roots, in depth-first order, each once:
    // their nodes, or their names.
    std::vector<std::size_t> setting_nodes_below(const std::vector<std::size_t>& roots) const;
    std::vector<std::string> settings_below(const std::vector<std::size_t>& roots) const;

private:
    std::size_t node_for(const std::string& key, KOVA_DEPENDENCY_NODE node);
    std::vector<std::size_t> read(const std::string& text);

    KOVA_RULES_VALIDATOR& m_evaluator;
    std::vector<KOVA_DEPENDENCY_NODE> m_nodes;
    std::map<std::string, std::size_t> m_index;  // lower-case name -> node
    std::vector<std::size_t> m_unexpanded;       // derived nodes whose children are not read yet
};

// One name or call a text reads directly.
struct KOVA_TEXT_REFERENCE {
    const KOVA_OBJ_INFO* object = nullptr;  // the object named, or the macro called
    std::string arguments;                  // a call's actual arguments joined by ","
    bool call = false;
};

// The names and calls of a text, in order (repeats included). A call
// whose argument substitution leaves the body as it is names the macro
// itself, as the engine answers it.
std::vector<KOVA_TEXT_REFERENCE> kova_text_references(const KOVA_RULES_VALIDATOR& validator,
                                                      const std::string& text);
// The references point at the validator's objects: never a temporary's.
std::vector<KOVA_TEXT_REFERENCE> kova_text_references(const KOVA_RULES_VALIDATOR&& validator,
                                                      const std::string& text) = delete;

// The objects whose rules or value texts (a hidden parameter's or macro's
// value, a port's width) read name directly or through the body of a
// macro they call, in the model's order; name itself is left out.
std::vector<std::string> kova_dependents(const KOVA_RULES_VALIDATOR& validator, const std::string& name);

#endif
