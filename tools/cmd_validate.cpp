// kova validate: one validation run; exit status 0 when valid, 1 when not;
// --save writes the settings after the run, --minimal only those that
// differ from the defaults.
#include "tools/subcommands.h"

void add_validate_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("validate", "Run the validator and print every message");
    add_load_options(*command, state);
    add_settings_options(*command, state);
    auto save = std::make_shared<KOVA_SAVE_OPTIONS>();
    add_save_options(*command, *save);
    command->footer("Example: kova validate examples/fifo.xml --set WIDTH=12 --use din --save fifo.settings --minimal");
    command->callback([&state, save]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            // The object lists are part of the JSON document only; text
            // output lists messages, so a large description skips them.
            kova_validate_answer(session, state.json(), answer);
            save_settings(*save, session, answer);
        });
    });
}
