// The templates of the texts the shared layer (session/), lint (lint/) and
// the kova tool (tools/) give, as their code builds them byte for byte;
// docs/messages.md explains each one under the same template text.
#include "host/message_template_groups.h"

namespace {

// Settings as they are applied (session.cpp, setting_readings.cpp) and
// read from a settings file (settings_text.cpp, settings_io.cpp).
void add_setting_templates(KOVA_TEMPLATE_TABLE& table) {
    const auto add = kova_template_adder(table, KOVA_MESSAGE_FROM_SESSION);
    add(KOVA_DIAG_SETTING, "no {WHAT} is named {NAME}");
    add(KOVA_DIAG_SETTING, "port {NAME} takes USED, UNUSED, CONSTANT or CONSTANT:VALUE, not {VALUE}");
    add(KOVA_DIAG_SETTING, "the constant value '{TEXT}' is not a number (decimal digits, or 0x or 0b and digits)");
    add(KOVA_DIAG_SETTING,
        "the constant value '{TEXT}' of {NAME} is not a number (decimal digits, or 0x or 0b and digits)");
    add(KOVA_DIAG_SETTING,
        "the constant {VALUE} of port {NAME} is wider than its {WIDTH} bits: the port is held at {HELD}");
    add(KOVA_DIAG_SETTING, "{NAME}={VALUE} reads as {NUMBER}");
    add(KOVA_DIAG_SETTING, "expected NAME=VALUE, found '{TEXT}'");
    add(KOVA_DIAG_SETTING, "a setting needs a name before '='");
    add(KOVA_DIAG_SETTING, "the name '{NAME}' holds a blank, a quote or a control character");
    add(KOVA_DIAG_SETTING, "the quoted value has no closing quote");
    add(KOVA_DIAG_SETTING, "\\x in a quoted value needs two hex digits");
    add(KOVA_DIAG_SETTING, "unknown escape \\{CHARACTER} in a quoted value (use \\\", \\\\, \\n, \\t, \\r or \\xNN)");
    add(KOVA_DIAG_SETTING, "text after the closing quote: '{TEXT}' (a quote inside a quoted value is written \\\")");
    add(KOVA_DIAG_SETTING, "{NAME} is given on line {LINE} and again on line {LATER}; line {LATER} is the one used");
    add(KOVA_DIAG_SETTING, "{COUNT} more problems of this file are not shown");
    add(KOVA_DIAG_SETTING, "cannot read the settings file {PATH}: {REASON}");
    add(KOVA_DIAG_OTHER, "the settings file has errors");
    add(KOVA_DIAG_OTHER, "cannot save the settings to {PATH}: {REASON}");
}

// What a run adds to the engine's messages (session.cpp, reads_notes.cpp),
// the problems of a request (expression_queries.cpp), and what a repair
// (fix.cpp, fix_search.cpp), a sweep (sweep.cpp, sweep_corners.cpp,
// sweep_valid.cpp) and a batch (batch.cpp) give.
void add_run_templates(KOVA_TEMPLATE_TABLE& table) {
    const auto add = kova_template_adder(table, KOVA_MESSAGE_FROM_SESSION);
    add(KOVA_DIAG_FUNCTION_RULE, "The function rule {CONDITION} holds, so the configuration is not valid");
    add(KOVA_DIAG_CORRECTION, "{NAME}: {FROM} corrected to {TO}");
    add(KOVA_DIAG_READS, "reads {SETTINGS} through {DERIVED}");
    add(KOVA_DIAG_OTHER, "mode must be evaluate, refresh or text, not {MODE}");
    add(KOVA_DIAG_OTHER,
        "the repair ran out of the time it may take before it found a valid configuration ({COUNT} validation runs)");
    add(KOVA_DIAG_OTHER, "the budget of {COUNT} validation runs is spent");
    add(KOVA_DIAG_OTHER, "no change of the settings it may make repairs the rest");
    add(KOVA_DIAG_OTHER,
        "no combination of up to {COUNT} changed settings among their candidates repairs every failure");
    add(KOVA_DIAG_OTHER, "vary {NAME}={TEXT}: LO..HI takes two integers, LO not above HI");
    add(KOVA_DIAG_OTHER, "vary {NAME}={TEXT}: a value is empty");
    add(KOVA_DIAG_OTHER,
        "vary {NAME}: its value text gives no list or range; give the values as {NAME}=V1|V2 or {NAME}=LO..HI");
    add(KOVA_DIAG_OTHER, "vary: the description has no port or parameter named '{NAME}'");
    add(KOVA_DIAG_OTHER, "vary: {NAME} is varied twice");
    add(KOVA_DIAG_OTHER, "vary: corners take integer and string parameters, not {KIND} {NAME}");
    add(KOVA_DIAG_OTHER, "no valid configuration in {COUNT} draws, each repaired where the repair could");
    add(KOVA_DIAG_OTHER, "a sweep needs a name to vary or random draws");
    add(KOVA_DIAG_OTHER, "the sweep has more configurations than 64 bits count");
    add(KOVA_DIAG_OTHER, "shard takes I/N with 0 <= I < N, not '{TEXT}'");
    add(KOVA_DIAG_OTHER, "the settings cannot be applied");
    add(KOVA_DIAG_OTHER, "cannot read the settings file");
    add(KOVA_DIAG_OTHER, "internal error");
    add(KOVA_DIAG_OTHER, "internal error: {ERROR}");
}

// The findings of the checks that read the model (check_model.cpp,
// check_names.cpp,
// check_rules.cpp, check_run.cpp).
void add_model_check_templates(KOVA_TEMPLATE_TABLE& table) {
    const auto add = kova_template_adder(table, KOVA_MESSAGE_FROM_LINT);
    add(KOVA_DIAG_CYCLE, "cyclical dependency: {LOOP} (each object reads the next)");
    add(KOVA_DIAG_CYCLE, "{NAME} is part of the loop: it reads {NEXT} here");
    add(KOVA_DIAG_LINT, "the default {VALUE} of {NAME} is not among its values {VALUES}");
    add(KOVA_DIAG_LINT,
        "default_index {INDEX} of {NAME} is past the end of its list \"{VALUES}\" ({COUNT} entries), so it gives no "
        "default");
    add(KOVA_DIAG_LINT, "the range {RANGE} of {NAME} has its bounds reversed, so it holds no value");
    add(KOVA_DIAG_LINT,
        "the range rule of {NAME} runs from its alt_value {LOW} (the lower bound) to its value {HIGH} (the upper "
        "bound), so it holds no value; swap them");
    add(KOVA_DIAG_LINT,
        "no legal_values rule without a condition enforces the values {VALUES} of {NAME}, so other values are "
        "accepted whenever no rule applies");
    add(KOVA_DIAG_LINT, "the name {NAME} cannot be written in a rule text ({READING}): no rule can name this object");
    add(KOVA_DIAG_LINT, "{PROBLEM}, and {NAME} is {KIND}: the run never evaluates this rule as its type says");
    add(KOVA_DIAG_LINT,
        "the parameter {NAME} is USED by default but has no help text to tell the user what it sets");
    add(KOVA_DIAG_LINT,
        "the library entry {ENTRY} after the last \";\" is taken as written, never evaluated; end the text with \";\" "
        "if it is an expression");
    add(KOVA_DIAG_LINT, "lint_ignore names no check {NAME}");
    add(KOVA_DIAG_LINT, "the previous name {OLD} of {NAME} is the name of the object {CURRENT} of this version");
    add(KOVA_DIAG_LINT, "the previous name {OLD} of {NAME} is also a previous name of {OTHER}");
    add(KOVA_DIAG_LINT, "previous_names of {NAME} mean nothing: no setting names a {KIND}");
    add(KOVA_DIAG_LINT,
        "the check rule {CONDITION} of {NAME} names no port or parameter, so when it fails its message names no "
        "setting (\"Ports and parameters  should satisfy ...\"); name the settings it depends on in the condition");
    add(KOVA_DIAG_LINT,
        "this usage rule of {NAME} never counts: the later rule on line {LINE} always sets the usage state after it; "
        "give that rule a condition, or drop this one");
}

// The findings of the checks that read rule texts (check_texts.cpp,
// check_values.cpp, check_corners.cpp), the hints under parse errors
// (parse_hints.cpp) and the problems of lint's request (answer.cpp).
void add_text_check_templates(KOVA_TEMPLATE_TABLE& table) {
    const auto add = kova_template_adder(table, KOVA_MESSAGE_FROM_LINT);
    add(KOVA_DIAG_LINT, "the width {TEXT} reads the unknown name {NAME} as a word, so the width is 0{NEAREST}");
    add(KOVA_DIAG_LINT, "{NAME} in {TEXT} is no port, parameter or macro, so it reads as the word \"{NAME}\"{NEAREST}");
    add(KOVA_DIAG_LINT, "{FUNCTION}({NAME}) in {TEXT} names no port or parameter, so it is always {ANSWER}");
    add(KOVA_DIAG_LINT, "{CALL} in {TEXT} calls {NAME}, which is no function macro, so it reads as \"\"{NEAREST}");
    add(KOVA_DIAG_LINT,
        "a call of {NAME} in {TEXT} passes {GIVEN} arguments as the engine counts them (\"{ARGUMENTS}\": every blank, "
        "comma or operator separates one), but {MACRO} takes {WANTED} (\"{FORMALS}\")");
    add(KOVA_DIAG_LINT, "{CALL} in {TEXT} has no macro instance{WHERE}, so it reads as the text \"{INSTANCE}\"");
    add(KOVA_DIAG_LINT,
        "{TEXT} reads as {READING}: comparisons bind tighter than arithmetic; write the parentheses you mean");
    add(KOVA_DIAG_LINT, "the stimulus {TEXT} is not a force command (force [-option] SIGNAL VALUE [TIME], ...)");
    add(KOVA_DIAG_LINT, "the stimulus {TEXT} names no signal");
    add(KOVA_DIAG_LINT, "the stimulus {TEXT} forces no value");
    add(KOVA_DIAG_LINT, "the stimulus {TEXT} forces {SIGNAL}, which is no port or parameter{NEAREST}");
    add(KOVA_DIAG_UNPLACED_CHARACTER,
        "the characters \"{CHARACTERS}\" of {TEXT} are not part of the rule language and are skipped");
    add(KOVA_DIAG_LINT,
        "{VALUE} in {TEXT} is none of the values {VALUES} of {NAME}, so the comparison is always {ANSWER}; write one "
        "of them{NEAREST}");
    add(KOVA_DIAG_LINT,
        "{OPERATOR} in {TEXT} orders the values of {NAME} ({VALUES}) byte by byte as texts, not in the order of its "
        "list; compare with == or != for each value meant");
    add(KOVA_DIAG_LINT,
        "{VALUE} in {TEXT} is no truth word to {OPERATOR}, which takes only true and false, in lower case; {FIX}");
    add(KOVA_DIAG_LINT,
        "{NAME} is written against {WORD} in {TEXT}, which the engine reads as one word, so it does not see {NAME} as "
        "a name (dependencies, messages, macro arguments); put blanks around <, >, ? and :");
    add(KOVA_DIAG_LINT,
        "{PHRASE} leaves 32 bits {CORNER}: {OPERANDS} is {EXACT} and wraps to {WRAPPED}; keep every result within "
        "-2147483648 to 2147483647 (divide before multiplying)");
    add(KOVA_DIAG_LINT,
        "{PHRASE} gives 0 {CORNER}: {OPERANDS} is not exact, and / (div) gives 0 then; write quot to round toward zero "
        "or ceil_div to round up");
    add(KOVA_DIAG_PARSE_ERROR, "this `(` is never closed: the text ends before its `)`");
    add(KOVA_DIAG_PARSE_ERROR, "did you mean `==`?");
    add(KOVA_DIAG_PARSE_ERROR, "there is no keyword {WORD}: write `{WRITTEN}`");
    add(KOVA_DIAG_PARSE_ERROR, "keywords are lower case: write `{WRITTEN}`");
    add(KOVA_DIAG_PARSE_ERROR, "`$` is the end of the text");
    add(KOVA_DIAG_PARSE_ERROR, "nothing may follow here but the end of the text{QUESTION}");
    add(KOVA_DIAG_OTHER, "{OPTION}no {WHAT} is named {NAME}");
    add(KOVA_DIAG_OTHER, "cannot read {PATH} again to lint it{REASON}");
}

}  // namespace

