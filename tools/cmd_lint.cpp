// kova lint: the mistakes of a description, each with its check's name.
// Exits 0 when nothing is reported, 1 when anything is (warnings too), 2
// on usage or file errors.
#include "lint/lint.h"
#include "session/suggest.h"
#include "tools/subcommands.h"

void add_lint_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("lint", "Check a description for mistakes before a user meets them");
    add_load_options(*command, state);
    auto options = std::make_shared<KOVA_LINT_OPTIONS>();
    command->add_flag("--werror", options->warnings_are_errors, "Report warnings as errors");
    command->add_option("--disable", options->disabled,
                        "Leave a check out (repeatable); the checks are listed in docs/description-format.md, "
                        "Lint checks");
    command->footer("Example: kova lint examples/fifo.xml --disable unenforced-values");
    command->callback([&state, options]() {
        run_command(state, false, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            std::vector<std::string> names;
            for (const KOVA_LINT_CHECK& check : kova_lint_checks()) names.push_back(check.name);
            for (const std::string& name : options->disabled)
                if (!kova_find_lint_check(name)) {
                    output.usage_problem = "--disable: no check is named " + name + kova_did_you_mean(name, names);
                    return;
                }
            if (!kova_lint(session, *options, output.messages)) {
                output.usage_problem = "cannot read " + session.description() + " again to lint it" +
                                       (output.messages.empty() ? "" : ": " + output.messages.front().text);
                return;
            }
            output.replaces_messages = true;
            output.failed = !output.messages.empty();
            const int errors = static_cast<int>(kova_error_count(output.messages));
            output.document["errors"] = errors;
            output.document["warnings"] = static_cast<int>(output.messages.size()) - errors;
        });
    });
}
