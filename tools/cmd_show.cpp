// kova show: every port and parameter of a description with its kind,
// value text, default and usage states; with --help-texts, the labels and
// help texts the description gives its objects, wizard maps and vectors.
#include "tools/subcommands.h"

void add_show_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("show", "List every port and parameter of a description");
    add_load_options(*command, state);
    auto help_texts = std::make_shared<bool>(false);
    command->add_flag("--help-texts", *help_texts,
                      "List the label and help text of every object, wizard map and vector that has one");
    command->footer("Example: kova show examples/fifo.xml --help-texts");
    command->callback([&state, help_texts]() {
        run_command(state, false, [help_texts](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            kova_show_answer(session, *help_texts, answer);
        });
    });
}
