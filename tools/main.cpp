// kova: command-line front end of the rules validator.
#include <iostream>

#include "tools/subcommands.h"

void add_load_options(CLI::App& command, KOVA_LOAD_OPTIONS& load) {
    command.add_option("description", load.description, "Description file (XML)")->required()->check(CLI::ExistingFile);
    command.add_option("--lib", load.library_dir, "Library folder searched first for included sub-models");
    command.add_option("--function", load.function_name, "Function name of the building block")
        ->capture_default_str();
}

int main(int argc, char** argv) {
    CLI::App app{"kova: validate the configuration of a parameterised building block"};
    app.require_subcommand(1);
    KOVA_TOOL_STATE state;
    add_show_command(app, state);
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
