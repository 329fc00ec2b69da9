// kova menu: the full-screen terminal configurator (menu/menu.h) over the
// description and the settings the options give.
#include <iostream>

#include "menu/menu.h"
#include "tools/subcommands.h"

void add_menu_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("menu", "Configure the block in a full-screen terminal menu: edit, search, "
                                               "explain, fix, undo and save");
    add_load_options(*command, state, {});
    add_settings_options(*command, state);
    auto save = std::make_shared<std::string>();
    command->add_option("--save", *save,
                        "The file s and S save to (else the --settings file, keeping its comments; else asked)");
    command->footer("Example: kova menu examples/ram.xml --settings ram.settings\n"
                    "Keys: see docs/menu.md or press ? in the menu.");
    command->callback([&state, save]() {
        // One file: the one it opens is the one s saves back to.
        if (state.settings_files.size() > 1)
            return report_failure(state, "kova menu takes one --settings file, the one it saves back to");
        KOVA_MENU_START start;
        start.load = state.load;
        if (!state.settings_files.empty()) start.settings_file = state.settings_files.back();
        start.save_file = *save;
        KOVA_MESSAGES problems;
        if (!gather_command_line_settings(state, start.settings, problems)) {
            kova_print_messages(problems, state.load.description, std::cerr);
            state.exit_code = KOVA_EXIT_USAGE;
            return;
        }
        state.exit_code = kova_menu_main(start, std::cerr);
    });
}
