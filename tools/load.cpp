// Loading a description for the tool's subcommands.
#include "tools/kova_tool.h"

std::unique_ptr<KOVA_RULES_VALIDATOR> load_validator(const KOVA_LOAD_OPTIONS& options, std::ostream& err) {
    // The description is read after construction so that a failed read
    // can be reported: the constructor does not answer.
    auto validator = std::make_unique<KOVA_RULES_VALIDATOR>(options.function_name, "", options.library_dir);
    if (!validator->process_xml_file(options.description, nullptr)) {
        for (const std::string& message : validator->get_error_messages()) err << "kova: " << message << "\n";
        return nullptr;
    }
    validator->initialize_validator();
    // Start from what the description marks as used, with its defaults,
    // as a wizard does before the user changes anything.
    validator->set_all_ports_and_parameters_to_default_state();
    return validator;
}

std::string object_kind_name(int type) {
    switch (type) {
    case KOVA_OBJ_HIDDEN_PARAMETER: return "hidden";
    case KOVA_OBJ_INPUT_PORT: return "in";
    case KOVA_OBJ_OUTPUT_PORT: return "out";
    case KOVA_OBJ_INOUT_PORT: return "inout";
    case KOVA_OBJ_INTEGER_PARAMETER: return "integer";
    case KOVA_OBJ_STRING_PARAMETER: return "string";
    case KOVA_OBJ_OTHER_PARAMETER: return "other";
    case KOVA_OBJ_FN_MACRO: return "macro";
    default: return std::to_string(type);
    }
}
