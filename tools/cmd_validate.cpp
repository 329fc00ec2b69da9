// kova validate: one validation run; exit status 0 when valid, 1 when not.
#include "session/json_document.h"
#include "session/settings_io.h"
#include "tools/subcommands.h"

void add_validate_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("validate", "Run the validator and print every message");
    add_load_options(*command, state);
    add_settings_options(*command, state);
    auto save = std::make_shared<std::string>();
    command->add_option("--save", *save,
                        "Write the settings after the run (corrections included) to a file; an existing settings "
                        "file keeps its comments and order");
    command->footer("Example: kova validate examples/fifo.xml --set WIDTH=12 --use din --save fifo.settings");
    command->callback([&state, save]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            output.document["ports"] = kova_ports_json(session.validator());
            output.document["parameters"] = kova_parameters_json(session.validator());
            std::string error;
            if (!save->empty() && !kova_save_settings_file(*save, session.current_settings(), false, error))
                output.usage_problem = "cannot save the settings to " + *save + ": " + error;
        });
    });
}
