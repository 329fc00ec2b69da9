// The VHDL-2008 writer: a wrapper entity whose ports are the used ports
// and whose architecture instantiates the block (entity work.BLOCK) with
// a generic map of every parameter, or a stub entity of the block with an
// empty architecture; both take the exported values as generics of their
// own. A port of width 1 is std_logic, a wider one
// std_logic_vector(W-1 downto 0).
#include <cctype>

#include "generate/keywords.h"
#include "generate/names.h"
#include "generate/writers.h"
#include "host/kova_stl.h"

namespace {

const char* const VHDL_LANGUAGE = "VHDL";

// letter { [underline] letter_or_digit }, in ASCII.
bool basic_identifier(const std::string& name) {
    if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0])) || name.back() == '_') return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '_' ? name[i - 1] == '_' : !std::isalnum(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// A string expression: runs of printable ASCII in quotes (a quote
// doubled), every other byte as character'val(N), joined with &.
std::string string_expression(const std::string& text) {
    std::string expression, run;
    bool in_run = false;
    auto part = [&](const std::string& piece) { expression += (expression.empty() ? "" : " & ") + piece; };
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= ' ' && byte <= '~') {
            run += c == '"' ? "\"\"" : std::string(1, c);
            in_run = true;
            continue;
        }
        if (in_run) part("\"" + run + "\"");
        run.clear();
        in_run = false;
        part("character'val(" + std::to_string(byte) + ")");
    }
    if (in_run || expression.empty()) part("\"" + run + "\"");
    return expression;
}

std::string generic_value(const KOVA_GEN_PARAMETER& parameter, const std::string& text) {
    long long value = 0;
    if (parameter.is_string) return string_expression(text);
    kova_generate_integer(text, value);  // checked before writing
    return std::to_string(value);
}

std::string port_type(const KOVA_GEN_PORT& port) {
    return port.width == 1 ? "std_logic" : "std_logic_vector(" + std::to_string(port.width - 1) + " downto 0)";
}

std::string port_declaration(const KOVA_GEN_PORT& port, const std::string& name) {
    const char* mode = port.kind == KOVA_OBJ_OUTPUT_PORT ? "out" : port.kind == KOVA_OBJ_INOUT_PORT ? "inout" : "in";
    return name + " : " + mode + " " + port_type(port);
}

// What the instance associates with a port: the wrapper's port of the
// same name, a constant, zero for an unused input, open for the rest.
std::string actual(const KOVA_GEN_PORT& port, const std::string& name) {
    if (port.is_wrapper_port()) return name;
    if (port.kind != KOVA_OBJ_INPUT_PORT) return "open";
    const std::string bits = port.is_constant() && !port.constant_bits.empty() ? port.constant_bits : "";
    if (port.width == 1) return bits.empty() ? "'0'" : "'" + bits + "'";
    return bits.empty() ? "(others => '0')" : "\"" + bits + "\"";
}

// Basic identifiers are one name in any case; extended ones only as written.
bool same_identifier(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty() || a[0] == '\\' || b[0] == '\\') return a == b;
    return to_lower_case(a) == to_lower_case(b);
}

const std::string VHDL_WRITTEN = "-- Written by kova generate; ";
const char* const CONTEXT = "library ieee;\nuse ieee.std_logic_1164.all;\n\n";

// "NAME : integer := VALUE" of each exported value.
std::vector<std::string> exported_generics(const KOVA_GEN_CONFIG& config, const KOVA_GEN_NAMES& names) {
    std::vector<std::string> generics;
    for (std::size_t i = 0; i < config.exported.size(); ++i) {
        const KOVA_GEN_PARAMETER& value = config.exported[i];
        generics.push_back(names.exported[i] + " : " + (value.is_string ? "string" : "integer") + " := " +
                           generic_value(value, value.value));
    }
    return generics;
}

// "entity NAME is" with its generic and port clauses, when not empty.
std::string entity(const std::string& name, const std::vector<std::string>& generics,
                   const std::vector<std::string>& ports) {
    std::string text = "entity " + name + " is\n";
    if (!generics.empty()) text += "  generic (\n" + kova_join_lines(generics, ";", "    ") + "  );\n";
    if (!ports.empty()) text += "  port (\n" + kova_join_lines(ports, ";", "    ") + "  );\n";
    return text + "end entity;\n";
}

