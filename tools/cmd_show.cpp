// kova show: every port and parameter of a description with its kind,
// value text, default and usage states; with --help-texts, the labels and
// help texts the description gives its objects, wizard maps and vectors;
// with --origin, after a run under the settings given, where each value
// came from (session/value_origins.h).
#include "tools/subcommands.h"

void add_show_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("show", "List every port and parameter of a description");
    add_load_options(*command, state);
    auto help_texts = std::make_shared<bool>(false);
    auto origins = std::make_shared<bool>(false);
    command->add_flag("--help-texts", *help_texts,
                      "List the label and help text of every object, wizard map and vector that has one");
    command->add_flag("--origin", *origins,
                      "Validate under the settings given, and add where each value came from: set, default, "
                      "corrected, held or absent");
    add_settings_options(*command, state);
    command->footer("Example: kova show examples/fifo.xml --help-texts\n"
                    "         kova show examples/uart.xml --origin --set PARITY=EVEN --set DATA_BITS=9");
    command->callback([&state, help_texts, origins]() {
        run_command(state, *origins, [help_texts, origins](KOVA_SESSION& session, const KOVA_RUN_RESULT&,
                                                           KOVA_ANSWER& answer) {
            kova_show_answer(session, *help_texts, answer, *origins);
        });
    });
}
