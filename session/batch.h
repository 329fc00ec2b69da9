// Many validation runs over one loaded description, in parallel: each
// thread of a bounded pool works on its own copy of the loaded session
// (copies share nothing mutable), put back in the loaded state before
// every item, takes items in blocks by an atomic index, and the results
// are handed back in item order as their blocks complete. `kova
// batch` (settings files) and `kova sweep` (generated configurations) both
// run through here.
#ifndef KOVA_BATCH_H
#define KOVA_BATCH_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "session/session.h"

// What one item gave.
struct KOVA_BATCH_OUTCOME {
    // Not empty when the item could not be validated (a settings file that
    // cannot be read or applied, an internal failure); valid is then false.
    std::string error;
    bool valid = false;
    KOVA_MESSAGES messages;  // the run's, or those that explain the error
    // A sweep's configuration as validated: the generated settings with a
    // repair's changes (session/sweep.h). Empty for a batch item.
    std::vector<KOVA_SETTING> settings;
    unsigned draws = 0;     // valid-only random draws made; 0 for any other item
    bool repaired = false;  // made valid by the repair of its last draw
};

// Works on item index with session, in the state of a fresh copy of the
// loaded session (a session of the worker's own, restored before each
// item: KOVA_SESSION::restore).
using KOVA_BATCH_WORK = std::function<KOVA_BATCH_OUTCOME(KOVA_SESSION& session, std::size_t index)>;
// Receives each item's outcome, in item order, on the calling thread. An
// exception it throws (writing a line may run out of memory) stops the
// run: the workers finish their items and end, and kova_run_batch throws
// it on.
using KOVA_BATCH_EMIT = std::function<void(std::size_t index, KOVA_BATCH_OUTCOME& outcome)>;

// Called on the calling thread whenever every outcome done so far has
// been emitted and the next is not done yet, and once at the end: where
// a front end flushes what it wrote.
using KOVA_BATCH_IDLE = std::function<void()>;

// Runs work for items 0 .. count-1 in jobs threads (at least 1, at most
// count) and emits every outcome in order. Threads take items in blocks
// of consecutive indexes and hand each block over whole; at most a
// window of blocks past the last emitted one are held, so memory stays
// bounded however many items there are. An exception in work becomes
// that item's error; one in emit or idle ends the run and is thrown on
// once every thread has ended.
void kova_run_batch(const KOVA_SESSION& loaded, std::size_t count, unsigned jobs, const KOVA_BATCH_WORK& work,
                    const KOVA_BATCH_EMIT& emit, const KOVA_BATCH_IDLE& idle = nullptr);

// The hardware's threads (1 when unknown): the default for jobs.
unsigned kova_default_jobs();

// Applies settings to session and runs it: the apply problems and the
// run's messages. A setting that cannot be applied (an unknown name) is
// the outcome's error.
KOVA_BATCH_OUTCOME kova_validate_settings(KOVA_SESSION& session, const std::vector<KOVA_SETTING>& settings);

// Reads a settings file and validates it on session; a file that cannot
// be read or has an error line is the outcome's error.
KOVA_BATCH_OUTCOME kova_validate_settings_file(KOVA_SESSION& session, const std::string& path);

#endif
