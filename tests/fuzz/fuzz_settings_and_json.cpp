// Fuzz target: the input as a settings file and as a text for JSON.
//  - Settings: parsing never fails hard; an unchanged document writes back
//    byte for byte; giving every setting its own value again reads back the
//    same settings and problems; the whole input as a value, for a name
//    already there and a new one, reads back exactly.
//  - JSON: the safe form is UTF-8, restores the input exactly, and a JSON
//    document holding it is written without error and read back the same.
#include <algorithm>

#include "fuzz/fuzz_model.h"
#include "host/kova_name_index.h"
#include "session/json_text.h"
#include "session/settings_text.h"

namespace {

std::ptrdiff_t errors_in(const std::vector<KOVA_SETTINGS_PROBLEM>& problems) {
    return std::count_if(problems.begin(), problems.end(), [](const auto& problem) { return !problem.warning; });
}

bool same_settings(const std::vector<KOVA_SETTING>& a, const std::vector<KOVA_SETTING>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const KOVA_SETTING& x, const KOVA_SETTING& y) {
        return x.name == y.name && x.value == y.value && x.line == y.line;
    });
}

// Whether the last setting of a name (letter case ignored) has this value when text is read back.
bool reads_back(const std::string& text, const std::string& name, const std::string& value) {
    KOVA_SETTINGS_DOCUMENT document;
    std::vector<KOVA_SETTINGS_PROBLEM> problems;
    document.parse(text, "again", problems);
    const std::vector<KOVA_SETTING> settings = document.settings();
    for (std::size_t i = settings.size(); i-- > 0;)
        if (kova_equal_nocase(settings[i].name, name)) return settings[i].value == value;
    return false;
}

void check_settings(const std::string& input) {
    KOVA_SETTINGS_DOCUMENT document;
    std::vector<KOVA_SETTINGS_PROBLEM> problems;
    document.parse(input, "input", problems);
    fuzz_check(document.render() == input, "an unchanged document writes back byte for byte");

    const std::vector<KOVA_SETTING> settings = document.settings();
    for (const KOVA_SETTING& setting : settings) document.set(setting.name, setting.value);
    KOVA_SETTINGS_DOCUMENT again;
    std::vector<KOVA_SETTINGS_PROBLEM> problems_again;
    again.parse(document.render(), "input", problems_again);
    fuzz_check(same_settings(settings, again.settings()), "settings given their own values read back the same");
    fuzz_check(problems.size() == problems_again.size() && errors_in(problems) == errors_in(problems_again),
          "settings given their own values read back with the same problems");

    if (!settings.empty()) {
        document.set(settings.front().name, input);
        fuzz_check(reads_back(document.render(), settings.front().name, input), "any bytes as a value read back exactly");
    }
    document.set("FUZZ_NEW", input);
    fuzz_check(reads_back(document.render(), "FUZZ_NEW", input), "any bytes as a new value read back exactly");
}

void check_json(const std::string& input) {
    const std::string safe = kova_json_safe(input);
    fuzz_check(kova_is_utf8(safe), "the safe form is UTF-8");
    fuzz_check(kova_json_restore(safe) == input, "the safe form restores the input");
    // A document that cannot be written throws, which ends the target as a crash does.
    fuzz_check(nlohmann::json::parse(kova_json_text(input).dump()).get<std::string>() == safe,
        "a JSON text reads back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    check_settings(input);
    check_json(input);
    return 0;
}
