// Dependency levels of objects and macro instances, and cycle reports,
// against outcomes worked out by hand: named models, direct calls of the
// three entries with the in-progress map each leaves, and chains, rings
// and nested calls 100,000 deep, too deep for recursion.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "support/test_support.h"

namespace {

class ORDER_PROBE : public VALIDATOR_PROBE {
public:
    using KOVA_RULES_VALIDATOR::create_dependency_list;
    using KOVA_RULES_VALIDATOR::get_element_position;
    using KOVA_RULES_VALIDATOR::process_string_for_position_count;
};

// A model written as data. Every object and rule gets a source record of
// its own (numbered from 1 in the order written), so the records tell the
// texts apart.
struct RULE_SPEC { std::string condition, value = "", alt = ""; };
struct OBJECT_SPEC {
    std::string name;
    int type;
    std::vector<RULE_SPEC> rules = {};
    std::string value = "", arguments = "";
};
struct MODEL_SPEC {  // with the conditions of its fn_set rules and the outcome (below)
    std::string title;
    std::vector<OBJECT_SPEC> objects;
    std::vector<std::string> function_rules = {};
    std::string expected = "";
};

constexpr int INTEGER = KOVA_OBJ_INTEGER_PARAMETER;
constexpr int HIDDEN = KOVA_OBJ_HIDDEN_PARAMETER;
constexpr int MACRO = KOVA_OBJ_FN_MACRO;

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

// What the ordering leaves: the levels, "X:0 Y:1 "; each instance with its
// body, position and source record, "twice(d)=D * 2:2@5 "; each message,
// a cycle in short as "| cycle <text> / <object> / <owner> "; each record
// (with the text of its message) as "[object#rule field @source] ",
// " warning cycle" after the field left out.
std::string outcome(const ORDER_PROBE& v) {
    static const std::regex cycle("Cyclical dependency in string (.*) because of object (.*) while creating "
                                  "dependency list for (.*)");
    std::string text;
    for (const KOVA_OBJ_INFO* object : v.get_kova_obj_snapshot())
        text += object->get_name() + ":" + std::to_string(object->evaluation_position) + " ";
    for (const auto& entry : v.m_fn_macro_list.entries())
        text += entry.first + "=" + instance_of(entry.second)->get_value() + ":" +
                std::to_string(instance_of(entry.second)->get_dependency_position()) + "@" +
                std::to_string(entry.second->source_id) + " ";
    for (const std::string& message : v.get_error_messages())
        text += "| " + std::regex_replace(message, cycle, "cycle $1 / $2 / $3") + " ";
    for (const KOVA_DIAGNOSTIC& record : v.get_diagnostics()) {
        std::string line = record_text(record);
        line.resize(line.find(": "));
        if (line.size() > 14 && line.compare(line.size() - 14, 14, " warning cycle") == 0) line.resize(line.size() - 14);
        text += "[" + line + " @" + std::to_string(record.source_id) + "] ";
        EXPECT_EQ(v.get_error_messages().at(record.message_index), record.text);
    }
    return text;
}

// Orders the model as initialize_validator does (objects, then the
// function rules' calls) and compares what that leaves.
void expect_ordering(const MODEL_SPEC& spec) {
    SCOPED_TRACE(spec.title);
    ORDER_PROBE v;
    build(v, spec);
    v.create_dependency_list();
    v.initialize_fn_rules();
    EXPECT_EQ(outcome(v), spec.expected);
}

const MODEL_SPEC RING_THROUGH_AN_INSTANCE = {
    "ring through a macro instance",
    {{"m", MACRO, {}, "x + Q", "x"}, {"Q", INTEGER, {{"m(R) gt 1"}}}, {"R", HIDDEN, {}, "Q"}}, {},
    "m:3 Q:2 R:0 m(r)=R + Q:1@1 | cycle m(R) gt 1 / m / Q | cycle Q / Q / R | cycle R + Q / Q / m(r) "
    "[Q#0 condition @3] [R#-1 value @4] [m(r)#-1 value @1] "};

// A cycle is reported once it meets the path, for the text being scanned
// (its record names the rule or value and its source); self reference is
// silent. A hidden value and a macro body count without rules.
const MODEL_SPEC NAMED_MODELS[] = {
    {"chain under a hidden value", {{"Z", INTEGER, {{"Y gt 1"}}}, {"Y", INTEGER, {{"X == 2"}}}, {"X", INTEGER},
                                    {"H", HIDDEN, {}, "Z + 1"}}, {}, "Z:2 Y:1 X:0 H:3 "},
    // Numbers name nothing, unless an object's name starts with a digit.
    {"a name that starts with a digit", {{"H", HIDDEN, {}, "2W * 4 + 16"}, {"2W", INTEGER, {{"2W gt 1"}}}}, {},
     "H:1 2W:0 "},
    {"macro calls with nested calls",
     {{"H", HIDDEN, {}, "quad(P) + twice(H) + twice(twice(W))"}, {"P", INTEGER, {{"quad(D) gt 4"}}},
      {"quad", MACRO, {}, "twice(y) + twice(W) + y", "y"}, {"twice", MACRO, {}, "x * 2", "x"},
      {"D", INTEGER, {{"W gt 0"}}}, {"W", INTEGER}}, {},
     "H:7 P:4 quad:2 twice:0 D:1 W:0 twice(y)=y * 2:0@5 twice(w)=W * 2:1@5 twice(d)=D * 2:2@5 "
     "quad(d)=twice(D) + twice(W) + D:3@4 twice(p)=P * 2:5@5 quad(p)=twice(P) + twice(W) + P:6@4 "
     "twice(h)=H * 2:0@5 twice(twice,w)=twice * 2:1@5 | cycle H * 2 / H / twice(h) [twice(h)#-1 value @5] "},
    {"two objects in a ring, and self reference",
     {{"A", INTEGER, {{"B == 1"}}}, {"B", INTEGER, {{"A == 1"}}}, {"S", INTEGER, {{"S gt 0"}}}}, {},
     "A:1 B:0 S:0 | cycle A == 1 / A / B [B#0 condition @4] "},
    {"ring entered from a tail", {{"T", INTEGER, {{"A gt 0"}}}, {"A", HIDDEN, {}, "B"}, {"B", HIDDEN, {}, "C"},
                                  {"C", HIDDEN, {}, "A + T"}}, {},
     "T:3 A:2 B:1 C:0 | cycle A + T / A / C | cycle A + T / T / C [C#-1 value @5] [C#-1 value @5] "},
    {"figure eight", {{"A", HIDDEN, {}, "B + C"}, {"B", HIDDEN, {}, "A"}, {"C", HIDDEN, {}, "a * B"}}, {},
     "A:2 B:0 C:1 | cycle A / A / B | cycle a * B / a / C [B#-1 value @2] [C#-1 value @3] "},
    // A macro that calls itself ends: its own call gives back its body,
    // f(a)'s body calls f with the arguments a, "", "" and 1.
    {"self references", {{"S", INTEGER, {{"S gt 0", "s"}}}, {"H", HIDDEN, {}, "H + 1"},
                         {"f", MACRO, {}, "f(x + 1)", "x"}, {"P", INTEGER, {{"f(a) gt 1"}}}}, {},
     "S:0 H:0 f:0 P:3 f(a,,,1)=f(a + 1):1@4 f(a)=f(a + 1):2@4 "},
    RING_THROUGH_AN_INSTANCE,
    {"macros called from function rules only",
     {{"W", INTEGER}, {"f", MACRO, {}, "x + W", "x"}, {"g", MACRO, {}, "f(y) + 1", "y"}},
     {"f(W) == 1", "g(f(W)) gt 2 AND g(3) gt 1", "", "f(W) == 2"},
     "W:0 f:1 g:2 f(y)=y + W:1@2 f(w)=W + W:1@2 f(f)=f + W:2@2 g(f,w)=f(f) + 1:3@3 f(3)=3 + W:1@2 "
     "g(3)=f(3) + 1:2@3 "},
    // Keywords, quoted names, unknown names and glued brackets do not
    // count; names count once however often and in whatever case written.
    {"repeated, cased, quoted, glued and unknown names",
     {{"X", INTEGER}, {"P", INTEGER, {{"x + X + X(1) + str(X) + nothing"}, {""}}},
      {"K", INTEGER, {{"P AND gt lt || X"}}},
      {"Q", INTEGER, {{"str(X) == 1 AND gt"}}}, {"G", INTEGER, {{"X>1"}}}, {"B", INTEGER, {{"X > 1"}}}},
     {}, "X:0 P:1 K:2 Q:0 G:0 B:1 "},
    {"alternate values and several rules",
     {{"A", INTEGER, {{"B gt 1", "C", "D"}, {"", "", "E"}, {""}}}, {"B", INTEGER}, {"C", HIDDEN, {}, "E + 1"},
      {"D", HIDDEN, {}, "A"}, {"E", INTEGER, {{"", "", "B"}}}}, {},
     "A:3 B:0 C:2 D:0 E:1 | cycle A / A / D [D#-1 value @7] "},
    {"macro objects with rules", {{"mac", MACRO, {{"N gt 1", "M"}}, "x + N", "x"}, {"N", INTEGER},
                                  {"M", HIDDEN, {}, "mac(N) + mac(M)"}}, {},
     "mac:3 N:0 M:2 mac(n)=N + N:1@1 mac(m)=M + N:1@1 | cycle mac(N) + mac(M) / mac / M "
     "| cycle mac(N) + mac(M) / mac / M | cycle M + N / M / mac(m) [M#-1 value @4] [M#-1 value @4] "
     "[mac(m)#-1 value @1] "},
};

// A call of one entry on its own: "object", "text" or "calls".
struct DIRECT_CALL { std::string entry; const char *argument, *owner; };

// Runs a sequence of calls on the ring through a macro instance before
// any ordering, with one map for them all (holding preset first), as
// initialize_fn_rules has; renders each answer and the map it leaves, then
// the outcome.
std::string call_sequence(const std::vector<DIRECT_CALL>& sequence, const std::vector<std::string>& preset) {
    ORDER_PROBE v;
    build(v, RING_THROUGH_AN_INSTANCE);
    KOVA_NAME_MAP map;
    for (const std::string& name : preset) map.insert(name, name);
    std::string text;
    for (const DIRECT_CALL& call : sequence) {
        int answer;
        if (call.entry == "object")
            answer = v.get_element_position(v.get_kova_obj(call.argument), map);
        else if (call.entry == "text")
            answer = v.process_string_for_position_count(call.argument, map, call.owner);
        else
            answer = v.create_fn_macros(call.argument, map);
        text += call.entry + " " + call.argument + " -> " + std::to_string(answer) + " " + render_map(map) + "; ";
    }
    return text + outcome(v);
}

constexpr int DEEP = 100000;

std::string numbered(const char* prefix, int i) { return prefix + std::to_string(i); }
std::string level(const std::string& name, int position, const char* source = "") {
    return name + ":" + std::to_string(position) + source + " ";
}

// Compares outcomes too long to print, and shows where they first differ.
void expect_same_text(const std::string& got, const std::string& expected) {
    const std::size_t at = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end()).first - got.begin();
    EXPECT_TRUE(got == expected) << "at " << at << ": " << got.substr(at, 80) << " for " << expected.substr(at, 80);
}

}  // namespace

