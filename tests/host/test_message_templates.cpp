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

// The text of the Markdown code span that starts at text[at] (a run of n
// backticks, up to the next run of exactly n), line ends read as blanks and
// one blank taken off each end when it has both; "" when none starts there.
std::string code_span(const std::string& text, std::size_t at) {
    const std::size_t ticks = text.find_first_not_of('`', at) - at;
    if (ticks == 0) return "";
    std::size_t end = at + ticks;
    while ((end = text.find('`', end)) != std::string::npos) {
        const std::size_t run = text.find_first_not_of('`', end) - end;
        if (run == ticks) break;
        end += run;
    }
    std::string span = text.substr(at + ticks, end - at - ticks);
    for (char& c : span)
        if (c == '\n') c = ' ';
    if (span.size() > 2 && span.front() == ' ' && span.back() == ' ') span = span.substr(1, span.size() - 2);
    return span;
}

// The templates of the catalogue (the code spans after "Template: "), each
// with the example of its entry: the code span after "Example:", "" when
// the entry gives none, the template itself for "Example: the text itself".
std::map<std::string, std::string> catalogued_templates() {
    const std::string text = file_text(std::string(KOVA_SOURCE_DIR) + "/docs/messages.md");
    const std::string template_line = "\nTemplate: ", example_line = "Example:";
    std::map<std::string, std::string> found;
    for (std::size_t at = text.find(template_line); at != std::string::npos;) {
        const std::string entry_template = code_span(text, at + template_line.size());
        const std::size_t next = text.find(template_line, at + 1);
        const std::size_t example = text.find(example_line, at);
        std::string& given = found[entry_template];
        if (example < next) {
            const std::size_t start = text.find_first_not_of(" \n", example + example_line.size());
            std::string words = text.substr(start, 15);
            std::replace(words.begin(), words.end(), '\n', ' ');
            given = words == "the text itself" ? entry_template : code_span(text, start);
        }
        at = next;
    }
    return found;
}

// All source text of the folders, the table itself left out, with string
// literals that continue on the next line joined and the escapes \\ and \"
// read as the bytes they write.
std::string sources_of(std::initializer_list<const char*> folders) {
    std::string all;
    for (const char* folder : folders)
        for (const fs::directory_entry& entry : fs::directory_iterator(std::string(KOVA_SOURCE_DIR) + "/" + folder))
            if (entry.path().filename().string().rfind("message_template", 0) != 0)
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
// problem of the session that names an option), so pieces are cut at '"',
// '\'', '<', '>' and "--".
std::vector<std::string> worded_pieces(const char* template_text) {
    std::vector<std::string> pieces;
    for (const std::string& part : kova_template_fixed_parts(template_text)) {
        std::size_t start = 0;
        for (std::size_t end = 0; end <= part.size(); ++end) {
            const bool dashes = part.compare(end, 2, "--") == 0;
            if (end < part.size() && !dashes && std::string_view("\"'<>").find(part[end]) == std::string_view::npos)
                continue;
            // The code joins words with blanks of its own: a piece is sought without its outer blanks.
            std::string piece = part.substr(start, end - start);
            piece.erase(0, piece.find_first_not_of(' '));
            piece.erase(piece.find_last_not_of(' ') + 1);
            if (piece.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos)
                pieces.push_back(piece);
            start = end + (dashes ? 2 : 1);
            end += dashes ? 1 : 0;
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
        {KOVA_MESSAGE_FROM_TOOL, sources_of({"tools", "session"})}};
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
