// kova ranges: the legal values of one port, or of every port when none is
// named, under the given settings: bounds and explicit value list, in
// decimal ("X" where unknown).
#include "session/json_document.h"
#include "session/port_queries.h"
#include "tools/subcommands.h"

namespace {

void print_range(const KOVA_PORT_RANGE& range, std::ostream& out) {
    out << "port: " << range.port << "\nwidth: " << range.width << "\nlower: " << range.lower
        << "\nupper: " << range.upper << "\n";
    if (!range.listed) return;
    out << "values: ";
    for (std::size_t i = 0; i < range.values.size(); ++i) out << (i ? "|" : "") << range.values[i];
    out << "\n";
}

void one_port(const std::string& name, KOVA_SESSION& session, KOVA_COMMAND_OUTPUT& output) {
    KOVA_PORT_RANGE range;
    if (!kova_port_range(session, name, range, output.messages)) {
        output.usage_problem = "no port is named " + name;
        return;
    }
    output.document = kova_port_range_json(range);
    output.text = [range](std::ostream& out) { print_range(range, out); };
}

// Every port, a blank line between two.
void every_port(KOVA_SESSION& session, KOVA_COMMAND_OUTPUT& output) {
    const std::vector<KOVA_PORT_RANGE> ranges = kova_port_ranges(session, output.messages);
    output.document = kova_port_ranges_json(ranges);
    output.text = [ranges](std::ostream& out) {
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            if (i) out << "\n";
            print_range(ranges[i], out);
        }
    };
}

}  // namespace

void add_ranges_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("ranges", "Show the legal values of a port, or of every port");
    add_load_options(*command, state);
    auto name = std::make_shared<std::string>();
    command->add_option("port", *name, "Port name (every port when left out)");
    add_settings_options(*command, state);
    command->footer("Example: kova ranges examples/fifo.xml prog_full_thresh --set HAS_DATA_COUNT=1 --set DEPTH=64");
    command->callback([&state, name]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT&, KOVA_COMMAND_OUTPUT& output) {
            if (name->empty()) every_port(session, output);
            else one_port(*name, session, output);
        });
    });
}