TEST(DependencyWalk, NamedModels) {
    for (const MODEL_SPEC& spec : NAMED_MODELS) expect_ordering(spec);
}

// Each entry leaves in the caller's map the names it added and did not
// take out again; objects ordered by an earlier call keep their levels;
// names already in the map count as on the path.
TEST(DependencyWalk, EachEntryLeavesTheMapAndLevels) {
    const struct { std::vector<DIRECT_CALL> calls; std::vector<std::string> preset; const char* expected; } cases[] = {
        {{{"object", "Q", ""}, {"object", "Q", ""}, {"object", "R", ""}}, {},
         "object Q -> 2 {Q;}; object Q -> 1 {Q;}; object R -> 0 {Q;}; m:0 Q:-1 R:0 m(r)=R + Q:1@1 "
         "| cycle x + Q / Q / m | cycle Q / Q / R | cycle R + Q / Q / m(r) [m#-1 value @1] [R#-1 value @4] "
         "[m(r)#-1 value @1] "},
        {{{"object", "R", ""}}, {"Q"},
         "object R -> 0 {Q;R;}; m:-1 Q:-1 R:-1 | cycle Q / Q / R [R#-1 value @4] "},
        {{{"text", "R + m(R) + Q", "Q"}, {"text", "m(Q)", ""}}, {},
         "text R + m(R) + Q -> 3 {R;}; text m(Q) -> 3 {R;m(q);}; m:0 Q:1 R:2 m(r)=R + Q:0@1 m(q)=Q + Q:2@1 "
         "| cycle x + Q / Q / m | cycle m(R) gt 1 / R / Q | cycle R + Q / R / m(r) | cycle R + Q / Q / m(r) "
         "[m#-1 value @1] [Q#0 condition @3] [m(r)#-1 value @1] [m(r)#-1 value @1] "},
        {{{"text", "R + m(R)", "X"}}, {"q", "other"},
         "text R + m(R) -> 2 {q;other;R;m;m(r);}; m:0 Q:-1 R:0 m(r)=R + Q:1@1 | cycle Q / Q / R "
         "| cycle x + Q / Q / m | cycle R + Q / Q / m(r) [R#-1 value @4] [m#-1 value @1] [m(r)#-1 value @1] "},
        {{{"calls", "m(R) + m(r) + m(Q, 1)", ""}, {"calls", "m(R) + m(W)", ""}}, {},
         "calls m(R) + m(r) + m(Q, 1) -> 3 {m(r);R;m(q,,1);}; calls m(R) + m(W) -> 2 {m(r);R;m(q,,1);m(w);}; "
         "m:0 Q:1 R:2 m(r)=R + Q:3@1 m(q,,1)=Q + Q:2@1 m(w)=W + Q:2@1 | cycle x + Q / Q / m "
         "| cycle m(R) gt 1 / R / Q [m#-1 value @1] [Q#0 condition @3] "},
        {{{"calls", "m(R)", ""}}, {"m(r)"}, "calls m(R) -> -1 {m(r);}; m:-1 Q:-1 R:-1 "},
        // A formal list is answered by the macro itself, Q is no macro and the
        // third call does not close; blanks separate arguments too, and the
        // same call lower-cased makes no new instance.
        {{{"calls", "m(x)", ""}, {"calls", "Q(1)", ""}, {"calls", "m(1, 2", ""}, {"calls", "M(1 2)", ""},
          {"calls", "m(1,2)", ""}}, {},
         "calls m(x) -> -1 {}; calls Q(1) -> -1 {}; calls m(1, 2 -> -1 {}; calls M(1 2) -> 3 {m(1,2);Q;}; "
         "calls m(1,2) -> -1 {m(1,2);Q;}; m:0 Q:2 R:0 m(r)=R + Q:1@1 m(1,2)=1 + Q:3@1 | cycle x + Q / Q / m "
         "| cycle Q / Q / R | cycle R + Q / Q / m(r) [m#-1 value @1] [R#-1 value @4] [m(r)#-1 value @1] "},
    };
    for (const auto& c : cases) EXPECT_EQ(call_sequence(c.calls, c.preset), c.expected) << c.calls.front().argument;
}

