// kova: command-line front end of the rules validator. It only parses
// options and hands each subcommand to the shared flow (tools/options.cpp)
// over the shared layer (session/); here are the conventions every
// command-line tool keeps: --version, help, suggestions for misspelt
// subcommands and options, and one clear line for any failure.
#include <algorithm>
#include <exception>
#include <stdexcept>
#include <iostream>
#include <new>

#include "session/file_io.h"
#include "session/json_document.h"
#include "session/suggest.h"
#include "tools/subcommands.h"

namespace {

// The project version of the top CMakeLists (tools/CMakeLists.txt), which
// the Python package reports too.
const char* const KOVA_VERSION_TEXT = "kova " KOVA_VERSION;

// A problem with the arguments found once a subcommand's are parsed.
struct KOVA_USAGE_ERROR : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::vector<std::string> subcommand_names(const CLI::App& app) {
    std::vector<std::string> names{"help"};
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
        names.push_back(command->get_name());
    return names;
}

std::vector<std::string> option_names(const CLI::App& command) {
    std::vector<std::string> names;
    for (const CLI::Option* option : command.get_options())
        for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
    return names;
}

// The JSON output the arguments ask for ("json", "jsonl" or ""), so that
// even a usage error is answered in it.
std::string wanted_json(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::string value = argument.rfind("--format=", 0) == 0 ? argument.substr(9)
                                  : argument == "--format" && i + 1 < argc ? std::string(argv[i + 1])
                                                                           : "";
        if (value == "json" || value == "jsonl") return value;
    }
    return "";
}

// The first argument that is neither an option nor the value of
// --format, where a subcommand stands.
int subcommand_index(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--format") {
            ++i;
            continue;
        }
        if (argv[i][0] != '-') return i;
    }
    return 0;
}

// Arguments the subcommand did not take: an unknown option names the
// nearest one, anything else is named as unexpected.
std::string extras_problem(const CLI::App& command) {
    std::string problem;
    for (const std::string& extra : command.remaining()) {
        if (!problem.empty()) problem += "; ";
        if (extra.rfind("--", 0) == 0) {
            const std::string name = extra.substr(0, extra.find('='));
            problem += "unknown option " + name + " for " + command.get_name() +
                       kova_did_you_mean(name, option_names(command));
        } else {
            problem += "unexpected argument '" + extra + "' for " + command.get_name();
        }
    }
    return problem;
}

int run(int argc, char** argv, KOVA_TOOL_STATE& state) {
    CLI::App app{"kova: validate the configuration of a parameterised building block"};
    app.set_version_flag("--version", KOVA_VERSION_TEXT);
    app.require_subcommand(0, 1);
    app.footer("Run 'kova help SUBCOMMAND' or 'kova SUBCOMMAND --help' for the options of one subcommand.\n"
               "Exit status: 0 valid or done, 1 invalid configuration or an error message, 2 usage, file or\n"
               "internal error.\n"
               "Every message kova gives, what it means and what to do: docs/messages.md\n"
               "Example: kova validate examples/ram.xml --settings examples/ram-dual.settings");
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
    add_lint_command(app, state);
    add_generate_command(app, state);
    add_explain_command(app, state);
    add_fix_command(app, state);
    add_batch_command(app, state);
    add_sweep_command(app, state);
    add_serve_command(app, state);
    add_lsp_command(app, state);
    add_menu_command(app, state);
    add_diff_command(app, state);
    add_migrate_command(app, state);
    auto* help = app.add_subcommand("help", "Show the options of kova or of one subcommand");
    std::string help_topic;
    help->add_option("subcommand", help_topic, "The subcommand to explain");
    for (CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        command->allow_extras();
        const std::string name = command->get_name();
        command->parse_complete_callback([&state, command, name]() {
            state.command = name;
            const std::string problem = extras_problem(*command);
            if (!problem.empty()) throw KOVA_USAGE_ERROR(problem);
        });
    }
    if (!wanted_json(argc, argv).empty()) state.format = wanted_json(argc, argv);

    // An unknown subcommand is named with the nearest known one.
    const std::vector<std::string> names = subcommand_names(app);
    if (const int at = subcommand_index(argc, argv)) {
        const std::string wanted = argv[at];
        if (std::find(names.begin(), names.end(), wanted) == names.end()) {
            report_failure(state, "unknown subcommand '" + wanted + "'" + kova_did_you_mean(wanted, names));
            return state.exit_code;
        }
        // Named before parsing, so that a failure to parse its arguments
        // names it too.
        state.command = wanted;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        std::cout << KOVA_VERSION_TEXT << "\n";
        return KOVA_EXIT_OK;
    } catch (const CLI::ParseError& e) {
        report_failure(state, e.what());
        return state.exit_code;
    } catch (const KOVA_USAGE_ERROR& e) {
        report_failure(state, e.what());
        return state.exit_code;
    }
    if (help->parsed()) {
        if (help_topic.empty()) {
            // The formatter directly: app.help() would show the parsed
            // help subcommand's own options instead of every subcommand.
            std::cout << app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
        } else if (std::find(names.begin(), names.end(), help_topic) != names.end()) {
            std::cout << app.get_subcommand(help_topic)->help();
        } else {
            report_failure(state, "unknown subcommand '" + help_topic + "'" + kova_did_you_mean(help_topic, names));
        }
        return state.exit_code;
    }
    if (app.get_subcommands().empty()) {
        report_failure(state, "a subcommand is required: " + [&] {
            std::string list;
            for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
            return list;
        }());
        return state.exit_code;
    }
    return state.exit_code;
}

// One line on standard error, and under --format json an error document
// naming the subcommand (a name of the tool's own: nothing to escape).
// Written without building a document, since memory may have run out.
int internal_failure(bool json, const std::string& command, const std::string& problem,
                     const std::string& detail = "") {
    std::cout.flush();
    std::cerr << "kova: " << problem << (detail.empty() ? "" : ": " + detail) << "\n";
    if (json)
        std::cout << "{\"schema_version\": " << KOVA_JSON_SCHEMA_VERSION << ", \"command\": \"" << command
                  << "\", \"error\": \"" << problem << "\", \"messages\": []}\n";
    return KOVA_EXIT_USAGE;
}

}  // namespace

int main(int argc, char** argv) {
    // A save past the file size limit then fails with an error instead of
    // ending the process half-way.
    kova_ignore_file_size_signal();
    const bool json = !wanted_json(argc, argv).empty();
    KOVA_TOOL_STATE state;
    try {
        return run(argc, argv, state);
    } catch (const std::bad_alloc&) {
        return internal_failure(json, state.command, "out of memory");
    } catch (const std::exception& error) {
        return internal_failure(json, state.command, "internal error", error.what());
    } catch (...) {
        return internal_failure(json, state.command, "internal error");
    }
}
