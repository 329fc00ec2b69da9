// Fuzz target: the input as a description file, optionally followed by a line "--settings--" and a settings text. The
// description is written to a temporary folder beside sub.xml (a small valid sub-model) and loop.xml (which includes
// input.xml back). A description that loads is opened as a session, given the settings, validated and asked every
// query a front end asks; then a copy of the validator made before the run is run after the session is gone, so that
// whatever a record or origin points at is seen to outlive the evaluation that made it.
#include <sstream>

#include "fuzz/fuzz_model.h"
#include "session/explain.h"
#include "session/expression_queries.h"
#include "session/port_queries.h"
#include "session/settings_io.h"
#include "session/wizard_queries.h"

namespace {

const char* const k_sub_model = "<model function='sub' condition='W gt 1'>\n"
                                "<object name='W' kind='integer' value='1-8' default='2'><rule condition='W == 3' "
                                "value='4'/></object>\n"
                                "<object name='q' kind='out' width='W'/>\n</model>\n";

// Where the description ends and the settings text starts.
const char* const k_settings_marker = "\n--settings--\n";

// The most objects explained per input, and the most whose lower values are brought up to date: each costs a
// walk of the whole model (a session copy, the levels below), which for every object makes large inputs slow.
constexpr std::size_t k_most_explained = 8;
constexpr std::size_t k_most_queried = 32;

// The queries of a wizard after a run, each on the session's own state.
void ask_queries(KOVA_SESSION& session, const KOVA_RUN_RESULT& run) {
    KOVA_MESSAGES messages;
    kova_port_widths(session, messages);
    kova_port_ranges(session, messages);
    kova_wizard_messages(session, messages);
    kova_simulation_libraries(session, messages);
    kova_evaluate_wizard_maps(session, messages);
    KOVA_RULES_VALIDATOR& validator = session.validator();
    validator.reset_vector_map();
    std::vector<std::string> vectors;
    while (const KOVA_VECTOR_OBJ* vector = validator.get_next_vector_obj()) vectors.push_back(vector->get_vector_name());
    KOVA_STIMULUS_RESULT stimulus;
    for (const std::string& name : vectors) kova_stimulus_at(session, name, 0, stimulus, messages);
    std::size_t explained = 0;
    for (const KOVA_OBJ_INFO* object : validator.get_kova_obj_snapshot()) {
        kova_evaluate(session, object->get_value(), PARSER_MODE_REFRESH_MACROS);
        KOVA_EXPLANATION explanation;
        if (explained++ < k_most_explained) kova_explain(session, run, object->get_name(), explanation);
    }
}

// The values below each object brought up to date, and each object
// validated alone, on a validator whose original is gone.
void run_copy(KOVA_RULES_VALIDATOR& copy) {
    std::ostringstream unplaced;
    copy.set_scanner_output(&unplaced);  // the session's stream went with it
    copy.run_validator();
    std::size_t queried = 0;
    for (const KOVA_OBJ_INFO* object : copy.get_kova_obj_snapshot()) {
        if (queried++ == k_most_queried) break;
        copy.run_validator_on_assoc_elements(object->get_name());
        copy.run_validator_on_element(object->get_name());
    }
    copy.set_scanner_output(nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    write_temp_file("sub.xml", k_sub_model);
    write_temp_file("loop.xml", "<model><include file=\"input.xml\"/></model>\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t marker = input.find(k_settings_marker);
    KOVA_MESSAGES problems;
    std::unique_ptr<KOVA_SESSION> session = KOVA_SESSION::open(
        {write_temp_file("input.xml", input.substr(0, marker)), "", ""}, problems);
    if (!session) return 0;
    std::vector<KOVA_SETTING> settings;
    if (marker != std::string::npos)
        kova_parse_settings_text(input.substr(marker + std::char_traits<char>::length(k_settings_marker)),
                                 "input.settings", settings, problems);
    session->apply(settings, problems);
    auto copy = std::make_unique<KOVA_RULES_VALIDATOR>(session->validator());
    const KOVA_RUN_RESULT run = session->run();
    ask_queries(*session, run);
    session.reset();
    run_copy(*copy);
    return 0;
}
