// The entry points of the expression language. A text runs from its
// compiled form (expr/program.h) when it has one; otherwise, and in text
// mode, it is scanned and parsed. Every evaluation owns its context and
// value pool, and a parse leases a scanner of its own from the
// validator's pool, so a nested evaluation (a macro refreshed in the
// middle of another) leaves the outer one intact, and validators in
// different threads share only read-only programs.
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "expr/eval_context.h"
#include "expr/parser.hpp"
#include "expr/program_run.h"
#include "expr/program_table.h"
#include "expr/scanner_pool.h"
#include "expr/token_utils.h"
#include "expr/usage_words.h"
#include "validator/kova_rules_validator.h"

std::string KOVA_RULES_VALIDATOR::evaluate_expression(const std::string& text, KOVA_RULES_VALIDATOR_PARSER_MODE mode) {
    std::string value;
    if (!run_compiled(text, mode, value)) return interpret_expression(text, mode);
    return value;
}

bool KOVA_RULES_VALIDATOR::run_compiled(std::string_view text, KOVA_RULES_VALIDATOR_PARSER_MODE mode,
                                        std::string& out) {
    // Text mode renders phrases, which only the grammar's actions do.
    if (text.empty() || !m_compiled_evaluation || mode == PARSER_MODE_TEXT) return false;
    if (!m_program_cache) {
        m_program_cache = std::make_unique<KOVA_PROGRAM_CACHE>();
        if (m_programs) m_program_cache->use_table_names(m_programs->name_count());
    }
    const KOVA_PROGRAM_VIEW program = m_program_cache->find(m_programs.get(), text);
    if (program.interpreted()) return false;
    KOVA_EVAL_CONTEXT context(this, text, mode);
    context.programs = m_program_cache.get();
    // Keeps the cache from releasing the program while it runs.
    const KOVA_PROGRAM_CACHE::RUN running(*m_program_cache);
    kova_run_program(context, program, out);
    return true;
}

std::string KOVA_RULES_VALIDATOR::interpret_expression(const std::string& text, KOVA_RULES_VALIDATOR_PARSER_MODE mode) {
    KOVA_EVAL_CONTEXT context(this, text, mode);
    if (!text.empty()) {
        // A syntax error or stack overflow has already posted its message
        // and left the result empty, so the parse's answer is not needed.
        if (!m_scanners) m_scanners = std::make_unique<KOVA_SCANNER_POOL>();
        KOVA_SCANNER_POOL::LEASE lease = m_scanners->lease(text);
        // Every evaluation sets the capture of its scanner afresh, so a
        // scanner handed back by an evaluation that threw never writes to
        // that evaluation's string.
        std::string unplaced;
        lease.scanner().capture_into(m_scanner_output ? &unplaced : nullptr);
        kova_rules_validator_yyparse(context, lease.scanner());
        if (!unplaced.empty()) report_unplaced_characters(text, unplaced);
    }
    return std::move(context.result);
}

void KOVA_RULES_VALIDATOR::report_unplaced_characters(const std::string& text, const std::string& unplaced) {
    m_scanner_output->write(unplaced.data(), static_cast<std::streamsize>(unplaced.size()));
    KOVA_DIAGNOSTIC record;
    record.severity = KOVA_SEVERITY_WARNING;
    record.kind = KOVA_DIAG_UNPLACED_CHARACTER;
    record.text = "The characters \"" + unplaced + "\" of " + text +
                  " are not part of the rule language and were skipped";
    file_diagnostic(std::move(record));
}

std::string KOVA_RULES_VALIDATOR::evaluate_value_expression(const std::string& text, bool refresh) {
    if (kova_value_taken_as_written(text)) return text;
    return evaluate_expression(text, refresh ? PARSER_MODE_REFRESH_MACROS : PARSER_MODE_EVALUATE);
}

std::string KOVA_RULES_VALIDATOR::evaluate_value_list(const std::string& items) {
    // Items are read in place; each value is appended straight to the
    // joined text, so a compiled item builds no string of its own.
    std::string joined;
    kova_for_each_list_item(items, [this, &joined](std::string_view item) { append_list_value(item, joined); });
    return joined;
}

void KOVA_RULES_VALIDATOR::append_list_value(std::string_view item, std::string& joined) {
    const std::size_t before = joined.size();
    if (!joined.empty()) joined += '|';
    const std::size_t value_at = joined.size();
    if (kova_value_taken_as_written(item))
        joined.append(item);
    else if (!run_compiled(item, PARSER_MODE_EVALUATE, joined))
        joined += interpret_expression(std::string(item), PARSER_MODE_EVALUATE);
    // An empty value adds neither itself nor its separator.
    if (joined.size() == value_at) joined.resize(before);
}

std::string KOVA_RULES_VALIDATOR::evaluate_cmd_expression(const std::string& text) const {
    return m_cmd_list.contains(text) ? "true" : "false";
}
