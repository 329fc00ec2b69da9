// Dependency levels of objects and macro instances, and cycle reports. The
// oracle is a copy of the recursive member logic (RECURSIVE_ORDER): on named
// models (some also worked out by hand) and generated ones the walk must
// leave the same levels, instances, maps, messages and records. Chains and
// rings of 100,000 objects, too deep for it, are checked against results
// worked out by hand, and the tool validates a description 20,000 deep.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
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
// except that an instance's origin names a copy of the instance's name
// that lives as long as the origin.
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

    // Each rule's alternate value, condition and value, then the value of
    // a macro or hidden parameter, each counted with the path as it was.
    int element(KOVA_OBJ_INFO* object, KOVA_NAME_MAP& in_progress) {
        if (object->evaluation_position != -1) return object->evaluation_position;
        in_progress.insert(object->get_name(), object->get_name());
        const std::size_t path_length = in_progress.size();
        const std::string* name = &object->get_name();
        int level = -1;
        auto count = [&](const std::string& counted, const KOVA_MESSAGE_ORIGIN& origin) {
            if (counted.empty()) return void(level = std::max(level, 0));
            const KOVA_MODEL_ORIGIN_SCOPE scope(v, origin);
            level = std::max(level, text(counted, in_progress, object->get_name()));
            in_progress.truncate(path_length);
        };
        int index = 0;
        for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) {
            count(rule->get_alt_value(), kova_rule_origin(name, index, *rule, KOVA_FIELD_ALT_VALUE));
            count(rule->get_condition(), kova_rule_origin(name, index, *rule, KOVA_FIELD_CONDITION));
            count(rule->get_value(), kova_rule_origin(name, index++, *rule, KOVA_FIELD_VALUE));
        }
        if (object->obj_type == KOVA_OBJ_FN_MACRO || object->obj_type == KOVA_OBJ_HIDDEN_PARAMETER)
            count(object->get_value(), kova_object_origin(*name, *object, KOVA_FIELD_VALUE));
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
                object->evaluation_position = element(object, in_progress);
                raise_above(level, object->evaluation_position);
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
                arguments += (arguments.empty() ? "" : ",") + argument;
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

// A model written as data, so that two validators can be given the same;
// hand, when given, is the short outcome (below) worked out by hand.
struct RULE_SPEC {
    std::string condition, value = "", alt = "";
};
struct OBJECT_SPEC {
    std::string name;
    int type;
    std::vector<RULE_SPEC> rules = {};
    std::string value = "", arguments = "";
};
struct MODEL_SPEC {
    std::string title;
    std::vector<OBJECT_SPEC> objects;
    std::vector<std::string> function_rules = {};  // conditions of fn_set rules
    std::string hand = "";
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

const KOVA_FN_MACRO* instance_of(const KOVA_OBJ* entry) { return static_cast<const KOVA_FN_MACRO*>(entry); }

// The levels, the instances and the messages in short:
// "X:0 Y:1 twice(d)=D * 2:2 | message ".
std::string short_outcome(const ORDER_PROBE& v) {
    std::string text;
    for (const KOVA_OBJ_INFO* object : v.get_kova_obj_snapshot())
        text += object->get_name() + ":" + std::to_string(object->evaluation_position) + " ";
    for (const auto& entry : v.m_fn_macro_list.entries())
        text += entry.first + "=" + instance_of(entry.second)->get_value() + ":" +
                std::to_string(instance_of(entry.second)->get_dependency_position()) + " ";
    for (const std::string& message : v.get_error_messages()) text += "| " + message + " ";
    return text;
}

// Everything the ordering leaves behind: the short outcome, then the
// instances' sources and the records, one line each.
std::string outcome(const ORDER_PROBE& v) {
    std::string text = short_outcome(v) + "\n";
    for (const auto& entry : v.m_fn_macro_list.entries())
        text += "source of " + entry.first + " " + std::to_string(entry.second->source_id) + "\n";
    for (const KOVA_DIAGNOSTIC& record : v.get_diagnostics())
        text += record_text(record) + " | source " + std::to_string(record.source_id) + " message " +
                std::to_string(record.message_index) + "\n";
    return text;
}

// Orders the model with the walk (the member functions, as
// initialize_validator calls them) and with the recursive reading, and
// compares all that each leaves behind, and with the hand-worked outcome.
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
    if (!spec.hand.empty()) {
        EXPECT_EQ(short_outcome(walked), spec.hand);
    }
}

