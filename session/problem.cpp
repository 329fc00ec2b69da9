// Making the layer's problems.
#include "session/problem.h"

#include <utility>

KOVA_PROBLEM kova_problem(KOVA_PROBLEM_KIND kind, std::string text, KOVA_MESSAGES messages) {
    return {kind, std::move(text), std::move(messages)};
}

KOVA_PROBLEM kova_not_named(const std::string& what, const std::string& name) {
    return kova_problem(KOVA_PROBLEM_KIND::NOT_FOUND, "no " + what + " is named " + name);
}

KOVA_PROBLEM kova_refused(KOVA_MESSAGES messages, KOVA_PROBLEM_KIND kind) {
    return kova_problem(kind, "", std::move(messages));
}

std::string kova_problem_text(const KOVA_PROBLEM& problem) {
    if (!problem.text.empty()) return problem.text;
    return problem.messages.empty() ? "failed" : problem.messages.front().text;
}
