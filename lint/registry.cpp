// The table of lint checks: each check's name, grade and summary. It
// sits apart from the runner so that the checks, the report and the
// runner all read it without calling one another.
#include "lint/registry.h"

const std::vector<KOVA_LINT_CHECK>& kova_lint_checks() {
    static const std::vector<KOVA_LINT_CHECK> checks = {
        {"parse-error", KOVA_SEVERITY_ERROR, "a text the engine evaluates does not parse"},
        {"unplaced-character", KOVA_SEVERITY_WARNING, "characters the rule language skips"},
        {"unknown-name", KOVA_SEVERITY_WARNING,
         "a near miss of an object's name (read as a word), an unknown name in used(), is_constant() or port(), "
         "or in a width"},
        {"macro-call", KOVA_SEVERITY_WARNING,
         "a call of something that is no macro, or with another number of arguments than the macro's formals"},
        {"uninstantiated-call", KOVA_SEVERITY_WARNING,
         "a macro call with no instance, which reads as the call's own text"},
        {"precedence", KOVA_SEVERITY_WARNING, "an arithmetic operand beside a comparison without parentheses"},
        {"force-command", KOVA_SEVERITY_WARNING, "a stimulus record that is no force command of a known signal"},
        {"unknown-literal", KOVA_SEVERITY_WARNING,
         "a literal compared with a list parameter that is none of its values"},
        {"text-order", KOVA_SEVERITY_WARNING, "str_lt, str_lte, str_gt or str_gte on a list parameter"},
        {"truth-word", KOVA_SEVERITY_WARNING, "an operand of &&, ||, ! or ? that is no truth word (TRUE, 1, yes)"},
        {"glued-name", KOVA_SEVERITY_WARNING, "a name written against <, >, ? or :, which do not separate names"},
        {"overflow", KOVA_SEVERITY_WARNING, "arithmetic that leaves 32 bits at a corner of the legal values"},
        {"inexact-division", KOVA_SEVERITY_WARNING,
         "a / or div that is not exact at a corner of the legal values, where it gives 0"},
        {"default-value", KOVA_SEVERITY_WARNING, "a default or default_index outside the object's values"},
        {"reversed-range", KOVA_SEVERITY_WARNING, "a range whose lower bound is above its upper bound"},
        {"unenforced-values", KOVA_SEVERITY_WARNING, "a parameter's list or range that no rule always enforces"},
        {"unwritable-name", KOVA_SEVERITY_WARNING, "an object name that no rule text can write"},
        {"rule-kind", KOVA_SEVERITY_WARNING, "a rule type that the run never evaluates on the object's kind"},
        {"library-tail", KOVA_SEVERITY_WARNING, "a library entry after the last \";\", never evaluated"},
        {"fixed-check", KOVA_SEVERITY_WARNING, "a check rule whose condition names no port or parameter"},
        {"overridden-rule", KOVA_SEVERITY_WARNING, "a usage rule that a later rule of the object always overrides"},
        {"lint-ignore", KOVA_SEVERITY_WARNING, "a lint_ignore field naming no check"},
        {"previous-name", KOVA_SEVERITY_WARNING,
         "a previous name that is an object's name now, that two objects give, or on an object no setting names"},
        {"cycle", KOVA_SEVERITY_ERROR, "a cyclical dependency"},
        {"default-config", KOVA_SEVERITY_ERROR, "the default configuration fails validation"},
        {"default-warning", KOVA_SEVERITY_WARNING,
         "the default configuration meets a condition that is not boolean, a division by zero or a failed port "
         "query"},
        {"unreached", KOVA_SEVERITY_WARNING, "objects the run never reaches"},
        {"missing-help", KOVA_SEVERITY_WARNING, "a parameter the user sets, USED by default, without a help text",
         true},
    };
    return checks;
}

const KOVA_LINT_CHECK* kova_find_lint_check(const std::string& name) {
    for (const KOVA_LINT_CHECK& check : kova_lint_checks())
        if (name == check.name) return &check;
    return nullptr;
}
