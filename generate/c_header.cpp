// The C header writer: one #define per parameter (its value) and per
// exported value, and two per port (its width and whether it is used),
// each named PREFIX_NAME in
// upper case, inside an include guard. Two names that come out the same
// are an error naming both, never a header that defines one twice.
#include <cctype>
#include <map>

#include "generate/names.h"
#include "generate/writers.h"

namespace {

const char* const LANGUAGE = "C";

// A negative number in parentheses, so that the macro reads as one value
// wherever it stands (X-NAME never becomes X--1).
std::string integer_text(long long value) {
    return value < 0 ? "(" + std::to_string(value) + ")" : std::to_string(value);
}

struct DEFINE {
    std::string name, value, meaning;
};

// Adds a define unless its name is taken; a taken name is an error naming
// what both stand for.
void define(std::vector<DEFINE>& defines, std::map<std::string, std::string>& meanings, DEFINE entry,
            const std::string& object, const KOVA_SOURCE_LOCATION& place, KOVA_MESSAGES& problems) {
    const auto [found, fresh] = meanings.emplace(entry.name, entry.meaning);
    if (fresh) {
        defines.push_back(std::move(entry));
        return;
    }
    problems.push_back(kova_generate_problem(object, place,
                                             "The C macro " + entry.name + " would stand for both " + found->second +
                                                 " and " + entry.meaning));
}

// PREFIX_NAME and the value of a parameter or exported value. A string
// escapes ? too, so that no trigraph forms.
DEFINE value_define(const std::string& prefix, const KOVA_GEN_PARAMETER& parameter, const std::string& what) {
    long long value = 0;
    kova_generate_integer(parameter.value, value);
    return {prefix + "_" + kova_c_macro_word(parameter.name),
            parameter.is_string ? kova_quoted_string(parameter.value, "\"\\?") : integer_text(value),
            what + parameter.name};
}

std::string define_lines(const std::vector<DEFINE>& defines) {
    std::string text;
    for (const DEFINE& entry : defines) text += "#define " + entry.name + " " + entry.value + "\n";
    return text;
}

}  // namespace

std::string kova_c_macro_word(const std::string& name) {
    std::string word;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        word += byte < 0x80 && std::isalnum(byte) ? static_cast<char>(std::toupper(byte)) : '_';
    }
    return word;
}

std::string kova_write_c_header(const KOVA_GEN_CONFIG& config, const KOVA_GENERATE_OPTIONS& options,
                                KOVA_MESSAGES& problems) {
    const std::size_t before = problems.size();
    const std::string wanted = options.name.empty() ? config.function : options.name;
    const std::string prefix = kova_c_macro_word(wanted);
    // A name starting with a digit is no identifier; one starting with an
    // underscore and a capital is reserved to the implementation.
    if (prefix.empty() || prefix[0] == '_' || std::isdigit(static_cast<unsigned char>(prefix[0]))) {
        const char* whence = options.name.empty() ? "it is the function name; give the header another name"
                                                  : "the name given";
        problems.push_back(kova_generate_problem(
            "", {}, "The macro prefix '" + wanted + "' must start with a letter (" + whence + ")"));
    }
    kova_integer_problems(config, false, LANGUAGE, problems);
    if (problems.size() != before) return "";

    const std::string guard = prefix + "_CFG_H";
    std::map<std::string, std::string> meanings{{guard, "the include guard"}};
    std::vector<DEFINE> parameters, exported, ports;
    for (const KOVA_GEN_PARAMETER& parameter : config.parameters)
        define(parameters, meanings, value_define(prefix, parameter, "parameter "), parameter.name, parameter.place,
               problems);
    for (const KOVA_GEN_PARAMETER& value : config.exported)
        define(exported, meanings, value_define(prefix, value, "exported value "), value.name, value.place, problems);
    for (const KOVA_GEN_PORT& port : config.ports) {
        const std::string word = prefix + "_" + kova_c_macro_word(port.name);
        define(ports, meanings, {word + "_WIDTH", std::to_string(port.width), "the width of port " + port.name},
               port.name, port.place, problems);
        define(ports, meanings, {word + "_USED", port.is_used() ? "1" : "0", "the use of port " + port.name},
               port.name, port.place, problems);
    }
    if (problems.size() != before) return "";
    std::string text = "/* One configuration of the block, as macros named " + prefix +
                       "_...\n   Written by kova generate; regenerate it rather than edit it. */\n#ifndef " + guard + "\n#define " +
                       guard + "\n";
    if (!parameters.empty()) text += "\n/* Parameters */\n" + define_lines(parameters);
    if (!exported.empty()) text += "\n/* Derived values */\n" + define_lines(exported);
    if (!ports.empty()) text += "\n/* Ports: the width in bits, and 1 when used or held constant */\n" + define_lines(ports);
    return text + "\n#endif /* " + guard + " */\n";
}
