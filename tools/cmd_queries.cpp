// kova widths, messages and simlib: answers about the configuration that
// take no argument of their own, beside the load and settings options.
#include "tools/subcommands.h"

namespace {

CLI::App* add_query(CLI::App& app, KOVA_TOOL_STATE& state, const char* name, const char* summary, const char* example,
               void (*answer)(KOVA_SESSION&, KOVA_ANSWER&)) {
    auto* command = app.add_subcommand(name, summary);
    add_load_options(*command, state);
    add_settings_options(*command, state);
    command->footer(std::string("Example: ") + example);
    command->callback([&state, answer]() {
        run_command(state, true, [answer](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& built) {
            answer(session, built);
        });
    });
    return command;
}

}  // namespace

void add_widths_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    add_query(app, state, "widths", "Evaluate the width of every port",
              "kova widths examples/fifo.xml --set WIDTH=32 --set DEPTH=512", kova_widths_answer);
}

// Its help names the catalogue of kova's own messages too, which
// "kova help messages" is the first place a user looks for.
void add_messages_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    CLI::App* command =
        add_query(app, state, "messages", "Show the messages that apply to the settings",
                  "kova messages examples/fifo.xml --set MEMORY_TYPE=distributed --set WIDTH=72", kova_messages_answer);
    command->footer(command->get_footer() + "\nEvery message kova itself gives, what it means and what to do: "
                                            "docs/messages.md");
}

void add_simlib_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    add_query(app, state, "simlib", "Show the simulation libraries for the settings",
              "kova simlib examples/fifo.xml --set MEMORY_TYPE=distributed", kova_simlib_answer);
}
