// The dependency walk against the recursive reading of the ordering: a
// copy of the recursive member logic (RECURSIVE_ORDER) orders a table of
// models and a sweep of generated ones, and the walk must give the same
// levels, instances, in-progress maps, messages and records. Chains and
// rings of 100,000 objects, too deep for the recursive reading, are
// checked against results worked out by hand, and the tool validates a
// description 20,000 objects deep.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "expr/token_utils.h"
#include "host/qel_util.h"
#include "support/test_support.h"
#include "validator/macro_call.h"
#include "validator/message_origin.h"

namespace {

class ORDER_PROBE : public VALIDATOR_PROBE {
public:
    using KOVA_RULES_VALIDATOR::create_dependency_list;
    using KOVA_RULES_VALIDATOR::get_element_position;
    using KOVA_RULES_VALIDATOR::process_string_for_position_count;
};

// The recursive ordering as the member functions read before the walk,
// line for line, except that an instance's origin names a copy of the
// instance's name that lives as long as the origin.
class RECURSIVE_ORDER {
public:
    explicit RECURSIVE_ORDER(ORDER_PROBE& model) : v(model) {}

    void order_objects() {
        for (KOVA_OBJ_INFO* object : v.get_kova_obj_snapshot()) {
            if (object->evaluation_position != -1) continue;
            KOVA_NAME_MAP in_progress;
            in_progress.insert(object->get_name(), object->get_name());
            object->evaluation_position = element(object, in_progress);
        }
    }

    void order_function_rules() {
        KOVA_NAME_MAP in_progress;
        for (const KOVA_RULE_ELEMENT* rule : v.get_fn_rule_snapshot()) {
            const bool function_rule = rule->rule_type == KOVA_RULE_FN_CLEAR || rule->rule_type == KOVA_RULE_FN_SET;
            if (function_rule && !rule->get_condition().empty()) calls(rule->get_condition(), in_progress);
        }
    }

    int element(KOVA_OBJ_INFO* object, KOVA_NAME_MAP& in_progress) {
        if (object->evaluation_position != -1) return object->evaluation_position;
        in_progress.insert(object->get_name(), object->get_name());
        const std::size_t path_length = in_progress.size();
        int level = -1;
        const std::string* name = &object->get_name();
        std::vector<std::pair<const std::string*, KOVA_MESSAGE_ORIGIN>> texts;
        int index = 0;
        for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) {
            texts.push_back({&rule->get_alt_value(), kova_rule_origin(name, index, *rule, KOVA_FIELD_ALT_VALUE)});
            texts.push_back({&rule->get_condition(), kova_rule_origin(name, index, *rule, KOVA_FIELD_CONDITION)});
            texts.push_back({&rule->get_value(), kova_rule_origin(name, index, *rule, KOVA_FIELD_VALUE)});
            ++index;
        }
        if (object->obj_type == KOVA_OBJ_FN_MACRO || object->obj_type == KOVA_OBJ_HIDDEN_PARAMETER)
            texts.push_back({&object->get_value(), kova_object_origin(*name, *object, KOVA_FIELD_VALUE)});
        for (const auto& counted : texts) {
            if (counted.first->empty()) {
                level = std::max(level, 0);
                continue;
            }
            const KOVA_MODEL_ORIGIN_SCOPE origin(v, counted.second);
            level = std::max(level, text(*counted.first, in_progress, object->get_name()));
            in_progress.truncate(path_length);
        }
        return level < 0 ? 0 : level;
    }

    int text(const std::string& text, KOVA_NAME_MAP& in_progress, const std::string& owner) {
        int level = -1;
        KOVA_ELEMENT_READER tokens(text);
        while (!tokens.empty()) {
            const std::string token = tokens.next();
            if (token.empty() || v.is_reserved_keyword(token)) continue;
            KOVA_OBJ_INFO* object = v.get_kova_obj(token);
            if (!object) continue;
            if (!in_progress.contains(token)) {
                const int position = element(object, in_progress);
                object->evaluation_position = position;
                raise_above(level, position);
            } else if (object->evaluation_position != -1) {
                raise_above(level, object->evaluation_position);
            } else if (!owner.empty() && !kova_equal_nocase(token, owner)) {
                v.post_error_message("Cyclical dependency in string " + text + " because of object " + token +
                                         " while creating dependency list for " + owner,
                                     KOVA_SEVERITY_WARNING, KOVA_DIAG_CYCLE);
            }
        }
        raise_above(level, calls(text, in_progress));
        return level;
    }

