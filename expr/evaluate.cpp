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
    const KOVA_PROGRAM_VIEW program = program_cache().find(m_programs.get(), text);
    if (program.interpreted()) return false;
    KOVA_EVAL_CONTEXT context(this, text, mode);
    context.programs = m_program_cache.get();
    // Keeps the cache from releasing the program while it runs.
    const KOVA_PROGRAM_CACHE::RUN running(*m_program_cache);
    kova_run_program(context, program, out);
    return true;
}

KOVA_PROGRAM_CACHE& KOVA_RULES_VALIDATOR::program_cache() {
    if (!m_program_cache) {
        m_program_cache = std::make_unique<KOVA_PROGRAM_CACHE>();
        if (m_programs) m_program_cache->use_table_names(m_programs->name_count());
    }
    return *m_program_cache;
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

namespace {

// Appends one list item's value, which write(joined) appends, to joined,
// after a "|" when joined is not empty; an empty value adds neither
// itself nor its separator.
template <typename WRITE>
void append_list_item(std::string& joined, WRITE write) {
    const std::size_t before = joined.size();
    if (!joined.empty()) joined += '|';
    const std::size_t value_at = joined.size();
    write(joined);
    if (joined.size() == value_at) joined.resize(before);
}

}  // namespace

std::string KOVA_RULES_VALIDATOR::evaluate_value_list(const std::string& items) {
    // Items are read in place; each value is appended straight to the
    // joined text, so a compiled item builds no string of its own.
    std::string joined;
    if (!run_compiled_list(items, joined))
        kova_for_each_list_item(items, [this, &joined](std::string_view item) { append_list_value(item, joined); });
    return joined;
}

// The list's items as the cache remembers them, run in one context: the
// context's condition is each item in turn, as an evaluation of the item
// alone has it, and its pool keeps every item's texts until the list is
// done.
bool KOVA_RULES_VALIDATOR::run_compiled_list(const std::string& items, std::string& joined) {
    if (!m_compiled_evaluation) return false;
    KOVA_PROGRAM_CACHE& cache = program_cache();
    const KOVA_PROGRAM_CACHE::LIST_RUN list(cache, m_programs.get(), items);
    if (!list.items()) return false;
    KOVA_EVAL_CONTEXT context(this, std::string_view(items), PARSER_MODE_EVALUATE);
    context.programs = &cache;
    for (const KOVA_PROGRAM_CACHE::LIST_ITEM& item : *list.items()) {
        const std::string_view text(items.data() + item.at, item.size);
        append_list_item(joined, [&](std::string& out) {
            if (item.as_written) {
                out.append(text);
            } else if (item.program.interpreted()) {
                out += interpret_expression(std::string(text), PARSER_MODE_EVALUATE);
            } else {
                context.condition = text;
                kova_run_program(context, item.program, out);
            }
        });
    }
    return true;
}

void KOVA_RULES_VALIDATOR::append_list_value(std::string_view item, std::string& joined) {
    append_list_item(joined, [&](std::string& out) {
        if (kova_value_taken_as_written(item))
            out.append(item);
        else if (!run_compiled(item, PARSER_MODE_EVALUATE, out))
            out += interpret_expression(std::string(item), PARSER_MODE_EVALUATE);
    });
}

std::string KOVA_RULES_VALIDATOR::evaluate_cmd_expression(const std::string& text) const {
    return m_cmd_list.contains(text) ? "true" : "false";
}
