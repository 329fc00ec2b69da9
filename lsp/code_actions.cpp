// Code actions for lint's findings on the lines asked about: the name a
// finding suggests in place of its token, the parentheses a precedence
// finding asks for around its arithmetic operator and the operands beside
// it, and the finding's check added to the lint_ignore field of its
// object's element.
#include "lsp/answers.h"

#include "session/json_text.h"
#include "session/suggest.h"

namespace {

nlohmann::json quick_fix(const std::string& title, const KOVA_LSP_DOCUMENT& document, const nlohmann::json& range,
                         const std::string& text, const nlohmann::json& diagnostic_range) {
    return {{"title", kova_json_text(title)},
            {"kind", "quickfix"},
            {"diagnostics", {{{"range", diagnostic_range}, {"message", ""}}}},
            {"edit", {{"changes", {{document.uri, {{{"range", range}, {"newText", kova_json_text(text)}}}}}}}}};
}

// Where lint_ignore text for check goes in the element of declaration,
// and the text: before the field's names when the element has one, else
// a new field right after the element's name.
bool ignore_edit(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DECLARATION& declaration, const std::string& check,
                 KOVA_SOURCE_LOCATION& at, std::string& text) {
    const KOVA_SOURCE_LOCATION field = declaration.model->locate(declaration.source_id, KOVA_FIELD_LINT_IGNORE, false);
    if (field.known()) {
        at = field;
        text = check + ", ";
        return true;
    }
    if (!declaration.element.known() || declaration.element.column == 0) return false;
    const std::string_view line = workspace.lines_of(declaration.element.file).line(declaration.element.line - 1);
    std::size_t end = declaration.element.column;  // past the "<"
    while (end < line.size() && kova_lsp_name_char(line[end])) ++end;
    at = declaration.element;
    at.column = static_cast<uint32_t>(end + 1);
    text = " lint_ignore=\"" + check + "\"";
    return true;
}

// The operand that ends right before at (at the line's blanks skipped):
// a name or number, a call, or a group in parentheses; its first byte, or
// npos.
std::size_t operand_before(std::string_view line, std::size_t at) {
    while (at > 0 && line[at - 1] == ' ') --at;
    const std::size_t end = at;
    if (at > 0 && line[at - 1] == ')') {
        for (int depth = 0; at > 0; --at) {
            depth += line[at - 1] == ')' ? 1 : line[at - 1] == '(' ? -1 : 0;
            if (depth == 0) break;
        }
        if (at == 0) return std::string_view::npos;
        --at;  // the "(": a call's name may stand before it
    }
    while (at > 0 && kova_lsp_name_char(line[at - 1])) --at;
    return at < end ? at : std::string_view::npos;
}

// The operand that starts right after at: a name or number, a call, or a
// group in parentheses; the byte past it, or npos.
std::size_t operand_after(std::string_view line, std::size_t at) {
    while (at < line.size() && line[at] == ' ') ++at;
    const std::size_t start = at;
    while (at < line.size() && kova_lsp_name_char(line[at])) ++at;
    if (at < line.size() && line[at] == '(') {
        for (int depth = 0; at < line.size(); ++at) {
            depth += line[at] == '(' ? 1 : line[at] == ')' ? -1 : 0;
            if (depth == 0) return at + 1;
        }
        return std::string_view::npos;
    }
    return at > start ? at : std::string_view::npos;
}

// The precedence finding's fix: its arithmetic operator (at place) with
// the operands beside it put between parentheses, so that it binds first.
bool parenthesised(const KOVA_LSP_DOCUMENT& document, const KOVA_SOURCE_LOCATION& place, nlohmann::json& fix,
                   const nlohmann::json& range) {
    const std::string_view line = document.lines.line(place.line - 1);
    std::size_t op = place.column - 1, op_end = op;
    while (op_end < line.size() && line[op_end] != ' ' && !kova_lsp_name_char(line[op_end])) ++op_end;
    if (op_end == op) return false;  // no operator there (the file changed since it was linted)
    const std::size_t first = operand_before(line, op), last = operand_after(line, op_end);
    if (first == std::string_view::npos || last == std::string_view::npos) return false;
    const std::string grouped = "(" + std::string(line.substr(first, last - first)) + ")";
    KOVA_SOURCE_LOCATION start = place;
    start.column = static_cast<uint32_t>(first + 1);
    fix = quick_fix("Write " + grouped, document, kova_lsp_range(document.lines, start, last - first), grouped, range);
    return true;
}

}  // namespace

nlohmann::json kova_lsp_code_actions(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                                     const nlohmann::json& params) {
    nlohmann::json actions = nlohmann::json::array();
    if (document.settings()) return actions;
    KOVA_LSP_ANALYSIS& analysis = workspace.analysis(workspace.description_of(document));
    const std::size_t first = params.at("range").at("start").at("line").get<std::size_t>();
    const std::size_t last = params.at("range").at("end").at("line").get<std::size_t>();
    for (const KOVA_MESSAGE& finding : analysis.messages()) {
        const KOVA_SOURCE_LOCATION& place = finding.location;
        if (finding.check.empty() || place.file != document.path || !place.known() || place.line - 1 < first ||
            place.line - 1 > last)
            continue;
        const nlohmann::json range = kova_lsp_token_range(document.lines, place);
        const std::string suggested = kova_suggested_name(finding.text);
        if (!suggested.empty())
            actions.push_back(quick_fix("Write " + suggested, document, range, suggested, range));
        nlohmann::json fix;
        if (finding.check == "precedence" && place.column > 0 && parenthesised(document, place, fix, range))
            actions.push_back(std::move(fix));
        const KOVA_LSP_DECLARATION* declaration = analysis.find(finding.object);
        KOVA_SOURCE_LOCATION at;
        std::string text;
        if (declaration && declaration->object && declaration->element.file == document.path &&
            ignore_edit(workspace, *declaration, finding.check, at, text))
            actions.push_back(quick_fix("Leave " + finding.check + " out for " + declaration->name +
                                            " (lint_ignore)",
                                        document, kova_lsp_range(document.lines, at, 0), text, range));
    }
    return actions;
}
