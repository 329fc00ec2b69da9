// Document symbols: every declaration written in the document's own file,
// in the order written, each with its kind as detail.
#include "lsp/answers.h"

#include "session/json_text.h"

namespace {

// The protocol's SymbolKind of a declaration's kind.
int symbol_kind(const std::string& kind) {
    if (kind == "in" || kind == "out" || kind == "inout") return 11;  // Interface
    if (kind == "hidden") return 14;                                  // Constant
    if (kind == "macro") return 12;                                   // Function
    if (kind == "wizard_map") return 23;                              // Struct
    if (kind == "vector") return 24;                                  // Event
    return 13;                                                        // Variable: a parameter
}

}  // namespace

nlohmann::json kova_lsp_symbols(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document) {
    nlohmann::json symbols = nlohmann::json::array();
    const std::string description = workspace.description_of(document);
    if (description.empty() || document.settings()) return symbols;
    for (const KOVA_LSP_DECLARATION& declaration : workspace.analysis(description).declarations()) {
        if (declaration.at.file != document.path || !declaration.at.known()) continue;
        const nlohmann::json name = kova_lsp_range(document.lines, declaration.at, declaration.name.size());
        nlohmann::json whole = name;
        if (declaration.element.known() && declaration.element.line <= declaration.at.line)
            whole["start"] = kova_lsp_range(document.lines, declaration.element, 0)["start"];
        symbols.push_back({{"name", kova_json_text(declaration.name)},
                           {"detail", declaration.kind},
                           {"kind", symbol_kind(declaration.kind)},
                           {"range", whole},
                           {"selectionRange", name}});
    }
    return symbols;
}
