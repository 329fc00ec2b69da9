// The lint checks and the order they run in: the texts, the model, then
// the engine on a copy of the session.
#include "lint/lint.h"

#include <memory>

#include "lint/checks.h"
#include "lint/report.h"
#include "lint/texts.h"

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
        {"default-value", KOVA_SEVERITY_WARNING, "a default or default_index outside the object's values"},
        {"reversed-range", KOVA_SEVERITY_WARNING, "a range whose lower bound is above its upper bound"},
        {"unenforced-values", KOVA_SEVERITY_WARNING, "a parameter's list or range that no rule always enforces"},
        {"unwritable-name", KOVA_SEVERITY_WARNING, "an object name that no rule text can write"},
        {"rule-kind", KOVA_SEVERITY_WARNING, "a rule type that the run never evaluates on the object's kind"},
        {"library-tail", KOVA_SEVERITY_WARNING, "a library entry after the last \";\", never evaluated"},
        {"lint-ignore", KOVA_SEVERITY_WARNING, "a lint_ignore field naming no check"},
        {"cycle", KOVA_SEVERITY_ERROR, "a cyclical dependency"},
        {"default-config", KOVA_SEVERITY_ERROR, "the default configuration fails validation"},
        {"default-warning", KOVA_SEVERITY_WARNING,
         "the default configuration meets a condition that is not boolean, a division by zero or a failed port "
         "query"},
        {"unreached", KOVA_SEVERITY_WARNING, "objects the run never reaches"},
    };
    return checks;
}

const KOVA_LINT_CHECK* kova_find_lint_check(const std::string& name) {
    for (const KOVA_LINT_CHECK& check : kova_lint_checks())
        if (name == check.name) return &check;
    return nullptr;
}

bool kova_lint(const KOVA_SESSION& session, const KOVA_LINT_OPTIONS& options, KOVA_MESSAGES& findings) {
    const KOVA_RULES_VALIDATOR& validator = session.validator();
    // The description as written: the validator has merged its sub-models.
    KOVA_INFO written;
    written.set_xml_lib_dir(validator.get_xml_lib_dir());
    if (!written.process_xml_file(session.description(), nullptr)) {
        findings = kova_messages_of(written);
        for (KOVA_MESSAGE& message : findings) {
            message.kind = KOVA_DIAG_LOAD;
            if (message.location.file.empty()) message.location.file = session.description();
        }
        return false;
    }
    const std::vector<KOVA_INFO*> models = kova_lint_models(written);
    KOVA_LINT_REPORT report(options);
    kova_check_texts(kova_lint_texts(written), validator, report);
    kova_check_model(models, validator, report);
    kova_check_run(session, models, report);
    findings = report.take();
    return true;
}
