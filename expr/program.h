// The compiled form of a rule text: the phrases of the text as the grammar
// reduces them, one fixed-size step each, in the order the parse would
// evaluate them. Evaluating the steps on a stack of operands gives the
// value, the messages and the order of model reads of a parse of the same
// text, without scanning or parsing it again.
//
// A program is made from the text's syntax tree (expr/syntax_tree.h),
// whose nodes the grammar adds in reduction order, so a node's operands
// are always the top entries of the stack when its step runs. A program
// never refers to a model: names are kept as texts and resolved when the
// program runs, so one program serves every validator and every copy, and
// is never changed once made (copies and threads share it read-only).
//
// A text that does not parse, or in which the scanner skips characters,
// compiles to an empty program that says so (interpreted()): its messages
// and skipped characters come from a parse at every evaluation, where the
// parse puts them.
#ifndef KOVA_PROGRAM_H
#define KOVA_PROGRAM_H

#include <cstdint>
#include <string>
#include <vector>

#include "expr/syntax_tree.h"

// One step: its kind is a KOVA_SYNTAX_KIND, op its operator or query kind.
// Invariant: text and call are offsets of NUL-terminated texts in the
// characters of the program that owns the step.
struct KOVA_STEP {
    KOVA_SYNTAX_KIND kind;
    uint8_t op;
    // A macro call's: 1 when its arguments and instance name are names of
    // the running text (below). A binary step's: KOVA_FUSED_INTEGER when its
    // right operand is the integer number, which the step before it would
    // have pushed (the two steps are made one). A name step's:
    // KOVA_FUSED_NAME_BINARY when the name's value is at once the left
    // operand of operator op with the integer number on its right (three
    // steps made one).
    uint16_t spare = 0;
    // An integer's value; a macro call's instance name (an offset); a
    // fused binary or name step's right operand.
    int32_t number = 0;
    // A name, a literal's value, or a macro's name; in a program of
    // KOVA_PROGRAM_TABLE a name step's text is instead the index of its
    // name among the names of the text being run (KOVA_PROGRAM_VIEW::names),
    // and so are a macro call's call and number when its spare is 1.
    uint32_t text = 0;
    uint32_t call = 0;   // a macro call's arguments
};
static_assert(sizeof(KOVA_STEP) == 16, "steps stay 16 bytes");
constexpr uint16_t KOVA_FUSED_INTEGER = 1;
constexpr uint16_t KOVA_FUSED_NAME_BINARY = 2;

// Where a program's steps and texts lie, wherever they are kept (a
// KOVA_PROGRAM of its own, or a block of KOVA_PROGRAM_TABLE); what an
// evaluation runs.
struct KOVA_PROGRAM_VIEW {
    const KOVA_STEP* steps = nullptr;
    uint32_t count = 0;  // 0 when the text must be parsed at every evaluation
    uint32_t depth = 0;  // the most operands on the stack at once
    const char* chars = nullptr;
    // Set for a program shared by the texts of one shape: the numbers of
    // the running text's names (from 1), and where the table keeps the
    // text of each number (name_chars + name_at[number - 1]).
    // A table whose numbers all fit 16 bits keeps them so (short_names).
    const uint32_t* names = nullptr;
    const uint16_t* short_names = nullptr;
    const char* name_chars = nullptr;
    const uint32_t* name_at = nullptr;

    bool interpreted() const { return count == 0; }
    const char* text_at(uint32_t offset) const { return chars + offset; }
    // A name step's number in KOVA_PROGRAM_TABLE; 0 outside a table.
    int32_t name_number(const KOVA_STEP& step) const {
        return names || short_names ? static_cast<int32_t>(number_at(step.text)) : 0;
    }
    // The text of a name step, which stays at its address while the
    // program is kept.
    const char* name_text(const KOVA_STEP& step) const {
        return names || short_names ? text_of(number_at(step.text)) : chars + step.text;
    }
    // A macro call step's arguments and its instance's name.
    const char* call_text(const KOVA_STEP& step) const {
        return step.spare ? text_of(number_at(step.call)) : chars + step.call;
    }
    const char* instance_text(const KOVA_STEP& step) const {
        const uint32_t at = static_cast<uint32_t>(step.number);
        return step.spare ? text_of(number_at(at)) : chars + at;
    }

private:
    // The number of the running text's name at index, and a number's text.
    uint32_t number_at(uint32_t index) const { return short_names ? short_names[index] : names[index]; }
    const char* text_of(uint32_t number) const { return name_chars + name_at[number - 1]; }
};

class KOVA_PROGRAM {
public:
    // The program of text, read by reader. With token_at, also the byte
    // offset in text of the token of each name and macro call step, in
    // step order.
    static KOVA_PROGRAM compile(KOVA_SYNTAX_READER& reader, const std::string& text,
                                std::vector<uint32_t>* token_at = nullptr);

    // True when the text must be parsed at every evaluation.
    bool interpreted() const { return m_steps.empty(); }
    const std::vector<KOVA_STEP>& steps() const { return m_steps; }
    const char* text_at(uint32_t offset) const { return m_chars.data() + offset; }
    // The most operands on the stack at once.
    std::size_t depth() const { return m_depth; }
    // The characters of the steps' texts, each text followed by a NUL.
    const std::string& chars() const { return m_chars; }
    KOVA_PROGRAM_VIEW view() const {
        return {m_steps.data(), static_cast<uint32_t>(m_steps.size()), static_cast<uint32_t>(m_depth), m_chars.data()};
    }

private:
    uint32_t add_text(const std::string& text);
    void add_step(const KOVA_SYNTAX_NODE& node);

    std::vector<KOVA_STEP> m_steps;
    // The texts of the steps, each followed by a NUL.
    std::string m_chars;
    std::size_t m_depth = 0;
};

#endif