    int calls(const std::string& expression, KOVA_NAME_MAP& in_progress) {
        int highest = -1;
        QEL_TOKEN_READER tokens(expression, kova_element_delimiters());
        while (!tokens.empty()) {
            std::string delimiter;
            const std::string token = tokens.next(delimiter);
            if (token.empty() || delimiter != "(") continue;
            const KOVA_OBJ_INFO* macro = v.get_kova_obj(token);
            if (!macro || macro->obj_type != KOVA_OBJ_FN_MACRO) continue;
            std::string arguments;
            delimiter = "(";
            while (delimiter != ")" && !tokens.empty()) {
                const std::string argument = tokens.next(delimiter);
                if (!arguments.empty()) arguments += ",";
                arguments += argument;
            }
            if (delimiter != ")") continue;
            const std::string name = kova_macro_instance_name(token, arguments);
            if (in_progress.contains(name) || v.m_fn_macro_list.find_entry(name)) continue;
            const std::string body = v.substitute_macro_arguments(token, arguments);
            if (kova_equal_nocase(body, macro->get_value())) continue;
            in_progress.insert(name, name);
            auto instance = std::make_unique<KOVA_FN_MACRO>(name, body);
            instance->source_id = macro->source_id;
            int position;
            {
                const KOVA_MODEL_ORIGIN_SCOPE origin(v, kova_object_origin(name, *instance, KOVA_FIELD_VALUE));
                position = text(body, in_progress, name);
            }
            instance->set_dependency_position(position);
            highest = std::max(highest, position);
            v.m_fn_macro_list.add_entry(name, std::move(instance));
        }
        return highest;
    }

private:
    static void raise_above(int& level, int position) {
        if (position >= level) level = position + 1;
    }
    ORDER_PROBE& v;
};

// A model written as data, so that two validators can be given the same.
struct RULE_SPEC {
    std::string condition, value, alt;
};
struct OBJECT_SPEC {
    std::string name;
    int type;
    std::string value, arguments;
    std::vector<RULE_SPEC> rules;
};
struct MODEL_SPEC {
    std::string title;
    std::vector<OBJECT_SPEC> objects;
    std::vector<std::string> function_rules;  // conditions of fn_set rules
};

constexpr int INTEGER = KOVA_OBJ_INTEGER_PARAMETER;
constexpr int HIDDEN = KOVA_OBJ_HIDDEN_PARAMETER;
constexpr int MACRO = KOVA_OBJ_FN_MACRO;

// Every object and rule gets a source record of its own, so the records
// tell the texts apart.
void build(ORDER_PROBE& v, const MODEL_SPEC& spec) {
    uint32_t source = 1;
    for (const OBJECT_SPEC& item : spec.objects) {
        KOVA_OBJ_INFO* object = v.add_object(item.name, item.type, item.value);
        object->source_id = source++;
        object->set_arguments(item.arguments);
        for (const RULE_SPEC& rule_spec : item.rules) {
            KOVA_RULE_ELEMENT rule(rule_spec.value, rule_spec.condition, rule_spec.alt, KOVA_RULE_CONDITION);
            rule.source_id = source++;
            object->add_rule(&rule);
        }
    }
    for (const std::string& condition : spec.function_rules) {
        KOVA_RULE_ELEMENT rule("", condition, "", KOVA_RULE_FN_SET);
        rule.source_id = source++;
        v.add_fn_rule(rule);
    }
}

std::string render_map(const KOVA_NAME_MAP& map) {
    std::string text = "{";
    for (const auto& entry : map) text += entry.first + ";";
    return text + "}";
}

