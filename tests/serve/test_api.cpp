// kova serve's request layer: each route's status and a telling piece of
// its document, and validate's document compared with the kova tool's.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "serve/api.h"
#include "support/test_support.h"

namespace {

const std::string RAM = std::string(KOVA_EXAMPLES) + "/ram.xml";
const std::string COUNTER = std::string(KOVA_EXAMPLES) + "/counter.xml";

std::unique_ptr<KOVA_SESSION> open_description(const std::string& description) {
    KOVA_MESSAGES problems;
    return KOVA_SESSION::open({description, "", ""}, problems);
}

const std::string CONFLICTS =
    R"({"settings": {"MODE": "DUAL", "WIDTH": "12", "BYTE_ENABLES": "1", "DEPTH": "300"}})";

struct REQUEST_CASE {
    const char* method;
    const char* path;
    std::string body;
    int status;
    const char* fragment;
    bool hurried = false;  // asked of an API given no time for work
};

TEST(ServeApi, RequestsAnswerStatusAndDocument) {
    const std::unique_ptr<KOVA_SESSION> session = open_description(RAM);
    ASSERT_TRUE(session);
    const KOVA_SERVE_API api(*session);
    std::string too_many = R"({"settings": {)";
    for (int i = 0; i < 1000; ++i) too_many += (i ? ", " : "") + std::string("\"N") + std::to_string(i) + "\": \"1\"";
    std::string bad_lines;
    for (int i = 0; i < 250; ++i) bad_lines += "=1\\n";
    const REQUEST_CASE cases[] = {
        // Every route with a good request.
        {"POST", "/api/validate", "{}", 200, "\"valid\": true"},
        // Beside the field: the message names the object it is about.
        {"POST", "/api/validate", R"({"settings": {"depth": "32abc"}})", 200,
         "\"object\": \"DEPTH\",\n      \"rule\": null,\n      \"setting\": null,\n      \"severity\": \"warning\",\n"
         "      \"text\": \"depth=32abc reads as 32\""},
        {"POST", "/api/explain", R"({"name": "BYTE_ENABLES", "settings": {"WIDTH": "12"}})", 200,
         "\"command\": \"explain\""},
        {"POST", "/api/fix", CONFLICTS, 200, "\"changes\""},
        {"POST", "/api/widths", R"({"settings": {"WIDTH": "32"}})", 200, "\"width\": 32"},
        {"POST", "/api/messages", "{}", 200, "\"wizard_messages\""},
        {"POST", "/api/generate", R"({"lang": "verilog"})", 200, "module"},
        {"POST", "/api/generate", R"({"lang": "c", "stub": true})", 400, "\"error\""},
        {"POST", "/api/generate", R"({"lang": "c", "export": ["ADDR_WIDTH", "WE_WIDTH"]})", 200,
         "_ADDR_WIDTH 8\\n#define BLOCK_RAM_WE_WIDTH 1\\n"},
        {"POST", "/api/generate", R"({"lang": "c", "export": ["ADDR_WDTH"]})", 404, "(did you mean ADDR_WIDTH?)"},
        {"POST", "/api/generate", R"({"lang": "c", "export": "ADDR_WIDTH"})", 400, "export must be a list of names"},
        {"GET", "/api/model", "", 200,
         "\"library\": \"ram_lib.ram_pkg;MODE == DUAL ? ram_dp_lib.rtl : ram_sp_lib.rtl;\""},
        {"POST", "/api/ranges", R"({"name": "addra", "settings": {"DEPTH": "64"}})", 200, "\"width\": 6"},
        {"POST", "/api/ranges", R"({"settings": {"DEPTH": "64"}})", 200, "\"port\": \"clkb\""},
        {"POST", "/api/wizard-map", "{}", 200, "\"maps\": []"},
        {"POST", "/api/states", R"({"settings": {"DEPTH": "64"}})", 200, "\"hidden\": true"},
        // A setting that leaves every value as the model has it: only its object's origin moves.
        {"POST", "/api/refresh", R"({"settings": {"MODE": "SINGLE"}})", 200,
         "\"objects\": [\n    {\n      \"alt_usage\": \"USED\",\n      \"alt_value\": \"SINGLE|DUAL\""},
        {"POST", "/api/refresh", R"({"settings": {"MODE": "SINGLE"}})", 200,
         "\"name\": \"MODE\",\n      \"origin\": {\n        \"kind\": \"set\",\n"
         "        \"source\": \"page\"\n      },\n"
         "      \"port\": false,\n      \"usage\": \"USED\",\n      \"value\": \"SINGLE\",\n"
         "      \"value_text\": \"SINGLE|DUAL\",\n      \"width\": null\n    }\n  ],"},
        // A conflict names the changed setting it follows from.
        {"POST", "/api/refresh", R"({"last": "MODE", "settings": {"MODE": "DUAL"}})", 200,
         "\"causes\": [\n    {\n      \"last\": \"MODE\",\n      \"object\": \"clkb\",\n"
         "      \"settings\": [\n        \"MODE\"\n      ]"},
        {"POST", "/api/refresh", R"({"last": 1})", 400, "last must be the name of a setting"},
        {"POST", "/api/simlib", R"({"settings": {"MODE": "DUAL"}})", 200, "\"library_text\": \"ram_lib;ram_dp_lib;\""},
        {"POST", "/api/settings", R"({"minimal": true, "settings": {"DEPTH": "64"}})", 200, "DEPTH=64\\n\""},
        // Settings apply in byte order of their names, not as written: "depth" last.
        {"POST", "/api/settings", R"({"minimal": true, "settings": {"depth": "16", "DEPTH": "64"}})", 200,
         "DEPTH=16\\n\""},
        {"POST", "/api/load", R"({"text": "# mine\nMODE=DUAL\n", "file": "a.settings"})", 200, "\"line\": 2"},
        // Requests the layer refuses.
        {"POST", "/api/validate", "{not json", 400, "\"messages\": []"},
        {"POST", "/api/validate", "[1]", 400, "\"error\""},
        {"POST", "/api/validate", R"({"settings": {"WIDTH": 12}})", 400, "must be a text"},
        {"POST", "/api/validate", R"({"settings": {"NO_SUCH": "1"}})", 400, "\"error\""},
        {"POST", "/api/validate", too_many + "}}", 400, "more settings"},
        {"POST", "/api/explain", "{}", 400, "needs the name"},
        {"POST", "/api/explain", R"({"name": "NO_SUCH"})", 404, "no port or parameter is named NO_SUCH"},
        {"POST", "/api/generate", R"({"lang": "cobol"})", 400, "lang must be"},
        {"POST", "/api/fix", R"({"keep": "WIDTH"})", 400, "keep must be"},
        {"POST", "/api/ranges", R"({"name": ""})", 400, "left out for every one"},
        {"POST", "/api/wizard-map", R"({"name": 7})", 400, "name must be the name of a wizard map"},
        {"POST", "/api/states", R"({"settings": {"NO_SUCH": "1"}})", 400, "\"command\": \"states\""},
        {"POST", "/api/ranges", R"({"name": "WIDTH"})", 404, "no port is named WIDTH"},
        {"POST", "/api/wizard-map", R"({"name": "generics"})", 404, "no wizard map is named"},
        {"POST", "/api/settings", R"({"minimal": "yes"})", 400, "minimal must be"},
        {"POST", "/api/load", R"({"text": "MODE=\"DUAL\n"})", 400, "\"line\": 1"},
        {"POST", "/api/validate", "{\"x\": \"" + std::string(KOVA_SERVE_MAX_BODY, 'a') + "\"}", 413, "too large"},
        {"POST", "/api/model", "", 405, "takes GET"},
        // A misspelt member is refused, not read as no settings; a body must be UTF-8.
        {"POST", "/api/validate", R"({"settingz": {"MODE": "DUAL"}})", 400,
         "the request has no member named settingz; /api/validate takes settings\""},
        {"POST", "/api/load", R"({"text": "", "settings": {}})", 400, "/api/load takes text file\""},
        {"POST", "/api/validate", "{\"settings\": {\"MODE\": \"\xff\"}}", 400, "the request body is not UTF-8"},
        // A file of many bad lines: the first 100, then the last message counts the rest.
        {"POST", "/api/load", R"({"text": ")" + bad_lines + "\"}", 400,
         "\"text\": \"150 more problems of this file are not shown\"\n    }\n  ]"},
        // With no time for work, a repair stops at once: unavailable, saying
        // why; a run alone, or a repair with nothing to do, is answered.
        {"POST", "/api/fix", CONFLICTS, 503, "\"error\": \"the repair ran out of the time it may take", true},
        {"POST", "/api/fix", "{}", 200, "\"changes\": []", true},
        {"POST", "/api/validate", CONFLICTS, 200, "\"valid\": false", true},
    };
    const KOVA_SERVE_API hurried(*session, {}, std::chrono::milliseconds(0));
    for (const REQUEST_CASE& c : cases) {
        const KOVA_SERVE_RESPONSE response = (c.hurried ? hurried : api).handle(c.method, c.path, c.body);
        const std::string label = std::string(c.method) + " " + c.path + " " + c.body.substr(0, 80);
        EXPECT_EQ(response.status, c.status) << label << "\n" << response.body;
        EXPECT_NE(response.body.find(c.fragment), std::string::npos) << label << "\n" << response.body;
        EXPECT_EQ(response.content_type, "application/json") << label;
    }
}

