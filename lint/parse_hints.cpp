// Reading the place and the likely slip of a parse error from the text,
// its tree and the engine's message.
#include "lint/parse_hints.h"

#include <algorithm>
#include <cctype>

#include "host/kova_stl.h"

namespace {

bool word_byte(char byte) { return std::isalnum(static_cast<unsigned char>(byte)) || byte == '_'; }

// The word that starts at at; "" when none does.
std::string word_at(const std::string& text, std::size_t at) {
    std::size_t end = std::min(at, text.size());
    while (end < text.size() && word_byte(text[end])) ++end;
    return text.substr(at, end - at);
}

// The word that ends where the blanks before at begin; "" when none does.
std::string word_before(const std::string& text, std::size_t at) {
    std::size_t end = std::min(at, text.size());
    while (end > 0 && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    std::size_t start = end;
    while (start > 0 && word_byte(text[start - 1])) --start;
    return text.substr(start, end - start);
}

// What the engine's message says could have followed, up to " while
// parsing", which the text itself follows.
std::string expected_part(const std::string& error) { return error.substr(0, error.find(" while parsing ")); }

// The hint where the engine's message names "$", the end of the text.
std::string end_hint(const std::string& error, const std::string& text, std::size_t at) {
    const std::string expected = expected_part(error);
    if (expected.find("`$'") == std::string::npos) return std::string();
    if (expected.find("expecting `$'") == std::string::npos || expected.find(" or ") != std::string::npos)
        return "`$` is the end of the text";
    return std::string("nothing may follow here but the end of the text") +
           (at < text.size() && text[at] == ')' ? ": is there an extra `)`?" : "");
}

}  // namespace

// A word in capitals that is a keyword in lower case, or an "or" or
// "not", which the language spells || and !.
std::string KOVA_PARSE_HINTS::keyword_hint(const std::string& word) {
    static const struct { const char* word; const char* written; } SPELT[] = {
        {"and", "&&"}, {"or", "||"}, {"not", "!"}};
    const std::string lower = to_lower_case(word);
    std::string written;
    for (const auto& spelt : SPELT)
        if (lower == spelt.word) written = spelt.written;
    if (lower == word)
        return lower == "or" || lower == "not" ? "there is no keyword " + word + ": write `" + written + "`"
                                               : std::string();
    if (written.empty()) {
        // A keyword alone never reads as the name it is spelt as.
        const KOVA_SYNTAX_TREE& tree = m_words.read(lower);
        const bool name = tree.parsed() && tree.root >= 0 && tree[tree.root].kind == KOVA_SYN_NAME;
        if (name) return std::string();
        written = lower;
    }
    return "keywords are lower case: write `" + written + "`";
}

KOVA_PARSE_STOP KOVA_PARSE_HINTS::stop(const std::string& text, const KOVA_SYNTAX_TREE& tree) {
    if (tree.unclosed_at >= 0)
        return {static_cast<uint32_t>(tree.unclosed_at), "this `(` is never closed: the text ends before its `)`"};
    const std::size_t at = tree.error_at;
    // The scanner skips a lone "=" (one of no "==", "!=", "<=" or ">=").
    if (tree.unplaced.find('=') != std::string::npos) return {tree.error_at, "did you mean `==`?"};
    std::string hint = keyword_hint(word_at(text, at));
    if (hint.empty()) hint = keyword_hint(word_before(text, at));
    if (hint.empty()) hint = end_hint(tree.error, text, at);
    return {tree.error_at, hint};
}
