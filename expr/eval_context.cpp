// The value pool and the message and stack services of one evaluation.
#include "expr/eval_context.h"

#include <new>
#include <utility>

const char* KOVA_VALUE_POOL::copy(const char* text, std::size_t length) {
    return keep(std::string(text, length));
}

const char* KOVA_VALUE_POOL::keep(std::string&& text) {
    m_texts.push_back(std::move(text));
    return m_texts.back().c_str();
}

void KOVA_EVAL_CONTEXT::post(const std::string& message) const {
    if (validator) validator->post_error_message(message);
}

void KOVA_EVAL_CONTEXT::post_parse_failure(const std::string& message) const {
    post(message + " while parsing " + condition);
}

void* KOVA_EVAL_CONTEXT::allocate_stack_block(std::size_t bytes) {
    // Failure answers null, which the parser reports as a stack overflow.
    try {
        m_stack_blocks.push_back(std::make_unique<char[]>(bytes));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return m_stack_blocks.back().get();
}