// Everything the ordering leaves behind, one line per item, in order.
std::string outcome(const ORDER_PROBE& v) {
    std::string text;
    for (const KOVA_OBJ_INFO* object : v.get_kova_obj_snapshot())
        text += "level " + object->get_name() + " " + std::to_string(object->evaluation_position) + "\n";
    for (const auto& entry : v.m_fn_macro_list.entries()) {
        const auto* instance = static_cast<const KOVA_FN_MACRO*>(entry.second);
        text += "instance " + entry.first + " = " + instance->get_value() + " at " +
                std::to_string(instance->get_dependency_position()) + " source " +
                std::to_string(instance->source_id) + "\n";
    }
    for (const std::string& message : v.get_error_messages()) text += "message " + message + "\n";
    for (const KOVA_DIAGNOSTIC& record : v.get_diagnostics()) {
        text += "record " + record.text + " | " + record.object + " | rule " + std::to_string(record.rule_index) +
                " | source " + std::to_string(record.source_id) + " | field " + std::to_string(record.field) +
                " | " + kova_severity_name(record.severity) + " " + kova_diagnostic_kind_name(record.kind) +
                " | message " + std::to_string(record.message_index) + "\n";
    }
    return text;
}

// Orders the model with the walk (the member functions, as
// initialize_validator calls them) and with the recursive reading, and
// compares all that each leaves behind.
void expect_same_ordering(const MODEL_SPEC& spec) {
    SCOPED_TRACE(spec.title);
    ORDER_PROBE walked, recursive;
    build(walked, spec);
    build(recursive, spec);
    walked.create_dependency_list();
    walked.initialize_fn_rules();
    RECURSIVE_ORDER reference(recursive);
    reference.order_objects();
    reference.order_function_rules();
    EXPECT_EQ(outcome(walked), outcome(recursive));
}

const std::vector<MODEL_SPEC>& named_models() {
    static const std::vector<MODEL_SPEC> models = {
        {"rule chain", {{"Z", INTEGER, "", "", {{"Y gt 1", "", ""}}},
                        {"Y", INTEGER, "", "", {{"X == 2", "X", "3"}}},
                        {"X", INTEGER, "", "", {}}}, {}},
        {"hidden values, deepest first", {{"h3", HIDDEN, "h2 + 1", "", {}}, {"h2", HIDDEN, "h1+1", "", {}},
                                          {"h1", HIDDEN, "h0 * 2", "", {}}, {"h0", HIDDEN, "4", "", {}}}, {}},
        {"macro calls with nested calls",
         {{"H", HIDDEN, "quad(P) + twice(H) + twice(twice(W))", "", {}},
          {"P", INTEGER, "", "", {{"quad(D) gt 4", "", ""}}},
          {"quad", MACRO, "twice(y) + twice(W) + y", "y", {}},
          {"twice", MACRO, "x * 2", "x", {}},
          {"D", INTEGER, "", "", {{"W gt 0", "", ""}}},
          {"W", INTEGER, "", "", {}}}, {}},
        {"two objects in a ring", {{"A", INTEGER, "", "", {{"B == 1", "", ""}}},
                                   {"B", INTEGER, "", "", {{"A == 1", "", ""}}}}, {}},
        {"ring entered from a tail", {{"T", INTEGER, "", "", {{"A gt 0", "", ""}}}, {"A", HIDDEN, "B", "", {}},
                                      {"B", HIDDEN, "C", "", {}}, {"C", HIDDEN, "A + T", "", {}}}, {}},
        {"figure eight", {{"A", HIDDEN, "B + C", "", {}}, {"B", HIDDEN, "A", "", {}},
                          {"C", HIDDEN, "a * B", "", {}}}, {}},
        {"self references", {{"S", INTEGER, "", "", {{"S gt 0", "s", ""}}}, {"H", HIDDEN, "H + 1", "", {}},
                             {"f", MACRO, "f(x + 1)", "x", {}},
                             {"P", INTEGER, "", "", {{"f(a) gt 1", "", ""}}}}, {}},
        {"ring through a macro instance", {{"m", MACRO, "x + Q", "x", {}},
                                           {"Q", INTEGER, "", "", {{"m(R) gt 1", "", ""}}},
                                           {"R", HIDDEN, "Q", "", {}}}, {}},
        {"macros called from function rules only",
         {{"W", INTEGER, "", "", {}}, {"f", MACRO, "x + W", "x", {}}, {"g", MACRO, "f(y) + 1", "y", {}}},
         {"f(W) == 1", "g(f(W)) gt 2 AND g(3) gt 1", "", "f(W) == 2"}},
        {"repeated, cased, quoted and unknown names",
         {{"X", INTEGER, "", "", {}},
          {"P", INTEGER, "", "", {{"x + X + X(1) + str(X) + nothing", "", ""}, {"", "", ""}}},
          {"K", INTEGER, "", "", {{"P AND gt lt || X", "", ""}}}}, {}},
        {"alternate values and several rules",
         {{"A", INTEGER, "", "", {{"B gt 1", "C", "D"}, {"", "", "E"}, {"", "", ""}}},
          {"B", INTEGER, "", "", {}}, {"C", HIDDEN, "E + 1", "", {}}, {"D", HIDDEN, "A", "", {}},
          {"E", INTEGER, "", "", {{"", "", "B"}}}}, {}},
        {"macro objects with rules", {{"mac", MACRO, "x + N", "x", {{"N gt 1", "M", ""}}},
                                      {"N", INTEGER, "", "", {}}, {"M", HIDDEN, "mac(N) + mac(M)", "", {}}}, {}},
    };
    return models;
}

