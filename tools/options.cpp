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
    if (formats.empty()) return;
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

void save_settings(const KOVA_SAVE_OPTIONS& save, const KOVA_SESSION& session, KOVA_ANSWER& answer) {
    if (!save.file.empty()) answer.problem = kova_save_session_settings(session, save.file, save.minimal);
}

namespace {

// Who gives every setting of the options.
constexpr KOVA_SETTING_SOURCE k_command_line = KOVA_SETTING_SOURCE::COMMAND_LINE;

// A --constant argument as the setting it stands for: PORT=VALUE holds the
// port at VALUE, PORT alone holds it constant. The session refuses a value
// that is not a number, in its own words.
KOVA_SETTING constant_setting(const std::string& text) {
    KOVA_SETTING setting;
    if (!kova_parse_setting_argument(text, setting)) return {text, "CONSTANT", "", 0, k_command_line};
    setting.value = "CONSTANT:" + setting.value;
    return setting;
}

// The settings of the files and the command line, in the order they
// apply; false when any of them has an error.
bool gather_settings(const KOVA_TOOL_STATE& state, std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& problems) {
    bool ok = true;
    for (const std::string& file : state.settings_files)
        if (kova_read_settings_file(file, settings, problems)) ok = false;
    return gather_command_line_settings(state, settings, problems) && ok;
}

}  // namespace

bool gather_command_line_settings(const KOVA_TOOL_STATE& state, std::vector<KOVA_SETTING>& settings,
                                  KOVA_MESSAGES& problems) {
    bool ok = true;
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
    for (const std::string& name : state.use) settings.push_back({name, "USED", "", 0, k_command_line});
    for (const std::string& name : state.unused) settings.push_back({name, "UNUSED", "", 0, k_command_line});
    for (const std::string& text : state.constant) settings.push_back(constant_setting(text));
    return ok;
}

namespace {

// --constant holds ports: a name that is a parameter is refused rather
// than given the value text "CONSTANT:..." (which no parameter takes).
bool constants_name_ports(const KOVA_TOOL_STATE& state, KOVA_SESSION& session, KOVA_MESSAGES& problems) {
    bool ok = true;
    for (const std::string& text : state.constant) {
        const std::string name = constant_setting(text).name;
        if (session.validator().get_port_object(name) || !session.validator().get_parameter_object(name)) continue;
        problems.push_back(kova_make_message(KOVA_SEVERITY_ERROR, KOVA_DIAG_SETTING,
                                             "--constant holds a port; " + name + " is a parameter"));
        ok = false;
    }
    return ok;
}

}  // namespace

void report_problem(KOVA_TOOL_STATE& state, const KOVA_PROBLEM& problem) {
    state.exit_code = KOVA_EXIT_USAGE;
    if (state.jsonl() || state.json()) {
        const nlohmann::json document = kova_problem_json(state.command, problem);
        std::cout << (state.jsonl() ? kova_json_line(document) : kova_json_dump(document)) << "\n";
        return;
    }
    kova_print_messages(problem.messages, state.load.description, std::cout);
    std::cout.flush();
    if (!problem.text.empty()) std::cerr << "kova: " << kova_visible_text(problem.text) << "\n";
}

void report_failure(KOVA_TOOL_STATE& state, const std::string& problem) {
    report_problem(state, kova_problem(KOVA_PROBLEM_KIND::USAGE, problem));
}

std::unique_ptr<KOVA_SESSION> open_session(KOVA_TOOL_STATE& state, KOVA_MESSAGES& messages) {
    std::unique_ptr<KOVA_SESSION> session = KOVA_SESSION::open(state.load, messages);
    if (!session) report_problem(state, kova_refused(std::move(messages), KOVA_PROBLEM_KIND::LOAD));
    return session;
}

KOVA_SESSION* open_session_until_exit(KOVA_TOOL_STATE& state, KOVA_MESSAGES& messages) {
    // Never freed, and reachable from here to the end.
    static std::vector<KOVA_SESSION*>* const kept = new std::vector<KOVA_SESSION*>();
    std::unique_ptr<KOVA_SESSION> session = open_session(state, messages);
    if (!session) return nullptr;
    kept->push_back(session.get());
    return session.release();
}

void run_command(KOVA_TOOL_STATE& state, bool validates, const KOVA_ANSWER_BUILDER& build, bool shows_verdict) {
    KOVA_MESSAGES messages;
    // One run answers these commands; only fix's search runs many.
    state.load.compiled = state.command == "fix";
    KOVA_SESSION* const session = open_session_until_exit(state, messages);
    if (!session) return;
    std::vector<KOVA_SETTING> settings;
    if (!gather_settings(state, settings, messages) || !constants_name_ports(state, *session, messages))
        return report_problem(state, kova_refused(std::move(messages)));
    KOVA_COMMAND_RESULT result = kova_run_command(*session, settings, std::move(messages), validates, build);
    if (result.problem) return report_problem(state, result.problem);
    state.exit_code = result.clean() ? KOVA_EXIT_OK : KOVA_EXIT_INVALID;
    if (state.json()) {
        std::cout << kova_json_dump(
                         kova_command_result_json(state.command, state.load.description, std::move(result), validates))
                  << "\n";
        return;
    }
    // A product keeps standard output to itself: the messages and the
    // verdict go to standard error, printed first so that they come
    // before the product where both streams go to one place.
    const KOVA_ANSWER& answer = result.answer;
    std::ostream& report = answer.product ? std::cerr : std::cout;
    kova_print_messages(result.messages, state.load.description, report);
    if (validates && answer.product && !result.run.valid)
        report << state.load.description << ": invalid\n";
    report.flush();
    if (answer.text && answer.product) {
        answer.text(std::cout);
    } else if (answer.text) {
        // Tables and answers hold texts of the description as written.
        std::ostringstream text;
        answer.text(text);
        std::cout << kova_visible_text(text.str(), true);
    }
    if (validates && !answer.product && (state.command == "validate" || shows_verdict || !result.valid))
        std::cout << state.load.description << ": " << (result.valid ? "valid" : "invalid") << "\n";
}

void print_answer(KOVA_TOOL_STATE& state, KOVA_ANSWER& answer, std::optional<bool> valid, bool clean) {
    if (answer.problem) return report_problem(state, answer.problem);
    state.exit_code = clean && !kova_has_errors(answer.messages) ? KOVA_EXIT_OK : KOVA_EXIT_INVALID;
    if (state.json()) {
        std::cout << kova_json_dump(kova_command_json(state.command, state.load.description, valid,
                                                      std::move(answer.document), answer.messages))
                  << "\n";
        return;
    }
    kova_print_messages(answer.messages, state.load.description, std::cout);
    std::ostringstream text;
    if (answer.text) answer.text(text);
    std::cout << kova_visible_text(text.str(), true);
    if (valid) std::cout << state.load.description << ": " << (*valid ? "valid" : "invalid") << "\n";
}
