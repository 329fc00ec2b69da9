// kova: command-line front end of the rules validator.
#include <iostream>

#include "tools/subcommands.h"

int main(int argc, char** argv) {
    CLI::App app{"kova: validate the configuration of a parameterised building block"};
    app.require_subcommand(1);
    app.footer("Run 'kova SUBCOMMAND --help' for the options of one subcommand.\n"
               "Exit status: 0 valid or done, 1 invalid configuration, 2 usage or file error.\n"
               "Example: kova validate examples/ram.xml --settings examples/ram-dual.settings");
    KOVA_TOOL_STATE state;
    add_show_command(app, state);
    add_eval_command(app, state);
    add_validate_command(app, state);
    add_deps_command(app, state);
    add_wizard_map_command(app, state);
    add_stimulus_command(app, state);
    add_widths_command(app, state);
    add_ranges_command(app, state);
    add_messages_command(app, state);
    add_simlib_command(app, state);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "kova: " << e.what() << "\n";
        return KOVA_EXIT_USAGE;
    }
    return state.exit_code;
}