void kova_add_session_templates(KOVA_TEMPLATE_TABLE& table) {
    add_setting_templates(table);
    add_run_templates(table);
}

void kova_add_lint_templates(KOVA_TEMPLATE_TABLE& table) {
    add_model_check_templates(table);
    add_text_check_templates(table);
}

// The tool's own texts (main.cpp, options.cpp, cmd_*.cpp), its notices
// included; the option parser's own texts about option values are left
// to it.
void kova_add_tool_templates(KOVA_TEMPLATE_TABLE& table) {
    const auto add = kova_template_adder(table, KOVA_MESSAGE_FROM_TOOL);
    add(KOVA_DIAG_SETTING, "--set takes NAME=VALUE, not '{TEXT}'");
    add(KOVA_DIAG_SETTING, "--constant holds a port; {NAME} is a parameter");
    add(KOVA_DIAG_OTHER, "unknown subcommand '{NAME}'{NEAREST}");
    add(KOVA_DIAG_OTHER, "a subcommand is required: {NAMES}");
    add(KOVA_DIAG_OTHER, "unknown option {OPTION} for {SUBCOMMAND}{NEAREST}");
    add(KOVA_DIAG_OTHER, "unexpected argument '{ARGUMENT}' for {SUBCOMMAND}");
    add(KOVA_DIAG_OTHER, "deps takes a NAME or --expr EXPR");
    add(KOVA_DIAG_OTHER,
        "{FILE} is no description; to compare two settings files, name their description with --description");
    add(KOVA_DIAG_OTHER, "a sweep needs --vary NAME, --random N or --corners");
    // The sweep's problems of the session, with the dashes of the option they name.
    add(KOVA_DIAG_OTHER, "--vary {NAME}={TEXT}: LO..HI takes two integers, LO not above HI");
    add(KOVA_DIAG_OTHER, "--vary {NAME}={TEXT}: a value is empty");
    add(KOVA_DIAG_OTHER,
        "--vary {NAME}: its value text gives no list or range; give the values as {NAME}=V1|V2 or {NAME}=LO..HI");
    add(KOVA_DIAG_OTHER, "--vary: the description has no port or parameter named '{NAME}'");
    add(KOVA_DIAG_OTHER, "--vary: {NAME} is varied twice");
    add(KOVA_DIAG_OTHER, "--vary: corners take integer and string parameters, not {KIND} {NAME}");
    add(KOVA_DIAG_OTHER, "--shard takes I/N with 0 <= I < N, not '{TEXT}'");
    add(KOVA_DIAG_OTHER, "cannot write {PATH}: {REASON}");
    add(KOVA_DIAG_OTHER, "the server stopped listening");
    add(KOVA_DIAG_OTHER, "out of memory");
    // Notices on standard error after "kova sweep: " or "kova serve: ";
    // the run goes on.
    add(KOVA_DIAG_OTHER, "--limit {COUNT} cut the sweep at {COUNT} of the {TOTAL} configurations{SHARD}");
    add(KOVA_DIAG_OTHER, "could not open a browser (xdg-open: {REASON}); open {URL} yourself");
    add(KOVA_DIAG_OTHER, "could not open a browser (xdg-open failed); open {URL} yourself");
    add(KOVA_DIAG_OTHER,
        "warning: listening on {HOST}, not only on this machine: anyone who can reach this address may use the "
        "configurator");
}
