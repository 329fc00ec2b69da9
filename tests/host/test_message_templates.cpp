// The table of message templates against the catalogue (docs/messages.md)
// and against the code that posts the messages: every template is
// catalogued, the catalogue names no other, every example of the catalogue
// fits its template, and every fixed part of a template is in the sources
// of the folders its messages come from.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "host/message_templates.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// All source text of the folders (not their subfolders), the table itself
// left out, with string literals that continue on the next line joined and
// the escapes \\ and \" read as the bytes they write.
std::string sources_of(std::initializer_list<const char*> folders) {
    std::string all;
    for (const char* folder : folders)
        for (const fs::directory_entry& entry : fs::directory_iterator(std::string(KOVA_SOURCE_DIR) + "/" + folder))
            if (entry.is_regular_file() && entry.path().filename().string().rfind("message_template", 0) != 0)
                all += file_text(entry.path().string());
    std::string read;
    for (std::size_t at = 0; at < all.size(); ++at) {
        const std::size_t after = all.find_first_not_of(" \t\n", at + 1);
        if (all[at] == '"' && after != std::string::npos && all[after] == '"' && all.find('\n', at) < after) {
            at = after;  // "...end" NEWLINE "start..."
            continue;
        }
        if (all[at] == '\\' && at + 1 < all.size() && (all[at + 1] == '\\' || all[at + 1] == '"')) ++at;
        read += all[at];
    }
    return read;
}

// The pieces of a template's fixed parts that name words: the code builds
// quotes, tags and options with helpers (the tool puts "--" before a
// problem of the session that names an option) and puts a reason after
// "WHAT: ", so pieces are cut at '"', '\'', '<', '>', "--" and ": ".
std::vector<std::string> worded_pieces(const char* template_text) {
    std::vector<std::string> pieces;
    for (const std::string& part : kova_template_fixed_parts(template_text)) {
        std::size_t start = 0;
        for (std::size_t end = 0; end <= part.size(); ++end) {
            const bool pair = part.compare(end, 2, "--") == 0 || part.compare(end, 2, ": ") == 0;
            if (end < part.size() && !pair && std::string_view("\"'<>").find(part[end]) == std::string_view::npos)
                continue;
            // The code joins words with blanks of its own: a piece is sought without its outer blanks.
            std::string piece = part.substr(start, end - start);
            piece.erase(0, piece.find_first_not_of(' '));
            piece.erase(piece.find_last_not_of(' ') + 1);
            if (piece.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos)
                pieces.push_back(piece);
            start = end + (pair ? 2 : 1);
            end += pair ? 1 : 0;
        }
    }
    return pieces;
}

TEST(MessageTemplates, TableCatalogueAndCodeAgree) {
    // A layer's texts may be built of pieces of the layers below it.
    const std::map<KOVA_MESSAGE_SOURCE, std::string> code = {
        {KOVA_MESSAGE_FROM_ENGINE, sources_of({"validator", "expr", "stimulus"})},
        {KOVA_MESSAGE_FROM_LOADER, sources_of({"host"})},
        {KOVA_MESSAGE_FROM_SESSION, sources_of({"session"})},
        {KOVA_MESSAGE_FROM_LINT, sources_of({"lint", "session"})},
        {KOVA_MESSAGE_FROM_TOOL, sources_of({"tools", "session"})},
        {KOVA_MESSAGE_FROM_GENERATOR, sources_of({"generate", "tools", "session"})},
        {KOVA_MESSAGE_FROM_SERVER, sources_of({"serve"})}};
    std::map<std::string, std::string> catalogued = catalogued_templates();
    ASSERT_FALSE(catalogued.empty());
    std::set<std::string> seen;
    for (const KOVA_MESSAGE_TEMPLATE& entry : kova_message_templates()) {
        SCOPED_TRACE(entry.text);
        EXPECT_TRUE(seen.insert(entry.text).second) << "listed twice";
        EXPECT_EQ(catalogued.erase(entry.text), 1u) << "missing from docs/messages.md";
        for (const std::string& piece : worded_pieces(entry.text))
            EXPECT_NE(code.at(entry.source).find(piece), std::string::npos) << "no code posts \"" << piece << "\"";
    }
    for (const auto& extra : catalogued) ADD_FAILURE() << "catalogued but not in the table: " << extra.first;
}

// Every entry of the catalogue gives an example, and the example is a text
// its template gives.
TEST(MessageTemplates, CatalogueExamplesFitTheirTemplates) {
    for (const auto& [entry_template, example] : catalogued_templates()) {
        SCOPED_TRACE(entry_template);
        EXPECT_FALSE(example.empty()) << "no example";
        EXPECT_TRUE(kova_template_matches(entry_template, example)) << "the example does not fit: " << example;
    }
}

// Matching a posted text: variable parts may be empty or hold fixed text.
TEST(MessageTemplates, MatchesPostedTexts) {
    const struct {
        const char* template_text;
        const char* text;
        bool matches;
    } cases[] = {
        {"Error : Division by zero in condition {CONDITION}", "Error : Division by zero in condition 1/0", true},
        {"Error : Division by zero in condition {CONDITION}", "Error : Division by zero in condition ", true},
        {"Error : Division by zero in condition {CONDITION}", "Error: Division by zero in condition 1/0", false},
        {"{PROBLEM} while parsing {TEXT}", "parse error, expecting `)' while parsing (a", true},
        {"{PROBLEM} while parsing {TEXT}", "parse error while parsing a while parsing b", true},
        {"{PROBLEM} while parsing {TEXT}", "parse error while parsin", false},
        {"{A} of {B} is empty", "\"x\" of <y> is empty", true},
        {"{A} of {B} is empty", "\"x\" of <y> is empty!", false},
        {"Some objects dont have the correct settings to be validated",
         "Some objects dont have the correct settings to be validated", true},
        {"Some objects dont have the correct settings to be validated", "Some objects", false},
        {"{not a variable}", "{not a variable}", true},
    };
    for (const auto& c : cases) EXPECT_EQ(kova_template_matches(c.template_text, c.text), c.matches) << c.text;
}

}  // namespace
