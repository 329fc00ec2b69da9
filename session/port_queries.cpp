// Port widths and legal port values, read from the validator's port copies.
#include "session/port_queries.h"

#include "host/qel_util.h"

namespace {

std::string in_decimal(const NUVO_UINTEGER& value, int width) {
    std::string text;
    qel_radix_conversion(value.as_bin_string(), text, QEL_RADIX_BINARY, QEL_RADIX_UNSIGNED_DECIMAL, width);
    return text;
}

// The values of a null-ended value array.
std::vector<std::string> value_list(NUVO_UINTEGER* const* array, int width) {
    std::vector<std::string> values;
    for (NUVO_UINTEGER* const* entry = array; entry && *entry; ++entry) values.push_back(in_decimal(**entry, width));
    return values;
}

// A port's range as its value rules left it.
KOVA_PORT_RANGE range_of(const KOVA_PORT_OBJ& port) {
    KOVA_PORT_RANGE range;
    range.port = port.get_name();
    range.width = port.get_current_port_width();
    range.lower = in_decimal(*port.get_min_port_value(), range.width);
    range.upper = in_decimal(*port.get_max_port_value(), range.width);
    range.listed = port.get_port_value_array() != nullptr;
    range.values = value_list(port.get_port_value_array(), range.width);
    return range;
}

}  // namespace

std::vector<KOVA_PORT_WIDTH> kova_port_widths(KOVA_SESSION& session, KOVA_MESSAGES& messages) {
    KOVA_RULES_VALIDATOR& validator = session.validator();
    validator.clear_error_messages();
    validator.evaluate_port_widths();
    messages = session.take_messages();
    std::vector<KOVA_PORT_WIDTH> widths;
    const KOVA_OBJ_MAP list = validator.get_port_list();  // a copy: keep it alive through the walk
    for (const auto& entry : list.entries()) {
        const auto* port = static_cast<const KOVA_PORT_OBJ*>(entry.second);
        widths.push_back({port->get_name(), port->get_current_port_width(), port->get_port_width()});
    }
    return widths;
}

bool kova_port_range(KOVA_SESSION& session, const std::string& name, KOVA_PORT_RANGE& range,
                     KOVA_MESSAGES& messages) {
    KOVA_RULES_VALIDATOR& validator = session.validator();
    validator.clear_error_messages();
    validator.evaluate_port_widths();
    const KOVA_PORT_OBJ* port = validator.determine_port_value_validity(name);
    messages = session.take_messages();
    if (!port) return false;
    range = range_of(*port);
    return true;
}

// A port's value rules change only that port's bounds and list, so one
// width evaluation serves every port and the order does not matter.
std::vector<KOVA_PORT_RANGE> kova_port_ranges(KOVA_SESSION& session, KOVA_MESSAGES& messages) {
    KOVA_RULES_VALIDATOR& validator = session.validator();
    validator.clear_error_messages();
    validator.evaluate_port_widths();
    std::vector<std::string> names;
    const KOVA_OBJ_MAP list = validator.get_port_list();  // a copy: keep it alive through the walk
    for (const auto& entry : list.entries())
        names.push_back(static_cast<const KOVA_PORT_OBJ*>(entry.second)->get_name());
    std::vector<KOVA_PORT_RANGE> ranges;
    for (const std::string& name : names)
        if (const KOVA_PORT_OBJ* port = validator.determine_port_value_validity(name)) ranges.push_back(range_of(*port));
    messages = session.take_messages();
    return ranges;
}
