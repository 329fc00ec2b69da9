// Shared helpers of the test programs: temporary files, and a validator
// subclass that opens the protected members to the tests.
#ifndef KOVA_TEST_SUPPORT_H
#define KOVA_TEST_SUPPORT_H

#include <map>
#include <string>
#include <vector>

#include "validator/kova_rules_validator.h"

// Writes content to a fresh file in a per-process temporary folder and returns its path.
std::string write_temp_file(const std::string& name, const std::string& content);
std::string temp_folder();

// Path of a file below tests/data, and of an example description or settings file.
std::string test_data(const std::string& name);
std::string example(const std::string& name);

// The bytes of a file; "" when it cannot be read.
std::string file_text(const std::string& path);

// The templates of docs/messages.md (the code spans after "Template: "),
// each with the example of its entry: the code span after "Example:", ""
// when the entry gives none, the template itself for "Example: the text
// itself".
std::map<std::string, std::string> catalogued_templates();

// The kova tool the tests run: this build's, or the stand-in named by KOVA_TEST_TOOL (tests/valgrind/memcheck
// runs it under valgrind), quoted for the shell.
std::string kova_tool();

// Runs the kova tool with the arguments, through the shell, and collects
// what it prints (standard error too, unless with_errors is false).
struct TOOL_RUN { int status; std::string out; };
TOOL_RUN run_kova(const std::string& arguments, bool with_errors = true);
// Runs a shell command line as it is (/bin/sh) and collects its standard output.
TOOL_RUN run_shell(const std::string& command);

class VALIDATOR_PROBE : public KOVA_RULES_VALIDATOR {
public:
    explicit VALIDATOR_PROBE(const std::string& description = "", const std::string& lib_dir = "")
        : KOVA_RULES_VALIDATOR("probe", description, lib_dir) {}

    using KOVA_RULES_VALIDATOR::is_reserved_keyword, KOVA_RULES_VALIDATOR::read_parameter_and_port_list_from_obj_list,
        KOVA_RULES_VALIDATOR::set_value_on_object;
    using KOVA_RULES_VALIDATOR::m_cmd_list, KOVA_RULES_VALIDATOR::m_external_msg_list,
        KOVA_RULES_VALIDATOR::m_fn_macro_list,
        KOVA_RULES_VALIDATOR::m_parameter_list, KOVA_RULES_VALIDATOR::m_port_list;

    // Adds a model object with a value text and default.
    KOVA_OBJ_INFO* add_object(const std::string& name, int type, const std::string& value = "",
        const std::string& default_value = "");
    // Adds a rule to the object of that name, which is made with the type given when the model has no object of that
    // name yet.
    KOVA_OBJ_INFO* add_rule(const std::string& name, int type, const std::string& condition,
        const std::string& value = "",
                            const std::string& alt = "", int rule_type = KOVA_RULE_CONDITION);
    // Adds a function macro with its body and formal arguments.
    KOVA_OBJ_INFO* add_macro(const std::string& name, const std::string& body, const std::string& formals = "");
};

// The names of a name map, in its order.
std::vector<std::string> keys_of(const KOVA_NAME_MAP& names);

// A diagnostic record in one line: "object#rule field severity kind: text".
std::string record_text(const KOVA_DIAGNOSTIC& record);

#endif
