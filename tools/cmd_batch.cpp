// kova batch: one description loaded once, many settings files validated
// in parallel (session/batch.h), a line per file in the order given.
// Exit status 2 when a file could not be read, else 1 when a
// configuration is invalid, else 0.
#include <iostream>

#include "session/batch.h"
#include "session/batch_report.h"
#include "tools/subcommands.h"

namespace {

struct BATCH_OPTIONS {
    std::vector<std::string> files;
    unsigned jobs = kova_default_jobs();
};

void run_batch(KOVA_TOOL_STATE& state, const BATCH_OPTIONS& options) {
    KOVA_MESSAGES warnings;  // the load's; each line tells its own item's run
    const KOVA_SESSION* const loaded = open_session_until_exit(state, warnings);
    if (!loaded) return;
    bool unreadable = false, invalid = false;
    const auto work = [&](KOVA_SESSION& session, std::size_t index) {
        return kova_validate_settings_file(session, options.files[index]);
    };
    const auto emit = [&](std::size_t index, KOVA_BATCH_OUTCOME& outcome) {
        const std::string& file = options.files[index];
        unreadable |= !outcome.error.empty();
        invalid |= !outcome.valid;
        if (state.jsonl())
            std::cout << kova_json_line(kova_batch_line_json(state.load.description, file, outcome)) << "\n";
        else
            std::cout << file << ": " << kova_outcome_text(outcome) << "\n";
    };
    // The lines go out as their results complete, whenever the next are not ready yet.
    const auto idle = [] { std::cout.flush(); };
    kova_run_batch(*loaded, options.files.size(), options.jobs, work, emit, idle);
    state.exit_code = unreadable ? KOVA_EXIT_USAGE : invalid ? KOVA_EXIT_INVALID : KOVA_EXIT_OK;
}

}  // namespace

void add_batch_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("batch", "Validate many settings files against one description, in parallel");
    add_load_options(*command, state, {"text", "jsonl"});
    auto options = std::make_shared<BATCH_OPTIONS>();
    command->add_option("settings", options->files, "Settings files, each validated on its own")->required();
    command->add_option("--jobs", options->jobs, "Threads (default: the hardware's)")
        ->check(CLI::Range(1u, 1024u))
        ->capture_default_str();
    command->footer("Example: kova batch examples/fifo.xml examples/fifo-deep.settings "
                    "examples/fifo-conflicts.settings --format jsonl");
    command->callback([&state, options]() { run_batch(state, *options); });
}
