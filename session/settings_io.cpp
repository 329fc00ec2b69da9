// Reading and saving settings files through the shared layer's file I/O.
#include "session/settings_io.h"

#include <algorithm>

#include "session/file_io.h"

namespace {

// A reason of kova_read_text_file without its "cannot be read: ", which
// the caller's own words say already.
std::string unprefixed(const std::string& reason) {
    const std::string prefix = "cannot be read: ";
    return reason.rfind(prefix, 0) == 0 ? reason.substr(prefix.size()) : reason;
}

// The most problems of one file that become messages: a file of many
// thousand bad lines (a wrong file picked) would otherwise give an answer
// many times its size. The rest are counted in one more message.
const std::size_t k_most_problems = 100;

}  // namespace

KOVA_PROBLEM kova_parse_settings_text(const std::string& text, const std::string& file,
                                      std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& messages, bool lenient) {
    KOVA_SOURCE_LOCATION place;
    place.file = file;
    KOVA_SETTINGS_DOCUMENT document;
    std::vector<KOVA_SETTINGS_PROBLEM> found;
    const bool ok = document.parse(text, file, found);
    const std::size_t shown = std::min(found.size(), k_most_problems);
    KOVA_MESSAGES own;
    for (std::size_t at = 0; at < shown; ++at) {
        place.line = static_cast<uint32_t>(found[at].line);
        own.push_back(kova_make_message(found[at].warning ? KOVA_SEVERITY_WARNING : KOVA_SEVERITY_ERROR,
                                        KOVA_DIAG_SETTING, found[at].text, place));
    }
    if (shown < found.size()) {
        const bool error = std::any_of(found.begin() + shown, found.end(), [](const auto& p) { return !p.warning; });
        place.line = 0;
        own.push_back(kova_make_message(error ? KOVA_SEVERITY_ERROR : KOVA_SEVERITY_WARNING, KOVA_DIAG_SETTING,
                                        std::to_string(found.size() - shown) +
                                            " more problems of this file are not shown",
                                        place));
    }
    messages.insert(messages.end(), own.begin(), own.end());
    if (ok || lenient)
        for (KOVA_SETTING& setting : document.settings()) settings.push_back(std::move(setting));
    if (!ok) return kova_problem(KOVA_PROBLEM_KIND::INVALID_VALUE, "the settings file has errors", std::move(own));
    return {};
}

KOVA_PROBLEM kova_read_settings_file(const std::string& path, std::vector<KOVA_SETTING>& settings,
                                     KOVA_MESSAGES& messages, bool lenient) {
    std::string text, error;
    if (!kova_read_text_file(path, text, error)) {
        KOVA_SOURCE_LOCATION place;
        place.file = path;
        const std::string reason = "cannot read the settings file " + path + ": " + unprefixed(error);
        messages.push_back(kova_make_message(KOVA_SEVERITY_ERROR, KOVA_DIAG_SETTING, reason, place));
        return kova_problem(KOVA_PROBLEM_KIND::FILE, reason, {messages.back()});
    }
    return kova_parse_settings_text(text, path, settings, messages, lenient);
}

KOVA_PROBLEM kova_save_settings_file(const std::string& path, const std::vector<KOVA_SETTING>& settings, bool fresh) {
    std::string text, error;
    KOVA_SETTINGS_DOCUMENT document;
    std::vector<KOVA_SETTINGS_PROBLEM> ignored;
    std::string existing;
    // The document keeps every line of the file, lines with errors too.
    // An existing file that cannot be read is left alone: replacing it
    // would lose what it holds besides the values.
    if (!fresh && kova_file_exists(path)) {
        if (!kova_read_text_file(path, existing, error)) {
            error = "the existing file " + error + "; it is left as it was, since a save keeps its comments";
        } else {
            document.parse(existing, path, ignored);
            document.assign(settings);
            text = document.render();
        }
    } else {
        text = kova_render_settings(settings);
    }
    if (error.empty() && kova_write_file_atomically(path, text, error)) return {};
    return kova_problem(KOVA_PROBLEM_KIND::FILE, "cannot save the settings to " + path + ": " + error);
}

bool kova_parse_setting_argument(const std::string& text, KOVA_SETTING& setting) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    setting.name = text.substr(0, equals);
    setting.value = text.substr(equals + 1);
    setting.file.clear();
    setting.line = 0;
    setting.source = KOVA_SETTING_SOURCE::COMMAND_LINE;
    return true;
}
