// The workers that answer kova serve's requests: jobs in, finished answers
// out, with a wake-up for the connection thread each time one finishes.
// Invariant: a job and its answer carry the connection's number and the
// request's place on it, never a pointer to the connection, which may be
// closed while its request is being answered.
#ifndef KOVA_SERVE_HTTP_WORKERS_H
#define KOVA_SERVE_HTTP_WORKERS_H

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serve/http_message.h"

struct KOVA_HTTP_JOB {
    std::uint64_t connection = 0;
    std::uint64_t place = 0;  // the request's number on its connection
    KOVA_HTTP_REQUEST request;
};

struct KOVA_HTTP_ANSWER {
    std::uint64_t connection = 0;
    std::uint64_t place = 0;
    std::string bytes;   // the whole response
    bool close = false;  // the connection closes after it
};

class KOVA_HTTP_WORKERS {
public:
    // work turns a job into its answer; finished is called (on the worker)
    // after each answer is queued, to wake the connection thread.
    KOVA_HTTP_WORKERS(unsigned count, std::function<KOVA_HTTP_ANSWER(KOVA_HTTP_JOB&)> work,
                      std::function<void()> finished);
    // Finishes the jobs begun, drops the others, and joins the threads.
    ~KOVA_HTTP_WORKERS();

    void add(KOVA_HTTP_JOB job);
    // The answers finished since the last call.
    std::vector<KOVA_HTTP_ANSWER> take_answers();

private:
    void serve();

    std::function<KOVA_HTTP_ANSWER(KOVA_HTTP_JOB&)> m_work;
    std::function<void()> m_finished;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<KOVA_HTTP_JOB> m_jobs;
    std::vector<KOVA_HTTP_ANSWER> m_answers;
    bool m_ending = false;
    std::vector<std::thread> m_threads;
};

#endif
