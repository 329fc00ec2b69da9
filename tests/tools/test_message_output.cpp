// What the kova tool gives with --format json fits the table of message templates (host/message_templates.cpp),
// so that docs/messages.md explains it: over command lines from a clean run to one mistake of each kind, every
// message text (by its kind), lint hint and problem text (by any kind) fits a template, and the catalogue's example
// of every template these runs give is what they give. The schema names every message kind and severity, and no
// other; check_json_schema.py checks each subcommand's documents against it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include <nlohmann/json.hpp>

#include "host/diagnostic.h"
#include "host/message_templates.h"
#include "support/test_support.h"
#include "tests/tools/command_lines.h"

namespace {

// The kind a JSON answer names; KOVA_DIAG_KIND_COUNT for none.
KOVA_DIAGNOSTIC_KIND kind_named(const std::string& name) {
    for (int kind = 0; kind < KOVA_DIAG_KIND_COUNT; ++kind)
        if (name == kova_diagnostic_kind_name(static_cast<KOVA_DIAGNOSTIC_KIND>(kind)))
            return static_cast<KOVA_DIAGNOSTIC_KIND>(kind);
    return KOVA_DIAG_KIND_COUNT;
}

// Whether a problem text fits a template of any kind: the same text is a setting's message and the request's problem.
bool fits_any_kind(const std::string& text) {
    for (int kind = 0; kind < KOVA_DIAG_KIND_COUNT; ++kind)
        if (kova_message_template_of(static_cast<KOVA_DIAGNOSTIC_KIND>(kind), text)) return true;
    return false;
}

// Checks every text of one JSON document and adds it to given; returns how many it checked.
std::size_t check_document(const nlohmann::json& document, std::set<std::string>& given) {
    std::size_t checked = 0;
    if (document.contains("error") && document["error"].is_string()) {
        ++checked;
        EXPECT_TRUE(fits_any_kind(document["error"])) << "problem: " << document["error"];
        given.insert(document["error"].get<std::string>());
    }
    if (!document.contains("messages")) return checked;
    for (const nlohmann::json& message : document["messages"]) {
        ++checked;
        const std::string text = message["text"];
        EXPECT_TRUE(kova_message_template_of(kind_named(message["kind"]), text))
            << message["kind"] << " message: " << text;
        given.insert(text);
        if (message.contains("hint") && message["hint"].is_string()) {
            EXPECT_TRUE(kova_message_template_of(KOVA_DIAG_PARSE_ERROR, message["hint"].get<std::string>()))
                << "hint: " << message["hint"];
            given.insert(message["hint"].get<std::string>());
        }
    }
    return checked;
}

}  // namespace

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

