// Diagnostics: each message of the analysis (or of a settings file's run)
// as a protocol diagnostic on its token, with its check's name as code
// and the other places it names (a loop's objects) as related information.
#include "lsp/answers.h"

#include "session/json_text.h"

namespace {

int severity_of(KOVA_SEVERITY severity) {
    return severity == KOVA_SEVERITY_ERROR ? 1 : severity == KOVA_SEVERITY_WARNING ? 2 : 3;
}

nlohmann::json diagnostic_of(const KOVA_MESSAGE& message, const KOVA_SOURCE_LOCATION& place,
                             KOVA_LSP_WORKSPACE& files) {
    std::string text = message.text;
    if (!message.hint.empty()) text += "\nhint: " + message.hint;
    nlohmann::json diagnostic = {{"range", kova_lsp_token_range(files.lines_of(place.file), place)},
                                 {"severity", severity_of(message.severity)},
                                 {"source", "kova"},
                                 {"message", kova_json_text(text)}};
    if (!message.check.empty()) diagnostic["code"] = message.check;
    nlohmann::json related = nlohmann::json::array();
    for (const KOVA_RELATED_PLACE& other : message.related) {
        if (!other.location.known()) continue;
        related.push_back({{"location", {{"uri", kova_lsp_uri_of(other.location.file)},
                                         {"range", kova_lsp_token_range(files.lines_of(other.location.file),
                                                                        other.location)}}},
                           {"message", kova_json_text(other.note.empty() ? other.object : other.note)}});
    }
    if (!related.empty()) diagnostic["relatedInformation"] = related;
    return diagnostic;
}

// The messages of a validation run of the settings file against its
// description, placed on the settings' lines (else on the first line).
KOVA_MESSAGES settings_messages(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document) {
    const std::string description = workspace.description_of(document);
    KOVA_MESSAGES messages;
    if (description.empty()) {
        messages.push_back(kova_make_message(KOVA_SEVERITY_WARNING, KOVA_DIAG_LOAD,
                                             "no description found for this settings file: name one in "
                                             "initializationOptions.description or put NAME.xml beside it"));
        return messages;
    }
    const KOVA_SESSION* loaded = workspace.analysis(description).session();
    if (!loaded) {
        messages.push_back(kova_make_message(KOVA_SEVERITY_ERROR, KOVA_DIAG_LOAD,
                                             "the description " + description + " does not load"));
        return messages;
    }
    KOVA_SESSION session(*loaded);
    KOVA_SETTINGS_DOCUMENT settings;
    std::vector<KOVA_SETTINGS_PROBLEM> problems;
    settings.parse(document.lines.text(), document.path, problems);
    for (const KOVA_SETTINGS_PROBLEM& problem : problems) {
        KOVA_SOURCE_LOCATION place{document.path, static_cast<uint32_t>(problem.line), 0};
        messages.push_back(kova_make_message(problem.warning ? KOVA_SEVERITY_WARNING : KOVA_SEVERITY_ERROR,
                                             KOVA_DIAG_SETTING, problem.text, place));
    }
    session.apply(settings.settings(), messages);
    KOVA_RUN_RESULT run = session.run();
    for (KOVA_MESSAGE& message : run.messages) messages.push_back(std::move(message));
    // A run's message is shown where the setting of its object was made.
    for (KOVA_MESSAGE& message : messages) {
        if (message.setting.known() && message.setting.file == document.path) message.location = message.setting;
        else if (message.location.file != document.path) message.location = {document.path, 1, 0};
    }
    return messages;
}

}  // namespace

std::map<std::string, nlohmann::json> kova_lsp_diagnostics(KOVA_LSP_WORKSPACE& workspace,
                                                           const KOVA_LSP_DOCUMENT& document) {
    const KOVA_MESSAGES messages = document.settings()
                                       ? settings_messages(workspace, document)
                                       : workspace.analysis(workspace.description_of(document)).messages();
    std::map<std::string, nlohmann::json> by_file;
    by_file[document.path] = nlohmann::json::array();
    for (const KOVA_MESSAGE& message : messages) {
        KOVA_SOURCE_LOCATION place = message.location;
        if (place.file.empty() || !place.known()) place = {place.file.empty() ? document.path : place.file, 1, 0};
        by_file[place.file].push_back(diagnostic_of(message, place, workspace));
    }
    return by_file;
}
