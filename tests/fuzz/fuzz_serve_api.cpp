// Fuzz target: kova serve's request layer (serve/api.h) on examples/ram.xml, loaded once. The input is
// "METHOD\nPATH\nBODY". Whatever the request, the answer is one of the statuses the layer gives, its body is
// one JSON object of the documented shape, and it holds an error member exactly when the status is an error.
#include <nlohmann/json.hpp>

#include "fuzz/fuzz_model.h"
#include "serve/api.h"
#include "session/json_document.h"

namespace {

const KOVA_SERVE_API& api() {
    static const std::unique_ptr<KOVA_SERVE_API> loaded = [] {
        KOVA_MESSAGES problems;
        const std::unique_ptr<KOVA_SESSION> session = KOVA_SESSION::open(
            {std::string(KOVA_EXAMPLES) + "/ram.xml", "", ""}, problems);
        fuzz_check(session != nullptr, "examples/ram.xml loads");
        return std::make_unique<KOVA_SERVE_API>(*session);
    }();
    return *loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    const std::string method = fuzz_take_line(input);
    const std::string path = fuzz_take_line(input);
    const KOVA_SERVE_RESPONSE response = api().handle(method, path, input);
    const int status = response.status;
    fuzz_check(status == 200 || status == 400 || status == 404 || status == 405 || status == 413 || status == 503,
        "the status is one the layer gives");
    fuzz_check(response.content_type == "application/json", "every answer is JSON");
    const nlohmann::json document = nlohmann::json::parse(response.body, nullptr, false);
    fuzz_check(document.is_object(), "the body is one JSON object");
    fuzz_check(document.value("schema_version", 0) == KOVA_JSON_SCHEMA_VERSION && document.contains("command"), "the common members are there");
    fuzz_check(document.contains("error") == (status != 200), "an error member exactly when the status is an error");
    return 0;
}