// The values of examples/ram-conflicts.settings, given on the command line
// as the request gives them (a settings file would add its line numbers);
// the page's settings say they came from the page.
TEST(ServeApi, ValidateAnswersWhatTheToolWrites) {
    const std::unique_ptr<KOVA_SESSION> session = open_description(RAM);
    ASSERT_TRUE(session);
    const KOVA_SERVE_RESPONSE response = KOVA_SERVE_API(*session).handle("POST", "/api/validate", CONFLICTS);
    const TOOL_RUN tool =
        run_kova("validate " + RAM + " --set MODE=DUAL --set WIDTH=12 --set BYTE_ENABLES=1 --set DEPTH=300 --format json",
                 false);
    EXPECT_EQ(tool.status, 1);
    std::string page = response.body;
    const std::string from_page = "\"source\": \"page\"", from_tool = "\"source\": \"command line\"";
    for (std::size_t at; (at = page.find(from_page)) != std::string::npos;)
        page.replace(at, from_page.size(), from_tool);
    EXPECT_NE(page, response.body);
    EXPECT_EQ(page, tool.out);
}

// The model document gives each object what the page's control needs, and
// each map's own object its texts as written and what they read; the
// objects a map adds (parameters, ports) have rows of their own.
TEST(ServeApi, ModelDescribesEveryObjectAndMapText) {
    // (description, the list, the entry's name or "map/name", its member or "" for the entry without map and name,
    // as compact JSON)
    const struct { const std::string& description; const char *list, *entry, *member, *value; } cases[] = {
        {RAM, "objects", "DEPTH", "choices", R"(["16","32","64","128","256","512","1024"])"},
        {RAM, "objects", "DEPTH", "default", R"("256")"},
        {RAM, "objects", "WIDTH", "range", R"({"max":64,"min":1})"},
        {RAM, "objects", "WIDTH", "choices", "null"},
        {RAM, "objects", "ADDR_WIDTH", "hidden", "true"},
        {RAM, "objects", "ADDR_WIDTH", "value", R"("8")"},
        {RAM, "objects", "ADDR_WIDTH", "value_text", R"x("ceil_log(DEPTH)")x"},
        {RAM, "objects", "clkb", "port", "true"},
        {RAM, "objects", "clka", "usage", R"("USED")"},
        {RAM, "objects", "clkb", "range", "null"},
        {COUNTER, "map_expressions", "generics/C_WIDTH", "",
         R"({"expression":"WIDTH","reads":["WIDTH"],"rules":[{"alt_value":"","condition":"WIDTH gte 1","value":""}]})"},
        {COUNTER, "map_expressions", "generics/C_TERMINAL_COUNT", "",
         R"({"expression":"","reads":["DIRECTION","WIDTH"],"rules":[)"
         R"({"alt_value":"(2 exp WIDTH) - 1","condition":"DIRECTION == down","value":"0"}]})"},
        {COUNTER, "map_expressions", "ports/din", "",
         R"({"expression":"","reads":["HAS_LOAD"],"rules":[)"
         R"({"alt_value":"UNUSED","condition":"HAS_LOAD == 1","value":"USED"}]})"},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<KOVA_SESSION> session = open_description(c.description);
        ASSERT_TRUE(session);
        const nlohmann::json model = nlohmann::json::parse(KOVA_SERVE_API(*session).handle("GET", "/api/model", "").body);
        nlohmann::json found = nlohmann::json::object();
        for (const nlohmann::json& entry : model[c.list])
            if (c.list == std::string("objects") ? entry["name"] == c.entry
                                                 : entry["map"].get<std::string>() + "/" +
                                                       entry["name"].get<std::string>() == c.entry)
                found = entry;
        if (*c.member) {
            found = found.value(c.member, nlohmann::json("absent"));
        } else {
            found.erase("map");
            found.erase("name");
        }
        EXPECT_EQ(found.dump(), c.value) << c.entry << " " << c.member;
        // 6 parameters, 3 hidden and 10 ports of ram.xml, the ECC sub-model's among them, no macro; four texts of
        // counter.xml's generics, two of its ports: WIDTH, DIRECTION... and clk, rst... are added, not the maps' own.
        EXPECT_EQ(model[c.list].size(), c.description == RAM ? 19u : 6u);
    }
}

