// kova migrate: a settings file written for an earlier version of a block
// brought to the version --to names (session/migrate.h); exit status 0
// when the result is valid and nothing was removed, 1 otherwise, 2 on
// errors.
#include "session/migrate.h"
#include "tools/subcommands.h"

void add_migrate_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("migrate", "Bring a settings file written for an earlier version of a block "
                                                  "to the version a description gives");
    auto options = std::make_shared<KOVA_MIGRATE_OPTIONS>();
    command->add_option("settings", options->settings_file, "The settings file of the earlier version")->required();
    command->add_option("--to", state.load.description, "The description of the version to migrate to")
        ->required();
    command->add_option("--lib", state.load.library_dir, "Library folder searched first for included sub-models");
    command->add_option("--function", state.load.function_name,
                        "Function name of the building block (default: the description's own)");
    command->add_option("--format", state.format, "Output: text, or one JSON document")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
    command->add_option("--save", options->save,
                        "Write the migrated settings, the old file's comments and order kept, removed settings as "
                        "comments");
    command->add_flag("--fix", options->repair, "Apply the repair kova fix proposes for settings no longer legal");
    command->footer("Example: kova migrate examples/versions/uart-v1.settings --to examples/versions/uart-v2.xml "
                    "--save uart.settings --fix");
    command->callback([&state, options]() {
        KOVA_MESSAGES messages;
        const std::unique_ptr<KOVA_SESSION> session = open_session(state, messages);
        if (!session) return;
        KOVA_ANSWER answer;
        answer.messages = std::move(messages);
        kova_migrate_answer(*session, *options, answer);
        const bool complete = !answer.problem && answer.document["complete"].get<bool>();
        print_answer(state, answer, answer.valid, complete);
    });
}
