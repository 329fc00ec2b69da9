// The answers of the language server, one phase a file: each takes the
// workspace and a request's parameters and gives the result member of the
// response (or the notifications' parameters), without I/O of its own.
// A request about a place no answer knows gets null (an empty result).
#ifndef KOVA_LSP_ANSWERS_H
#define KOVA_LSP_ANSWERS_H

#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "lsp/workspace.h"

// The diagnostics of the description document belongs to (its load's
// problems or lint's findings, for a settings file a validation run's),
// by file path: every file with a message, and document's own always.
std::map<std::string, nlohmann::json> kova_lsp_diagnostics(KOVA_LSP_WORKSPACE& workspace,
                                                           const KOVA_LSP_DOCUMENT& document);

// textDocument/hover: kind, label, help, value text, default, usage, the
// rules and the value under the hover settings; a macro call's body with
// its arguments substituted and its value; a settings name's legal values.
nlohmann::json kova_lsp_hover(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                              const nlohmann::json& position);

// textDocument/definition: the declaration of the name at position.
nlohmann::json kova_lsp_definition(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                                   const nlohmann::json& position);
// textDocument/references: every text that reads the name (and its
// declaration when asked).
nlohmann::json kova_lsp_references(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                                   const nlohmann::json& params);
// textDocument/rename: a WorkspaceEdit over every file, or a problem
// (the new name is taken or is not a name) in refusal.
nlohmann::json kova_lsp_rename(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                               const nlohmann::json& params, std::string& refusal);

// textDocument/documentSymbol: ports, parameters, hidden parameters,
// macros, wizard maps and vectors declared in the document's file.
nlohmann::json kova_lsp_symbols(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document);

// textDocument/completion: in a rule text names, macros, keywords and
// operators; in an element's kind, type or usage field their words; in a
// settings file names and legal values.
nlohmann::json kova_lsp_completion(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                                   const nlohmann::json& position);

// textDocument/codeAction: lint's suggested replacements and a
// lint_ignore entry for each finding in the range.
nlohmann::json kova_lsp_code_actions(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                                     const nlohmann::json& params);

// The name at a protocol position of document: true with the name.
bool kova_lsp_name_under(const KOVA_LSP_DOCUMENT& document, const nlohmann::json& position, std::string& name,
                         nlohmann::json* range = nullptr);

#endif
