// The Verilog and SystemVerilog writer: a wrapper module whose ports are
// the used ports and which instantiates the block with every parameter
// set, or a stub of the block; both declare the exported values as
// parameters of their own. The two dialects differ only in the words
// of declarations (the table below); names are escaped alike in both, so
// Verilog output also reads as SystemVerilog.
#include <cctype>

#include "generate/keywords.h"
#include "generate/names.h"
#include "generate/writers.h"

namespace {

// A string parameter is declared without a type in both: "parameter
// string" is not read by every SystemVerilog tool.
struct DIALECT {
    const char* language;
    const char* net;                // the type of an input or output port
    const char* integer_parameter;  // how a stub declares an integer parameter
};

const DIALECT VERILOG{"Verilog", "wire", "parameter integer"};
const DIALECT SYSTEM_VERILOG{"SystemVerilog", "logic", "parameter int"};

const std::string WRITTEN = "// Written by kova generate; ";

bool simple_identifier(const std::string& name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) return false;
    for (const char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$')) return false;
    return true;
}

// A sized hexadecimal literal of a value given as binary digits.
std::string hex_literal(int width, const std::string& bits) {
    const std::string padded = std::string((4 - bits.size() % 4) % 4, '0') + bits;
    std::string hex;
    for (std::size_t at = 0; at < padded.size(); at += 4)
        hex += "0123456789ABCDEF"[std::stoi(padded.substr(at, 4), nullptr, 2)];
    return std::to_string(width) + "'h" + hex;
}

std::string parameter_value(const KOVA_GEN_PARAMETER& parameter, const std::string& text) {
    long long value = 0;
    if (parameter.is_string) return kova_quoted_string(text, "\"\\");
    kova_generate_integer(text, value);  // checked before writing
    return std::to_string(value);
}

std::string direction(const KOVA_GEN_PORT& port) {
    return port.kind == KOVA_OBJ_OUTPUT_PORT ? "output" : port.kind == KOVA_OBJ_INOUT_PORT ? "inout" : "input";
}

// "input wire [7:0] din"; an inout is always a net.
std::string port_declaration(const DIALECT& dialect, const KOVA_GEN_PORT& port, const std::string& name) {
    const std::string type = port.kind == KOVA_OBJ_INOUT_PORT ? "wire" : dialect.net;
    const std::string range = port.width == 1 ? "" : "[" + std::to_string(port.width - 1) + ":0] ";
    return direction(port) + " " + type + " " + range + name;
}

// What the instance connects to a port: the wrapper's port of the same
// name, a constant, zero for an unused input, nothing for the rest.
std::string connection(const KOVA_GEN_PORT& port, const std::string& name) {
    if (port.is_wrapper_port()) return name;
    if (port.kind != KOVA_OBJ_INPUT_PORT) return "";
    if (port.is_constant() && !port.constant_bits.empty()) return hex_literal(port.width, port.constant_bits);
    return std::to_string(port.width) + "'b0";
}

// A port that is not used and has no width is not there in this
// configuration: neither declared nor connected.
// "parameter integer NAME = VALUE" of each exported value.
std::vector<std::string> exported_declarations(const DIALECT& dialect, const KOVA_GEN_CONFIG& config,
                                               const KOVA_GEN_NAMES& names) {
    std::vector<std::string> declarations;
    for (std::size_t i = 0; i < config.exported.size(); ++i) {
        const KOVA_GEN_PARAMETER& value = config.exported[i];
        declarations.push_back(std::string(value.is_string ? "parameter" : dialect.integer_parameter) + " " +
                               names.exported[i] + " = " + parameter_value(value, value.value));
    }
    return declarations;
}

// "module NAME" with its parameter list (may be empty) and port list.
std::string module_header(const std::string& name, const std::vector<std::string>& parameters,
                          const std::vector<std::string>& ports) {
    std::string text = "module " + name;
    if (!parameters.empty()) text += " #(\n" + kova_join_lines(parameters, ",", "  ") + ")";
    if (!ports.empty()) text += " (\n" + kova_join_lines(ports, ",", "  ") + ")";
    return text + ";\n";
}

std::string wrapper(const DIALECT& dialect, const KOVA_GEN_CONFIG& config, const KOVA_GEN_NAMES& names,
                    const std::string& block, const std::string& name) {
    std::vector<std::string> ports, taken, overrides, connections;
    for (std::size_t i = 0; i < config.ports.size(); ++i) {
        const KOVA_GEN_PORT& port = config.ports[i];
        if (port.is_wrapper_port()) {
            ports.push_back(port_declaration(dialect, port, names.ports[i]));
            taken.push_back(names.ports[i]);
        }
        if (!port.is_absent()) connections.push_back("." + names.ports[i] + "(" + connection(port, names.ports[i]) + ")");
    }
    for (std::size_t i = 0; i < config.parameters.size(); ++i)
        overrides.push_back("." + names.parameters[i] + "(" +
                            parameter_value(config.parameters[i], config.parameters[i].value) + ")");
    std::string text = "// " + name + ": " + block + " as configured.\n" + WRITTEN + "regenerate it rather than edit it.\n" +
                       module_header(name, exported_declarations(dialect, config, names), ports) + "\n  " + block;
    if (!overrides.empty()) text += " #(\n" + kova_join_lines(overrides, ",", "    ") + "  )";
    text += " " + kova_unique_label("inst", taken, false);
    text += connections.empty() ? " ();\n" : " (\n" + kova_join_lines(connections, ",", "    ") + "  );\n";
    return text + "\nendmodule\n";
}

std::string stub(const DIALECT& dialect, const KOVA_GEN_CONFIG& config, const KOVA_GEN_NAMES& names,
                 const std::string& block) {
    std::vector<std::string> parameters, ports;
    for (std::size_t i = 0; i < config.parameters.size(); ++i) {
        const KOVA_GEN_PARAMETER& parameter = config.parameters[i];
        parameters.push_back(std::string(parameter.is_string ? "parameter" : dialect.integer_parameter) +
                             " " + names.parameters[i] + " = " + parameter_value(parameter, parameter.default_value));
    }
    for (const std::string& declaration : exported_declarations(dialect, config, names))
        parameters.push_back(declaration);
    for (std::size_t i = 0; i < config.ports.size(); ++i)
        if (!config.ports[i].is_absent()) ports.push_back(port_declaration(dialect, config.ports[i], names.ports[i]));
    return "// " + block + ": an empty stand-in for the block, with the port widths of one configuration.\n" + WRITTEN +
           "the block's own sources replace it.\n" + module_header(block, parameters, ports) +
           "endmodule\n";
}

}  // namespace