// Hidden chains of 100,000 objects. h_i = h_(i-1) + 1, deepest first and
// added after initialisation, is ordered by the run's first pass: h_i lies
// at level i and takes the value i + 1. r_i = r_(i+1) and the last names r0
// again: the walk from r0 meets r0 in the last object's text, one message
// filed for that text, and levels fall from DEEP - 1 at r0 to 0.
TEST(DependencyWalk, HundredThousandDeepChainAndRing) {
    ORDER_PROBE chain, ring;
    chain.initialize_validator();
    std::string chain_levels, ring_levels;
    for (int i = 0; i < DEEP; ++i) {
        const int j = DEEP - 1 - i;
        chain.add_object(numbered("h", j), HIDDEN, j ? numbered("h", j - 1) + " + 1" : "1");
        chain_levels += level(numbered("h", j), j);
        ring.add_object(numbered("r", i), HIDDEN, numbered("r", (i + 1) % DEEP))->source_id =
            static_cast<uint32_t>(i + 1);
        ring_levels += level(numbered("r", i), j);
    }
    EXPECT_TRUE(chain.run_validator());
    expect_same_text(outcome(chain), chain_levels);
    EXPECT_EQ(chain.get_hidden_parameter_value(numbered("h", DEEP - 1)), std::to_string(DEEP));
    ring.initialize_validator();
    const std::string last = numbered("r", DEEP - 1);
    expect_same_text(outcome(ring), ring_levels + "| cycle r0 / r0 / " + last + " [" + last + "#-1 value @" +
                                        std::to_string(DEEP) + "] ");
}

