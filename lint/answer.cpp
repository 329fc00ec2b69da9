// Building lint's answer from kova_lint's findings.
#include "lint/answer.h"

#include <utility>

#include "lint/registry.h"
#include "session/message.h"
#include "session/suggest.h"

void kova_lint_answer(const KOVA_SESSION& session, const KOVA_LINT_OPTIONS& options, KOVA_ANSWER& answer) {
    std::vector<std::string> names;
    for (const KOVA_LINT_CHECK& check : kova_lint_checks()) names.push_back(check.name);
    for (const auto& [option, given] :
         {std::pair{"--disable: ", &options.disabled}, std::pair{"--enable: ", &options.enabled}})
        for (const std::string& name : *given)
            if (!kova_find_lint_check(name)) {
                answer.problem = kova_not_named("check", name);
                answer.problem.text = option + answer.problem.text + kova_did_you_mean(name, names);
                return;
            }
    if (!kova_lint(session, options, answer.messages)) {
        answer.problem = kova_problem(KOVA_PROBLEM_KIND::FILE,
                                      "cannot read " + session.description() + " again to lint it" +
                                          (answer.messages.empty() ? "" : ": " + answer.messages.front().text));
        return;
    }
    answer.replaces_messages = true;
    answer.failed = !answer.messages.empty();
    const std::size_t errors = kova_error_count(answer.messages);
    answer.document["errors"] = errors;
    answer.document["warnings"] = answer.messages.size() - errors;
}