// Random models over a few names: texts that mention objects in any
// letter case, keywords, numbers and calls (some nested) of the macros.
// Call arguments are single tokens from a fixed set, so every model has
// finitely many instances.
class MODEL_GENERATOR {
public:
    explicit MODEL_GENERATOR(unsigned seed) : m_random(seed) {}

    MODEL_SPEC next(const std::string& title) {
        MODEL_SPEC spec{title, {}, {}};
        const int count = pick(3, 7);
        for (int i = 0; i < count; ++i) {
            const int kind = pick(0, 2);
            const int type = kind == 0 ? INTEGER : kind == 1 ? HIDDEN : MACRO;
            m_names.push_back(std::string(1, static_cast<char>('A' + i)));
            m_types.push_back(type);
        }
        for (int i = 0; i < count; ++i) {
            OBJECT_SPEC object{m_names[i], m_types[i], "", m_types[i] == MACRO ? "x, y" : "", {}};
            if (object.type != INTEGER) object.value = text();
            for (int r = pick(0, 2); r > 0; --r) object.rules.push_back({text(), pick(0, 1) ? text() : "", text()});
            spec.objects.push_back(object);
        }
        for (int r = pick(0, 2); r > 0; --r) spec.function_rules.push_back(text());
        m_names.clear();
        m_types.clear();
        return spec;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    std::string name() {
        std::string chosen = m_names[pick(0, static_cast<int>(m_names.size()) - 1)];
        if (pick(0, 3) == 0) chosen[0] = static_cast<char>(chosen[0] - 'A' + 'a');
        return chosen;
    }

    std::string macro_call(int depth) {
        std::vector<std::string> macros;
        for (std::size_t i = 0; i < m_names.size(); ++i)
            if (m_types[i] == MACRO) macros.push_back(m_names[i]);
        if (macros.empty()) return name();
        const std::string callee = macros[pick(0, static_cast<int>(macros.size()) - 1)];
        static const char* const arguments[] = {"x", "y", "1", "q"};
        std::string first = pick(0, 2) ? arguments[pick(0, 3)] : name();
        if (depth < 1 && pick(0, 4) == 0) first = macro_call(depth + 1);
        return callee + "(" + first + (pick(0, 1) ? ", " + std::string(arguments[pick(0, 3)]) : "") + ")";
    }

    std::string term() {
        switch (pick(0, 5)) {
            case 0: return std::to_string(pick(0, 9));
            case 1: return pick(0, 1) ? "x" : "AND";
            case 2:
            case 3: return macro_call(0);
            default: return name();
        }
    }

    std::string text() {
        static const char* const operators[] = {" + ", " gt ", " == ", " && ", "*", " - "};
        const int terms = pick(0, 3);
        std::string result;
        for (int t = 0; t < terms; ++t) result += (t ? operators[pick(0, 5)] : "") + term();
        return result;
    }

    std::mt19937 m_random;
    std::vector<std::string> m_names;
    std::vector<int> m_types;
};

// The walk entered through each member function on its own, with a map
// the caller filled, on the "ring through a macro instance" model before
// any ordering.
struct DIRECT_CALL {
    const char* entry;  // "object", "text" or "calls"
    const char* argument;
    const char* owner;
    std::vector<std::string> preset;  // names already in the map
};

// Calls one entry on the walked model (through the members) or on the
// recursive reading, and renders its answer and the map it leaves.
std::string direct_call(ORDER_PROBE& v, RECURSIVE_ORDER* reference, const DIRECT_CALL& call, KOVA_NAME_MAP& map) {
    const std::string entry = call.entry;
    int answer;
    if (entry == "object") {
        KOVA_OBJ_INFO* object = v.get_kova_obj(call.argument);
        answer = reference ? reference->element(object, map) : v.get_element_position(object, map);
    } else if (entry == "text") {
        answer = reference ? reference->text(call.argument, map, call.owner)
                           : v.process_string_for_position_count(call.argument, map, call.owner);
    } else {
        answer = reference ? reference->calls(call.argument, map) : v.create_fn_macros(call.argument, map);
    }
    return entry + " " + call.argument + " -> " + std::to_string(answer) + " map " + render_map(map) + "\n";
}

}  // namespace

