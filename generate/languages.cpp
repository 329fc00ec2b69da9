// The target languages of kova generate by name: the one list the CLI,
// the server and the Python module offer and check a name against.
#include "generate/generate.h"

namespace {

struct LANGUAGE_NAME {
    KOVA_GENERATE_LANGUAGE language;
    const char* name;
};

const LANGUAGE_NAME LANGUAGES[] = {{KOVA_GENERATE_LANGUAGE::VERILOG, "verilog"},
                                   {KOVA_GENERATE_LANGUAGE::SYSTEMVERILOG, "systemverilog"},
                                   {KOVA_GENERATE_LANGUAGE::VHDL, "vhdl"},
                                   {KOVA_GENERATE_LANGUAGE::C, "c"},
                                   {KOVA_GENERATE_LANGUAGE::JSON, "json"}};

}  // namespace

const char* kova_generate_language_name(KOVA_GENERATE_LANGUAGE language) {
    for (const LANGUAGE_NAME& entry : LANGUAGES)
        if (entry.language == language) return entry.name;
    return "";
}

std::vector<std::string> kova_generate_language_names() {
    std::vector<std::string> names;
    for (const LANGUAGE_NAME& entry : LANGUAGES) names.push_back(entry.name);
    return names;
}

std::string kova_generate_language_list() {
    const std::vector<std::string> names = kova_generate_language_names();
    std::string list;
    for (std::size_t at = 0; at < names.size(); ++at)
        list += (at == 0 ? "" : at + 1 == names.size() ? " or " : ", ") + names[at];
    return list;
}

bool kova_generate_language_of(const std::string& name, KOVA_GENERATE_LANGUAGE& language) {
    for (const LANGUAGE_NAME& entry : LANGUAGES)
        if (name == entry.name) {
            language = entry.language;
            return true;
        }
    return false;
}
