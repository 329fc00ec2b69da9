// The ordered parallel runner and the validation of one item.
//
// Invariants of the runner: item k is taken by exactly one worker (the
// atomic index); a worker starts item k only when k < emitted + window,
// so slot k % window is free (its previous item, k - window, was emitted),
// and never once the run is stopped; the calling thread emits item
// `emitted` only once its slot is filled, so items leave in order.
#include "session/batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "session/settings_io.h"

namespace {

// The items held at once per thread: enough that a slow item does not
// stall the others, few enough that memory stays small.
constexpr std::size_t ITEMS_PER_THREAD = 16;

class ORDERED_RUN {
public:
    // The workers read loaded and work until the run ends, so neither may
    // be a temporary.
    ORDERED_RUN(const KOVA_SESSION& loaded, std::size_t count, std::size_t window, const KOVA_BATCH_WORK& work)
        : m_loaded(loaded), m_count(count), m_window(window), m_work(work), m_slots(window) {}
    ORDERED_RUN(const KOVA_SESSION&& loaded, std::size_t count, std::size_t window, const KOVA_BATCH_WORK& work) = delete;
    ORDERED_RUN(const KOVA_SESSION& loaded, std::size_t count, std::size_t window, const KOVA_BATCH_WORK&& work) = delete;

    // Takes items until none is left or the run is stopped.
    void work_loop() {
        for (std::size_t index = m_next.fetch_add(1); index < m_count; index = m_next.fetch_add(1)) {
            if (!wait_for_room(index)) return;
            KOVA_BATCH_OUTCOME outcome = run_item(index);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_slots[index % m_window] = std::move(outcome);
            }
            m_filled.notify_all();
        }
    }

    // Emits every item in order, waiting for each to complete.
    void emit_all(const KOVA_BATCH_EMIT& emit) {
        for (std::size_t index = 0; index < m_count; ++index) {
            KOVA_BATCH_OUTCOME outcome;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                std::optional<KOVA_BATCH_OUTCOME>& slot = m_slots[index % m_window];
                m_filled.wait(lock, [&] { return slot.has_value(); });
                outcome = std::move(*slot);
                slot.reset();
                m_emitted = index + 1;
            }
            m_room.notify_all();
            emit(index, outcome);
        }
    }

    // Makes every worker return once its item is done: nothing is emitted
    // any more, so a worker waiting for room would wait for ever.
    void stop() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stopped = true;
        }
        m_room.notify_all();
    }

private:
    // False when the run was stopped instead.
    bool wait_for_room(std::size_t index) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_room.wait(lock, [&] { return m_stopped || index < m_emitted + m_window; });
        return !m_stopped;
    }

    KOVA_BATCH_OUTCOME run_item(std::size_t index) {
        try {
            KOVA_SESSION session(m_loaded);
            return m_work(session, index);
        } catch (const std::exception& error) {
            return failed(std::string("internal error: ") + error.what());
        } catch (...) {
            return failed("internal error");
        }
    }

    static KOVA_BATCH_OUTCOME failed(const std::string& text) {
        KOVA_BATCH_OUTCOME outcome;
        outcome.error = text;
        return outcome;
    }

    const KOVA_SESSION& m_loaded;
    const std::size_t m_count, m_window;
    const KOVA_BATCH_WORK& m_work;
    std::atomic<std::size_t> m_next{0};
    std::mutex m_mutex;  // guards m_slots, m_emitted and m_stopped
    std::condition_variable m_filled, m_room;
    std::vector<std::optional<KOVA_BATCH_OUTCOME>> m_slots;
    std::size_t m_emitted = 0;
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
                    const KOVA_BATCH_EMIT& emit) {
    if (count == 0) return;
    const std::size_t threads = std::clamp<std::size_t>(jobs, 1, count);
    ORDERED_RUN run(loaded, count, threads * ITEMS_PER_THREAD, work);
    std::vector<std::thread> pool;
    // A failure to start a thread or to emit an outcome stops the workers;
    // they are joined on every path (a joinable thread's destructor ends
    // the process) and the failure is handed on.
    std::exception_ptr failure;
    try {
        pool.reserve(threads);
        for (std::size_t i = 0; i < threads; ++i) pool.emplace_back([&run] { run.work_loop(); });
        run.emit_all(emit);
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

