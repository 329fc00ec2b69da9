// The checks a description file's text gets before the XML parser sees it,
// for what the parser would let through silently: a NUL byte (which ends
// every text the model keeps, so the rest of a name or value would be
// lost), a character reference to a character that XML does not allow
// ("&#0;" would cut a text short the same way; a surrogate or a number
// beyond Unicode would become bytes that stand for no character), and a
// reference to an entity other than the five that XML predefines (the
// parser expands none of them and would keep "&name;" as it is).
#ifndef KOVA_XML_TEXT_CHECK_H
#define KOVA_XML_TEXT_CHECK_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct XML_TEXT_PROBLEM {
    std::size_t offset;  // where the offending byte or reference starts
    std::string problem;
};

// The first problem in text, if any. References are looked for outside
// comments, CDATA sections and processing instructions, where "&" is an
// ordinary character; NUL bytes everywhere. An "&" that does not start a
// reference ("a && b") is left to the parser, which keeps it as written.
std::optional<XML_TEXT_PROBLEM> find_xml_text_problem(std::string_view text);

#endif
