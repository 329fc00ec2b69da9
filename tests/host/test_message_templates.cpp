// The table of message templates against the catalogue (docs/messages.md)
// and against the code that posts the messages: every template is
// catalogued, the catalogue names no other, and every fixed part of a
// template is in the sources of the folders its messages come from.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "host/message_templates.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// The templates of the catalogue: its lines "Template: `...`".
std::set<std::string> catalogued_templates() {
    const std::string text = file_text(std::string(KOVA_SOURCE_DIR) + "/docs/messages.md");
    const std::string opening = "\nTemplate: `";
    std::set<std::string> found;
    for (std::size_t at = text.find(opening); at != std::string::npos; at = text.find(opening, at + 1)) {
        const std::size_t start = at + opening.size();
        found.insert(text.substr(start, text.find("`\n", start) - start));
    }
    return found;
}

// All source text of the folders, the table itself left out.
std::string sources_of(std::initializer_list<const char*> folders) {
    std::string all;
    for (const char* folder : folders)
        for (const fs::directory_entry& entry : fs::directory_iterator(std::string(KOVA_SOURCE_DIR) + "/" + folder))
            if (entry.path().filename() != "message_templates.cpp") all += file_text(entry.path().string());
    return all;
}

// The pieces of a template's fixed parts that name words: the code builds
// quotes and tags with helpers, so pieces are cut at '"', '<' and '>'.
std::vector<std::string> worded_pieces(const char* template_text) {
    std::vector<std::string> pieces;
    for (const std::string& part : kova_template_fixed_parts(template_text)) {
        std::size_t start = 0;
        for (std::size_t end = 0; end <= part.size(); ++end) {
            if (end < part.size() && part[end] != '"' && part[end] != '<' && part[end] != '>') continue;
            const std::string piece = part.substr(start, end - start);
            if (piece.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos)
                pieces.push_back(piece);
            start = end + 1;
        }
    }
    return pieces;
}

TEST(MessageTemplates, TableCatalogueAndCodeAgree) {
    const std::string engine = sources_of({"validator", "expr", "stimulus"});
    const std::string loader = sources_of({"host"});
    std::set<std::string> catalogued = catalogued_templates();
    ASSERT_FALSE(catalogued.empty());
    std::set<std::string> seen;
    for (const KOVA_MESSAGE_TEMPLATE& entry : kova_message_templates()) {
        SCOPED_TRACE(entry.text);
        EXPECT_TRUE(seen.insert(entry.text).second) << "listed twice";
        EXPECT_EQ(catalogued.erase(entry.text), 1u) << "missing from docs/messages.md";
        const std::string& code = entry.source == KOVA_MESSAGE_FROM_ENGINE ? engine : loader;
        for (const std::string& piece : worded_pieces(entry.text))
            EXPECT_NE(code.find(piece), std::string::npos) << "no code posts \"" << piece << "\"";
    }
    for (const std::string& extra : catalogued) ADD_FAILURE() << "catalogued but not in the table: " << extra;
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
