// Options shared by the subcommands: the description to load and the
// settings to apply to it, from files and from the command line.
#include <iostream>

#include "tools/settings_file.h"
#include "tools/subcommands.h"

void add_load_options(CLI::App& command, KOVA_LOAD_OPTIONS& load) {
    command.add_option("description", load.description, "Description file (XML)")->required()->check(CLI::ExistingFile);
    command.add_option("--lib", load.library_dir, "Library folder searched first for included sub-models");
    command.add_option("--function", load.function_name, "Function name of the building block")
        ->capture_default_str();
    command.add_option("--format", load.format, "Output: text, or one JSON document")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
}

void add_settings_options(CLI::App& command, KOVA_TOOL_STATE& state) {
    command.add_option("--settings", state.settings_files, "Read settings from a file of NAME=VALUE lines")
        ->check(CLI::ExistingFile);
    command.add_option("--set", state.set, "Set a parameter value, or USED/UNUSED/CONSTANT (NAME=VALUE)");
    command.add_option("--use", state.use, "Mark a port or parameter used");
    command.add_option("--unused", state.unused, "Mark a port or parameter unused");
    command.add_option("--constant", state.constant, "Hold a port at a constant value");
}

std::unique_ptr<KOVA_RULES_VALIDATOR> load_with_settings(KOVA_TOOL_STATE& state, std::ostream& err) {
    auto validator = load_validator(state.load, err);
    if (!validator) {
        state.exit_code = KOVA_EXIT_USAGE;
        return nullptr;
    }
    std::vector<KOVA_SETTING> settings;
    std::vector<std::string> problems;
    for (const std::string& file : state.settings_files) read_settings_file(file, settings, problems);
    if (!problems.empty()) {  // nothing is applied from files with errors
        for (const std::string& problem : problems) err << "kova: " << problem << "\n";
        state.exit_code = KOVA_EXIT_USAGE;
        return nullptr;
    }
    for (const std::string& text : state.set) {
        KOVA_SETTING setting;
        if (!parse_setting(text, setting)) {
            err << "kova: --set takes NAME=VALUE, not '" << text << "'\n";
            state.exit_code = KOVA_EXIT_USAGE;
            return nullptr;
        }
        setting.origin = "--set";
        settings.push_back(setting);
    }
    for (const std::string& name : state.use) settings.push_back({name, "USED", "--use"});
    for (const std::string& name : state.unused) settings.push_back({name, "UNUSED", "--unused"});
    for (const std::string& name : state.constant) settings.push_back({name, "CONSTANT", "--constant"});
    for (const KOVA_SETTING& setting : settings) {
        const std::string problem = apply_setting(*validator, setting);
        if (!problem.empty()) {
            err << "kova: " << setting.origin << ": " << problem << "\n";
            state.exit_code = KOVA_EXIT_USAGE;
            return nullptr;
        }
    }
    return validator;
}

void derive_values(KOVA_RULES_VALIDATOR& validator) {
    validator.run_validator();
    validator.clear_error_messages();
}

void usage_error(KOVA_TOOL_STATE& state, const std::string& problem) {
    std::cerr << "kova: " << problem << "\n";
    state.exit_code = KOVA_EXIT_USAGE;
}
