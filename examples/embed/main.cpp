// A minimal host: load a description, set one value, validate, and print
// what the validator posted. Usage: embed DESCRIPTION NAME=VALUE...
// It first checks that the installed functions link and answer
// (api_links.cpp); exit status 3 when they do not answer rightly.
#include <iostream>
#include <string>

#include "api_links.h"
#include "validator/kova_rules_validator.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: embed DESCRIPTION [NAME=VALUE]...\n";
        return 2;
    }
    if (!kova_api_links()) {
        std::cerr << "embed: an installed function answered wrongly\n";
        return 3;
    }
    KOVA_RULES_VALIDATOR validator("embed", argv[1], "");
    if (!validator.get_error_messages().empty()) {
        for (const std::string& message : validator.get_error_messages()) std::cerr << message << "\n";
        return 2;
    }
    validator.initialize_validator();
    validator.set_all_ports_and_parameters_to_default_state();
    for (int i = 2; i < argc; ++i) {
        const std::string setting = argv[i];
        const std::size_t equals = setting.find('=');
        if (equals == std::string::npos) continue;
        validator.set_parameter_value(setting.substr(0, equals), setting.substr(equals + 1));
    }
    const bool valid = validator.run_validator();
    for (const std::string& message : validator.get_error_messages()) std::cout << message << "\n";
    std::cout << (valid ? "valid" : "invalid") << "\n";
    return valid ? 0 : 1;
}
