// Dispatching the protocol's messages (lsp/server.h).
#include "lsp/server.h"

#include "host/file_overlay.h"
#include "lsp/answers.h"
#include "lsp/message_io.h"

namespace {

// The protocol's error codes.
enum ERROR_CODE {
    PARSE_ERROR = -32700,
    INVALID_REQUEST = -32600,
    METHOD_NOT_FOUND = -32601,
    INVALID_PARAMS = -32602,
    INTERNAL_ERROR = -32603,
    SERVER_NOT_INITIALIZED = -32002,
    REQUEST_FAILED = -32803
};

// A request that cannot be answered, with its error code.
struct REQUEST_ERROR {
    int code;
    std::string text;
};

nlohmann::json capabilities() {
    return {{"positionEncoding", "utf-16"},
            {"textDocumentSync", {{"openClose", true}, {"change", 1}, {"save", {{"includeText", false}}}}},
            {"hoverProvider", true},
            {"definitionProvider", true},
            {"referencesProvider", true},
            {"renameProvider", true},
            {"documentSymbolProvider", true},
            {"completionProvider", {{"triggerCharacters", {"(", " ", "\"", "="}}}},
            {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}}};
}

// An option's path made absolute (against the working folder); "" stays "".
std::string option_path(const nlohmann::json& options, const char* name) {
    const auto found = options.find(name);
    if (found == options.end() || !found->is_string() || found->get<std::string>().empty()) return "";
    return kova_overlay_key(found->get<std::string>());
}

}  // namespace

KOVA_LSP_SERVER::KOVA_LSP_SERVER(std::function<void(const std::string&)> write, std::ostream& log,
                                 const KOVA_LSP_OPTIONS& options)
    : m_write(std::move(write)), m_log(log) {
    m_workspace.set_options(options);
}

void KOVA_LSP_SERVER::send(const nlohmann::json& message) { m_write(kova_lsp_frame(message)); }

void KOVA_LSP_SERVER::send_error(const nlohmann::json& id, int code, const std::string& text) {
    send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", text}}}});
}

void KOVA_LSP_SERVER::bad_frame(const std::string& problem) {
    m_log << "kova lsp: " << problem << "\n";
    send_error(nullptr, PARSE_ERROR, problem);
}

bool KOVA_LSP_SERVER::handle(const std::string& body) {
    nlohmann::json message;
    try {
        message = nlohmann::json::parse(body);
    } catch (const nlohmann::json::exception& error) {
        send_error(nullptr, PARSE_ERROR, std::string("the message is not JSON: ") + error.what());
        return true;
    }
    dispatch(message);
    return !m_exited;
}

// A request gets a result or an error; a notification never an answer;
// a response from the client is ignored.
void KOVA_LSP_SERVER::dispatch(const nlohmann::json& message) {
    const bool object = message.is_object();
    const nlohmann::json id = object && message.contains("id") ? message["id"] : nlohmann::json();
    const bool is_request = object && message.contains("id");
    if (!object || !message.contains("method") || !message["method"].is_string() ||
        (is_request && !id.is_string() && !id.is_number_integer())) {
        if (object && is_request && !message.contains("method")) return;  // a response
        send_error(id.is_string() || id.is_number_integer() ? id : nlohmann::json(), INVALID_REQUEST,
                   "not a JSON-RPC request or notification");
        return;
    }
    const std::string method = message["method"].get<std::string>();
    const nlohmann::json params = message.contains("params") ? message["params"] : nlohmann::json::object();
    try {
        if (!is_request) return notification(method, params);
        if (!m_initialized && method != "initialize")
            throw REQUEST_ERROR{SERVER_NOT_INITIALIZED, "the server is not initialized"};
        if (m_shut_down) throw REQUEST_ERROR{INVALID_REQUEST, "the server is shut down"};
        send({{"jsonrpc", "2.0"}, {"id", id}, {"result", request(method, params)}});
    } catch (const REQUEST_ERROR& error) {
        if (is_request) send_error(id, error.code, error.text);
        else m_log << "kova lsp: " << method << ": " << error.text << "\n";
    } catch (const nlohmann::json::exception& error) {
        if (is_request) send_error(id, INVALID_PARAMS, method + ": bad parameters: " + error.what());
        else m_log << "kova lsp: " << method << ": bad parameters: " << error.what() << "\n";
    } catch (const std::exception& error) {
        if (is_request) send_error(id, INTERNAL_ERROR, method + ": " + error.what());
        else m_log << "kova lsp: " << method << ": " << error.what() << "\n";
    }
}

