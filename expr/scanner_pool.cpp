// Leasing scanners from a validator's pool.
#include "expr/scanner_pool.h"

KOVA_SCANNER_POOL::LEASE KOVA_SCANNER_POOL::lease(const std::string& text) {
    if (m_idle.empty()) {
        m_idle.reserve(m_made + 1);
        auto scanner = std::make_unique<KOVA_SCANNER>(text);
        ++m_made;
        return LEASE(*this, std::move(scanner));
    }
    std::unique_ptr<KOVA_SCANNER> scanner = std::move(m_idle.back());
    m_idle.pop_back();
    scanner->restart(text);
    return LEASE(*this, std::move(scanner));
}
