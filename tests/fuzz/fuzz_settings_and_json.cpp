// Fuzz target: the input as a settings file and as a text for JSON.
//  - Settings: parsing never fails hard; an unchanged document writes back
//    byte for byte; giving every setting its own value again reads back the
//    same settings and problems; the whole input as a value, for a name
//    already there and a new one, reads back exactly.
//  - JSON: the safe form is UTF-8, restores the input exactly, and a JSON
//    document holding it is written without error and read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "session/json_text.h"
#include "session/settings_text.h"

namespace {

void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

std::size_t errors_in(const std::vector<KOVA_SETTINGS_PROBLEM>& problems) {
    std::size_t errors = 0;
    for (const KOVA_SETTINGS_PROBLEM& problem : problems) errors += problem.warning ? 0 : 1;
    return errors;
}

bool same_settings(const std::vector<KOVA_SETTING>& a, const std::vector<KOVA_SETTING>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].value != b[i].value || a[i].line != b[i].line) return false;
    return true;
}

std::string folded(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
}

// Whether the last setting of a name (letter case ignored) has this value
// when text is read back.
bool reads_back(const std::string& text, const std::string& name, const std::string& value) {
    KOVA_SETTINGS_DOCUMENT document;
    std::vector<KOVA_SETTINGS_PROBLEM> problems;
    document.parse(text, "again", problems);
    const std::vector<KOVA_SETTING> settings = document.settings();
    for (std::size_t i = settings.size(); i-- > 0;)
        if (folded(settings[i].name) == folded(name)) return settings[i].value == value;
    return false;
}

void check_settings(const std::string& input) {
    KOVA_SETTINGS_DOCUMENT document;
    std::vector<KOVA_SETTINGS_PROBLEM> problems;
    document.parse(input, "input", problems);
    check(document.render() == input, "an unchanged document writes back byte for byte");

    const std::vector<KOVA_SETTING> settings = document.settings();
    for (const KOVA_SETTING& setting : settings) document.set(setting.name, setting.value);
    KOVA_SETTINGS_DOCUMENT again;
    std::vector<KOVA_SETTINGS_PROBLEM> problems_again;
    again.parse(document.render(), "input", problems_again);
    check(same_settings(settings, again.settings()), "settings given their own values read back the same");
    check(problems.size() == problems_again.size() && errors_in(problems) == errors_in(problems_again),
          "settings given their own values read back with the same problems");

    if (!settings.empty()) {
        document.set(settings.front().name, input);
        check(reads_back(document.render(), settings.front().name, input), "any bytes as a value read back exactly");
    }
    document.set("FUZZ_NEW", input);
    check(reads_back(document.render(), "FUZZ_NEW", input), "any bytes as a new value read back exactly");
}

void check_json(const std::string& input) {
    const std::string safe = kova_json_safe(input);
    check(kova_is_utf8(safe), "the safe form is UTF-8");
    check(kova_json_restore(safe) == input, "the safe form restores the input");
    std::string dumped;
    try {
        dumped = kova_json_text(input).dump();
    } catch (const nlohmann::json::exception&) {
        check(false, "a JSON text is written without error");
    }
    check(nlohmann::json::parse(dumped).get<std::string>() == safe, "a JSON text reads back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    check_settings(input);
    check_json(input);
    return 0;
}
