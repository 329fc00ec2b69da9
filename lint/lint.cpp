// The order the lint checks run in: the texts, the model, then the
// engine on a copy of the session.
#include "lint/lint.h"

#include <memory>

#include "lint/checks.h"
#include "lint/report.h"
#include "lint/texts.h"

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
    const std::vector<KOVA_LINT_TEXT> texts = kova_lint_texts(written);
    kova_check_texts(texts, validator, report);
    kova_check_values(texts, validator, report);
    kova_check_corners(texts, validator, report);
    kova_check_model(models, validator, report);
    kova_check_rules(models, validator, report);
    kova_check_previous_names(models, validator, report);
    kova_check_run(session, models, report);
    findings = report.take();
    return true;
}
