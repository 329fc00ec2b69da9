// The answers of the shared queries, each built from the session's typed
// results: the document's members and, from the same values, the text
// form the kova tool prints.
#include "session/answers.h"

#include <memory>
#include <utility>

#include "session/explain.h"
#include "session/expression_queries.h"
#include "session/help_texts.h"
#include "session/json_document.h"
#include "session/minimal_settings.h"
#include "session/object_states.h"
#include "session/port_queries.h"
#include "session/setting_causes.h"
#include "session/settings_io.h"
#include "session/text_table.h"
#include "session/wizard_queries.h"

namespace {

using json = nlohmann::json;

// Items, a blank line between two, each printed by print.
template <typename ITEM, typename PRINT>
void print_each(const std::vector<ITEM>& items, PRINT print, std::ostream& out) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out << "\n";
        print(items[i], out);
    }
}

void print_range(const KOVA_PORT_RANGE& range, std::ostream& out) {
    out << "port: " << range.port << "\nwidth: " << range.width << "\nlower: " << range.lower
        << "\nupper: " << range.upper << "\n";
    if (!range.listed) return;
    out << "values: ";
    for (std::size_t i = 0; i < range.values.size(); ++i) out << (i ? "|" : "") << range.values[i];
    out << "\n";
}

void print_map(const KOVA_WIZARD_MAP_RESULT& map, std::ostream& out) {
    KOVA_TABLE table{{"KIND", "NAME", "VALUE", "USAGE", "SOURCE"}};
    for (const KOVA_MAP_ENTRY& entry : map.entries)
        table.push_back({entry.kind, entry.name, entry.value, entry.usage, entry.source});
    out << map.map << ": " << map.entries.size() << " objects\n";
    print_table(table, out);
}

KOVA_TABLE object_table(const std::vector<KOVA_OBJECT_STATE>& states, bool origins) {
    KOVA_TABLE table{{"KIND", "NAME", "VALUE", "DEFAULT", "USAGE", "MODEL_USAGE"}};
    if (origins) table[0].push_back("ORIGIN");
    for (const KOVA_OBJECT_STATE& object : states) {
        table.push_back({object.kind, object.name, object.value_text, object.default_value,
                         kova_get_usage_state_as_string(object.usage),
                         kova_get_usage_state_as_string(object.model_usage)});
        if (origins) table.back().push_back(kova_value_origin_text(object.origin));
    }
    return table;
}

// A query that answers about one item by name or about every item.
template <typename ITEM>
struct ITEM_QUERY {
    const char* what;  // the item's kind, for "no WHAT is named NAME"
    std::vector<ITEM> (*every)(KOVA_SESSION&, KOVA_MESSAGES&);
    bool (*one)(KOVA_SESSION&, const std::string&, ITEM&, KOVA_MESSAGES&);
    json (*every_json)(const std::vector<ITEM>&);
    json (*one_json)(const ITEM&);
    void (*print)(const ITEM&, std::ostream&);
};

// The answer about every item when name is "" (their texts a blank line
// apart), else about the one of that name.
template <typename ITEM>
void every_or_one(const ITEM_QUERY<ITEM>& query, KOVA_SESSION& session, const std::string& name, KOVA_ANSWER& answer) {
    if (name.empty()) {
        std::vector<ITEM> items = query.every(session, answer.messages);
        answer.document = query.every_json(items);
        answer.text = [items, print = query.print](std::ostream& out) { print_each(items, print, out); };
        return;
    }
    ITEM item;
    if (!query.one(session, name, item, answer.messages)) {
        answer.problem = kova_not_named(query.what, name);
        return;
    }
    answer.document = query.one_json(item);
    answer.text = [item, print = query.print](std::ostream& out) { print(item, out); };
}

}  // namespace

void kova_validate_answer(KOVA_SESSION& session, bool with_objects, KOVA_ANSWER& answer) {
    if (!with_objects) return;
    nlohmann::json ports = nlohmann::json::array(), parameters = nlohmann::json::array();
    for (nlohmann::json& object : kova_object_states_json(session, false))
        (object["port"].get<bool>() ? ports : parameters).push_back(std::move(object));
    answer.document["ports"] = std::move(ports);
    answer.document["parameters"] = std::move(parameters);
}

