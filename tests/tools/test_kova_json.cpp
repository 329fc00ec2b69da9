// --format json: the schema names every message kind and severity the
// tool can write, and no other. check_json_schema.py checks that every
// subcommand and failure writes one document of the schema, with its exit
// status; the Python module's comparison with validate's document checks
// the members of messages and object states.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include <nlohmann/json.hpp>

#include "host/diagnostic.h"
#include "support/test_support.h"

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
