// The scanners a validator keeps for its evaluations. An evaluation leases
// an idle scanner (or a new one when every scanner is busy, as in a nested
// evaluation) and hands it back when it ends, so that the flex buffers are
// set up once per validator rather than once per evaluation.
//
// Invariant: m_idle.capacity() is at least the number of scanners this
// pool has made, so handing a scanner back never allocates and a lease can
// end during stack unwinding.
#ifndef KOVA_SCANNER_POOL_H
#define KOVA_SCANNER_POOL_H

#include <memory>
#include <string>
#include <vector>

#include "expr/scanner.h"

class KOVA_SCANNER_POOL {
public:
    // Holds one scanner for the time of one evaluation.
    class LEASE {
    public:
        LEASE(KOVA_SCANNER_POOL& pool, std::unique_ptr<KOVA_SCANNER> scanner)
            : m_pool(pool), m_scanner(std::move(scanner)) {}
        LEASE(const LEASE&) = delete;
        LEASE& operator=(const LEASE&) = delete;
        // The capture is dropped first, so an idle scanner keeps no
        // pointer to a string of the evaluation that ended.
        ~LEASE() {
            m_scanner->capture_into(nullptr);
            m_pool.m_idle.push_back(std::move(m_scanner));
        }

        KOVA_SCANNER& scanner() { return *m_scanner; }

    private:
        KOVA_SCANNER_POOL& m_pool;
        std::unique_ptr<KOVA_SCANNER> m_scanner;
    };

    // A scanner started on text; characters it cannot place go to
    // standard output.
    LEASE lease(const std::string& text);

private:
    std::vector<std::unique_ptr<KOVA_SCANNER>> m_idle;
    std::size_t m_made = 0;
};

#endif