// Each entry of an answer for every port, map or object is what the page
// would learn by asking about that one alone: its range, its map, and for
// a hidden parameter the value explain gives.
TEST(ServeApi, AnswersForEveryOneMatchTheOneByOne) {
    // (the route answering for every one, the member listing them, the member
    // naming one; the route answering for one, its member holding the entry,
    // "" for the whole document; the entry's member compared, "" for all)
    const struct {
        const std::string& description;
        const char *path, *list, *name, *one_path, *compared, *member;
    } cases[] = {
        {RAM, "/api/ranges", "ports", "port", "/api/ranges", "", ""},
        {COUNTER, "/api/wizard-map", "maps", "map", "/api/wizard-map", "", ""},
        {RAM, "/api/states", "objects", "name", "/api/explain", "object", "value"},
    };
    const std::string settings = R"("settings": {"MODE": "DUAL", "DEPTH": "32", "ECC": "1"})";
    for (const auto& c : cases) {
        const std::unique_ptr<KOVA_SESSION> session = open_description(c.description);
        ASSERT_TRUE(session);
        const KOVA_SERVE_API api(*session);
        const std::string body = c.description == RAM ? "{" + settings + "}" : "{}";
        const nlohmann::json every = nlohmann::json::parse(api.handle("POST", c.path, body).body);
        ASSERT_FALSE(every[c.list].empty()) << c.path;
        for (const nlohmann::json& entry : every[c.list]) {
            if (std::string(c.list) == "objects" && !entry["hidden"].get<bool>()) continue;
            const std::string one_body = "{\"name\": " + entry[c.name].dump() +
                                         (c.description == RAM ? ", " + settings : std::string()) + "}";
            const nlohmann::json one = nlohmann::json::parse(api.handle("POST", c.one_path, one_body).body);
            const nlohmann::json& answer = *c.compared ? one[c.compared] : one;
            for (const auto& [member, value] : entry.items()) {
                if (*c.member && member != c.member) continue;
                EXPECT_EQ(value, answer[member]) << c.path << " " << entry[c.name] << " " << member;
            }
        }
    }
}

