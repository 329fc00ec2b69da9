// kova sweep: configurations generated from --vary, --random or --corners
// (session/sweep.h), validated in parallel (session/batch.h), a line per
// configuration in index order; the summary on standard error. Exit
// status 0 when the sweep completed whatever the verdicts, 2 on an error.
#include <unistd.h>

#include <chrono>
#include <iostream>

#include "session/batch.h"
#include "session/batch_report.h"
#include "session/sweep.h"
#include "tools/subcommands.h"

namespace {

// The most frequent messages the summary names.
constexpr std::size_t SUMMARY_MESSAGES = 5;

struct SWEEP_OPTIONS {
    std::vector<std::string> vary;
    std::optional<std::uint64_t> random;
    bool valid_only = false;
    bool corners = false;
    std::uint64_t seed = 0;
    std::string shard = "0/1";
    std::optional<std::uint64_t> limit;
    unsigned jobs = kova_default_jobs();
};

// "sweep: DONE/TOTAL" rewritten in place on a terminal, at most five
// times a second; nothing where standard error is not a terminal.
class PROGRESS {
public:
    explicit PROGRESS(std::uint64_t total) : m_total(total), m_shown(isatty(STDERR_FILENO) == 1) {}
    void update(std::uint64_t done) {
        if (!m_shown) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - m_last < std::chrono::milliseconds(200)) return;
        m_last = now;
        m_visible = true;
        std::cerr << "\rsweep: " << done << "/" << m_total << std::flush;
    }
    // Wipes the line, if one is up, so that other output starts clean.
    void clear() {
        if (m_visible) std::cerr << "\r\033[K" << std::flush;
        m_visible = false;
    }

private:
    std::uint64_t m_total;
    bool m_shown;           // standard error is a terminal
    bool m_visible = false;  // a progress line is up
    std::chrono::steady_clock::time_point m_last;
};

void run_sweep(KOVA_TOOL_STATE& state, const SWEEP_OPTIONS& options) {
    // The layer's texts start with the option's bare name, but for a limit.
    const auto with_dashes = [](KOVA_PROBLEM problem) {
        if (problem.kind != KOVA_PROBLEM_KIND::LIMIT) problem.text = "--" + problem.text;
        return problem;
    };
    KOVA_SHARD shard;
    if (KOVA_PROBLEM problem = kova_parse_shard(options.shard, shard)) return report_problem(state, with_dashes(problem));
    KOVA_MESSAGES warnings;  // the load's; each line tells its own item's run
    const KOVA_SESSION* const loaded = open_session_until_exit(state, warnings);
    if (!loaded) return;
    KOVA_SWEEP_PLAN plan;
    if (options.vary.empty() && !options.random && !options.corners)
        return report_failure(state, "a sweep needs --vary NAME, --random N or --corners");
    if (KOVA_PROBLEM problem = options.corners
                                   ? kova_sweep_corner_plan(*loaded, options.vary, plan)
                                   : kova_sweep_plan(*loaded, options.vary, options.random, options.seed, plan))
        return report_problem(state, with_dashes(problem));
    plan.valid_only = options.valid_only;
    const std::uint64_t in_shard = kova_shard_size(shard, plan.count);
    const std::uint64_t count = kova_shard_size(shard, plan.count, options.limit);
    if (count < in_shard)
        std::cerr << "kova sweep: --limit " << count << " cut the sweep at " << count << " of the " << in_shard
                  << " configurations" << (shard.count > 1 ? " of the shard" : "") << "\n";
    KOVA_SWEEP_TALLY tally;
    PROGRESS progress(count);
    const auto work = [&](KOVA_SESSION& session, std::size_t item) {
        return kova_sweep_item(session, plan, kova_shard_index(shard, item));
    };
    std::string line;  // one buffer for every line
    std::uint64_t emitted = 0;
    const auto emit = [&](std::size_t item, KOVA_BATCH_OUTCOME& outcome) {
        const std::uint64_t index = kova_shard_index(shard, item);
        tally.add(outcome);
        progress.clear();
        if (state.jsonl())
            line = kova_json_line(kova_sweep_line_json(state.load.description, index, outcome.settings, outcome));
        else
            kova_sweep_line_text(index, outcome, line);
        line += '\n';
        std::cout.write(line.data(), static_cast<std::streamsize>(line.size()));
        emitted = item + 1;
    };
    // The lines go out whenever the next are not ready yet.
    const auto idle = [&] {
        std::cout.flush();
        progress.update(emitted);
    };
    kova_run_batch(*loaded, count, options.jobs, work, emit, idle);
    progress.clear();
    std::cerr << "kova sweep: ";
    tally.print(std::cerr, state.load.description, SUMMARY_MESSAGES);
    state.exit_code = tally.errors() ? KOVA_EXIT_USAGE : KOVA_EXIT_OK;
}

}  // namespace

void add_sweep_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("sweep", "Validate every combination of some parameters' values, their corners "
                                                "or random configurations, in parallel");
    add_load_options(*command, state, {"text", "jsonl"});
    auto options = std::make_shared<SWEEP_OPTIONS>();
    command->add_option("--vary", options->vary,
                        "Vary a port or parameter: NAME (its legal values), NAME=V1|V2|..., or NAME=LO..HI");
    auto* random =
        command->add_option("--random", options->random, "Draw N random configurations instead of the product");
    command->add_option("--seed", options->seed, "Seed of the random draws (with --random)")
        ->capture_default_str()
        ->needs(random);
    command->add_flag("--valid-only", options->valid_only,
                      "With --random: repair an invalid draw (as kova fix does), or draw again, up to " +
                          std::to_string(KOVA_SWEEP_MOST_DRAWS) + " draws per configuration")
        ->needs(random);
    command->add_flag("--corners", options->corners,
                      "All defaults, each parameter at its first and last value, then all at their first and all "
                      "at their last (--vary limits them to the named parameters)")
        ->excludes(random);
    command->add_option("--shard", options->shard, "Take only the configurations whose index is I modulo N (I/N)")
        ->capture_default_str();
    command->add_option("--limit", options->limit, "At most M configurations (of the shard)");
    command->add_option("--jobs", options->jobs, "Threads (default: the hardware's)")
        ->check(CLI::Range(1u, 1024u))
        ->capture_default_str();
    command->footer("Example: kova sweep examples/fifo.xml --vary DEPTH --vary MEMORY_TYPE --format jsonl\n"
                    "Corners, then legal random configurations: kova sweep examples/uart.xml --corners; "
                    "kova sweep examples/uart.xml --random 100 --valid-only --seed 7\n"
                    "Shards in parallel: parallel kova sweep examples/fifo.xml --vary DEPTH --shard {}/4 "
                    "--format jsonl ::: 0 1 2 3");
    command->callback([&state, options]() { run_sweep(state, *options); });
}