TEST(DependencyWalk, NamedModelsOrderAsTheRecursiveReading) {
    for (const MODEL_SPEC& spec : named_models()) expect_same_ordering(spec);
}

TEST(DependencyWalk, GeneratedModelsOrderAsTheRecursiveReading) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        MODEL_GENERATOR generator(seed);
        expect_same_ordering(generator.next("seed " + std::to_string(seed)));
    }
}

// Each sequence shares one map between its calls, as initialize_fn_rules
// does; objects ordered by an earlier call keep their levels.
TEST(DependencyWalk, EachEntryLeavesTheMapAsTheRecursiveReading) {
    const std::vector<std::vector<DIRECT_CALL>> sequences = {
        {{"object", "Q", "", {}}, {"object", "Q", "", {}}, {"object", "R", "", {}}},
        {{"object", "R", "", {"Q"}}},
        {{"text", "R + m(R) + Q", "Q", {}}, {"text", "m(Q)", "", {}}},
        {{"text", "R + m(R)", "X", {"q", "other"}}},
        {{"calls", "m(R) + m(r) + m(Q, 1)", "", {}}, {"calls", "m(R) + m(W)", "", {}}},
        {{"calls", "m(R)", "", {"m(r)"}}},
    };
    const MODEL_SPEC& model = named_models()[7];
    ASSERT_EQ(model.title, "ring through a macro instance");
    for (std::size_t s = 0; s < sequences.size(); ++s) {
        SCOPED_TRACE("sequence " + std::to_string(s));
        ORDER_PROBE walked, recursive;
        build(walked, model);
        build(recursive, model);
        RECURSIVE_ORDER reference(recursive);
        KOVA_NAME_MAP walked_map, recursive_map;
        for (const std::string& name : sequences[s].front().preset) {
            walked_map.insert(name, name);
            recursive_map.insert(name, name);
        }
        std::string walked_calls, recursive_calls;
        for (const DIRECT_CALL& call : sequences[s]) {
            walked_calls += direct_call(walked, nullptr, call, walked_map);
            recursive_calls += direct_call(recursive, &reference, call, recursive_map);
        }
        EXPECT_EQ(walked_calls + outcome(walked), recursive_calls + outcome(recursive));
    }
}

namespace {

constexpr int DEEP = 100000;

std::string numbered(const char* prefix, int i) { return prefix + std::to_string(i); }

}  // namespace