const std::vector<MODEL_SPEC>& named_models() {
    static const std::vector<MODEL_SPEC> models = {
        {"rule chain", {{"Z", INTEGER, {{"Y gt 1"}}}, {"Y", INTEGER, {{"X == 2", "X", "3"}}}, {"X", INTEGER}}},
        {"hidden values, deepest first", {{"h3", HIDDEN, {}, "h2 + 1"}, {"h2", HIDDEN, {}, "h1+1"},
                                          {"h1", HIDDEN, {}, "h0 * 2"}, {"h0", HIDDEN, {}, "4"}}},
        {"macro calls with nested calls",
         {{"H", HIDDEN, {}, "quad(P) + twice(H) + twice(twice(W))"}, {"P", INTEGER, {{"quad(D) gt 4"}}},
          {"quad", MACRO, {}, "twice(y) + twice(W) + y", "y"}, {"twice", MACRO, {}, "x * 2", "x"},
          {"D", INTEGER, {{"W gt 0"}}}, {"W", INTEGER}}},
        {"two objects in a ring", {{"A", INTEGER, {{"B == 1"}}}, {"B", INTEGER, {{"A == 1"}}}}},
        {"ring entered from a tail", {{"T", INTEGER, {{"A gt 0"}}}, {"A", HIDDEN, {}, "B"}, {"B", HIDDEN, {}, "C"},
                                      {"C", HIDDEN, {}, "A + T"}}},
        {"figure eight", {{"A", HIDDEN, {}, "B + C"}, {"B", HIDDEN, {}, "A"}, {"C", HIDDEN, {}, "a * B"}}},
        {"self references", {{"S", INTEGER, {{"S gt 0", "s"}}}, {"H", HIDDEN, {}, "H + 1"},
                             {"f", MACRO, {}, "f(x + 1)", "x"}, {"P", INTEGER, {{"f(a) gt 1"}}}}},
        {"ring through a macro instance",
         {{"m", MACRO, {}, "x + Q", "x"}, {"Q", INTEGER, {{"m(R) gt 1"}}}, {"R", HIDDEN, {}, "Q"}}},
        {"macros called from function rules only",
         {{"W", INTEGER}, {"f", MACRO, {}, "x + W", "x"}, {"g", MACRO, {}, "f(y) + 1", "y"}},
         {"f(W) == 1", "g(f(W)) gt 2 AND g(3) gt 1", "", "f(W) == 2"}},
        {"repeated, cased, quoted and unknown names",
         {{"X", INTEGER}, {"P", INTEGER, {{"x + X + X(1) + str(X) + nothing"}, {""}}},
          {"K", INTEGER, {{"P AND gt lt || X"}}}}},
        {"alternate values and several rules",
         {{"A", INTEGER, {{"B gt 1", "C", "D"}, {"", "", "E"}, {""}}}, {"B", INTEGER}, {"C", HIDDEN, {}, "E + 1"},
          {"D", HIDDEN, {}, "A"}, {"E", INTEGER, {{"", "", "B"}}}}},
        {"macro objects with rules", {{"mac", MACRO, {{"N gt 1", "M"}}, "x + N", "x"}, {"N", INTEGER},
                                      {"M", HIDDEN, {}, "mac(N) + mac(M)"}}},
        // Worked out by hand as well. A hidden value counts without rules,
        // whatever the walk order.
        {"chain under a hidden value", {{"Z", INTEGER, {{"Y gt 1"}}}, {"Y", INTEGER, {{"X == 2"}}}, {"X", INTEGER},
                                        {"H", HIDDEN, {}, "Z + 1"}}, {}, "Z:2 Y:1 X:0 H:3 "},
        // A cycle is reported once it meets the path; self reference is silent.
        {"ring and self reference", {{"A", INTEGER, {{"B == 1"}}}, {"B", INTEGER, {{"A == 1"}}},
                                     {"S", INTEGER, {{"S gt 0"}}}}, {},
         "A:1 B:0 S:0 | Cyclical dependency in string A == 1 because of object A while creating dependency list "
         "for B "},
        // Keywords, quoted names and glued brackets do not count.
        {"names that do not count", {{"X", INTEGER}, {"Q", INTEGER, {{"str(X) == 1 AND gt"}}},
                                     {"G", INTEGER, {{"X>1"}}}, {"B", INTEGER, {{"X > 1"}}}}, {}, "X:0 Q:0 G:0 B:1 "},
        {"macro instance raises its caller", {{"W", INTEGER}, {"D", INTEGER, {{"W gt 0"}}},
                                              {"twice", MACRO, {}, "x * 2", "x"}, {"P", INTEGER, {{"twice(D) gt 4"}}}},
         {}, "W:0 D:1 twice:0 P:3 twice(d)=D * 2:2 "},
        // A macro that calls itself ends: its own call gives back its body,
        // f(a)'s body calls f with the arguments a, "", "" and 1.
        {"a macro that calls itself", {{"f", MACRO, {}, "f(x + 1)", "x"}, {"P", INTEGER, {{"f(a) gt 1"}}}}, {},
         "f:0 P:3 f(a,,,1)=f(a + 1):1 f(a)=f(a + 1):2 "},
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
        MODEL_SPEC spec{title, {}};
        const int count = pick(3, 7);
        for (int i = 0; i < count; ++i) {
            const int kind = pick(0, 2);
            m_names.push_back(std::string(1, static_cast<char>('A' + i)));
            m_types.push_back(kind == 0 ? INTEGER : kind == 1 ? HIDDEN : MACRO);
        }
        for (int i = 0; i < count; ++i) {
            OBJECT_SPEC object{m_names[i], m_types[i], {}, "", m_types[i] == MACRO ? "x, y" : ""};
            if (object.type != INTEGER) object.value = text();
            for (int r = pick(0, 2); r > 0; --r) object.rules.push_back({text(), pick(0, 1) ? text() : "", text()});
            spec.objects.push_back(object);
        }
        for (int r = pick(0, 2); r > 0; --r) spec.function_rules.push_back(text());
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
        const int kind = pick(0, 5);
        if (kind == 0) return std::to_string(pick(0, 9));
        if (kind == 1) return pick(0, 1) ? "x" : "AND";
        return kind <= 3 ? macro_call(0) : name();
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

// A call of one member function on its own: "object", "text" or "calls".
struct DIRECT_CALL {
    std::string entry;
    const char *argument, *owner;
    std::vector<std::string> preset;  // names already in the map
};

// Runs a sequence of calls on the "ring through a macro instance" model
// before any ordering, through the walk's members or the recursive
// reading, with one map for them all as initialize_fn_rules has; renders
// each answer and the map it leaves, then the outcome.
std::string call_sequence(const std::vector<DIRECT_CALL>& sequence, bool recursive) {
    ORDER_PROBE v;
    build(v, named_models()[7]);
    RECURSIVE_ORDER reference(v);
    KOVA_NAME_MAP map;
    for (const std::string& name : sequence.front().preset) map.insert(name, name);
    std::string text;
    for (const DIRECT_CALL& call : sequence) {
        int answer;
        if (call.entry == "object") {
            KOVA_OBJ_INFO* object = v.get_kova_obj(call.argument);
            answer = recursive ? reference.element(object, map) : v.get_element_position(object, map);
        } else if (call.entry == "text") {
            answer = recursive ? reference.text(call.argument, map, call.owner)
                               : v.process_string_for_position_count(call.argument, map, call.owner);
        } else {
            answer = recursive ? reference.calls(call.argument, map) : v.create_fn_macros(call.argument, map);
        }
        text += call.entry + " " + call.argument + " -> " + std::to_string(answer) + " map " + render_map(map) + "\n";
    }
    return text + outcome(v);
}

constexpr int DEEP = 100000;

std::string numbered(const char* prefix, int i) { return prefix + std::to_string(i); }
std::string level(const std::string& name, int position) { return name + ":" + std::to_string(position) + " "; }

// Compares outcomes too long to print, and shows where they first differ.
void expect_same_text(const std::string& got, const std::string& expected) {
    const std::size_t at = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end()).first - got.begin();
    EXPECT_TRUE(got == expected) << "at " << at << ": " << got.substr(at, 80) << " for " << expected.substr(at, 80);
}

// m_i(x) = m_(i+1)(x) + 1 down to m_(n-1)(x) = x + Z, and P's rule calls
// m0(W). The macro objects lie at levels n - i (W and Z at 0); the call
// makes the instances m_i(w) one inside the other, the innermost first,
// each at position n - i too, and P lies at n + 1. Gives that short outcome.
std::string build_macro_chain(ORDER_PROBE& v, int n) {
    v.add_object("W", INTEGER, "0-100", "3");
    v.add_object("Z", INTEGER, "0-100", "4");
    std::string expected = "W:0 Z:0 ";
    for (int i = 0; i < n; ++i) {
        v.add_macro(numbered("m", i), i + 1 < n ? numbered("m", i + 1) + "(x) + 1" : "x + Z", "x");
        expected += level(numbered("m", i), n - i);
    }
    v.add_object("P", INTEGER, "0-1", "1");
    v.add_rule("P", INTEGER, "m0(W) gt 0");
    expected += level("P", n + 1);
    for (int i = n - 1; i >= 0; --i)
        expected += level(numbered("m", i) + "(w)=" + (i + 1 < n ? numbered("m", i + 1) + "(W) + 1" : "W + Z"), n - i);
    return expected;
}

}  // namespace

