// --format json on every subcommand: one document that parses, carries
// the same facts as the text output, and keeps the exit codes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/test_support.h"

namespace {

std::string example(const char* name) { return std::string(KOVA_EXAMPLES) + "/" + name; }

nlohmann::json json_of(const std::string& arguments, int expected_status) {
    const TOOL_RUN run = run_kova(arguments + " --format json", false);
    EXPECT_EQ(run.status, expected_status) << arguments;
    return nlohmann::json::parse(run.out, nullptr, false);
}

}  // namespace

TEST(KovaJson, EverySubcommandWritesOneDocument) {
    const std::string ram = example("ram.xml"), fifo = example("fifo.xml"), counter = example("counter.xml");
    const struct {
        std::string arguments;
        int status;
        const char* key;  // a member every such document has
    } cases[] = {
        {"show " + ram, 0, "objects"},
        {"eval " + ram + " 'DEPTH * 2'", 0, "result"},
        {"validate " + ram, 0, "valid"},
        {"deps " + ram + " DEPTH", 0, "names"},
        {"widths " + fifo, 0, "ports"},
        {"ranges " + fifo + " data_count", 0, "lower"},
        {"messages " + fifo, 0, "shown"},
        {"simlib " + fifo, 0, "libraries"},
        {"wizard-map " + counter + " generics", 0, "objects"},
        {"stimulus " + counter + " count_cycle --time 0", 0, "transitions"},
    };
    for (const auto& c : cases) {
        const nlohmann::json document = json_of(c.arguments, c.status);
        ASSERT_FALSE(document.is_discarded()) << c.arguments;
        EXPECT_TRUE(document.contains(c.key)) << c.arguments << "\n" << document.dump();
    }
}

TEST(KovaJson, ValidateCarriesMessagesAndBothStates) {
    const nlohmann::json document =
        json_of("validate " + example("ram.xml") + " --settings " + example("ram-conflicts.settings"), 1);
    ASSERT_FALSE(document.is_discarded());
    EXPECT_FALSE(document["valid"].get<bool>());
    const TOOL_RUN text = run_kova("validate " + example("ram.xml") + " --settings " + example("ram-conflicts.settings"));
    std::string listed;
    for (const auto& message : document["messages"])
        listed += example("ram.xml") + ": error: " + message.get<std::string>() + "\n";
    EXPECT_EQ(listed + example("ram.xml") + ": invalid\n", text.out);

    bool found = false;
    for (const auto& parameter : document["parameters"]) {
        if (parameter["name"] != "DEPTH") continue;
        found = true;
        EXPECT_EQ(parameter["value"], "300");
        EXPECT_EQ(parameter["alt_value"], "16|32|64|128|256|512|1024");
        EXPECT_EQ(parameter["usage"], "USED");
    }
    EXPECT_TRUE(found);
    for (const auto& port : document["ports"]) {
        if (port["name"] == "clkb") {
            EXPECT_EQ(port["alt_usage"], "USED");
        }
    }
}

TEST(KovaJson, UsageErrorsStayOnStandardErrorWithStatusTwo) {
    const TOOL_RUN run = run_kova("ranges " + example("fifo.xml") + " NOSUCH --format json", false);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run_kova("show " + example("fifo.xml") + " --format yaml").status, 2);
}
