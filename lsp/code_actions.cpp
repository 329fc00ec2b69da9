// Code actions for lint's findings on the lines asked about: the name a
// finding suggests in place of its token, and the finding's check added
// to the lint_ignore field of its object's element.
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