// m_i(x) = m_(i+1)(x) + 1 down to m_(n-1)(x) = x + Z, and P's rule calls
// m0(W). The macro objects lie at levels n - i (W and Z at 0); the call
// makes the instances m_i(w) one inside the other, the innermost first,
// each at position n - i too, and P lies at n + 1. The run then evaluates
// every instance after the one inside it, the dependency query follows
// the bodies to Z, and a refresh of m0 evaluates its body once.
TEST(DependencyWalk, HundredThousandNestedMacroCalls) {
    ORDER_PROBE v;
    v.add_object("W", INTEGER, "0-100", "3");
    v.add_object("Z", INTEGER, "0-100", "4");
    std::string expected = "W:0 Z:0 ";
    for (int i = 0; i < DEEP; ++i) {
        v.add_macro(numbered("m", i), i + 1 < DEEP ? numbered("m", i + 1) + "(x) + 1" : "x + Z", "x");
        expected += level(numbered("m", i), DEEP - i);
    }
    v.add_object("P", INTEGER, "0-1", "1");
    v.add_rule("P", INTEGER, "m0(W) gt 0");
    expected += level("P", DEEP + 1);
    for (int i = DEEP - 1; i >= 0; --i)
        expected += level(numbered("m", i) + "(w)=" + (i + 1 < DEEP ? numbered("m", i + 1) + "(W) + 1" : "W + Z"),
                          DEEP - i, "@0");
    v.initialize_validator();
    expect_same_text(outcome(v), expected);
    v.set_all_ports_and_parameters_to_default_state();
    v.run_validator();
    const KOVA_FN_MACRO* outer = instance_of(v.m_fn_macro_list.find_entry("m0(w)"));
    EXPECT_EQ(outer->get_evaluated_value(), std::to_string(3 + 4 + DEEP - 1));
    EXPECT_EQ(render_map(v.get_ports_and_parameters_used_in_expression("m0(W) + P")), "{Z;W;P;}");
    EXPECT_EQ(v.evaluate_expression("m0", PARSER_MODE_REFRESH_MACROS), v.get_kova_obj("m0")->get_current_value());
}