TEST(DependencyWalk, NamedModelsOrderAsTheRecursiveReading) {
    for (const MODEL_SPEC& spec : named_models()) expect_same_ordering(spec);
}

TEST(DependencyWalk, GeneratedModelsOrderAsTheRecursiveReading) {
    for (unsigned seed = 1; seed <= 300; ++seed)
        expect_same_ordering(MODEL_GENERATOR(seed).next("seed " + std::to_string(seed)));
}

// Objects ordered by an earlier call keep their levels.
TEST(DependencyWalk, EachEntryLeavesTheMapAsTheRecursiveReading) {
    const std::vector<std::vector<DIRECT_CALL>> sequences = {
        {{"object", "Q", "", {}}, {"object", "Q", "", {}}, {"object", "R", "", {}}},
        {{"object", "R", "", {"Q"}}},
        {{"text", "R + m(R) + Q", "Q", {}}, {"text", "m(Q)", "", {}}},
        {{"text", "R + m(R)", "X", {"q", "other"}}},
        {{"calls", "m(R) + m(r) + m(Q, 1)", "", {}}, {"calls", "m(R) + m(W)", "", {}}},
        {{"calls", "m(R)", "", {"m(r)"}}},
    };
    ASSERT_EQ(named_models()[7].title, "ring through a macro instance");
    for (const std::vector<DIRECT_CALL>& sequence : sequences)
        EXPECT_EQ(call_sequence(sequence, false), call_sequence(sequence, true)) << sequence.front().argument;
}

