// --format json: placed messages and both states of an invalid
// configuration, and the message kinds the schema allows. check_json_schema.py checks that every
// subcommand and failure writes one document of the schema, with its exit
// status.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include <nlohmann/json.hpp>

#include "host/diagnostic.h"
#include "support/test_support.h"

namespace {

std::string example(const char* name) { return std::string(KOVA_EXAMPLES) + "/" + name; }

// A run with --format json, standard error left out; the document is
// discarded unless standard output is exactly one document.
struct JSON_RUN { int status; std::string out; nlohmann::json document; };

JSON_RUN json_run(const std::string& arguments) {
    const TOOL_RUN run = run_kova(arguments + " --format json", false);
    return {run.status, run.out, nlohmann::json::parse(run.out, nullptr, false)};
}

// The first message of a kind, or null.
nlohmann::json message_of_kind(const nlohmann::json& document, const std::string& kind) {
    for (const auto& message : document["messages"])
        if (message["kind"] == kind) return message;
    return nullptr;
}

// A member of the entry of a list (parameters or ports) with that name, or null.
nlohmann::json member_of(const nlohmann::json& document, const char* list, const char* name, const char* member) {
    for (const auto& entry : document[list])
        if (entry["name"] == name) return entry[member];
    return nullptr;
}

}  // namespace

TEST(KovaJson, InvalidConfigurationGivesPlacedMessagesAndBothStates) {
    const std::string arguments = "validate " + example("ram.xml") + " --settings " + example("ram-conflicts.settings");
    const JSON_RUN run = json_run(arguments);
    EXPECT_EQ(run.status, 1);
    ASSERT_FALSE(run.document.is_discarded()) << run.out;
    EXPECT_EQ(run.document["valid"], false);

    // One message per kind of conflict, with the object, rule and place it
    // names; only the value set in the settings file points back there.
    const struct { const char *kind, *object; int rule, line, column; nlohmann::json setting; } expected[] = {
        {"value-conflict", "DEPTH", 0, 17, 38, {{"file", example("ram-conflicts.settings")}, {"line", 6}}},
        {"usage-conflict", "clkb", 0, 50, 43, nullptr},
        {"check-failed", "BYTE_ENABLES", 1, 28, 31, nullptr},
    };
    for (const auto& e : expected) {
        const nlohmann::json message = message_of_kind(run.document, e.kind);
        ASSERT_FALSE(message.is_null()) << e.kind << "\n" << run.out;
        const nlohmann::json wanted = {{"severity", "error"}, {"object", e.object}, {"rule", e.rule},
                                       {"file", example("ram.xml")}, {"line", e.line}, {"column", e.column},
                                       {"setting", e.setting}};
        for (const auto& [key, value] : wanted.items()) EXPECT_EQ(message[key], value) << e.kind << " " << key;
    }

    // The text output prints the same messages.
    const TOOL_RUN text = run_kova(arguments);
    for (const auto& message : run.document["messages"])
        EXPECT_NE(text.out.find(": error: " + message["text"].get<std::string>() + "\n"), std::string::npos)
            << message["text"];

    const struct { const char *list, *name, *member, *value; } states[] = {
        {"parameters", "DEPTH", "value", "300"}, {"parameters", "DEPTH", "alt_value", "16|32|64|128|256|512|1024"},
        {"parameters", "DEPTH", "usage", "USED"}, {"ports", "clkb", "usage", "UNUSED"},
        {"ports", "clkb", "alt_usage", "USED"}};
    for (const auto& s : states)
        EXPECT_EQ(member_of(run.document, s.list, s.name, s.member), s.value) << s.name << " " << s.member;
}

// The schema names every kind and severity the tool can write, and no
// other.
TEST(KovaJson, SchemaListsEveryMessageKindAndSeverity) {
    std::ifstream file(std::string(KOVA_SOURCE_DIR) + "/docs/kova.schema.json");
    const nlohmann::json schema = nlohmann::json::parse(file, nullptr, false);
    ASSERT_FALSE(schema.is_discarded());
    const nlohmann::json& properties = schema["$defs"]["message"]["properties"];
    std::set<std::string> kinds, severities;
    for (int kind = 0; kind < KOVA_DIAG_KIND_COUNT; ++kind)
        kinds.insert(kova_diagnostic_kind_name(static_cast<KOVA_DIAGNOSTIC_KIND>(kind)));
    for (KOVA_SEVERITY severity : {KOVA_SEVERITY_ERROR, KOVA_SEVERITY_WARNING, KOVA_SEVERITY_NOTE})
        severities.insert(kova_severity_name(severity));
    EXPECT_EQ(properties["kind"]["enum"].get<std::set<std::string>>(), kinds);
    EXPECT_EQ(properties["severity"]["enum"].get<std::set<std::string>>(), severities);
}
