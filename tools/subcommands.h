// The subcommands of the kova tool. Each add_*_command registers one
// subcommand whose callback does the work and leaves its exit code in the
// shared state.
#ifndef KOVA_SUBCOMMANDS_H
#define KOVA_SUBCOMMANDS_H

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "tools/kova_tool.h"
#include "tools/output.h"

struct KOVA_TOOL_STATE {
    KOVA_LOAD_OPTIONS load;
    // Settings, applied in this order: files, --set, --use, --unused, --constant.
    std::vector<std::string> settings_files;
    std::vector<std::string> set, use, unused, constant;
    int exit_code = KOVA_EXIT_OK;
};

// The description argument and the --lib, --function and --format options.
void add_load_options(CLI::App& command, KOVA_LOAD_OPTIONS& load);
// --settings FILE, --set NAME=VALUE, --use NAME, --unused NAME, --constant PORT.
void add_settings_options(CLI::App& command, KOVA_TOOL_STATE& state);

// Loads the description and applies the settings; on failure prints why,
// sets the usage exit code and returns null.
std::unique_ptr<KOVA_RULES_VALIDATOR> load_with_settings(KOVA_TOOL_STATE& state, std::ostream& err);

// Reports a usage problem on standard error as one line and sets the
// usage exit code.
void usage_error(KOVA_TOOL_STATE& state, const std::string& problem);

// Brings derived values (hidden parameters, macro calls) up to date with a
// validation run whose messages are then dropped, as a wizard does before
// it asks for widths, ranges or values.
void derive_values(KOVA_RULES_VALIDATOR& validator);


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

#endif
