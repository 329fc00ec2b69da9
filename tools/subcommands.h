// The subcommands of the kova tool. Each add_*_command registers one
// subcommand; its callback hands the work to run_command, the one flow
// every subcommand shares: open a session over the description, then the
// layer's flow (session/command_flow.h) with the settings the options
// give, printed with the run's messages as text or one JSON document.
#ifndef KOVA_SUBCOMMANDS_H
#define KOVA_SUBCOMMANDS_H

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "session/session.h"
#include "session/command_flow.h"

// Exit codes of every subcommand.
enum KOVA_TOOL_EXIT { KOVA_EXIT_OK = 0, KOVA_EXIT_INVALID = 1, KOVA_EXIT_USAGE = 2 };

struct KOVA_TOOL_STATE {
    KOVA_LOAD_OPTIONS load;
    std::string format = "text";  // text, json, or jsonl (batch and sweep: a document per line)
    bool json() const { return format == "json"; }
    bool jsonl() const { return format == "jsonl"; }
    // Settings, applied in this order: files, --set, --use, --unused, --constant.
    std::vector<std::string> settings_files;
    std::vector<std::string> set, use, unused, constant;
    std::string command;  // the subcommand that runs
    int exit_code = KOVA_EXIT_OK;
};

// --save FILE and --minimal, as validate and fix take them.
struct KOVA_SAVE_OPTIONS {
    std::string file;
    bool minimal = false;
};

// The description argument and the --lib, --function and --format options;
// formats are the values --format takes (none: no --format).
void add_load_options(CLI::App& command, KOVA_TOOL_STATE& state,
                      const std::vector<std::string>& formats = {"text", "json"});
// --settings FILE, --set NAME=VALUE, --use NAME, --unused NAME, --constant PORT[=VALUE].
void add_settings_options(CLI::App& command, KOVA_TOOL_STATE& state);

// The settings of --set, --use, --unused and --constant, in that order;
// false when any of them is malformed (its problem appended).
bool gather_command_line_settings(const KOVA_TOOL_STATE& state, std::vector<KOVA_SETTING>& settings,
                                  KOVA_MESSAGES& problems);

// --save FILE (the settings after the run) and --minimal (only those that
// differ from the description's defaults, in a fresh file).
void add_save_options(CLI::App& command, KOVA_SAVE_OPTIONS& save);
// Saves the session's settings as the options ask, when --save was given;
// a failure becomes the answer's problem.
void save_settings(const KOVA_SAVE_OPTIONS& save, const KOVA_SESSION& session, KOVA_ANSWER& answer);

// The shared flow (session/command_flow.h) on the session the load options
// open and the settings the options give, printed as text or the JSON
// document. With validates unset the run is left out (show). The verdict
// line ends the text of validate (and of a subcommand that asks for it
// with shows_verdict) always, of the others when the configuration is
// invalid. A product's text has standard output to itself: the messages
// and the verdict go to standard error.
void run_command(KOVA_TOOL_STATE& state, bool validates, const KOVA_ANSWER_BUILDER& build, bool shows_verdict = false);

// An answer built outside run_command's flow (diff, migrate): its
// problem as report_problem gives it, else its messages, its text and,
// when given, the verdict line, or its JSON document with valid among the
// common members; exit status 0 when clean and no message is an error,
// else 1.
void print_answer(KOVA_TOOL_STATE& state, KOVA_ANSWER& answer, std::optional<bool> valid, bool clean);

// A problem: its messages and one line on standard error, or under
// --format json an error document on standard output (under jsonl, on one
// line); exit status 2.
void report_problem(KOVA_TOOL_STATE& state, const KOVA_PROBLEM& problem);
// A usage problem told in text.
void report_failure(KOVA_TOOL_STATE& state, const std::string& problem);

void add_show_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_eval_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_validate_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_deps_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_wizard_map_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_stimulus_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_widths_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_ranges_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_messages_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_simlib_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_lint_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_generate_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_explain_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_fix_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_batch_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_sweep_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_serve_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_lsp_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_menu_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_diff_command(CLI::App& app, KOVA_TOOL_STATE& state);
void add_migrate_command(CLI::App& app, KOVA_TOOL_STATE& state);

// The session the load options name, with the load's warnings in
// messages; null after the failure is reported.
std::unique_ptr<KOVA_SESSION> open_session(KOVA_TOOL_STATE& state, KOVA_MESSAGES& messages);
// The same for a command that uses the session until the process ends:
// the session is never destroyed, so that the process does not spend its
// last moments freeing a large model object by object; the system takes
// the memory back at exit. It stays reachable (leak checkers report it as
// still reachable, not lost). Null after the failure is reported.
KOVA_SESSION* open_session_until_exit(KOVA_TOOL_STATE& state, KOVA_MESSAGES& messages);

#endif
