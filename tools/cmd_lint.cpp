// kova lint: the mistakes of a description, each with its check's name.
// Exits 0 when nothing is reported, 1 when anything is (warnings too), 2
// on usage or file errors.
#include "lint/answer.h"
#include "tools/subcommands.h"

void add_lint_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("lint", "Check a description for mistakes before a user meets them");
    add_load_options(*command, state);
    auto options = std::make_shared<KOVA_LINT_OPTIONS>();
    command->add_flag("--werror", options->warnings_are_errors, "Report warnings as errors");
    command->add_option("--disable", options->disabled,
                        "Leave a check out (repeatable); the checks are listed in docs/lint.md");
    command->add_option("--enable", options->enabled,
                        "Run a check that runs only on request (repeatable), such as missing-help");
    command->footer("Every check, with an example of the mistake and its fix: docs/lint.md\n"
                    "Example: kova lint examples/fifo.xml --disable unenforced-values");
    command->callback([&state, options]() {
        run_command(state, false, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            kova_lint_answer(session, *options, answer);
        });
    });
}
