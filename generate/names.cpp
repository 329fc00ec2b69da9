// Spelling every name of a configuration, unique labels, quoted texts and
// list joins.
#include "generate/names.h"

#include "host/kova_stl.h"

namespace {

std::string spelled_or_problem(const std::string& subject, const std::string& name, const KOVA_SOURCE_LOCATION& place,
                               const KOVA_SPELLER& spell, const std::string& language, KOVA_MESSAGES& problems) {
    std::string spelled;
    if (!name.empty() && spell(name, spelled)) return spelled;
    problems.push_back(kova_generate_problem(name, place,
                                             subject + " '" + name + "' cannot be written as a " + language +
                                                 " identifier"));
    return "";
}

}  // namespace

KOVA_GEN_NAMES kova_spell_names(const KOVA_GEN_CONFIG& config, const KOVA_SPELLER& spell, const std::string& language,
                                KOVA_MESSAGES& problems) {
    KOVA_GEN_NAMES names;
    for (const KOVA_GEN_PARAMETER& parameter : config.parameters)
        names.parameters.push_back(
            spelled_or_problem("Parameter", parameter.name, parameter.place, spell, language, problems));
    for (const KOVA_GEN_PORT& port : config.ports)
        names.ports.push_back(spelled_or_problem("Port", port.name, port.place, spell, language, problems));
    for (const KOVA_GEN_PARAMETER& value : config.exported)
        names.exported.push_back(spelled_or_problem("Exported value", value.name, value.place, spell, language, problems));
    return names;
}

std::string kova_spell_name(const std::string& what, const std::string& name, const KOVA_SPELLER& spell,
                            const std::string& language, KOVA_MESSAGES& problems) {
    return spelled_or_problem(what, name, KOVA_SOURCE_LOCATION(), spell, language, problems);
}

std::string kova_unique_label(const std::string& base, const std::vector<std::string>& taken, bool ignore_case) {
    auto is_taken = [&](const std::string& label) {
        for (const std::string& name : taken)
            if (ignore_case ? to_lower_case(name) == to_lower_case(label) : name == label) return true;
        return false;
    };
    std::string label = base;
    for (int suffix = 1; is_taken(label); ++suffix) label = base + "_" + std::to_string(suffix);
    return label;
}

bool kova_printable_ascii(const std::string& text, char first) {
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < static_cast<unsigned char>(first) || byte > '~') return false;
    }
    return true;
}

std::string kova_quoted_string(const std::string& text, const std::string& escaped) {
    std::string literal = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (escaped.find(c) != std::string::npos) {
            literal += std::string("\\") + c;
        } else if (byte >= ' ' && byte <= '~') {
            literal += c;
        } else {
            const char octal[] = {'\\', char('0' + (byte >> 6)), char('0' + ((byte >> 3) & 7)), char('0' + (byte & 7)), 0};
            literal += octal;
        }
    }
    return literal + "\"";
}

std::string kova_join_lines(const std::vector<std::string>& items, const std::string& separator,
                            const std::string& indent) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += indent + items[i] + (i + 1 < items.size() ? separator : "") + "\n";
    return text;
}
