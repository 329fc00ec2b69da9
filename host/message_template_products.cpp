// The templates of the texts of the code generator (generate/) and of the
// web configurator's server (serve/), as their code builds them byte for
// byte; docs/messages.md explains each one under the same template text.
#include "host/message_template_groups.h"

void kova_add_generator_templates(KOVA_TEMPLATE_TABLE& table) {
    const auto add = kova_template_adder(table, KOVA_MESSAGE_FROM_GENERATOR);
    // A refusal (generate.cpp); {FORCE} is the tool's hint at --force.
    add(KOVA_DIAG_OTHER, "nothing generated: the configuration is not valid{FORCE}");
    add(KOVA_DIAG_SETTING,
        "nothing generated: the constant {VALUE} of port {NAME} is wider than its {WIDTH} bits: the port is held at "
        "{HELD}{FORCE}");
    // Options that do not go together, or an unknown language (generate.cpp,
    // languages.cpp); {DASHES} is "--" from the tool, which names options.
    add(KOVA_DIAG_OTHER, "{DASHES}stub applies to {LANGUAGES}, not {LANGUAGE}");
    add(KOVA_DIAG_OTHER, "{DASHES}name names the wrapper; a stub takes the block's own name");
    add(KOVA_DIAG_OTHER, "{DASHES}name does not apply to json");
    add(KOVA_DIAG_OTHER, "lang must be {LANGUAGES}, not '{NAME}'");
    // Names of exported values that cannot be exported (exports.cpp).
    add(KOVA_DIAG_OTHER, "{DASHES}export: no hidden parameter or wizard-map value is named '{NAME}'{NEAREST}");
    add(KOVA_DIAG_OTHER, "{DASHES}export: {NAME} is also a port or parameter of the block");
    add(KOVA_DIAG_OTHER, "{DASHES}export applies to c, {LANGUAGES}, not json");
    // What the language cannot write (configuration.cpp, names.cpp,
    // verilog.cpp, vhdl.cpp, c_header.cpp).
    add(KOVA_DIAG_OTHER,
        "Parameter {NAME} has the {WHICH} '{TEXT}', which {LANGUAGE} cannot take as an integer: decimal digits, from "
        "-{LIMIT} to {LIMIT}");
    add(KOVA_DIAG_OTHER,
        "Port {NAME} is {STATE} but its width {WIDTH} evaluates to 0 or less, so {LANGUAGE} cannot declare it");
    add(KOVA_DIAG_OTHER,
        "Port {NAME} is held constant at a width of {WIDTH} bits, more than the {MAXIMUM} a value can have");
    add(KOVA_DIAG_OTHER, "{SUBJECT} '{NAME}' cannot be written as a {LANGUAGE} identifier");
    add(KOVA_DIAG_OTHER, "The wrapper cannot take the block's own name {NAME}");
    add(KOVA_DIAG_OTHER, "The macro prefix '{NAME}' must start with a letter ({WHY})");
    add(KOVA_DIAG_OTHER, "The C macro {NAME} would stand for both {MEANING} and {OTHER}");
}

void kova_add_server_templates(KOVA_TEMPLATE_TABLE& table) {
    const auto add = [&table](const char* text) { table.push_back({KOVA_MESSAGE_FROM_SERVER, KOVA_DIAG_OTHER, text}); };
    // Members of a request that the API cannot read (api.cpp).
    add("settings must be an object of NAME: VALUE texts");
    add("more settings than the description has ports and parameters");
    add("the value of setting {NAME} must be a text");
    add("{NAME} must be true or false");
    add("explain needs the name of a port or parameter");
    add("{MEMBER} must be a list of names");
    add("lang must be a text");
    add("name must be the name of {WHAT}, or left out for every one");
    add("text and file must be texts");
    add("the request has no member named {NAME}; {PATH} takes {MEMBERS}");
    // Requests refused before any work (api.cpp, server.cpp).
    add("no such path: {PATH}");
    add("/{PATH} takes {METHOD}");
    add("the request body is too large");
    add("the request body is not UTF-8");
    add("the request body is not a JSON object");
    add("a request names its server in exactly one Host header");
    add("a request holds at most one Origin header");
    add("the Host header names another server; open the address kova serve printed");
    add("requests from pages of another origin are refused");
    // Requests whose bytes break HTTP (http_message.cpp, http_server.cpp).
    add("a request body must come with a Content-Length, not a Transfer-Encoding");
    add("the Content-Length is not one number");
    add("only HTTP/1.0 and HTTP/1.1 are spoken here");
    add("the request line is malformed");
    add("a header line is malformed");
    add("folded header lines are not taken");
    add("the request head is too large");
    add("the request head did not arrive within {TIME}");
    add("the request body did not arrive within {TIME} of its head");
    // The server itself (server.cpp), a problem of kova serve.
    add("cannot listen on {HOST}:{PORT}: {REASON}");
}
