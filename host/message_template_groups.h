// The groups of the template table that the layers above the engine and
// the loader give (message_template_groups.cpp, and
// message_template_products.cpp for the generator's and the server's);
// message_templates.cpp joins them after its own two into the one table.
#ifndef KOVA_MESSAGE_TEMPLATE_GROUPS_H
#define KOVA_MESSAGE_TEMPLATE_GROUPS_H

#include <vector>

#include "host/message_templates.h"

using KOVA_TEMPLATE_TABLE = std::vector<KOVA_MESSAGE_TEMPLATE>;

// An adder of one source's templates to the table: add(kind, text).
inline auto kova_template_adder(KOVA_TEMPLATE_TABLE& table, KOVA_MESSAGE_SOURCE source) {
    return [&table, source](KOVA_DIAGNOSTIC_KIND kind, const char* text) { table.push_back({source, kind, text}); };
}

// Each appends its group, in the catalogue's order.
void kova_add_session_templates(KOVA_TEMPLATE_TABLE& table);
void kova_add_lint_templates(KOVA_TEMPLATE_TABLE& table);
void kova_add_tool_templates(KOVA_TEMPLATE_TABLE& table);
void kova_add_generator_templates(KOVA_TEMPLATE_TABLE& table);
void kova_add_server_templates(KOVA_TEMPLATE_TABLE& table);

#endif
