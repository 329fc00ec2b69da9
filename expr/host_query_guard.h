// Runs a host query on behalf of a grammar phrase. When the host raises
// an error (any std::exception; its what() is the error text), the phrase
// posts "Error: " + the error text + before_name + the name + after_name
// + the condition text and takes the fallback value.
#ifndef KOVA_HOST_QUERY_GUARD_H
#define KOVA_HOST_QUERY_GUARD_H

#include <exception>
#include <string>

#include "expr/eval_context.h"

template <typename RESULT, typename QUERY>
RESULT kova_guarded_host_query(const KOVA_EVAL_CONTEXT& ctx, const char* name, const char* before_name,
                               const char* after_name, RESULT fallback, QUERY query) {
    try {
        return query();
    } catch (const std::exception& error) {
        ctx.post(std::string("Error: ") + error.what() + before_name + name + after_name + ctx.condition);
        return fallback;
    }
}

#endif
