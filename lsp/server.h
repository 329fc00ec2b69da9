// The language server: JSON-RPC 2.0 requests and notifications of the
// protocol dispatched to the answers (lsp/answers.h), with the protocol's
// lifecycle (initialize, shutdown, exit) and its errors: a malformed
// message, an unknown method, bad parameters or a document that is not
// open are answered with an error and the server goes on. After every
// change of a document the diagnostics of every open document are
// published again.
#ifndef KOVA_LSP_SERVER_H
#define KOVA_LSP_SERVER_H

#include <functional>
#include <istream>
#include <ostream>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "lsp/workspace.h"

class KOVA_LSP_SERVER {
public:
    // write takes each framed message; log takes lines for the user's log
    // (never the protocol's output).
    KOVA_LSP_SERVER(std::function<void(const std::string&)> write, std::ostream& log,
                    const KOVA_LSP_OPTIONS& options = KOVA_LSP_OPTIONS());

    // Handles one message's body; false once exit was received.
    bool handle(const std::string& body);
    // Answers a frame that had no usable length.
    void bad_frame(const std::string& problem);
    // The status for exit: 0 after shutdown, else 1.
    int exit_status() const { return m_shut_down ? 0 : 1; }

private:
    void dispatch(const nlohmann::json& message);
    nlohmann::json request(const std::string& method, const nlohmann::json& params);
    void notification(const std::string& method, const nlohmann::json& params);
    nlohmann::json initialize(const nlohmann::json& params);
    const KOVA_LSP_DOCUMENT& document_of(const nlohmann::json& params) const;
    void publish_diagnostics();
    void send(const nlohmann::json& message);
    void send_error(const nlohmann::json& id, int code, const std::string& text);

    std::function<void(const std::string&)> m_write;
    std::ostream& m_log;
    KOVA_LSP_WORKSPACE m_workspace;
    bool m_initialized = false, m_shut_down = false, m_exited = false;
    std::set<std::string> m_published;  // paths with diagnostics now shown
};

// Serves in until exit or the end of the input, writing to out; the exit
// status (1 when the input ends without exit).
int kova_lsp_serve(std::istream& in, std::ostream& out, std::ostream& log, const KOVA_LSP_OPTIONS& options);

// kova_lsp_serve on standard input and output, with standard output kept
// for protocol messages alone (anything else written there goes to
// standard error).
int kova_lsp_serve_standard_streams(const KOVA_LSP_OPTIONS& options);

#endif
