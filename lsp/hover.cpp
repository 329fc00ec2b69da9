// Hover: what the server knows of the name under the cursor, as Markdown.
// An object's explanation (session/explain.h) under the hover settings,
// with its value text and default as written; a macro call's body with
// the call's arguments substituted and the call's value; a wizard map's
// or vector's label and help. Settings files hover over their names alike.
#include "lsp/answers.h"

#include <sstream>

#include "session/explain.h"
#include "session/expression_queries.h"
#include "session/help_texts.h"
#include "session/json_text.h"

namespace {

std::string code(const std::string& text) { return "`` " + text + " ``"; }

void help_lines(const KOVA_HELP& help, std::ostringstream& out) {
    if (!help.label.empty()) out << " — " << help.label;
    out << "\n";
    if (!help.text.empty()) out << "\n" << kova_help_paragraph(help.text) << "\n";
}

// The value text, default and description's usage state, as written.
void written_lines(const KOVA_OBJ_INFO& object, std::ostringstream& out) {
    if (object.is_port()) {
        if (!object.get_port_width().empty()) out << "- width: " << code(object.get_port_width()) << "\n";
    } else if (object.has_expression_value()) {
        if (!object.get_arguments().empty()) out << "- arguments: " << code(object.get_arguments()) << "\n";
        out << "- body: " << code(object.get_value()) << "\n";
    } else if (!object.get_value().empty()) {
        out << "- legal values: " << code(object.get_value()) << "\n";
    }
    if (!object.get_default_value().empty()) out << "- default: " << code(object.get_default_value()) << "\n";
    if (object.default_usage_state != KOVA_USAGE_NONE)
        out << "- default usage: " << kova_get_usage_state_as_string(object.default_usage_state) << "\n";
}

// The state the run left, and each rule with what it did.
void explained_lines(const KOVA_EXPLANATION& explanation, const std::string& under, std::ostringstream& out) {
    out << "\n**" << under << "**\n\n";
    if (explanation.port) {
        out << "- usage: " << kova_get_usage_state_as_string(explanation.usage) << "\n";
        if (explanation.width >= 0) out << "- width: " << explanation.width << "\n";
    } else {
        out << "- value: " << code(explanation.value) << "\n";
        if (explanation.parameter)
            out << "- usage: " << kova_get_usage_state_as_string(explanation.usage) << "\n";
    }
    if (explanation.rules.empty()) return;
    out << "\n**Rules**\n\n";
    for (const KOVA_EXPLAINED_RULE& rule : explanation.rules) {
        out << "- " << rule.type;
        if (!rule.condition.empty()) out << " if " << code(rule.condition) << " (" << rule.result << ")";
        out << ": " << rule.effect;
        if (!rule.applied.empty()) out << " " << code(rule.applied);
        if (!rule.conflict.empty()) out << " — " << rule.conflict;
        out << "\n";
    }
}

// The argument list of a call written right after the name, "" when none.
std::string call_arguments(std::string_view line, std::size_t end) {
    if (end >= line.size() || line[end] != '(') return "";
    int depth = 0;
    for (std::size_t at = end; at < line.size(); ++at) {
        if (line[at] == '(') ++depth;
        if (line[at] == ')' && --depth == 0) return std::string(line.substr(end + 1, at - end - 1));
    }
    return "";
}

void macro_call_lines(KOVA_SESSION& session, const std::string& name, const std::string& arguments,
                      std::ostringstream& out) {
    const std::string call = name + "(" + arguments + ")";
    out << "\n**" << call << "**\n\n- body: "
        << code(session.validator().substitute_macro_arguments(name, arguments)) << "\n- value: "
        << code(kova_evaluate(session, call, PARSER_MODE_EVALUATE).result) << "\n";
}

}  // namespace

nlohmann::json kova_lsp_hover(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                              const nlohmann::json& position) {
    std::string name;
    nlohmann::json range;
    const std::string description = workspace.description_of(document);
    if (description.empty() || !kova_lsp_name_under(document, position, name, &range)) return nullptr;
    KOVA_LSP_ANALYSIS& analysis = workspace.analysis(description);
    const KOVA_LSP_DECLARATION* declaration = analysis.find(name);
    if (!declaration) return nullptr;
    std::ostringstream out;
    out << "**" << declaration->name << "** (" << declaration->kind << ")";
    help_lines(kova_help_of(*declaration->model, declaration->source_id), out);
    const std::vector<KOVA_SETTING> settings = workspace.hover_settings();
    const KOVA_RUN_RESULT* run = nullptr;
    KOVA_SESSION* session = analysis.evaluated(settings, &run);
    if (declaration->object) {
        out << "\n";
        written_lines(*declaration->object, out);
        KOVA_EXPLANATION explanation;
        const std::string under = settings.empty() ? "Under the defaults" : "Under " + workspace.options().settings;
        // A macro's value is its call's: shown below for a call.
        if (session && declaration->object->obj_type != KOVA_OBJ_FN_MACRO &&
            !kova_explain_on(*session, *run, declaration->name, explanation))
            explained_lines(explanation, under, out);
        const std::string_view line = document.lines.line(position.at("line").get<std::size_t>());
        const std::string arguments =
            call_arguments(line, kova_utf16_bytes(line, range["end"]["character"].get<std::size_t>()));
        if (session && declaration->object->obj_type == KOVA_OBJ_FN_MACRO && !arguments.empty())
            macro_call_lines(*session, declaration->name, arguments, out);
    }
    return {{"contents", {{"kind", "markdown"}, {"value", kova_json_safe(out.str())}}}, {"range", range}};
}
