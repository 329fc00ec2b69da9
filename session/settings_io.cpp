// Reading and saving settings files through the shared layer's file I/O.
#include "session/settings_io.h"

#include "session/file_io.h"

namespace {

// A reason of kova_read_text_file without its "cannot be read: ", which
// the caller's own words say already.
std::string unprefixed(const std::string& reason) {
    const std::string prefix = "cannot be read: ";
    return reason.rfind(prefix, 0) == 0 ? reason.substr(prefix.size()) : reason;
}

}  // namespace

bool kova_parse_settings_text(const std::string& text, const std::string& file, std::vector<KOVA_SETTING>& settings,
                              KOVA_MESSAGES& problems) {
    KOVA_SOURCE_LOCATION place;
    place.file = file;
    KOVA_SETTINGS_DOCUMENT document;
    std::vector<KOVA_SETTINGS_PROBLEM> found;
    const bool ok = document.parse(text, file, found);
    for (const KOVA_SETTINGS_PROBLEM& problem : found) {
        place.line = static_cast<uint32_t>(problem.line);
        problems.push_back(kova_make_message(problem.warning ? KOVA_SEVERITY_WARNING : KOVA_SEVERITY_ERROR,
                                             KOVA_DIAG_SETTING, problem.text, place));
    }
    if (!ok) return false;
    for (KOVA_SETTING& setting : document.settings()) settings.push_back(std::move(setting));
    return true;
}

bool kova_read_settings_file(const std::string& path, std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& problems) {
    std::string text, error;
    if (!kova_read_text_file(path, text, error)) {
        KOVA_SOURCE_LOCATION place;
        place.file = path;
        problems.push_back(kova_make_message(KOVA_SEVERITY_ERROR, KOVA_DIAG_SETTING,
                                             "cannot read the settings file " + path + ": " + unprefixed(error), place));
        return false;
    }
    return kova_parse_settings_text(text, path, settings, problems);
}

bool kova_save_settings_file(const std::string& path, const std::vector<KOVA_SETTING>& settings, bool fresh,
                             std::string& error) {
    std::string text;
    KOVA_SETTINGS_DOCUMENT document;
    std::vector<KOVA_SETTINGS_PROBLEM> ignored;
    std::string existing;
    // The document keeps every line of the file, lines with errors too.
    // An existing file that cannot be read is left alone: replacing it
    // would lose what it holds besides the values.
    if (!fresh && kova_file_exists(path)) {
        if (!kova_read_text_file(path, existing, error)) {
            error = "the existing file " + error + "; it is left as it was, since a save keeps its comments";
            return false;
        }
        document.parse(existing, path, ignored);
        document.assign(settings);
        text = document.render();
    } else {
        text = kova_render_settings(settings);
    }
    return kova_write_file_atomically(path, text, error);
}

bool kova_parse_setting_argument(const std::string& text, KOVA_SETTING& setting) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    setting.name = text.substr(0, equals);
    setting.value = text.substr(equals + 1);
    setting.file.clear();
    setting.line = 0;
    return true;
}
