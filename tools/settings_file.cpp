// Reading and writing settings files.
#include "tools/settings_file.h"

#include <fstream>

namespace {

std::string trimmed(const std::string& text) {
    const std::size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string::npos) return "";
    const std::size_t end = text.find_last_not_of(" \t\r");
    return text.substr(start, end - start + 1);
}

}  // namespace

bool read_settings_file(const std::string& path, std::vector<KOVA_SETTING>& settings,
                        std::vector<std::string>& errors) {
    std::ifstream in(path);
    if (!in) {
        errors.push_back(path + ": cannot be read");
        return false;
    }
    const std::size_t errors_before = errors.size();
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string text = trimmed(line);
        if (text.empty() || text[0] == '#') continue;
        KOVA_SETTING setting;
        if (!parse_setting(text, setting)) {
            errors.push_back(path + ":" + std::to_string(number) + ": expected NAME=VALUE, found '" + text + "'");
            continue;
        }
        setting.name = trimmed(setting.name);
        setting.value = trimmed(setting.value);
        setting.origin = path + ":" + std::to_string(number);
        settings.push_back(setting);
    }
    return errors.size() == errors_before;
}

std::vector<KOVA_SETTING> current_settings(const KOVA_RULES_VALIDATOR& validator) {
    std::vector<KOVA_SETTING> settings;
    for (const KOVA_OBJ_INFO* object : validator.get_kova_obj_snapshot()) {
        const std::string& name = object->get_name();
        if (const KOVA_PORT_OBJ* port = validator.get_port_object(name)) {
            if (port->m_current_usage_state != KOVA_USAGE_NONE)
                settings.push_back({name, kova_get_usage_state_as_string(port->m_current_usage_state), ""});
        } else if (const KOVA_PARAMETER_OBJ* parameter = validator.get_parameter_object(name)) {
            // A value marks the parameter used; another state follows it.
            if (!parameter->get_current_value().empty()) settings.push_back({name, parameter->get_current_value(), ""});
            const int state = parameter->m_current_usage_state;
            if (state != KOVA_USAGE_NONE && (state != KOVA_USAGE_USED || parameter->get_current_value().empty()))
                settings.push_back({name, kova_get_usage_state_as_string(state), ""});
        }
    }
    return settings;
}

bool write_settings_file(const std::string& path, const std::vector<KOVA_SETTING>& settings) {
    std::ofstream out(path);
    out << "# kova settings\n";
    for (const KOVA_SETTING& setting : settings) out << setting.name << "=" << setting.value << "\n";
    return static_cast<bool>(out.flush());
}