// The states the page lacks after a change: those the states route gives
// that differ from the model's (its controls aside).
nlohmann::json changed_states(const KOVA_SERVE_API& api, const std::string& body) {
    nlohmann::json model = nlohmann::json::parse(api.handle("GET", "/api/model", "").body)["objects"];
    for (nlohmann::json& object : model) object.erase("choices"), object.erase("range");
    const nlohmann::json states = nlohmann::json::parse(api.handle("POST", "/api/states", body).body);
    nlohmann::json changed = nlohmann::json::array();
    for (const nlohmann::json& object : states["objects"])
        if (std::find(model.begin(), model.end(), object) == model.end()) changed.push_back(object);
    return changed;
}

// Each member of a refresh is what its own route answers for the same
// settings (of the objects, those the model lacks), though the refresh
// runs its queries one after another on one session; its messages are the
// run's once.
TEST(ServeApi, RefreshMembersMatchTheirRoutes) {
    // (route, its member, the refresh's member)
    const char* const members[][3] = {
        {"/api/ranges", "ports", "ranges"},
        {"/api/wizard-map", "maps", "wizard_maps"},    {"/api/messages", "wizard_messages", "wizard_messages"},
        {"/api/simlib", "libraries", "libraries"},     {"/api/simlib", "library_text", "library_text"},
        {"/api/validate", "messages", "messages"},     {"/api/validate", "valid", "valid"},
    };
    const struct { std::string description, body; } cases[] = {
        {RAM, CONFLICTS},
        {std::string(KOVA_EXAMPLES) + "/fifo.xml", R"({"settings": {"MEMORY_TYPE": "distributed", "WIDTH": "72"}})"},
        {COUNTER, R"({"settings": {"DIRECTION": "both", "HAS_LOAD": "1"}})"},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<KOVA_SESSION> session = open_description(c.description);
        ASSERT_TRUE(session);
        const KOVA_SERVE_API api(*session);
        const nlohmann::json refresh = nlohmann::json::parse(api.handle("POST", "/api/refresh", c.body).body);
        EXPECT_EQ(refresh["objects"], changed_states(api, c.body)) << c.description;
        for (const auto& [path, member, refreshed] : members) {
            const nlohmann::json alone = nlohmann::json::parse(api.handle("POST", path, c.body).body);
            ASSERT_TRUE(alone.contains(member)) << path << " " << member;
            EXPECT_EQ(refresh.value(refreshed, nlohmann::json()), alone[member]) << c.description << " " << refreshed;
        }
    }
}

}  // namespace
