// Runs a host query about a port on behalf of a grammar phrase. When the
// host raises an error (any std::exception; its what() is the error text)
// the phrase posts a message naming the error, the port and the condition
// text, and takes a fallback value instead. A failure to allocate is no
// host error: it goes on to the caller, as everywhere in the validator.
#ifndef KOVA_PORT_QUERY_GUARD_H
#define KOVA_PORT_QUERY_GUARD_H

#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "expr/eval_context.h"

enum KOVA_PORT_QUERY {
    KOVA_PORT_QUERY_USE,   // used(), is_used(), is_constant()
    KOVA_PORT_QUERY_VALUE  // port()
};

// The message posted when the host fails during a query of that kind.
std::string kova_port_query_error(KOVA_PORT_QUERY kind, const char* error, const char* name,
                                  std::string_view condition);

template <typename RESULT, typename QUERY>
RESULT kova_guarded_port_query(const KOVA_EVAL_CONTEXT& ctx, KOVA_PORT_QUERY kind, const char* name,
                               RESULT fallback, QUERY query) {
    try {
        return query();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& error) {
        ctx.post(kova_port_query_error(kind, error.what(), name, ctx.condition), KOVA_DIAG_PORT_QUERY);
        return fallback;
    }
}

#endif
