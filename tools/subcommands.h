// The subcommands of the kova tool. Each add_*_command registers one
// subcommand whose callback does the work and leaves its exit code in the
// shared state.
#ifndef KOVA_SUBCOMMANDS_H
#define KOVA_SUBCOMMANDS_H

#include <CLI/CLI.hpp>

#include "tools/kova_tool.h"

struct KOVA_TOOL_STATE {
    KOVA_LOAD_OPTIONS load;
    int exit_code = KOVA_EXIT_OK;
};

// The description argument and the --lib and --function options.
void add_load_options(CLI::App& command, KOVA_LOAD_OPTIONS& load);

void add_show_command(CLI::App& app, KOVA_TOOL_STATE& state);

#endif
