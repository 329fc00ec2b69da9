// The table of message templates against the catalogue (docs/messages.md)
// and against the code that posts the messages: every template is
// catalogued, the catalogue names no other, every example of the catalogue
// fits its template, and every fixed part of a template is in the sources
// of the folders its messages come from.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "host/message_templates.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// The example an entry gives (see catalogued_templates).
std::string example_of(const std::string& entry, const std::string& entry_template) {
    const std::size_t at = entry.find("Example: ");
    if (at == std::string::npos) return "";
    std::size_t start = at + 9;
    if (entry.compare(start, 15, "the text itself") == 0) return entry_template;
    const std::string quote = entry.compare(start, 3, "`` ") == 0 ? "`` " : entry.compare(start, 1, "`") == 0 ? "`" : "";
    if (quote.empty()) return "";
    start += quote.size();
    const std::string closing = quote == "`" ? "`" : " ``";
    std::string example = entry.substr(start, entry.find(closing, start) - start);
    for (char& c : example)
        if (c == '\n') c = ' ';
    return example;
}

const std::string k_template_line = "\nTemplate: `";

// The templates of the catalogue (its lines "Template: `...`"), each with
// the example of its entry: the quoted text after "Example: " and before
// the next entry, its line ends read as blanks; "" when the entry gives
// none, and the template itself for "Example: the text itself".
std::map<std::string, std::string> catalogued_templates() {
    const std::string text = file_text(std::string(KOVA_SOURCE_DIR) + "/docs/messages.md");
    std::map<std::string, std::string> found;
    for (std::size_t at = text.find(k_template_line); at != std::string::npos;) {
        const std::size_t start = at + k_template_line.size();
        const std::string entry_template = text.substr(start, text.find("`\n", start) - start);
        const std::size_t next = text.find(k_template_line, start);
        found[entry_template] = example_of(text.substr(start, next - start), entry_template);
        at = next;
    }
    return found;
}

// All source text of the folders, the table itself left out, with the
// escapes \\ and \" of string literals read as the bytes they write.
std::string sources_of(std::initializer_list<const char*> folders) {
    std::string all;
    for (const char* folder : folders)
        for (const fs::directory_entry& entry : fs::directory_iterator(std::string(KOVA_SOURCE_DIR) + "/" + folder))
            if (entry.path().filename().string().rfind("message_template", 0) != 0) all += file_text(entry.path().string());
    std::string read;
    for (std::size_t at = 0; at < all.size(); ++at) {
        if (all[at] == '\\' && at + 1 < all.size() && (all[at + 1] == '\\' || all[at + 1] == '"')) ++at;
        read += all[at];
    }
    return read;
}

// The pieces of a template's fixed parts that name words: the code builds
// quotes and tags with helpers, so pieces are cut at '"', '\'', '<' and '>'.
std::vector<std::string> worded_pieces(const char* template_text) {
    std::vector<std::string> pieces;
    for (const std::string& part : kova_template_fixed_parts(template_text)) {
        std::size_t start = 0;
        for (std::size_t end = 0; end <= part.size(); ++end) {
            if (end < part.size() && std::string_view("\"'<>").find(part[end]) == std::string_view::npos) continue;
            const std::string piece = part.substr(start, end - start);
            if (piece.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos)
                pieces.push_back(piece);
            start = end + 1;
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
        {KOVA_MESSAGE_FROM_TOOL, sources_of({"tools"})}};
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