bool kova_verilog_identifier(const std::string& name, std::string& spelled) {
    if (simple_identifier(name) && !kova_is_verilog_keyword(name)) {
        spelled = name;
        return true;
    }
    if (name.empty() || !kova_printable_ascii(name)) return false;
    spelled = "\\" + name + " ";
    return true;
}

std::string kova_write_verilog(const KOVA_GEN_CONFIG& config, bool system_verilog,
                               const KOVA_GENERATE_OPTIONS& options, KOVA_MESSAGES& problems) {
    const DIALECT& dialect = system_verilog ? SYSTEM_VERILOG : VERILOG;
    const std::size_t before = problems.size();
    const KOVA_GEN_NAMES names = kova_spell_names(config, kova_verilog_identifier, dialect.language, problems);
    const std::string block =
        kova_spell_name("The function name", config.function, kova_verilog_identifier, dialect.language, problems);
    const std::string wanted = options.name.empty() ? config.function + "_cfg" : options.name;
    const std::string name =
        options.stub ? "" : kova_spell_name("The wrapper name", wanted, kova_verilog_identifier, dialect.language, problems);
    if (!options.stub && wanted == config.function)
        problems.push_back(kova_generate_problem("", {}, "The wrapper cannot take the block's own name " + wanted));
    kova_integer_problems(config, options.stub, dialect.language, problems);
    kova_port_width_problems(config, dialect.language, problems);
    if (problems.size() != before) return "";
    return options.stub ? stub(dialect, config, names, block) : wrapper(dialect, config, names, block, name);
}
