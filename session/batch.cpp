// The ordered parallel runner and the validation of one item.
//
// Items go in blocks of consecutive indexes: a worker takes a whole block
// by an atomic index and hands it over when every item of it is done, so
// threads meet once per block rather than once per item.
//
// Invariants of the runner: block b is taken by exactly one worker (the
// atomic index); a worker starts block b only when b < emitted + window,
// so slot b % window is free (its previous block, b - window, was
// emitted), and never once the run is stopped; the calling thread emits
// block `emitted` only once its slot is filled, so items leave in order.
// Each worker works on one session of its own, put back in the state of
// a fresh copy of the loaded session before every item.
#include "session/batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "session/settings_io.h"

namespace {

// The blocks held at once per thread: enough that a slow block does not
// stall the others, few enough that memory stays small.
constexpr std::size_t BLOCKS_PER_THREAD = 4;
// The most items of a block: enough to make hand-overs rare, few enough
// that the first lines come soon.
constexpr std::size_t MOST_BLOCK_ITEMS = 64;

// Items per block: at most MOST_BLOCK_ITEMS, fewer for short runs, so
// that every thread gets several blocks.
std::size_t block_items(std::size_t count, std::size_t threads) {
    return std::clamp<std::size_t>(count / (threads * BLOCKS_PER_THREAD * 2), 1, MOST_BLOCK_ITEMS);
}

class ORDERED_RUN {
public:
    // The workers read loaded and work until the run ends, so neither may
    // be a temporary.
    ORDERED_RUN(const KOVA_SESSION& loaded, std::size_t count, std::size_t block, std::size_t window,
                const KOVA_BATCH_WORK& work)
        : m_loaded(loaded), m_count(count), m_block(block), m_blocks((count + block - 1) / block), m_window(window),
          m_work(work), m_slots(window) {}
    ORDERED_RUN(const KOVA_SESSION&& loaded, std::size_t count, std::size_t block, std::size_t window,
                const KOVA_BATCH_WORK& work) = delete;
    ORDERED_RUN(const KOVA_SESSION& loaded, std::size_t count, std::size_t block, std::size_t window,
                const KOVA_BATCH_WORK&& work) = delete;

    // Takes blocks until none is left or the run is stopped.
    void work_loop() {
        std::unique_ptr<KOVA_SESSION> session;
        std::vector<KOVA_BATCH_OUTCOME> outcomes;  // its storage goes round through the slots
        for (std::size_t block = m_next.fetch_add(1); block < m_blocks; block = m_next.fetch_add(1)) {
            if (!wait_for_room(block)) return;
            const std::size_t first = block * m_block, end = std::min(m_count, first + m_block);
            outcomes.resize(end - first);
            for (std::size_t index = first; index < end; ++index) outcomes[index - first] = run_item(session, index);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                SLOT& slot = m_slots[block % m_window];
                slot.outcomes.swap(outcomes);
                slot.filled = true;
            }
            m_filled.notify_all();
        }
    }

    // Emits every item in order, waiting for each block to complete;
    // idle is called whenever the next block is not complete yet.
    void emit_all(const KOVA_BATCH_EMIT& emit, const KOVA_BATCH_IDLE& idle) {
        std::vector<KOVA_BATCH_OUTCOME> outcomes;
        for (std::size_t block = 0; block < m_blocks; ++block) {
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                SLOT& slot = m_slots[block % m_window];
                if (!slot.filled && idle) {
                    lock.unlock();
                    idle();
                    lock.lock();
                }
                m_filled.wait(lock, [&] { return slot.filled; });
                slot.outcomes.swap(outcomes);
                slot.filled = false;
                m_emitted = block + 1;
            }
            m_room.notify_all();
            for (std::size_t i = 0; i < outcomes.size(); ++i) emit(block * m_block + i, outcomes[i]);
        }
        if (idle) idle();
    }

    // Makes every worker return once its block is done: nothing is
    // emitted any more, so a worker waiting for room would wait for ever.
    void stop() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stopped = true;
        }
        m_room.notify_all();
    }

