// The simulation library: the model's ";"-separated library text turned
// into the library names a simulation needs, after a validation run has
// brought the derived settings up to date.
#include "host/kova_stl.h"
#include "host/qel_util.h"
#include "validator/kova_rules_validator.h"

namespace {

// The library name of an entry: the text before its first ".", without
// leading white space.
std::string library_name(const std::string& entry) { return trim_left(entry.substr(0, entry.find('.'))); }

}  // namespace

std::string KOVA_RULES_VALIDATOR::get_simulation_library() {
    run_validator();
    return evaluate_simulation_library();
}

std::string KOVA_RULES_VALIDATOR::evaluate_simulation_library() {
    std::string result;
    // Entries before a ";" may be expressions; one that evaluates to ""
    // is used as written. The text after the last ";" is never evaluated.
    QEL_TOKEN_READER entries(get_vhdl_library(), ";");
    std::string delimiter;
    while (!entries.empty()) {
        std::string entry = entries.next(delimiter);
        if (entry.empty()) continue;
        if (!delimiter.empty()) {
            const std::string evaluated = evaluate_value_expression(entry, true);
            if (!evaluated.empty()) entry = evaluated;
        }
        result += library_name(entry) + ";";
    }
    return result;
}
