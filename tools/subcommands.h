// The subcommands of the kova tool. Each add_*_command registers one
// subcommand; its callback hands the work to run_command, the one flow
// every subcommand shares: open a session over the description, apply
// the settings, run the validator, compute the subcommand's own output,
// and print it with the run's messages as text or one JSON document.
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
#include "tools/output.h"

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

// What one subcommand adds to the shared flow.
struct KOVA_COMMAND_OUTPUT {
    nlohmann::json document = nlohmann::json::object();  // fields of the JSON document
    std::function<void(std::ostream&)> text;             // the same as text
    KOVA_MESSAGES messages;                              // after the run's
    bool failed = false;                                 // exit 1 even when valid
    std::string usage_problem;                           // exit 2 with this problem
    bool replaces_messages = false;                      // messages stand for the run's
    // The text is a product (generated source) that standard output holds
    // alone; messages and the verdict go to standard error instead.
    bool product = false;
    // The verdict when the subcommand changed the configuration after the
    // run (fix): it stands for the run's in the exit status, the JSON
    // document and the verdict line.
    std::optional<bool> valid;
    bool shows_verdict = false;                          // the verdict line even when valid
};

// --save FILE and --minimal, as validate and fix take them.
struct KOVA_SAVE_OPTIONS {
    std::string file;
    bool minimal = false;
};

using KOVA_COMMAND_BODY = std::function<void(KOVA_SESSION&, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT&)>;

// The description argument and the --lib, --function and --format options;
// formats are the values --format takes.
void add_load_options(CLI::App& command, KOVA_TOOL_STATE& state,
                      const std::vector<std::string>& formats = {"text", "json"});
// --settings FILE, --set NAME=VALUE, --use NAME, --unused NAME, --constant PORT[=VALUE].
void add_settings_options(CLI::App& command, KOVA_TOOL_STATE& state);

// --save FILE (the settings after the run) and --minimal (only those that
// differ from the description's defaults, in a fresh file).
void add_save_options(CLI::App& command, KOVA_SAVE_OPTIONS& save);
// Saves the session's settings as the options ask, when --save was given;
// a failure becomes the output's usage problem.
void save_settings(const KOVA_SAVE_OPTIONS& save, const KOVA_SESSION& session, KOVA_COMMAND_OUTPUT& output);

// The shared flow. With validates unset the run is left out (show).
// The verdict line ends the text of validate (and of a subcommand that
// asks for it with shows_verdict) always, of the others when the
// configuration is invalid.
void run_command(KOVA_TOOL_STATE& state, bool validates, const KOVA_COMMAND_BODY& body);

// A usage, file or internal problem: one line on standard error, or under
// --format json an error document on standard output (under jsonl, on one
// line); exit status 2.
void report_failure(KOVA_TOOL_STATE& state, const std::string& problem, const KOVA_MESSAGES& messages = {});

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

// The loaded session batch and sweep copy for every item; null after the
// failure is reported.
std::unique_ptr<KOVA_SESSION> open_for_batch(KOVA_TOOL_STATE& state);

#endif