void kova_show_answer(KOVA_SESSION& session, bool help_texts, KOVA_ANSWER& answer, bool origins) {
    KOVA_RULES_VALIDATOR& validator = session.validator();
    answer.document["function"] = kova_json_text(validator.get_function_name());
    if (help_texts) {
        std::vector<KOVA_HELP_ITEM> items = kova_help_items(validator);
        answer.document["help_texts"] = kova_help_items_json(items);
        answer.text = [description = session.description(), items](std::ostream& out) {
            out << description << ": " << items.size() << (items.size() == 1 ? " help entry\n" : " help entries\n");
            kova_print_help_items(items, out);
        };
        return;
    }
    // One reading of the states gives both the table and the document.
    const std::vector<KOVA_OBJECT_STATE> states = kova_object_states(session);
    const KOVA_TABLE table = object_table(states, origins);
    answer.document["objects"] = kova_object_states_json(session, states);
    const std::size_t ports = validator.get_port_list().size();
    const std::size_t parameters = validator.get_parameter_list().size();
    answer.text = [description = session.description(), table, ports, parameters](std::ostream& out) {
        out << description << ": " << ports << " ports, " << parameters << " parameters\n";
        print_table(table, out);
    };
}

void kova_widths_answer(KOVA_SESSION& session, KOVA_ANSWER& answer) {
    KOVA_TABLE table{{"PORT", "WIDTH", "EXPRESSION"}};
    json ports = json::array();
    for (const KOVA_PORT_WIDTH& port : kova_port_widths(session, answer.messages)) {
        table.push_back({port.port, std::to_string(port.width), port.expression});
        ports.push_back({{"port", kova_json_text(port.port)},
                         {"width", port.width >= 0 ? json(port.width) : json()},
                         {"expression", kova_json_text(port.expression)}});
    }
    answer.document["ports"] = ports;
    answer.text = [table](std::ostream& out) { print_table(table, out); };
}

void kova_ranges_answer(KOVA_SESSION& session, const std::string& name, KOVA_ANSWER& answer) {
    every_or_one<KOVA_PORT_RANGE>({"port", kova_port_ranges, kova_port_range, kova_port_ranges_json,
                                   kova_port_range_json, print_range},
                                  session, name, answer);
}

void kova_messages_answer(KOVA_SESSION& session, KOVA_ANSWER& answer) {
    std::vector<std::string> shown = kova_wizard_messages(session, answer.messages);
    answer.document["wizard_messages"] = kova_texts_json(shown);
    answer.text = [shown](std::ostream& out) {
        for (const std::string& text : shown) out << text << "\n";
    };
}

void kova_simlib_answer(KOVA_SESSION& session, KOVA_ANSWER& answer) {
    const KOVA_SIMULATION_LIBRARIES libraries = kova_simulation_libraries(session, answer.messages);
    answer.document = kova_simulation_libraries_json(libraries);
    answer.text = [text = libraries.text](std::ostream& out) { out << text << "\n"; };
}

void kova_wizard_map_answer(KOVA_SESSION& session, const std::string& name, KOVA_ANSWER& answer) {
    every_or_one<KOVA_WIZARD_MAP_RESULT>({"wizard map", kova_evaluate_wizard_maps, kova_evaluate_wizard_map,
                                          kova_wizard_maps_json, kova_wizard_map_json, print_map},
                                         session, name, answer);
}

void kova_stimulus_answer(KOVA_SESSION& session, const std::string& vector, int time, KOVA_ANSWER& answer) {
    KOVA_STIMULUS_RESULT stimulus;
    if (!kova_stimulus_at(session, vector, time, stimulus, answer.messages)) {
        answer.problem = kova_not_named("stimulus vector", vector);
        return;
    }
    KOVA_TABLE transitions{{"NAME", "VALUE"}};
    for (const KOVA_TRANSITION& transition : stimulus.transitions)
        transitions.push_back({transition.signal, transition.value});
    answer.document["vector"] = kova_json_text(stimulus.vector);
    answer.document["time"] = time;
    answer.document["transitions"] = table_json(transitions);
    answer.text = [transitions](std::ostream& out) {
        for (std::size_t row = 1; row < transitions.size(); ++row)
            out << transitions[row][0] << " " << transitions[row][1] << "\n";
    };
}

void kova_deps_answer(const KOVA_SESSION& session, const std::string& text, bool is_expression, KOVA_ANSWER& answer) {
    KOVA_DEPENDENCIES dependencies;
    if (is_expression) {
        dependencies = kova_expression_dependencies(session, text);
    } else if (!kova_object_dependencies(session, text, dependencies)) {
        answer.problem = kova_not_named("object", text);
        return;
    }
    answer.document["names"] = kova_texts_json(dependencies.names);
    answer.document["text"] = kova_json_text(dependencies.text);
    answer.text = [dependencies](std::ostream& out) {
        out << "names: ";
        for (std::size_t i = 0; i < dependencies.names.size(); ++i) out << (i ? ", " : "") << dependencies.names[i];
        out << "\ntext: " << dependencies.text << "\n";
    };
}

