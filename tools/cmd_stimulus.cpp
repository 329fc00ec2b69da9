// kova stimulus: every transition that a stimulus vector drives at one
// time under the given settings, one "NAME VALUE" line per record. A
// validation run comes first, so that record conditions and time words
// read derived values.
#include <iostream>

#include "tools/subcommands.h"

void add_stimulus_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("stimulus", "Print the transitions of a stimulus vector at a time");
    add_load_options(*command, state.load);
    auto name = std::make_shared<std::string>();
    auto time = std::make_shared<int>(0);
    command->add_option("vector", *name, "Stimulus vector name")->required();
    command->add_option("--time", *time, "Time, in the unit the force commands use")->required();
    add_settings_options(*command, state);
    command->footer("Example: kova stimulus examples/counter.xml count_cycle --time 50 --set DIRECTION=both");
    command->callback([&state, name, time]() {
        auto validator = load_with_settings(state, std::cerr);
        if (!validator) return;
        KOVA_VECTOR_OBJ* vector = validator->get_vector_object(*name);
        if (!vector) {
            usage_error(state, "no stimulus vector is named " + *name);
            return;
        }
        derive_values(*validator);
        vector->reset_vector_stimulus();
        std::string signal, value;
        KOVA_TABLE transitions{{"NAME", "VALUE"}};
        while (validator->kova_get_vector_transition(vector, *time, signal, value))
            transitions.push_back({signal, value});
        const nlohmann::json document = {{"vector", vector->get_vector_name()},
                                         {"time", *time},
                                         {"transitions", table_json(transitions)},
                                         {"messages", messages_json(*validator)}};
        emit(state.load.json(), document, [&](std::ostream& out) {
            for (std::size_t row = 1; row < transitions.size(); ++row)
                out << transitions[row][0] << " " << transitions[row][1] << "\n";
            print_messages(*validator, state.load.description, out);
        }, std::cout);
    });
}
