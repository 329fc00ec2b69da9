// Compiling a rule text: its syntax tree's nodes, in the order the grammar
// reduced them, become steps; literals are read once, here, as the grammar's
// actions read them at each evaluation.
#include "expr/program.h"

#include <algorithm>
#include <utility>

#include "host/kova_atoi.h"
#include "validator/macro_call.h"

namespace {

// How many operands a step takes from the stack; each step leaves one.
std::size_t operand_count(KOVA_SYNTAX_KIND kind) {
    switch (kind) {
        case KOVA_SYN_CEIL_LOG:
        case KOVA_SYN_NOT: return 1;
        case KOVA_SYN_MAX:
        case KOVA_SYN_MIN:
        case KOVA_SYN_BINARY: return 2;
        case KOVA_SYN_CHOICE: return 3;
        default: return 0;
    }
}

}  // namespace

uint32_t KOVA_PROGRAM::add_text(const std::string& text) {
    const std::size_t offset = m_chars.size();
    m_chars.append(text).push_back('\0');
    return static_cast<uint32_t>(offset);
}

void KOVA_PROGRAM::add_step(const KOVA_SYNTAX_NODE& node) {
    KOVA_STEP step{node.kind, node.op};
    switch (node.kind) {
        // The grammar keeps an integer as the text of its value, which the
        // tree holds already.
        case KOVA_SYN_INTEGER: step.number = kova_atoi(node.text); break;
        // A quoted string's value is the text between its quotes.
        case KOVA_SYN_STRING: step.text = add_text(node.text.substr(1, node.text.size() - 2)); break;
        case KOVA_SYN_MACRO_CALL:
            step.text = add_text(node.text);
            step.call = add_text(node.arguments);
            step.number = static_cast<int32_t>(add_text(kova_macro_instance_name(node.text, node.arguments)));
            break;
        case KOVA_SYN_NAME:
        case KOVA_SYN_DOTTED:
        case KOVA_SYN_QUERY: step.text = add_text(node.text); break;
        // An integer then the operator it is the right operand of: one
        // step, which saves a dispatch, a push and a pop at every
        // evaluation; with a name as the left operand, the name's step.
        // An integer reads nothing, so the order of reads stays.
        case KOVA_SYN_BINARY:
            if (!m_steps.empty() && m_steps.back().kind == KOVA_SYN_INTEGER) {
                const int32_t integer = m_steps.back().number;
                m_steps.pop_back();
                // A name just before the integer is the left operand: the
                // name step applies the operator itself.
                KOVA_STEP* name = m_steps.empty() ? nullptr : &m_steps.back();
                if (name && name->kind == KOVA_SYN_NAME && name->spare == 0) {
                    name->op = step.op;
                    name->number = integer;
                    name->spare = KOVA_FUSED_NAME_BINARY;
                    return;
                }
                step.number = integer;
                step.spare = KOVA_FUSED_INTEGER;
            }
            break;
        default: break;
    }
    m_steps.push_back(step);
}

KOVA_PROGRAM KOVA_PROGRAM::compile(KOVA_SYNTAX_READER& reader, const std::string& text,
                                   std::vector<uint32_t>* token_at) {
    KOVA_PROGRAM program;
    const KOVA_SYNTAX_TREE& tree = reader.read(text);
    if (!tree.parsed() || !tree.unplaced.empty() || tree.root < 0) return program;
    program.m_steps.reserve(tree.nodes.size());
    std::size_t height = 0;
    for (const KOVA_SYNTAX_NODE& node : tree.nodes) {
        program.add_step(node);
        if (token_at && (node.kind == KOVA_SYN_NAME || node.kind == KOVA_SYN_MACRO_CALL)) token_at->push_back(node.at);
        height = height - operand_count(node.kind) + 1;
        program.m_depth = std::max(program.m_depth, height);
    }
    program.m_steps.shrink_to_fit();
    program.m_chars.shrink_to_fit();
    return program;
}