nlohmann::json KOVA_LSP_SERVER::request(const std::string& method, const nlohmann::json& params) {
    if (method == "initialize") return initialize(params);
    if (method == "shutdown") {
        m_shut_down = true;
        return nullptr;
    }
    if (method == "textDocument/hover") return kova_lsp_hover(m_workspace, document_of(params), params.at("position"));
    if (method == "textDocument/definition")
        return kova_lsp_definition(m_workspace, document_of(params), params.at("position"));
    if (method == "textDocument/references") return kova_lsp_references(m_workspace, document_of(params), params);
    if (method == "textDocument/documentSymbol") return kova_lsp_symbols(m_workspace, document_of(params));
    if (method == "textDocument/completion")
        return kova_lsp_completion(m_workspace, document_of(params), params.at("position"));
    if (method == "textDocument/codeAction") return kova_lsp_code_actions(m_workspace, document_of(params), params);
    if (method == "textDocument/rename") {
        std::string refusal;
        nlohmann::json edit = kova_lsp_rename(m_workspace, document_of(params), params, refusal);
        if (!refusal.empty()) throw REQUEST_ERROR{REQUEST_FAILED, refusal};
        return edit;
    }
    throw REQUEST_ERROR{METHOD_NOT_FOUND, "unknown method " + method};
}

void KOVA_LSP_SERVER::notification(const std::string& method, const nlohmann::json& params) {
    if (method == "exit") {
        m_exited = true;
        return;
    }
    if (!m_initialized) return;
    if (method == "textDocument/didOpen") {
        const nlohmann::json& item = params.at("textDocument");
        const std::string uri = item.at("uri").get<std::string>();
        if (!m_workspace.open(uri, item.at("text").get<std::string>(), item.value("version", 0LL)))
            throw REQUEST_ERROR{INVALID_PARAMS, "only file: documents are served, not " + uri};
    } else if (method == "textDocument/didChange") {
        const KOVA_LSP_DOCUMENT& document = document_of(params);
        const nlohmann::json& changes = params.at("contentChanges");
        if (changes.empty()) return;
        m_workspace.open(document.uri, changes.back().at("text").get<std::string>(),
                         params["textDocument"].value("version", document.version));
    } else if (method == "textDocument/didClose") {
        m_workspace.close(document_of(params).uri);
    } else {
        return;  // initialized, didSave, $/ notifications and the rest need nothing
    }
    publish_diagnostics();
}

nlohmann::json KOVA_LSP_SERVER::initialize(const nlohmann::json& params) {
    if (m_initialized) throw REQUEST_ERROR{INVALID_REQUEST, "the server is already initialized"};
    m_initialized = true;
    KOVA_LSP_OPTIONS options = m_workspace.options();
    if (params.contains("initializationOptions") && params["initializationOptions"].is_object()) {
        const nlohmann::json& given = params["initializationOptions"];
        // Each option given wins over the command line's.
        for (auto [name, value] : {std::pair<const char*, std::string*>{"description", &options.description},
                                   {"settings", &options.settings},
                                   {"lib", &options.library_dir}})
            if (!option_path(given, name).empty()) *value = option_path(given, name);
    }
    m_workspace.set_options(options);
    return {{"capabilities", capabilities()}, {"serverInfo", {{"name", "kova"}, {"version", KOVA_VERSION}}}};
}

const KOVA_LSP_DOCUMENT& KOVA_LSP_SERVER::document_of(const nlohmann::json& params) const {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const KOVA_LSP_DOCUMENT* document = m_workspace.document(uri);
    if (!document) throw REQUEST_ERROR{INVALID_PARAMS, "the document is not open: " + uri};
    return *document;
}

// Each open document's own diagnostics come from its description; a file
// that is not open gets those of the first description that reads it,
// and a file shown before with nothing now is cleared.
void KOVA_LSP_SERVER::publish_diagnostics() {
    std::map<std::string, nlohmann::json> shown;
    std::set<std::string> open, roots;
    for (const auto& entry : m_workspace.documents()) open.insert(entry.second.path);
    for (const auto& entry : m_workspace.documents()) {
        const KOVA_LSP_DOCUMENT& document = entry.second;
        const std::string root = document.settings() ? document.path : m_workspace.description_of(document);
        const bool first = roots.insert(root).second;
        for (auto& found : kova_lsp_diagnostics(m_workspace, document))
            if (found.first == document.path || (first && !open.count(found.first) && !shown.count(found.first)))
                shown[found.first] = std::move(found.second);
        // The run that hover explains on is made with the diagnostics, so a
        // hover after a change finds it ready.
        if (first && !document.settings()) m_workspace.analysis(root).evaluated(m_workspace.hover_settings(), nullptr);
    }
    for (const std::string& path : m_published)
        if (!shown.count(path)) shown[path] = nlohmann::json::array();
    m_published.clear();
    for (const auto& entry : shown) {
        if (!entry.second.empty()) m_published.insert(entry.first);
        send({{"jsonrpc", "2.0"},
              {"method", "textDocument/publishDiagnostics"},
              {"params", {{"uri", kova_lsp_uri_of(entry.first)}, {"diagnostics", entry.second}}}});
    }
}

int kova_lsp_serve(std::istream& in, std::ostream& out, std::ostream& log, const KOVA_LSP_OPTIONS& options) {
    KOVA_LSP_SERVER server([&out](const std::string& frame) { out << frame << std::flush; }, log, options);
    KOVA_LSP_READER reader(in);
    std::string body, problem;
    for (;;) {
        const KOVA_LSP_READ read = reader.next(body, problem);
        if (read == KOVA_LSP_READ::END) return 1;
        if (read == KOVA_LSP_READ::BAD_FRAME) server.bad_frame(problem);
        else if (!server.handle(body)) return server.exit_status();
    }
}