private:
    struct SLOT {
        std::vector<KOVA_BATCH_OUTCOME> outcomes;
        bool filled = false;
    };

    // False when the run was stopped instead.
    bool wait_for_room(std::size_t block) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_room.wait(lock, [&] { return m_stopped || block < m_emitted + m_window; });
        return !m_stopped;
    }

    // The item on session, made from the loaded session for the first
    // item and restored to it for each later one. A session that an
    // exception left part-way is dropped, and the next item starts afresh.
    KOVA_BATCH_OUTCOME run_item(std::unique_ptr<KOVA_SESSION>& session, std::size_t index) {
        try {
            if (session)
                session->restore(m_loaded);
            else
                session = std::make_unique<KOVA_SESSION>(m_loaded);
            return m_work(*session, index);
        } catch (const std::exception& error) {
            session.reset();
            return failed(std::string("internal error: ") + error.what());
        } catch (...) {
            session.reset();
            return failed("internal error");
        }
    }

    static KOVA_BATCH_OUTCOME failed(const std::string& text) {
        KOVA_BATCH_OUTCOME outcome;
        outcome.error = text;
        return outcome;
    }

    const KOVA_SESSION& m_loaded;
    const std::size_t m_count, m_block, m_blocks, m_window;
    const KOVA_BATCH_WORK& m_work;
    std::atomic<std::size_t> m_next{0};
    std::mutex m_mutex;  // guards m_slots, m_emitted and m_stopped
    std::condition_variable m_filled, m_room;
    std::vector<SLOT> m_slots;
    std::size_t m_emitted = 0;  // blocks emitted
    bool m_stopped = false;
};

// The text of the first error message: what an item's error line says.
std::string first_error_text(const KOVA_MESSAGES& messages, const std::string& fallback) {
    for (const KOVA_MESSAGE& message : messages)
        if (message.severity == KOVA_SEVERITY_ERROR) return message.text;
    return fallback;
}

}  // namespace

void kova_run_batch(const KOVA_SESSION& loaded, std::size_t count, unsigned jobs, const KOVA_BATCH_WORK& work,
                    const KOVA_BATCH_EMIT& emit, const KOVA_BATCH_IDLE& idle) {
    if (count == 0) return;
    const std::size_t threads = std::clamp<std::size_t>(jobs, 1, count);
    ORDERED_RUN run(loaded, count, block_items(count, threads), threads * BLOCKS_PER_THREAD, work);
    std::vector<std::thread> pool;
    // A failure to start a thread or to emit an outcome stops the workers;
    // they are joined on every path (a joinable thread's destructor ends
    // the process) and the failure is handed on.
    std::exception_ptr failure;
    try {
        pool.reserve(threads);
        for (std::size_t i = 0; i < threads; ++i) pool.emplace_back([&run] { run.work_loop(); });
        run.emit_all(emit, idle);
    } catch (...) {
        failure = std::current_exception();
        run.stop();
    }
    for (std::thread& thread : pool) thread.join();
    if (failure) std::rethrow_exception(failure);
}

unsigned kova_default_jobs() { return std::max(1u, std::thread::hardware_concurrency()); }

KOVA_BATCH_OUTCOME kova_validate_settings(KOVA_SESSION& session, const std::vector<KOVA_SETTING>& settings) {
    KOVA_BATCH_OUTCOME outcome;
    if (session.apply(settings, outcome.messages)) {
        outcome.error = first_error_text(outcome.messages, "the settings cannot be applied");
        return outcome;
    }
    KOVA_RUN_RESULT result = session.run();
    outcome.valid = result.valid;
    for (KOVA_MESSAGE& message : result.messages) outcome.messages.push_back(std::move(message));
    return outcome;
}

KOVA_BATCH_OUTCOME kova_validate_settings_file(KOVA_SESSION& session, const std::string& path) {
    std::vector<KOVA_SETTING> settings;
    KOVA_MESSAGES problems;
    if (kova_read_settings_file(path, settings, problems)) {
        KOVA_BATCH_OUTCOME outcome;
        outcome.messages = std::move(problems);
        outcome.error = first_error_text(outcome.messages, "cannot read the settings file");
        return outcome;
    }
    KOVA_BATCH_OUTCOME outcome = kova_validate_settings(session, settings);
    // The file's warnings come before the run's messages, as validate prints them.
    outcome.messages.insert(outcome.messages.begin(), problems.begin(), problems.end());
    return outcome;
}

