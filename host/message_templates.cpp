// The table of message templates and the matching of a posted text against
// a template. The texts here follow the code that posts them byte for byte;
// docs/messages.md explains each one under the same template text.
#include "host/message_templates.h"

#include <cctype>

#include "host/message_template_groups.h"

namespace {

// The engine's messages: validator/, expr/ and stimulus/.
void add_engine_templates(KOVA_TEMPLATE_TABLE& table) {
    const auto add = kova_template_adder(table, KOVA_MESSAGE_FROM_ENGINE);
    add(KOVA_DIAG_CHECK_FAILED, "Ports and parameters {SETTINGS} should satisfy the condition {CONDITION}");
    add(KOVA_DIAG_VALUE_CONFLICT,
        "Parameter {NAME} has been assigned the value {VALUE} which is incompatible with the current settings of "
        "{SETTINGS}. The legal value (or range) is {LEGAL}");
    add(KOVA_DIAG_USAGE_CONFLICT,
        "Parameter {NAME} is being set to the state {STATE} which is incompatible with the current settings of "
        "{SETTINGS}. The legal state is {LEGAL}");
    add(KOVA_DIAG_USAGE_CONFLICT,
        "Port {NAME} is being set to the state {STATE} which is incompatible with the current settings of "
        "{SETTINGS}. The legal state is {LEGAL}");
    add(KOVA_DIAG_NOT_BOOLEAN,
        "Condition {CONDITION} of object {NAME} with settings {SETTINGS} did not evaluate to be a boolean "
        "expression, but evaluates to {RESULT}");
    add(KOVA_DIAG_NOT_BOOLEAN,
        "Condition {CONDITION} of object {NAME} with values {SETTINGS} did not evaluate to be a boolean "
        "expression, but evaluates to {RESULT}");
    add(KOVA_DIAG_NOT_BOOLEAN,
        "Condition {CONDITION} of object {NAME} did not evaluate to be a boolean expression, but evaluates to "
        "{RESULT}");
    add(KOVA_DIAG_PARSE_ERROR, "{PROBLEM} while parsing {TEXT}");
    add(KOVA_DIAG_ARITHMETIC, "Error : Division by zero in condition {CONDITION}");
    add(KOVA_DIAG_PORT_QUERY, "Error: {ERROR} while getting the value of port {PORT} in condition {CONDITION}");
    add(KOVA_DIAG_PORT_QUERY, "Error: {ERROR} while checking port {PORT} is used, in condition {CONDITION}");
    add(KOVA_DIAG_CYCLE,
        "Cyclical dependency in string {TEXT} because of object {NAME} while creating dependency list for {OWNER}");
    add(KOVA_DIAG_UNREACHED, "Some objects dont have the correct settings to be validated");
    add(KOVA_DIAG_UNPLACED_CHARACTER,
        "The characters \"{CHARACTERS}\" of {TEXT} are not part of the rule language and were skipped");
}

// The loader's messages (host/description_reader.cpp, host/xml_text_check.cpp):
// the problem only; a problem with a place follows "{FILE}:{LINE}: " in
// the error list, and "; included from {FILE}:{LINE}" ends it once for
// each file that included the one at fault.
void add_loader_templates(KOVA_TEMPLATE_TABLE& table) {
    const auto add = [&table](const char* text) { table.push_back({KOVA_MESSAGE_FROM_LOADER, KOVA_DIAG_LOAD, text}); };
    add("cannot open the description file \"{PATH}\": {REASON}");
    add("cannot read the description file \"{PATH}\"");
    table.push_back(
        {KOVA_MESSAGE_FROM_LOADER, KOVA_DIAG_OTHER, "cannot read the description file \"{PATH}\": {ERROR}"});
    add("the file holds a NUL character");
    add("character reference \"&{BODY};\" is not a character XML allows");
    add("unknown entity reference \"&{BODY};\" (XML knows &lt; &gt; &amp; &quot; &apos; and character references)");
    add("malformed XML: {DESCRIPTION}");
    add("a description has one top element, <model>");
    add("the top element must be <model>, not <{ELEMENT}>");
    add("unknown attribute \"{ATTRIBUTE}\" on <{ELEMENT}>");
    add("unknown element <{CHILD}> in <{ELEMENT}>");
    add("unexpected text in <{ELEMENT}>");
    add("\"{FIELD}\" of <{ELEMENT}> is given twice");
    add("<{ELEMENT}> takes no attributes; it holds the text of the field");
    add("<{ELEMENT}> holds text only, not <{CHILD}>");
    add("<{ELEMENT}> needs \"{FIELD}\"");
    add("\"{FIELD}\" of <{ELEMENT}> is empty");
    add("an object of a <wizard_map> takes no \"{FIELD}\"");
    add("unknown {WHAT} \"{WORD}\" for \"{FIELD}\" (expected {ACCEPTED})");
    add("bad number \"{TEXT}\" for \"{FIELD}\" (expected {MINIMUM} or more)");
    add("duplicate {WHAT} name \"{NAME}\"");
    add("<{PARENT}> has more than one <{ELEMENT}>");
    add("include cycle: the file is already being read");
    add("includes nested more than {COUNT} files deep");
    add("more than {COUNT} files included in one description");
    add("included file \"{NAME}\" not found (looked for {PLACES})");
}

KOVA_TEMPLATE_TABLE make_templates() {
    KOVA_TEMPLATE_TABLE table;
    add_engine_templates(table);
    add_loader_templates(table);
    kova_add_session_templates(table);
    kova_add_lint_templates(table);
    kova_add_tool_templates(table);
    kova_add_generator_templates(table);
    kova_add_server_templates(table);
    return table;
}

// The length of the variable part "{NAME}" at text[at] (capitals, digits
// and underscores in braces); 0 when none starts there.
std::size_t variable_length(std::string_view text, std::size_t at) {
    if (text[at] != '{') return 0;
    std::size_t end = at + 1;
    while (end < text.size() && (std::isupper(static_cast<unsigned char>(text[end])) ||
                                 std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '_'))
        ++end;
    return end > at + 1 && end < text.size() && text[end] == '}' ? end + 1 - at : 0;
}

// The fixed texts around the variable parts, empty ones kept: n variable
// parts give n + 1 texts.
std::vector<std::string> fixed_texts(std::string_view text) {
    std::vector<std::string> parts(1);
    for (std::size_t at = 0; at < text.size();) {
        if (const std::size_t length = variable_length(text, at)) {
            parts.emplace_back();
            at += length;
        } else {
            parts.back() += text[at++];
        }
    }
    return parts;
}

// Whether text[at...] is a variable part followed by parts[next...].
bool matches_from(const std::vector<std::string>& parts, std::size_t next, std::string_view text, std::size_t at) {
    const std::string& part = parts[next];
    if (next + 1 == parts.size())
        return text.size() >= at + part.size() && text.substr(text.size() - part.size()) == part;
    for (std::size_t found = text.find(part, at); found != std::string_view::npos; found = text.find(part, found + 1))
        if (matches_from(parts, next + 1, text, found + part.size())) return true;
    return false;
}

}  // namespace

const std::vector<KOVA_MESSAGE_TEMPLATE>& kova_message_templates() {
    static const KOVA_TEMPLATE_TABLE table = make_templates();
    return table;
}

std::vector<std::string> kova_template_fixed_parts(std::string_view text) {
    std::vector<std::string> parts;
    for (std::string& part : fixed_texts(text))
        if (!part.empty()) parts.push_back(std::move(part));
    return parts;
}

bool kova_template_matches(std::string_view template_text, std::string_view text) {
    const std::vector<std::string> parts = fixed_texts(template_text);
    if (text.substr(0, parts.front().size()) != parts.front()) return false;
    if (parts.size() == 1) return text == parts.front();
    return matches_from(parts, 1, text, parts.front().size());
}

const KOVA_MESSAGE_TEMPLATE* kova_message_template_of(KOVA_DIAGNOSTIC_KIND kind, std::string_view text) {
    for (const KOVA_MESSAGE_TEMPLATE& entry : kova_message_templates())
        if (entry.kind == kind && kova_template_matches(entry.text, text)) return &entry;
    return nullptr;
}
