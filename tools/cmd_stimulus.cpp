// kova stimulus: the values a stimulus vector drives at one time.
#include "session/json_text.h"
#include "session/wizard_queries.h"
#include "tools/subcommands.h"

void add_stimulus_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("stimulus", "Print the transitions of a stimulus vector at a time");
    add_load_options(*command, state);
    auto name = std::make_shared<std::string>();
    auto time = std::make_shared<int>(0);
    command->add_option("vector", *name, "Stimulus vector name")->required();
    command->add_option("--time", *time, "Time, in the unit the force commands use")->required();
    add_settings_options(*command, state);
    command->footer("Example: kova stimulus examples/counter.xml count_cycle --time 50 --set DIRECTION=both");
    command->callback([&state, name, time]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            KOVA_STIMULUS_RESULT stimulus;
            if (!kova_stimulus_at(session, *name, *time, stimulus, output.messages)) {
                output.usage_problem = "no stimulus vector is named " + *name;
                return;
            }
            KOVA_TABLE transitions{{"NAME", "VALUE"}};
            for (const KOVA_TRANSITION& transition : stimulus.transitions)
                transitions.push_back({transition.signal, transition.value});
            output.document["vector"] = kova_json_text(stimulus.vector);
            output.document["time"] = *time;
            output.document["transitions"] = table_json(transitions);
            output.text = [transitions](std::ostream& out) {
                for (std::size_t row = 1; row < transitions.size(); ++row)
                    out << transitions[row][0] << " " << transitions[row][1] << "\n";
            };
        });
    });
}