// A formal list is answered by the macro itself, N is no macro and the
// third call does not close; blanks separate arguments too, and the same
// call lower-cased makes no new instance.
TEST(DependencyWalk, MacroCallsThatCannotMakeAnInstance) {
    ORDER_PROBE v;
    build(v, {"", {{"f", MACRO, {}, "a + b", "a, b"}, {"N", INTEGER}, {"P", INTEGER, {{"f(a, b) + N(1) + f(1,"}}}}});
    KOVA_NAME_MAP in_progress;
    std::string answers;
    for (const char* call : {"f(a,b)", "N(1)", "f(1, 2", "F(1 2)", "f(1,2)"})
        answers += std::to_string(v.create_fn_macros(call, in_progress)) + " ";
    EXPECT_EQ(answers, "-1 -1 -1 0 -1 ");
    EXPECT_EQ(v.m_fn_macro_list.size(), 1u);
    EXPECT_NE(v.m_fn_macro_list.find_entry("f(1,2)"), nullptr);
}

// h_i = h_(i-1) + 1 with the deepest object first in the model, ordered by
// the run's first pass (the objects come after initialisation), so the
// walk meets the whole chain from its first object: h_i lies at level i,
// and the run gives h_i the value i + 1.
TEST(DependencyWalk, HundredThousandDeepChainThroughTheRunsFirstPass) {
    ORDER_PROBE v;
    v.initialize_validator();
    std::string expected;
    for (int i = DEEP - 1; i >= 0; --i) {
        v.add_object(numbered("h", i), HIDDEN, i ? numbered("h", i - 1) + " + 1" : "1");
        expected += level(numbered("h", i), i);
    }
    EXPECT_TRUE(v.run_validator());
    expect_same_text(short_outcome(v), expected);
    EXPECT_EQ(v.get_hidden_parameter_value(numbered("h", DEEP - 1)), std::to_string(DEEP));
}