// h_i = h_(i-1) + 1 with the deepest object first in the model, ordered by
// the run's first pass (the objects come after initialisation), so the
// walk meets the whole chain from its first object: h_i lies at level i,
// and the run gives h_i the value i + 1.
TEST(DependencyWalk, HundredThousandDeepChainThroughTheRunsFirstPass) {
    ORDER_PROBE v;
    v.initialize_validator();
    for (int i = DEEP - 1; i >= 0; --i) v.add_object(numbered("h", i), HIDDEN, i ? numbered("h", i - 1) + " + 1" : "1");
    EXPECT_TRUE(v.run_validator());
    EXPECT_TRUE(v.get_error_messages().empty());
    int misplaced = 0;
    for (int i = 0; i < DEEP; ++i) misplaced += v.get_kova_obj(numbered("h", i))->evaluation_position != i;
    EXPECT_EQ(misplaced, 0);
    EXPECT_EQ(v.get_hidden_parameter_value(numbered("h", DEEP - 1)), std::to_string(DEEP));
}

// r_i = r_(i+1), and the last names r0 again. The walk from r0 meets r0 on
// its path in the last object's text: one message, filed for that text,
// and levels that fall from DEEP - 1 at r0 to 0 at the last object.
TEST(DependencyWalk, HundredThousandObjectRingGivesOneMessage) {
    ORDER_PROBE v;
    for (int i = 0; i < DEEP; ++i) {
        KOVA_OBJ_INFO* object = v.add_object(numbered("r", i), HIDDEN, numbered("r", (i + 1) % DEEP));
        object->source_id = static_cast<uint32_t>(i + 1);
    }
    v.initialize_validator();
    int misplaced = 0;
    for (int i = 0; i < DEEP; ++i) misplaced += v.get_kova_obj(numbered("r", i))->evaluation_position != DEEP - 1 - i;
    EXPECT_EQ(misplaced, 0);
    const std::string last = numbered("r", DEEP - 1);
    ASSERT_EQ(v.get_error_messages(),
              std::vector<std::string>{"Cyclical dependency in string r0 because of object r0 while creating "
                                       "dependency list for " + last});
    const KOVA_DIAGNOSTIC& record = v.get_diagnostics().at(0);
    EXPECT_EQ(record.object, last);
    EXPECT_EQ(record.rule_index, -1);
    EXPECT_EQ(record.source_id, static_cast<uint32_t>(DEEP));
    EXPECT_EQ(record.field, KOVA_FIELD_VALUE);
    EXPECT_EQ(record.kind, KOVA_DIAG_CYCLE);
}

namespace {

// m_i(x) = m_(i+1)(x) + 1 down to m_(n-1)(x) = x + Z, and P's rule calls
// m0(W). The macro objects lie at levels n - i (Z is at 0); the call makes
// the instances m_i(w) one inside the other, the innermost first, each at
// position n - i too, and P lies at n + 1.
void build_macro_chain(ORDER_PROBE& v, int n) {
    v.add_object("W", INTEGER, "0-100", "3");
    v.add_object("Z", INTEGER, "0-100", "4");
    for (int i = 0; i < n; ++i) {
        KOVA_OBJ_INFO* macro = v.add_object(numbered("m", i), MACRO, i + 1 < n ? numbered("m", i + 1) + "(x) + 1" : "x + Z");
        macro->set_arguments("x");
    }
    KOVA_OBJ_INFO* p = v.add_object("P", INTEGER, "0-1", "1");
    const KOVA_RULE_ELEMENT rule("", "m0(W) gt 0", "", KOVA_RULE_CONDITION);
    p->add_rule(&rule);
}

// The number of macros, instances and places in the instance list that
// differ from the levels above, and the first of them.
std::string macro_chain_misplacements(ORDER_PROBE& v, int n) {
    int count = 0;
    std::string first;
    auto wrong = [&](const std::string& what) {
        if (count++ == 0) first = what;
    };
    const auto& listed = v.m_fn_macro_list.entries();
    if (listed.size() != static_cast<std::size_t>(n)) wrong("instance count " + std::to_string(listed.size()));
    for (int i = 0; i < n; ++i) {
        const std::string instance = numbered("m", i) + "(w)";
        if (v.get_kova_obj(numbered("m", i))->evaluation_position != n - i) wrong(numbered("m", i));
        const KOVA_OBJ* entry = v.m_fn_macro_list.find_entry(instance);
        if (!entry || static_cast<const KOVA_FN_MACRO*>(entry)->get_dependency_position() != n - i) wrong(instance);
        if (listed.size() == static_cast<std::size_t>(n) && listed[n - 1 - i].first != instance)
            wrong("list place of " + instance);
    }
    if (v.get_kova_obj("P")->evaluation_position != n + 1) wrong("P");
    return count ? std::to_string(count) + " wrong, first " + first : "";
}

}  // namespace

