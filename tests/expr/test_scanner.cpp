// The scanner: which tokens a text gives, and which characters it copies
// to the output stream.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "expr/parser.hpp"
#include "expr/scanner.h"

namespace {

std::string token_name(int code) {
    static const std::map<int, std::string> names = {
        {INTEGER, "INTEGER"}, {NAME, "NAME"}, {STRING, "STRING"}, {USED, "USED"}, {CEIL_LOG, "CEIL_LOG"},
        {A_MAX, "A_MAX"}, {A_MIN, "A_MIN"}, {PORT_NAME, "PORT_NAME"}, {QUOTED_STRING, "QUOTED_STRING"},
        {QUOTIENT, "QUOTIENT"}, {CONST_PORT, "CONST_PORT"}, {OR, "OR"}, {AND, "AND"}, {DIV, "DIV"},
        {EXP, "EXP"}, {DOUBLE_DIV, "DOUBLE_DIV"}, {CEIL_DIV, "CEIL_DIV"}, {EQUAL_TO, "EQUAL_TO"},
        {NOT_EQUAL_TO, "NOT_EQUAL_TO"}, {GREATER_THAN, "GREATER_THAN"}, {LESS_THAN, "LESS_THAN"},
        {GREATER_THAN_OR_EQUAL, "GREATER_THAN_OR_EQUAL"}, {LESS_THAN_OR_EQUAL, "LESS_THAN_OR_EQUAL"},
        {STR_GREATER_THAN, "STR_GREATER_THAN"}, {STR_LESS_THAN, "STR_LESS_THAN"},
        {STR_GREATER_THAN_OR_EQUAL, "STR_GREATER_THAN_OR_EQUAL"}, {STR_LESS_THAN_OR_EQUAL, "STR_LESS_THAN_OR_EQUAL"}};
    auto found = names.find(code);
    if (found != names.end()) return found->second;
    return std::string("'") + static_cast<char>(code) + "'";
}

// The tokens of text, blank-separated, with the text of INTEGER, NAME and
// STRING in brackets.
std::string scan(const std::string& text, std::ostream& output) {
    KOVA_SCANNER scanner(text, &output);
    std::string listing;
    for (KOVA_TOKEN token = scanner.next(); token.code != 0; token = scanner.next()) {
        if (!listing.empty()) listing += " ";
        listing += token_name(token.code);
        if (token.code == INTEGER || token.code == NAME || token.code == STRING)
            listing += "[" + std::string(token.text, token.length) + "]";
    }
    return listing;
}

}  // namespace

TEST(Scanner, TokensAndUnmatchedCharacters) {
    const std::string long_name(17000, 'n');  // longer than the scanner's buffer
    const struct { std::string text, tokens, unmatched = ""; } cases[] = {  // unmatched: what reaches the output
        // Keywords, operators and punctuation.
        {"is_used is_constant used port str", "USED CONST_PORT USED PORT_NAME QUOTED_STRING"},
        {"max min quot ceil_log exp", "A_MAX A_MIN QUOTIENT CEIL_LOG EXP"},
        {"gt > lt <", "GREATER_THAN GREATER_THAN LESS_THAN LESS_THAN"},
        {"str_lt str_lte str_gt str_gte",
         "STR_LESS_THAN STR_LESS_THAN_OR_EQUAL STR_GREATER_THAN STR_GREATER_THAN_OR_EQUAL"},
        {"gte >= lte <=", "GREATER_THAN_OR_EQUAL GREATER_THAN_OR_EQUAL LESS_THAN_OR_EQUAL LESS_THAN_OR_EQUAL"},
        {"and && div double_div ceil_div /", "AND AND DIV DOUBLE_DIV CEIL_DIV DIV"},
        {"== != ||", "EQUAL_TO NOT_EQUAL_TO OR"},
        {"!%*+,-:?().", "'!' '%' '*' '+' ',' '-' ':' '?' '(' ')' '.'"},
        {"a||b>=c", "NAME[a] OR NAME[b] GREATER_THAN_OR_EQUAL NAME[c]"},
        {"max( used(x)", "A_MAX '(' USED '(' NAME[x] ')'"},
        // Names, numbers and case.
        {"a-b", "NAME[a-b]"}, {"a - b", "NAME[a] '-' NAME[b]"}, {"1-2", "INTEGER[1] '-' INTEGER[2]"},
        {"x1-2 2a 9abc", "NAME[x1-2] NAME[2a] NAME[9abc]"}, {"12 007", "INTEGER[12] INTEGER[007]"},
        {"12.5", "INTEGER[12] '.' INTEGER[5]"},
        {"maxi used_x max-1 str_ltx", "NAME[maxi] NAME[used_x] NAME[max-1] NAME[str_ltx]"},
        {"MAX Max AND OR or", "NAME[MAX] NAME[Max] NAME[AND] NAME[OR] NAME[or]"}, {"", ""}, {" \t\n ", ""},
        // Strings.
        {"'a b' 'a(b).c' 'x_1-2/3' ''", "STRING['a b'] STRING['a(b).c'] STRING['x_1-2/3'] STRING['']"},
        {"\"ab'c\"", "STRING[\"ab'] NAME[c]", "\""}, {"'q\"", "STRING['q\"]"},
        {"'a,b'", "NAME[a] ',' NAME[b]", "''"}, {"'abc", "NAME[abc]", "'"},
        // Characters that reach the output.
        {"a = b & c | d", "NAME[a] NAME[b] NAME[c] NAME[d]", "=&|"}, {"! =", "'!'", "="}, {"_x", "NAME[x]", "_"},
        {"a\rb\fc\vd", "NAME[a] NAME[b] NAME[c] NAME[d]", "\r\f\v"}, {"^#$;[]{}~@`\\", "", "^#$;[]{}~@`\\"},
        {"1\xC3\xA9", "INTEGER[1]", "\xC3\xA9"}, {std::string("a\0b", 3), "NAME[a] NAME[b]", std::string("\0", 1)},
        {long_name + " 1", "NAME[" + long_name + "] INTEGER[1]"},
    };
    for (const auto& c : cases) {
        std::ostringstream output;
        EXPECT_EQ(scan(c.text, output), c.tokens) << "text: " << c.text;
        EXPECT_EQ(output.str(), c.unmatched) << "text: " << c.text;
    }
}
