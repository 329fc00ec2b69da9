// Navigation by name: the name under the cursor, its declaration (in any
// file of the description), the texts that read it, and renaming it in
// the declaration and every such text.
#include "lsp/answers.h"

#include <cctype>
#include <set>

namespace {

// The analysis of document's description and the declaration of the
// name at position; null when there is none.
const KOVA_LSP_DECLARATION* declaration_under(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                                              const nlohmann::json& position, KOVA_LSP_ANALYSIS** analysis) {
    std::string name;
    const std::string description = workspace.description_of(document);
    if (description.empty() || !kova_lsp_name_under(document, position, name)) return nullptr;
    *analysis = &workspace.analysis(description);
    return (*analysis)->find(name);
}

// Whether text is a name of the expression language as a whole.
bool is_name(const std::string& text) {
    std::size_t begin, end;
    return !text.empty() && kova_lsp_name_at(text, 0, begin, end) && begin == 0 && end == text.size();
}

// The protocol Location of length bytes at place.
nlohmann::json kova_lsp_location(KOVA_LSP_WORKSPACE& workspace, const KOVA_SOURCE_LOCATION& place,
                                 std::size_t length) {
    return {{"uri", kova_lsp_uri_of(place.file)},
            {"range", kova_lsp_range(workspace.lines_of(place.file), place, length)}};
}

}  // namespace

bool kova_lsp_name_under(const KOVA_LSP_DOCUMENT& document, const nlohmann::json& position, std::string& name,
                         nlohmann::json* range) {
    const std::size_t line = position.at("line").get<std::size_t>();
    const std::size_t character = position.at("character").get<std::size_t>();
    if (line >= document.lines.count()) return false;
    const std::string_view text = document.lines.line(line);
    std::size_t begin, end;
    if (!kova_lsp_name_at(text, kova_utf16_bytes(text, character), begin, end)) return false;
    name = std::string(text.substr(begin, end - begin));
    if (range)
        *range = {{"start", {{"line", line}, {"character", kova_utf16_length(text, begin)}}},
                  {"end", {{"line", line}, {"character", kova_utf16_length(text, end)}}}};
    return true;
}

nlohmann::json kova_lsp_definition(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                                   const nlohmann::json& position) {
    KOVA_LSP_ANALYSIS* analysis = nullptr;
    const KOVA_LSP_DECLARATION* declaration = declaration_under(workspace, document, position, &analysis);
    if (!declaration || !declaration->at.known()) return nullptr;
    return kova_lsp_location(workspace, declaration->at, declaration->name.size());
}

nlohmann::json kova_lsp_references(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                                   const nlohmann::json& params) {
    KOVA_LSP_ANALYSIS* analysis = nullptr;
    const KOVA_LSP_DECLARATION* declaration = declaration_under(workspace, document, params.at("position"), &analysis);
    if (!declaration) return nullptr;
    nlohmann::json found = nlohmann::json::array();
    if (params.value("/context/includeDeclaration"_json_pointer, false) && declaration->at.known())
        found.push_back(kova_lsp_location(workspace, declaration->at, declaration->name.size()));
    const std::string key = kova_lsp_key(declaration->name);
    for (const KOVA_LSP_USE& use : analysis->uses())
        if (use.key == key) found.push_back(kova_lsp_location(workspace, use.at, use.length));
    return found;
}

nlohmann::json kova_lsp_rename(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                               const nlohmann::json& params, std::string& refusal) {
    KOVA_LSP_ANALYSIS* analysis = nullptr;
    const KOVA_LSP_DECLARATION* declaration = declaration_under(workspace, document, params.at("position"), &analysis);
    const std::string wanted = params.at("newName").get<std::string>();
    if (!declaration) {
        refusal = "no object, wizard map or vector is named here";
        return nullptr;
    }
    if (!is_name(wanted)) {
        refusal = "'" + wanted + "' is not a name: letters, digits, '_' and '-', with a letter";
        return nullptr;
    }
    const KOVA_LSP_DECLARATION* taken = analysis->find(wanted);
    if (taken && taken != declaration) {
        refusal = "the name " + wanted + " is taken by the " + taken->kind + " " + taken->name;
        return nullptr;
    }
    nlohmann::json changes = nlohmann::json::object();
    auto edit = [&](const KOVA_SOURCE_LOCATION& place, std::size_t length) {
        nlohmann::json location = kova_lsp_location(workspace, place, length);
        changes[location["uri"].get<std::string>()].push_back({{"range", location["range"]}, {"newText", wanted}});
    };
    if (declaration->at.known()) edit(declaration->at, declaration->name.size());
    const std::string key = kova_lsp_key(declaration->name);
    for (const KOVA_LSP_USE& use : analysis->uses())
        if (use.key == key) edit(use.at, use.length);
    return {{"changes", changes}};
}
