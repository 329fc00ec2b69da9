// kova ranges: the legal values of one port, or of every port when none is
// named, under the given settings: bounds and explicit value list, in
// decimal ("X" where unknown).
#include "tools/subcommands.h"

void add_ranges_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("ranges", "Show the legal values of a port, or of every port");
    add_load_options(*command, state);
    auto name = std::make_shared<std::string>();
    command->add_option("port", *name, "Port name (every port when left out)");
    add_settings_options(*command, state);
    command->footer("Example: kova ranges examples/fifo.xml prog_full_thresh --set HAS_DATA_COUNT=1 --set DEPTH=64");
    command->callback([&state, name]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_ANSWER& answer) {
            kova_ranges_answer(session, *name, answer);
        });
    });
}
