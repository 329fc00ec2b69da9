// Applying user settings to a validator.
#include "tools/settings.h"

namespace {

// The usage state a word names, or -1.
int usage_word(const std::string& value) {
    if (kova_equal_nocase(value, "USED")) return KOVA_USAGE_USED;
    if (kova_equal_nocase(value, "UNUSED")) return KOVA_USAGE_UNUSED;
    if (kova_equal_nocase(value, "CONSTANT")) return KOVA_USAGE_CONSTANT;
    return -1;
}

}  // namespace

bool parse_setting(const std::string& text, KOVA_SETTING& setting) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    setting.name = text.substr(0, equals);
    setting.value = text.substr(equals + 1);
    return true;
}

std::string apply_setting(KOVA_RULES_VALIDATOR& validator, const KOVA_SETTING& setting) {
    const int state = usage_word(setting.value);
    if (validator.get_port_object(setting.name)) {
        if (state < 0) return "port " + setting.name + " takes only USED, UNUSED or CONSTANT";
        validator.set_port_usage_state(setting.name, state);
        return "";
    }
    if (!validator.get_parameter_object(setting.name)) return "no port or parameter is named " + setting.name;
    if (state >= 0) {
        validator.set_parameter_usage_state(setting.name, state);
        return "";
    }
    validator.set_parameter_value(setting.name, setting.value);
    validator.set_parameter_usage_state(setting.name, KOVA_USAGE_USED);
    return "";
}