std::string wrapper(const KOVA_GEN_CONFIG& config, const KOVA_GEN_NAMES& names, const std::string& block,
                    const std::string& name) {
    std::vector<std::string> ports, taken, generics, associations;
    for (std::size_t i = 0; i < config.ports.size(); ++i) {
        const KOVA_GEN_PORT& port = config.ports[i];
        if (port.is_wrapper_port()) {
            ports.push_back(port_declaration(port, names.ports[i]));
            taken.push_back(names.ports[i]);
        }
        if (!port.is_absent()) associations.push_back(names.ports[i] + " => " + actual(port, names.ports[i]));
    }
    for (std::size_t i = 0; i < config.parameters.size(); ++i)
        generics.push_back(names.parameters[i] + " => " +
                           generic_value(config.parameters[i], config.parameters[i].value));
    std::string text = "-- " + name + ": " + block + " as configured.\n" + VHDL_WRITTEN + "regenerate it rather than edit it.\n" +
                       CONTEXT + entity(name, exported_generics(config, names), ports) + "\narchitecture wrapper of " +
                       name + " is\nbegin\n  " + kova_unique_label("inst", taken, true) + " : entity work." + block;
    if (!generics.empty()) text += "\n    generic map (\n" + kova_join_lines(generics, ",", "      ") + "    )";
    if (!associations.empty()) text += "\n    port map (\n" + kova_join_lines(associations, ",", "      ") + "    )";
    return text + ";\nend architecture;\n";
}

std::string stub(const KOVA_GEN_CONFIG& config, const KOVA_GEN_NAMES& names, const std::string& block) {
    std::vector<std::string> generics, ports;
    for (std::size_t i = 0; i < config.parameters.size(); ++i) {
        const KOVA_GEN_PARAMETER& parameter = config.parameters[i];
        generics.push_back(names.parameters[i] + " : " + (parameter.is_string ? "string" : "integer") + " := " +
                           generic_value(parameter, parameter.default_value));
    }
    for (const std::string& generic : exported_generics(config, names)) generics.push_back(generic);
    for (std::size_t i = 0; i < config.ports.size(); ++i)
        if (!config.ports[i].is_absent()) ports.push_back(port_declaration(config.ports[i], names.ports[i]));
    return "-- " + block + ": an empty stand-in for the block, with the port widths of one configuration.\n" + VHDL_WRITTEN +
           "the block's own sources replace it.\n" + CONTEXT + entity(block, generics, ports) +
           "\narchitecture stub of " + block + " is\nbegin\nend architecture;\n";
}

}  // namespace

bool kova_vhdl_identifier(const std::string& name, std::string& spelled) {
    if (basic_identifier(name) && !kova_is_vhdl_reserved(name)) {
        spelled = name;
        return true;
    }
    if (name.empty() || !kova_printable_ascii(name, ' ')) return false;
    spelled = "\\";
    for (const char c : name) spelled += c == '\\' ? "\\\\" : std::string(1, c);
    spelled += "\\";
    return true;
}

std::string kova_write_vhdl(const KOVA_GEN_CONFIG& config, const KOVA_GENERATE_OPTIONS& options,
                            KOVA_MESSAGES& problems) {
    const std::size_t before = problems.size();
    const KOVA_GEN_NAMES names = kova_spell_names(config, kova_vhdl_identifier, VHDL_LANGUAGE, problems);
    const std::string block = kova_spell_name("The function name", config.function, kova_vhdl_identifier, VHDL_LANGUAGE, problems);
    const std::string wanted = options.name.empty() ? config.function + "_cfg" : options.name;
    const std::string name =
        options.stub ? "" : kova_spell_name("The wrapper name", wanted, kova_vhdl_identifier, VHDL_LANGUAGE, problems);
    if (!options.stub && !name.empty() && same_identifier(name, block))
        problems.push_back(kova_generate_problem("", {}, "The wrapper cannot take the block's own name " + wanted));
    kova_integer_problems(config, options.stub, VHDL_LANGUAGE, problems);
    kova_port_width_problems(config, VHDL_LANGUAGE, problems);
    if (problems.size() != before) return "";
    return options.stub ? stub(config, names, block) : wrapper(config, names, block, name);
}
