// kova fix: repairs an invalid configuration with as few changed settings
// as it finds (session/fix.h) and tells each change with its reason;
// exit status 0 when the result is valid, 1 when not.
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "session/fix.h"
#include "tools/subcommands.h"

namespace {

// A progress line on standard error, rewritten in place; only when
// standard error is a terminal.
std::function<void(int, int)> progress_line() {
    if (!isatty(STDERR_FILENO)) return nullptr;
    return [](int runs, int errors) {
        if (runs % 10 == 0)
            std::cerr << "\rkova fix: " << runs << " validation runs, errors in the last: " << errors << std::flush;
    };
}

// Refuses a whole number of 0 or less in plain words; what is not a
// whole number is left to the option's own conversion to refuse.
CLI::Validator above_zero() {
    return CLI::Validator(
        [](std::string& text) {
            char* end = nullptr;
            const long long value = std::strtoll(text.c_str(), &end, 10);
            const bool whole = !text.empty() && end && *end == '\0';
            return whole && value <= 0 ? std::string("must be above 0") : std::string();
        },
        "POSITIVE");
}

}  // namespace

void add_fix_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("fix", "Repair an invalid configuration with as few changed settings as "
                                              "possible, telling each change and why");
    add_load_options(*command, state);
    add_settings_options(*command, state);
    auto keep = std::make_shared<std::vector<std::string>>();
    auto budget = std::make_shared<int>(KOVA_FIX_OPTIONS().run_budget);
    command->add_option("--keep", *keep, "Never change this setting (repeatable)");
    command->add_option("--budget", *budget, "The most validation runs the repair may make")
        ->check(above_zero())
        ->capture_default_str();
    auto save = std::make_shared<KOVA_SAVE_OPTIONS>();
    add_save_options(*command, *save);
    command->footer("Example: kova fix examples/ram.xml --settings examples/ram-conflicts.settings --keep WIDTH "
                    "--save ram.settings --minimal");
    command->callback([&state, keep, budget, save]() {
        run_command(
            state, true,
            [&](KOVA_SESSION& session, const KOVA_RUN_RESULT& run, KOVA_ANSWER& answer) {
                KOVA_FIX_OPTIONS options;
                options.keep = *keep;
                options.run_budget = *budget;
                options.progress = progress_line();
                kova_fix_answer(session, run, options, answer);
                if (options.progress) std::cerr << "\r\033[K" << std::flush;
                if (answer.problem) answer.problem.text = "--keep: " + answer.problem.text;
                else save_settings(*save, session, answer);
            },
            true);
    });
}
