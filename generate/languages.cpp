// The target languages of kova generate: the one list the CLI, the
// server's page and the Python module offer and check a name against.
#include "generate/generate.h"

namespace {

using LANG = KOVA_GENERATE_LANGUAGE;

}  // namespace

const std::vector<KOVA_GENERATE_LANGUAGE_INFO>& kova_generate_languages() {
    static const std::vector<KOVA_GENERATE_LANGUAGE_INFO> languages = {
        {LANG::VERILOG, "verilog", "Verilog", ".v", true},
        {LANG::SYSTEMVERILOG, "systemverilog", "SystemVerilog", ".sv", true},
        {LANG::VHDL, "vhdl", "VHDL", ".vhd", true},
        {LANG::C, "c", "C header", ".h", false},
        {LANG::JSON, "json", "JSON", ".json", false}};
    return languages;
}

const KOVA_GENERATE_LANGUAGE_INFO& kova_generate_language_info(KOVA_GENERATE_LANGUAGE language) {
    for (const KOVA_GENERATE_LANGUAGE_INFO& entry : kova_generate_languages())
        if (entry.language == language) return entry;
    return kova_generate_languages().front();  // every value of the enum is in the list
}

const char* kova_generate_language_name(KOVA_GENERATE_LANGUAGE language) {
    return kova_generate_language_info(language).name;
}

std::vector<std::string> kova_generate_language_names() {
    std::vector<std::string> names;
    for (const KOVA_GENERATE_LANGUAGE_INFO& entry : kova_generate_languages()) names.push_back(entry.name);
    return names;
}

std::string kova_generate_language_list(bool hardware_only) {
    std::vector<std::string> names;
    for (const KOVA_GENERATE_LANGUAGE_INFO& entry : kova_generate_languages())
        if (entry.hardware || !hardware_only) names.push_back(entry.name);
    const std::string last = hardware_only ? " and " : " or ";
    std::string list;
    for (std::size_t at = 0; at < names.size(); ++at)
        list += (at == 0 ? std::string() : at + 1 == names.size() ? last : std::string(", ")) + names[at];
    return list;
}

KOVA_PROBLEM kova_generate_language_problem(const std::string& name, KOVA_GENERATE_LANGUAGE& language) {
    if (kova_generate_language_of(name, language)) return {};
    return kova_problem(KOVA_PROBLEM_KIND::USAGE,
                        "lang must be " + kova_generate_language_list() + ", not '" + name + "'");
}

bool kova_generate_language_of(const std::string& name, KOVA_GENERATE_LANGUAGE& language) {
    for (const KOVA_GENERATE_LANGUAGE_INFO& entry : kova_generate_languages())
        if (name == entry.name) {
            language = entry.language;
            return true;
        }
    return false;
}