void kova_eval_answer(KOVA_SESSION& session, const std::string& expression, KOVA_RULES_VALIDATOR_PARSER_MODE mode,
                      KOVA_ANSWER& answer) {
    KOVA_EVALUATION evaluation = kova_evaluate(session, expression, mode);
    answer.messages = std::move(evaluation.messages);
    answer.failed = !evaluation.parsed;
    answer.document["expression"] = kova_json_text(expression);
    answer.document["result"] = kova_json_text(evaluation.result);
    answer.text = [result = evaluation.result](std::ostream& out) { out << result << "\n"; };
}

void kova_explain_answer(const KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const std::string& name,
                         KOVA_ANSWER& answer) {
    auto explanation = std::make_shared<KOVA_EXPLANATION>();
    answer.problem = kova_explain(session, run, name, *explanation);
    if (answer.problem) return;
    answer.replaces_messages = true;
    answer.messages = explanation->messages;
    answer.document = kova_explanation_json(*explanation);
    answer.text = [explanation, description = session.description()](std::ostream& out) {
        kova_print_explanation(*explanation, description, out);
    };
}

void kova_explain_problem(KOVA_ANSWER& answer) {
    answer.problem.text = kova_problem_text(answer.problem);
    answer.problem.messages = std::move(answer.messages);
    answer.messages.clear();
}

void kova_fix_answer(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_FIX_OPTIONS& options,
                     KOVA_ANSWER& answer) {
    auto result = std::make_shared<KOVA_FIX_RESULT>();
    answer.problem = kova_fix(session, run, options, *result);
    if (answer.problem) return;
    answer.valid = result->valid;
    answer.replaces_messages = true;
    answer.messages = result->last_run.messages;
    answer.document = kova_fix_json(*result);
    answer.text = [result](std::ostream& out) { kova_print_fix(*result, out); };
}

void kova_states_answer(KOVA_SESSION& session, KOVA_ANSWER& answer) {
    answer.document["objects"] = kova_object_states_json(session, true);
}

namespace {

// One query of the refresh: its builder, and the member of its document
// that the refresh names otherwise (nullptr: every member keeps its name).
struct REFRESH_PART {
    void (*build)(KOVA_SESSION&, KOVA_ANSWER&);
    const char* member;
    const char* renamed;
};

// The part's members and messages added to the answer; its problem, if
// any, becomes the answer's.
void take_part(const REFRESH_PART& part, KOVA_SESSION& session, KOVA_ANSWER& answer) {
    KOVA_ANSWER taken;
    part.build(session, taken);
    if (taken.problem) {
        answer.problem = std::move(taken.problem);
        return;
    }
    for (auto& [member, value] : taken.document.items())
        answer.document[part.member && member == part.member ? part.renamed : member] = std::move(value);
    for (KOVA_MESSAGE& message : taken.messages) answer.messages.push_back(std::move(message));
}

}  // namespace

void kova_refresh_answer(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_STATE_BASELINE& baseline,
                         const std::string& last_change, KOVA_ANSWER& answer) {
    // States and causes first, as the run left them; simlib last, for it
    // runs the validator again; the queries between evaluate only what
    // they report.
    answer.document["objects"] = kova_changed_states_json(session, baseline);
    const std::vector<std::string> changed = kova_changed_setting_names(session);
    answer.document["changed_settings"] = kova_texts_json(changed);
    answer.document["causes"] =
        kova_conflict_causes_json(kova_conflict_causes(session, run.messages, changed, last_change));
    static const REFRESH_PART parts[] = {
        {[](KOVA_SESSION& s, KOVA_ANSWER& a) { kova_ranges_answer(s, "", a); }, "ports", "ranges"},
        {[](KOVA_SESSION& s, KOVA_ANSWER& a) { kova_wizard_map_answer(s, "", a); }, "maps", "wizard_maps"},
        {kova_messages_answer, nullptr, nullptr},
        {kova_simlib_answer, nullptr, nullptr},
    };
    for (const REFRESH_PART& part : parts) {
        take_part(part, session, answer);
        if (answer.problem) return;
    }
}

void kova_settings_answer(const KOVA_SESSION& session, bool minimal, KOVA_ANSWER& answer) {
    answer.document["minimal"] = minimal;
    answer.document["text"] = kova_json_text(kova_session_settings_text(session, minimal));
}

void kova_load_answer(const std::string& text, const std::string& file, KOVA_ANSWER& answer) {
    std::vector<KOVA_SETTING> settings;
    answer.problem = kova_parse_settings_text(text, file.empty() ? "settings" : file, settings, answer.messages);
    if (answer.problem) return;
    json list = json::array();
    for (const KOVA_SETTING& setting : settings)
        list.push_back({{"name", kova_json_text(setting.name)},
                        {"value", kova_json_text(setting.value)},
                        {"line", setting.line}});
    answer.document["settings"] = list;
}
