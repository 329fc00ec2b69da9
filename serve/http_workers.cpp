// The pool of workers of kova serve (serve/http_workers.h).
#include "serve/http_workers.h"

#include <utility>

KOVA_HTTP_WORKERS::KOVA_HTTP_WORKERS(unsigned count, std::function<KOVA_HTTP_ANSWER(KOVA_HTTP_JOB&)> work,
                                     std::function<void()> finished)
    : m_work(std::move(work)), m_finished(std::move(finished)) {
    for (unsigned i = 0; i < count; ++i) m_threads.emplace_back([this] { serve(); });
}

KOVA_HTTP_WORKERS::~KOVA_HTTP_WORKERS() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ending = true;
        m_jobs.clear();
    }
    m_ready.notify_all();
    for (std::thread& thread : m_threads) thread.join();
}

void KOVA_HTTP_WORKERS::add(KOVA_HTTP_JOB job) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_ready.notify_one();
}

std::vector<KOVA_HTTP_ANSWER> KOVA_HTTP_WORKERS::take_answers() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_answers, {});
}

void KOVA_HTTP_WORKERS::serve() {
    for (;;) {
        KOVA_HTTP_JOB job;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_ready.wait(lock, [this] { return m_ending || !m_jobs.empty(); });
            if (m_ending) return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        KOVA_HTTP_ANSWER answer = m_work(job);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_answers.push_back(std::move(answer));
        }
        m_finished();
    }
}
