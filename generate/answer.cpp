// Building generate's answer from kova_generate's result.
#include "generate/answer.h"

#include <memory>

#include "session/json_text.h"

void kova_generate_answer(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_GENERATE_OPTIONS& options,
                          bool text_in_document, KOVA_ANSWER& answer) {
    answer.problem = kova_generate_options_problem(options);
    if (!answer.problem) answer.problem = kova_generate_exports(session, options);
    if (answer.problem) return;
    KOVA_GENERATED generated = kova_generate(session, run, options);
    answer.product = true;
    answer.messages = std::move(generated.messages);
    answer.failed = bool(generated.problem);
    answer.document = std::move(generated.members);
    const bool in_document = !answer.failed && text_in_document && options.language != KOVA_GENERATE_LANGUAGE::JSON;
    answer.document["text"] = in_document ? kova_json_text(generated.text) : nlohmann::json();
    if (answer.failed) return;
    answer.text = [text = std::make_shared<const std::string>(std::move(generated.text))](std::ostream& out) {
        out << *text;
    };
}