// The hand-worked levels hold for the recursive reading on a short chain,
// and for the walk on a chain of 100,000 macros; the run then evaluates
// every instance after the one inside it, the dependency query follows
// the bodies to Z, and a refresh of m0 evaluates its body once.
TEST(DependencyWalk, HundredThousandNestedMacroCalls) {
    ORDER_PROBE small;
    build_macro_chain(small, 40);
    RECURSIVE_ORDER(small).order_objects();
    EXPECT_EQ(macro_chain_misplacements(small, 40), "");

    ORDER_PROBE v;
    build_macro_chain(v, DEEP);
    v.initialize_validator();
    EXPECT_EQ(macro_chain_misplacements(v, DEEP), "");
    EXPECT_TRUE(v.get_error_messages().empty());

    v.set_all_ports_and_parameters_to_default_state();
    v.run_validator();
    const auto* outer = static_cast<const KOVA_FN_MACRO*>(v.m_fn_macro_list.find_entry("m0(w)"));
    EXPECT_EQ(outer->get_evaluated_value(), std::to_string(3 + 4 + DEEP - 1));
    EXPECT_EQ(render_map(v.get_ports_and_parameters_used_in_expression("m0(W) + P")), "{Z;W;P;}");
    EXPECT_EQ(v.evaluate_expression("m0", PARSER_MODE_REFRESH_MACROS), v.get_kova_obj("m0")->get_current_value());
}

// kova show and kova validate on a description whose hidden parameters
// form a chain 20,000 deep, the deepest written first: d_i = W + 1 + i, so
// of the two check rules on its end only Q's fails.
TEST(DependencyWalk, ToolReadsAndValidatesADescriptionTwentyThousandDeep) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(temp_folder()) / "deep_chain";
    fs::create_directories(folder);
    const fs::path file = folder / "chain.xml";
    {
        std::ofstream out(file);
        out << "<model function='deep'>\n  <object name='W' kind='integer' value='0-9' default='2'/>\n";
        for (int i = 19999; i >= 0; --i)
            out << "  <object name='d" << i << "' kind='hidden' value='" << (i ? "d" + std::to_string(i - 1) : "W")
                << " + 1'/>\n";
        out << "  <object name='P' kind='integer' value='0-1' default='1'><rule condition='d19999 == 20002'/></object>\n"
               "  <object name='Q' kind='integer' value='0-1' default='1'><rule condition='d19999 == 20003'/></object>\n"
               "</model>\n";
    }
    const TOOL_RUN shown = run_kova("show " + file.string());
    const TOOL_RUN validated = run_kova("validate " + file.string());
    fs::remove_all(folder);
    EXPECT_EQ(shown.status, 0) << shown.out.substr(0, 2000);
    EXPECT_NE(shown.out.find(": 0 ports, 3 parameters\n"), std::string::npos) << shown.out.substr(0, 2000);
    EXPECT_EQ(validated.status, 1) << validated.out.substr(0, 2000);
    EXPECT_NE(validated.out.find("error: Ports and parameters  should satisfy the condition d19999 == 20003\n"),
              std::string::npos)
        << validated.out.substr(0, 2000);
    EXPECT_EQ(validated.out.find("20002"), std::string::npos) << validated.out.substr(0, 2000);
}
