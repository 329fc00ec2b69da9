// The value pool and the message and stack services of one evaluation.
#include "expr/eval_context.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "expr/syntax_tree.h"

char* KOVA_VALUE_POOL::reserve(std::size_t length) {
    if (length >= m_room) {
        const std::size_t size = std::max(length + 1, BLOCK_BYTES);
        m_blocks.push_back(std::make_unique<char[]>(size));
        m_free = m_blocks.back().get();
        m_room = size;
    }
    char* start = m_free;
    m_free += length + 1;
    m_room -= length + 1;
    start[length] = '\0';
    return start;
}

const char* KOVA_VALUE_POOL::copy(const char* text, std::size_t length) {
    char* start = reserve(length);
    std::memcpy(start, text, length);
    return start;
}

const char* KOVA_VALUE_POOL::join(std::initializer_list<const char*> parts) {
    std::size_t length = 0;
    for (const char* part : parts) length += std::strlen(part);
    char* start = reserve(length);
    char* end = start;
    for (const char* part : parts) {
        const std::size_t part_length = std::strlen(part);
        std::memcpy(end, part, part_length);
        end += part_length;
    }
    return start;
}

void KOVA_EVAL_CONTEXT::post(const std::string& message, KOVA_DIAGNOSTIC_KIND kind) const {
    if (validator) validator->post_error_message(message, KOVA_SEVERITY_WARNING, kind);
}

void KOVA_EVAL_CONTEXT::post_parse_failure(const std::string& message, uint32_t at) const {
    std::string text = (message + " while parsing ").append(condition);
    if (tree) {
        tree->error = std::move(text);
        tree->error_at = at;
    } else
        post(text, KOVA_DIAG_PARSE_ERROR);
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
