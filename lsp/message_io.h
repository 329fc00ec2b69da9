// The framing of the language server's messages: each is a header block
// ("Content-Length: N", other headers ignored, lines ending in CR LF or
// LF) and a blank line, then N bytes of JSON. Only protocol messages are
// written to the output stream; everything else goes to the log.
#ifndef KOVA_LSP_MESSAGE_IO_H
#define KOVA_LSP_MESSAGE_IO_H

#include <cstddef>
#include <istream>
#include <string>

#include <nlohmann/json.hpp>

enum class KOVA_LSP_READ {
    MESSAGE,    // body holds one message's bytes
    BAD_FRAME,  // a header block without a usable length; problem says why, the block is skipped
    END         // the input ended (a message cut short included)
};

// The largest body accepted; a longer one is a bad frame and is skipped.
constexpr std::size_t KOVA_LSP_MOST_BODY = std::size_t{64} << 20;

class KOVA_LSP_READER {
public:
    explicit KOVA_LSP_READER(std::istream& in) : m_in(in) {}
    // The next message, or why there is none.
    KOVA_LSP_READ next(std::string& body, std::string& problem);

private:
    bool header_line(std::string& line);
    std::istream& m_in;
};

// message with its header, ready to write; texts that are not UTF-8 are
// written with U+FFFD, so framing never throws.
std::string kova_lsp_frame(const nlohmann::json& message);

#endif
