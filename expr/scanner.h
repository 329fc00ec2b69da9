// The scanner of rule texts as the grammar and the entry points see it: the
// flex scanner reading a copy of one text. It can start over on another
// text, keeping its buffers, so that evaluations reuse scanners
// (expr/scanner_pool.h). The flex class itself stays behind this header,
// because its declaration may be seen only once per translation unit.
#ifndef KOVA_SCANNER_H
#define KOVA_SCANNER_H

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>

class KOVA_TEXT_LEXER;

// One token: its code (0 at the end of the text), its text, which stays
// valid until the next token is taken, and where it starts in the text
// (the text's length for the end).
struct KOVA_TOKEN {
    int code;
    const char* text;
    std::size_t length;
    std::size_t offset;
};

class KOVA_SCANNER {
public:
    // Characters that no rule places go to output; to standard output
    // when output is null.
    explicit KOVA_SCANNER(const std::string& text, std::ostream* output = nullptr);
    KOVA_SCANNER(const KOVA_SCANNER&) = delete;
    KOVA_SCANNER& operator=(const KOVA_SCANNER&) = delete;
    ~KOVA_SCANNER();

    // Drops what is left of the current text and starts on a copy of text.
    void restart(const std::string& text);
    // While capture is not null, characters that no rule places are
    // appended to it instead of going to the output stream.
    void capture_into(std::string* capture);
    KOVA_TOKEN next();

private:
    std::unique_ptr<KOVA_TEXT_LEXER> m_lexer;
};

#endif
