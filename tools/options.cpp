// The options the subcommands share, and the one flow they all run:
// session, settings, run, the subcommand's own output, printing, exit code.
#include <algorithm>
#include <iostream>
#include <sstream>

#include "session/batch_report.h"
#include "session/json_document.h"
#include "session/minimal_settings.h"
#include "session/settings_io.h"
#include "tools/subcommands.h"

void add_load_options(CLI::App& command, KOVA_TOOL_STATE& state, const std::vector<std::string>& formats) {
    command.add_option("description", state.load.description, "Description file (XML)")->required();
    command.add_option("--lib", state.load.library_dir, "Library folder searched first for included sub-models");
    command.add_option("--function", state.load.function_name,
                       "Function name of the building block (default: the description's own)");
    const bool lines = std::find(formats.begin(), formats.end(), "jsonl") != formats.end();
    command.add_option("--format", state.format, lines ? "Output: text, or a JSON document per line" : "Output: text, or one JSON document")
        ->check(CLI::IsMember(formats))
        ->capture_default_str();
}

void add_settings_options(CLI::App& command, KOVA_TOOL_STATE& state) {
    command.add_option("--settings", state.settings_files, "Read settings from a file of NAME=VALUE lines");
    command.add_option("--set", state.set, "Set a parameter value, or USED/UNUSED/CONSTANT (NAME=VALUE)");
    command.add_option("--use", state.use, "Mark a port or parameter used");
    command.add_option("--unused", state.unused, "Mark a port or parameter unused");
    command.add_option("--constant", state.constant,
                       "Hold a port constant, at a value when given (PORT or PORT=VALUE; decimal, 0x.., 0b..)");
}

void add_save_options(CLI::App& command, KOVA_SAVE_OPTIONS& save) {
    auto* file = command.add_option("--save", save.file,
                                    "Write the settings after the run (corrections included) to a file; an existing "
                                    "settings file keeps its comments and order");
    command.add_flag("--minimal", save.minimal,
                     "With --save: a fresh file of only the settings that differ from the description's defaults")
        ->needs(file);
}

void save_settings(const KOVA_SAVE_OPTIONS& save, const KOVA_SESSION& session, KOVA_COMMAND_OUTPUT& output) {
    std::string error;
    if (!save.file.empty() && !kova_save_session_settings(session, save.file, save.minimal, error))
        output.usage_problem = "cannot save the settings to " + save.file + ": " + error;
}

namespace {

// The settings of the files and the command line, in the order they
// apply; false when any of them has an error.
bool gather_settings(const KOVA_TOOL_STATE& state, std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& problems) {
    bool ok = true;
    for (const std::string& file : state.settings_files)
        if (!kova_read_settings_file(file, settings, problems)) ok = false;
    for (const std::string& text : state.set) {
        KOVA_SETTING setting;
        if (kova_parse_setting_argument(text, setting)) {
            settings.push_back(setting);
        } else {
            problems.push_back(kova_make_message(KOVA_SEVERITY_ERROR, KOVA_DIAG_SETTING,
                                                 "--set takes NAME=VALUE, not '" + text + "'"));
            ok = false;
        }
    }
    for (const std::string& name : state.use) settings.push_back({name, "USED", "", 0});
    for (const std::string& name : state.unused) settings.push_back({name, "UNUSED", "", 0});
    for (const std::string& text : state.constant) {
        KOVA_SETTING setting;
        if (kova_parse_setting_argument(text, setting)) {
            if (!kova_is_constant_number(setting.value)) {
                problems.push_back(kova_make_message(KOVA_SEVERITY_ERROR, KOVA_DIAG_SETTING,
                                                     "--constant takes PORT or PORT=VALUE with a decimal, 0x or 0b "
                                                     "number, not '" + text + "'"));
                ok = false;
                continue;
            }
            setting.value = "CONSTANT:" + setting.value;
            settings.push_back(setting);
        } else {
            settings.push_back({text, "CONSTANT", "", 0});
        }
    }
    return ok;
}

void append(KOVA_MESSAGES& to, KOVA_MESSAGES from) {
    for (KOVA_MESSAGE& message : from) to.push_back(std::move(message));
}

}  // namespace

void report_failure(KOVA_TOOL_STATE& state, const std::string& problem, const KOVA_MESSAGES& messages) {
    state.exit_code = KOVA_EXIT_USAGE;
    if (state.jsonl()) {
        const std::string text = !problem.empty() ? problem : messages.empty() ? "failed" : messages.front().text;
        std::cout << kova_json_line(kova_json_error(state.command, text, messages)) << "\n";
        return;
    }
    if (state.json()) {
        const std::string text = !problem.empty() ? problem : messages.empty() ? "failed" : messages.front().text;
        std::cout << kova_json_dump(kova_json_error(state.command, text, messages)) << "\n";
        return;
    }
    kova_print_messages(messages, state.load.description, std::cout);
    std::cout.flush();
    if (!problem.empty()) std::cerr << "kova: " << kova_visible_text(problem) << "\n";
}

std::unique_ptr<KOVA_SESSION> open_for_batch(KOVA_TOOL_STATE& state) {
    KOVA_MESSAGES messages;
    std::unique_ptr<KOVA_SESSION> session = KOVA_SESSION::open(state.load, messages);
    if (!session) report_failure(state, "", messages);
    return session;
}

void run_command(KOVA_TOOL_STATE& state, bool validates, const KOVA_COMMAND_BODY& body) {
    KOVA_MESSAGES messages;
    std::unique_ptr<KOVA_SESSION> session = KOVA_SESSION::open(state.load, messages);
    if (!session) {
        report_failure(state, "", messages);
        return;
    }
    std::vector<KOVA_SETTING> settings;
    if (!gather_settings(state, settings, messages) || !session->apply(settings, messages)) {
        report_failure(state, "", messages);
        return;
    }
    KOVA_RUN_RESULT result;
    if (validates) {
        result = session->run();
    } else {
        result.valid = true;
        result.messages = session->initialization_messages();
    }
    append(messages, result.messages);
    KOVA_COMMAND_OUTPUT output;
    body(*session, result, output);
    if (!output.usage_problem.empty()) {
        report_failure(state, output.usage_problem, messages);
        return;
    }
    if (output.replaces_messages) messages.clear();
    append(messages, output.messages);
    const bool valid = output.valid.value_or(result.valid);
    const bool clean = valid && !output.failed && !kova_has_errors(messages);
    state.exit_code = clean ? KOVA_EXIT_OK : KOVA_EXIT_INVALID;
    if (state.json()) {
        const std::optional<bool> verdict = validates ? std::optional<bool>(valid) : std::nullopt;
        std::cout << kova_json_dump(kova_command_json(state.command, state.load.description, verdict, output.document,
                                                      messages))
                  << "\n";
        return;
    }
    // A product keeps standard output to itself: the messages and the
    // verdict go to standard error, printed first so that they come
    // before the product where both streams go to one place.
    std::ostream& report = output.product ? std::cerr : std::cout;
    kova_print_messages(messages, state.load.description, report);
    if (validates && output.product && !result.valid)
        report << state.load.description << ": invalid\n";
    report.flush();
    if (output.text && output.product) {
        output.text(std::cout);
    } else if (output.text) {
        // Tables and answers hold texts of the description as written.
        std::ostringstream text;
        output.text(text);
        std::cout << kova_visible_text(text.str(), true);
    }
    if (validates && !output.product && (state.command == "validate" || output.shows_verdict || !valid))
        std::cout << state.load.description << ": " << (valid ? "valid" : "invalid") << "\n";
}
