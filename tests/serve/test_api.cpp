// kova serve's request layer: each route's status and a telling piece of
// its document, and validate's document compared with the kova tool's.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "serve/api.h"
#include "support/test_support.h"

namespace {

const std::string RAM = std::string(KOVA_EXAMPLES) + "/ram.xml";

std::unique_ptr<KOVA_SESSION> open_ram() {
    KOVA_MESSAGES problems;
    KOVA_LOAD_OPTIONS options;
    options.description = RAM;
    return KOVA_SESSION::open(options, problems);
}

const std::string CONFLICTS =
    R"({"settings": {"MODE": "DUAL", "WIDTH": "12", "BYTE_ENABLES": "1", "DEPTH": "300"}})";

struct REQUEST_CASE {
    const char* method;
    const char* path;
    std::string body;
    int status;
    const char* fragment;
};

TEST(ServeApi, RequestsAnswerStatusAndDocument) {
    const std::unique_ptr<KOVA_SESSION> session = open_ram();
    ASSERT_TRUE(session);
    const KOVA_SERVE_API api(*session);
    const REQUEST_CASE cases[] = {
        // Every route with a good request.
        {"GET", "/api/model", "", 200, "\"wizard_maps\""},
        {"GET", "/api/model", "", 200, "\"name\": \"WIDTH\""},
        {"POST", "/api/validate", "{}", 200, "\"valid\": true"},
        {"POST", "/api/validate", CONFLICTS, 200, "\"valid\": false"},
        {"POST", "/api/explain", R"({"name": "BYTE_ENABLES", "settings": {"WIDTH": "12"}})", 200,
         "\"command\": \"explain\""},
        {"POST", "/api/fix", CONFLICTS, 200, "\"changes\""},
        {"POST", "/api/widths", R"({"settings": {"WIDTH": "32"}})", 200, "\"width\": 32"},
        {"POST", "/api/messages", "{}", 200, "\"wizard_messages\""},
        {"POST", "/api/generate", R"({"lang": "verilog"})", 200, "module"},
        {"POST", "/api/generate", R"({"lang": "c", "stub": true})", 400, "\"error\""},
        // Requests the layer refuses.
        {"POST", "/api/validate", "{not json", 400, "\"messages\": []"},
        {"POST", "/api/validate", "[1]", 400, "\"error\""},
        {"POST", "/api/validate", R"({"settings": {"WIDTH": 12}})", 400, "must be a text"},
        {"POST", "/api/validate", R"({"settings": {"NO_SUCH": "1"}})", 400, "\"error\""},
        {"POST", "/api/explain", "{}", 400, "needs the name"},
        {"POST", "/api/explain", R"({"name": "NO_SUCH"})", 400, "\"command\": \"explain\""},
        {"POST", "/api/generate", R"({"lang": "cobol"})", 400, "lang must be"},
        {"POST", "/api/fix", R"({"keep": "WIDTH"})", 400, "keep must be"},
        {"POST", "/api/validate", "{\"x\": \"" + std::string(KOVA_SERVE_MAX_BODY, 'a') + "\"}", 413, "too large"},
        {"GET", "/api/validate", "", 405, "takes POST"},
        {"POST", "/api/model", "", 405, "takes GET"},
        {"GET", "/nowhere", "", 404, "no such path"},
    };
    for (const REQUEST_CASE& c : cases) {
        const KOVA_SERVE_RESPONSE response = api.handle(c.method, c.path, c.body);
        const std::string label = std::string(c.method) + " " + c.path + " " + c.body.substr(0, 80);
        EXPECT_EQ(response.status, c.status) << label << "\n" << response.body;
        EXPECT_NE(response.body.find(c.fragment), std::string::npos) << label << "\n" << response.body;
        EXPECT_EQ(response.content_type, "application/json") << label;
    }
}

TEST(ServeApi, TooManySettingsAreRefused) {
    const std::unique_ptr<KOVA_SESSION> session = open_ram();
    ASSERT_TRUE(session);
    std::string body = R"({"settings": {)";
    for (int i = 0; i < 1000; ++i) body += (i ? ", " : "") + std::string("\"N") + std::to_string(i) + "\": \"1\"";
    body += "}}";
    const KOVA_SERVE_RESPONSE response = KOVA_SERVE_API(*session).handle("POST", "/api/validate", body);
    EXPECT_EQ(response.status, 400);
    EXPECT_NE(response.body.find("more settings"), std::string::npos) << response.body;
}

// The values of examples/ram-conflicts.settings, given on the command line
// as the request gives them (a settings file would add its line numbers).
TEST(ServeApi, ValidateAnswersWhatTheToolWrites) {
    const std::unique_ptr<KOVA_SESSION> session = open_ram();
    ASSERT_TRUE(session);
    const KOVA_SERVE_RESPONSE response = KOVA_SERVE_API(*session).handle("POST", "/api/validate", CONFLICTS);
    const TOOL_RUN tool =
        run_kova("validate " + RAM + " --set MODE=DUAL --set WIDTH=12 --set BYTE_ENABLES=1 --set DEPTH=300 --format json",
                 false);
    EXPECT_EQ(tool.status, 1);
    EXPECT_EQ(response.body, tool.out);
}

}  // namespace
