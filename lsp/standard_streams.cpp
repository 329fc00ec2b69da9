// The server on the process's standard input and output. Standard output
// carries protocol messages only: its descriptor is duplicated for them,
// and descriptor 1 is then pointed at standard error, so that anything
// else written to standard output (a stray character of the scanner, a
// library's print) reaches the log instead of the client.
#include "lsp/server.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace {

// An output stream buffer over a file descriptor, written through at
// each flush.
class DESCRIPTOR_BUFFER : public std::streambuf {
public:
    explicit DESCRIPTOR_BUFFER(int fd) : m_fd(fd) { setp(m_buffer, m_buffer + sizeof m_buffer); }

protected:
    int_type overflow(int_type c) override {
        if (sync() != 0) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override {
        const char* at = pbase();
        while (at < pptr()) {
            const ssize_t written = ::write(m_fd, at, static_cast<std::size_t>(pptr() - at));
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return -1;
            at += written;
        }
        setp(m_buffer, m_buffer + sizeof m_buffer);
        return 0;
    }

private:
    int m_fd;
    char m_buffer[1 << 16];
};

}  // namespace

int kova_lsp_serve_standard_streams(const KOVA_LSP_OPTIONS& options) {
    std::cout.flush();
    std::fflush(stdout);
    const int protocol = ::dup(STDOUT_FILENO);
    if (protocol < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        std::cerr << "kova lsp: cannot set standard output apart for the protocol\n";
        return 2;
    }
    DESCRIPTOR_BUFFER buffer(protocol);
    std::ostream out(&buffer);
    const int status = kova_lsp_serve(std::cin, out, std::cerr, options);
    out.flush();
    ::close(protocol);
    return status;
}