// r_i = r_(i+1), and the last names r0 again. The walk from r0 meets r0 on
// its path in the last object's text: one message, filed for that text,
// and levels that fall from DEEP - 1 at r0 to 0 at the last object.
TEST(DependencyWalk, HundredThousandObjectRingGivesOneMessage) {
    ORDER_PROBE v;
    std::string expected;
    for (int i = 0; i < DEEP; ++i) {
        v.add_object(numbered("r", i), HIDDEN, numbered("r", (i + 1) % DEEP))->source_id = static_cast<uint32_t>(i + 1);
        expected += level(numbered("r", i), DEEP - 1 - i);
    }
    v.initialize_validator();
    const std::string last = numbered("r", DEEP - 1);
    const std::string message = "Cyclical dependency in string r0 because of object r0 while creating dependency "
                                "list for " + last;
    expect_same_text(short_outcome(v), expected + "| " + message + " ");
    ASSERT_EQ(v.get_diagnostics().size(), 1u);
    EXPECT_EQ(record_text(v.get_diagnostics()[0]), last + "#-1 value warning cycle: " + message);
    EXPECT_EQ(v.get_diagnostics()[0].source_id, static_cast<uint32_t>(DEEP));
}

// The hand-worked outcome holds for the recursive reading on a short
// chain, and for the walk on a chain of 100,000 macros; the run then
// evaluates every instance after the one inside it, the dependency query
// follows the bodies to Z, and a refresh of m0 evaluates its body once.
TEST(DependencyWalk, HundredThousandNestedMacroCalls) {
    ORDER_PROBE small;
    const std::string small_expected = build_macro_chain(small, 40);
    RECURSIVE_ORDER(small).order_objects();
    expect_same_text(short_outcome(small), small_expected);

    ORDER_PROBE v;
    const std::string expected = build_macro_chain(v, DEEP);
    v.initialize_validator();
    expect_same_text(short_outcome(v), expected);
    v.set_all_ports_and_parameters_to_default_state();
    v.run_validator();
    const KOVA_FN_MACRO* outer = instance_of(v.m_fn_macro_list.find_entry("m0(w)"));
    EXPECT_EQ(outer->get_evaluated_value(), std::to_string(3 + 4 + DEEP - 1));
    EXPECT_EQ(render_map(v.get_ports_and_parameters_used_in_expression("m0(W) + P")), "{Z;W;P;}");
    EXPECT_EQ(v.evaluate_expression("m0", PARSER_MODE_REFRESH_MACROS), v.get_kova_obj("m0")->get_current_value());
}

// kova show and kova validate on a description whose hidden parameters
// form a chain 20,000 deep, the deepest written first: d_i = W + 1 + i, so
// of the two check rules on its end only Q's fails.
TEST(DependencyWalk, ToolReadsAndValidatesADescriptionTwentyThousandDeep) {
    std::string model = "<model function='deep'>\n  <object name='W' kind='integer' value='0-9' default='2'/>\n";
    for (int i = 19999; i >= 0; --i)
        model += "  <object name='d" + std::to_string(i) + "' kind='hidden' value='" +
                 (i ? "d" + std::to_string(i - 1) : "W") + " + 1'/>\n";
    model += "  <object name='P' kind='integer' value='0-1' default='1'><rule condition='d19999 == 20002'/></object>\n"
             "  <object name='Q' kind='integer' value='0-1' default='1'><rule condition='d19999 == 20003'/></object>\n"
             "</model>\n";
    const std::string file = write_temp_file("deep_chain.xml", model);
    const TOOL_RUN shown = run_kova("show " + file), validated = run_kova("validate " + file);
    std::filesystem::remove(file);
    EXPECT_EQ(shown.status, 0) << shown.out.substr(0, 2000);
    EXPECT_NE(shown.out.find(": 0 ports, 3 parameters\n"), std::string::npos) << shown.out.substr(0, 2000);
    EXPECT_EQ(validated.status, 1) << validated.out.substr(0, 2000);
    EXPECT_NE(validated.out.find("error: Ports and parameters  should satisfy the condition d19999 == 20003\n"),
              std::string::npos) << validated.out.substr(0, 2000);
    EXPECT_EQ(validated.out.find("20002"), std::string::npos) << validated.out.substr(0, 2000);
}
