// Reading and writing framed messages (lsp/message_io.h).
#include "lsp/message_io.h"

#include <cctype>

namespace {

// The value of a "Content-Length" header line (name in any letter case),
// -1 for another header, -2 for a length that is not a number in bounds.
long long content_length(const std::string& line) {
    static const std::string name = "content-length:";
    if (line.size() < name.size()) return -1;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != name[i]) return -1;
    std::size_t at = line.find_first_not_of(" \t", name.size());
    if (at == std::string::npos || !std::isdigit(static_cast<unsigned char>(line[at]))) return -2;
    long long value = 0;
    for (; at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])); ++at) {
        value = value * 10 + (line[at] - '0');
        if (value > static_cast<long long>(KOVA_LSP_MOST_BODY)) return -2;
    }
    return line.find_first_not_of(" \t", at) == std::string::npos ? value : -2;
}

}  // namespace

// One header line without its end; false at the end of the input.
bool KOVA_LSP_READER::header_line(std::string& line) {
    if (!std::getline(m_in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

KOVA_LSP_READ KOVA_LSP_READER::next(std::string& body, std::string& problem) {
    std::string line;
    long long length = -1;
    bool any = false;
    // Blank lines before a header block are skipped.
    while (header_line(line)) {
        if (line.empty()) {
            if (!any) continue;
            break;
        }
        any = true;
        const long long value = content_length(line);
        if (value != -1) length = value;
    }
    if (!any) return KOVA_LSP_READ::END;
    if (!m_in) return KOVA_LSP_READ::END;
    if (length < 0) {
        problem = "a message without a usable Content-Length header";
        return KOVA_LSP_READ::BAD_FRAME;
    }
    body.assign(static_cast<std::size_t>(length), '\0');
    m_in.read(body.data(), length);
    if (m_in.gcount() != length) return KOVA_LSP_READ::END;
    return KOVA_LSP_READ::MESSAGE;
}

std::string kova_lsp_frame(const nlohmann::json& message) {
    const std::string body = message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}
