// Fuzz target: kova lsp's message reader and dispatcher (lsp/server.h) on
// the bytes of a client's stream, after an initialize of its own. In the
// input, "file://EXAMPLES/" stands for the examples folder, so seeds can
// open examples/ram.xml. Whatever the bytes, the server neither throws nor
// writes anything but frames of JSON-RPC 2.0: responses with a result or
// an error, and diagnostics notifications.
#include <sstream>

#include <nlohmann/json.hpp>

#include "fuzz/fuzz_model.h"
#include "lsp/message_io.h"
#include "lsp/server.h"

namespace {

std::string with_examples(std::string input) {
    const std::string marker = "file://EXAMPLES/";
    const std::string folder = "file://" + std::string(KOVA_EXAMPLES) + "/";
    for (std::size_t at = input.find(marker); at != std::string::npos; at = input.find(marker, at + folder.size()))
        input.replace(at, marker.size(), folder);
    return input;
}

// Every frame the server wrote, checked one by one.
void check_frames(const std::string& written) {
    std::istringstream in(written);
    KOVA_LSP_READER reader(in);
    std::string body, problem;
    KOVA_LSP_READ read;
    while ((read = reader.next(body, problem)) == KOVA_LSP_READ::MESSAGE) {
        const nlohmann::json message = nlohmann::json::parse(body, nullptr, false);
        fuzz_check(message.is_object() && message.value("jsonrpc", "") == "2.0", "each frame is JSON-RPC 2.0");
        if (message.contains("method")) {
            fuzz_check(message["method"] == "textDocument/publishDiagnostics", "the only notification is diagnostics");
        } else {
            fuzz_check(message.contains("id") && message.contains("result") != message.contains("error"),
                       "a response has an id and a result or an error");
        }
    }
    fuzz_check(read == KOVA_LSP_READ::END, "the output holds frames only");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::istringstream in(with_examples(std::string(reinterpret_cast<const char*>(data), size)));
    std::ostringstream out, log;
    KOVA_LSP_SERVER server([&out](const std::string& frame) { out << frame; }, log);
    server.handle(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{}})");
    KOVA_LSP_READER reader(in);
    std::string body, problem;
    for (KOVA_LSP_READ read; (read = reader.next(body, problem)) != KOVA_LSP_READ::END;) {
        if (read == KOVA_LSP_READ::BAD_FRAME) server.bad_frame(problem);
        else if (!server.handle(body)) break;
    }
    check_frames(out.str());
    return 0;
}