TEST(MessageOutput, EveryTextTheToolGivesFitsATemplate) {
    const std::string fifo = example("fifo.xml"), ram = example("ram.xml"), uart = test_data("uart.xml");
    const std::string bad_settings = write_temp_file(
        "bad.settings", "WIDTH=8\nWIDTH=9\nnothing here\n=3\n\"A B\"=1\nDEPTH=\"x\ny\nDEPTH=\"a\\q\"\n"
                        "DEPTH=\"\\x4\"\nDEPTH=\"a\"b\nclk=CONSTANT:5x\n");
    // Names, values and a macro call that generate and lint refuse.
    const std::string gen = write_temp_file(
        "gen.xml", "<model function='9blk'><object name='BIG' kind='integer' default='99999999999'/>"
                   "<object name='N' kind='integer' default='0'/>"
                   "<object name='d' kind='in' width='N' default_usage_state='USED'/>"
                   "<object name='a-b' kind='in' width='1' default_usage_state='USED'/>"
                   "<object name='a_b' kind='in' width='1' default_usage_state='USED'/>"
                   "<object name='bytes' kind='macro' arguments='w' value='w ceil_div 8'/>"
                   "<object name='H' kind='hidden' value='bytes(N, N)'/></model>");
    // Previous names taken by an object and claimed twice.
    const std::string names = write_temp_file(
        "names.xml", "<model function='n'><object name='BAUD_RATE' kind='integer' previous_names='BAUD, RATE'/>"
                     "<object name='RATE' kind='hidden' value='1'/>"
                     "<object name='TX_RATE' kind='integer' previous_names='BAUD'/>"
                     "<object name='DIVISOR' kind='hidden' value='2' previous_names='DIV'/></model>");
    const char* const lines[] = {
        // The engine's and the loader's messages, and a run's own.
        "validate {RAM} --settings {EXAMPLES}/ram-conflicts.settings",
        "validate {FIFO} --settings {EXAMPLES}/fifo-conflicts.settings", "validate {UART}",
        "validate {DATA}/places.xml --set WIDTH=40", "validate {FIFO} --set WIDTH=0x10 --set DEPTH=20",
        "validate {FIFO} --constant din=0x1ff", "validate {DATA}/nothing.xml", "validate {DATA}/spram.dump",
        // Settings refused and settings files with mistakes.
        "validate {FIFO} --set WIDHT=1", "validate {FIFO} --set clk=HALF", "validate {FIFO} --set WIDTH",
        "validate {FIFO} --constant WIDTH=3", "validate {FIFO} --constant din=0xg", "validate {FIFO} --settings {BAD}",
        "validate {FIFO} --settings {DATA}/nothing.settings",
        // Lint's findings and the problems of its request.
        "lint {DATA}/lint-mistakes.xml", "lint {DATA}/uart-draft.xml --enable missing-help",
        "lint {FIFO} --disable no-such-check", "lint {GEN}", "lint {NAMES}",
        // Versions of a block.
        "validate {EXAMPLES}/versions/uart-v2.xml --settings {EXAMPLES}/versions/uart-v1.settings",
        "migrate {EXAMPLES}/versions/uart-v1.settings --to {EXAMPLES}/versions/uart-v2.xml",
        "diff {EXAMPLES}/versions/uart-v2.settings {EXAMPLES}/versions/uart-v2.xml",
        // Other requests of the shared layer.
        "explain {FIFO} NO_SUCH", "sweep {FIFO} --vary NO_SUCH", "sweep {FIFO} --vary DEPTH=1..x",
        "sweep {FIFO} --vary 'DEPTH=1||2'", "sweep {FIFO} --vary ALMOST_FULL_LEVEL",
        "sweep {FIFO} --vary DEPTH --vary DEPTH", "sweep {FIFO} --vary DEPTH --shard 4/2",
        "wizard-map {FIFO} no_such_map",
        // The tool's own.
        "valdate", "validate {FIFO} --sett", "validate {FIFO} extra", "deps {FIFO}", "sweep {FIFO}",
        "generate {FIFO} --lang c -o {DATA}/no-such-folder/out.h",
        // The generator's refusals and what a language cannot write.
        "generate {FIFO} --settings {EXAMPLES}/fifo-conflicts.settings --lang verilog",
        "generate {FIFO} --constant din=0x1ff --lang verilog", "generate {FIFO} --lang c --stub",
        "generate {FIFO} --lang verilog --stub --name x", "generate {FIFO} --lang json --name x",
        "generate {FIFO} --lang verilog --name sync_fifo", "generate {FIFO} --lang verilog --name 'a b'",
        "generate {GEN} --lang verilog", "generate {GEN} --lang c", "generate {GEN} --lang c --set BIG=1 --name x",
    };
    std::set<std::string> given;
    const PLACES places = {{"{RAM}", ram}, {"{FIFO}", fifo}, {"{UART}", uart}, {"{BAD}", bad_settings}, {"{GEN}", gen},
                           {"{NAMES}", names}, {"{EXAMPLES}", KOVA_EXAMPLES}, {"{DATA}", KOVA_TEST_DATA}};
    for (const char* const row : lines) {
        const std::string line = placed(row, places);
        SCOPED_TRACE(line);
        // A sweep writes a document per line; each of these stops at its first.
        const bool sweep = line.rfind("sweep", 0) == 0;
        const TOOL_RUN run = run_kova(line + (sweep ? " --format jsonl" : " --format json"), false);
        const nlohmann::json document = nlohmann::json::parse(run.out, nullptr, false);
        ASSERT_FALSE(document.is_discarded()) << run.out;
        EXPECT_GT(check_document(document, given), 0u) << "gave no text to check";
    }
    // A notice on standard error, after "kova sweep: ".
    std::string notice = run_shell(kova_tool() + " sweep " + fifo + " --vary DEPTH --limit 1 2>&1 >/dev/null").out;
    notice = notice.substr(12, notice.find('\n') - 12);
    EXPECT_TRUE(fits_any_kind(notice)) << "notice: " << notice;
    given.insert(notice);
    // The catalogue's example of a template these runs give is one they give, paths taken from this tree's.
    std::set<std::string> given_here;
    for (std::string text : given) {
        for (const std::string& tree : {test_data(""), example(""), temp_folder() + "/"}) {
            for (std::size_t at; (at = text.find(tree)) != std::string::npos;) text.erase(at, tree.size());
        }
        given_here.insert(text);
    }
    for (const auto& entry : catalogued_templates()) {
        const auto fits = [&](const std::string& text) { return kova_template_matches(entry.first, text); };
        if (std::any_of(given_here.begin(), given_here.end(), fits)) {
            EXPECT_EQ(given_here.count(entry.second), 1u) << "not given: " << entry.second;
        }
    }
}
