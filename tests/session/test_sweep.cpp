// Sweeps (session/sweep.h) and the ordered parallel runner (session/batch.h): what --vary texts give, the
// enumeration order, shards that partition the sweep, reproducible random draws, outcomes handed back in
// item order whatever the threads do, and the session each thread restores before each item.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <new>
#include <set>
#include <stdexcept>
#include <thread>

#include "session/batch.h"
#include "session/sweep.h"
#include "session/value_text.h"
#include "tests/session/opened_session.h"

namespace {

// examples/fifo.xml as loaded, shared by the tests: none of them changes it.
const KOVA_SESSION& fifo() {
    static const std::unique_ptr<KOVA_SESSION> session = open_session(example("fifo.xml"));
    if (!session) throw std::runtime_error("examples/fifo.xml does not load");
    return *session;
}

// Each axis of the plan the --vary texts give, "NAME: V1|V2|..." or "NAME: LO..HI", joined by "; "; or "error: TEXT".
std::string plan_text(const std::vector<std::string>& vary, bool random) {
    KOVA_SWEEP_PLAN plan;
    std::string text;
    if (const KOVA_PROBLEM problem = kova_sweep_plan(fifo(), vary, random ? std::optional<std::uint64_t>(1)
        : std::nullopt, 0, plan))
        return "error: " + problem.text;
    for (const KOVA_SWEEP_AXIS& axis : plan.axes) {
        text += (text.empty() ? "" : "; ") + axis.name + ":";
        if (axis.values.empty()) text += " " + std::to_string(axis.low) + ".." + std::to_string(axis.high);
        for (std::size_t i = 0; i < axis.values.size(); ++i) text += (i ? "|" : " ") + axis.values[i];
    }
    return text;
}

KOVA_SWEEP_PLAN plan_of(const std::vector<std::string>& vary, std::optional<std::uint64_t> random = std::nullopt,
    std::uint64_t seed = 0) {
    KOVA_SWEEP_PLAN plan;
    const KOVA_PROBLEM problem = kova_sweep_plan(fifo(), vary, random, seed, plan);
    EXPECT_FALSE(problem) << problem.text;
    return plan;
}

// Configuration k as "NAME=VALUE NAME=VALUE".
std::string configuration_line(const KOVA_SWEEP_PLAN& plan, std::uint64_t k) {
    std::string line;
    for (const std::string& setting : setting_lines(kova_sweep_configuration(plan, k)))
        line += (line.empty() ? "" : " ") + setting;
    return line;
}

std::vector<std::string> configurations(const KOVA_SWEEP_PLAN& plan) {
    std::vector<std::string> lines;
    for (std::uint64_t k = 0; k < plan.count; ++k) lines.push_back(configuration_line(plan, k));
    return lines;
}

}  // namespace

TEST(Sweep, VaryTextsGiveTheirValues) {
    const struct { std::vector<std::string> vary; bool random; std::string plan; } cases[] = {
        {{"depth"}, false, "DEPTH: 16|32|64|128|256|512"},                // a list, named in any case
        {{"WIDTH"}, false, "WIDTH: 1|128|256"},                           // a range: bounds and midpoint
        {{"WIDTH"}, true, "WIDTH: 1..256"},                               // a range drawn whole
        {{"MEMORY_TYPE", "data_count"}, false, "MEMORY_TYPE: block|distributed; data_count: USED|UNUSED"},
        {{"WIDTH=8|12|999"}, false, "WIDTH: 8|12|999"},                   // given values, legal or not
        {{"ALMOST_FULL_LEVEL=-2..3"}, false, "ALMOST_FULL_LEVEL: -2..3"},
        {{"NOSUCH"}, false, "error: vary: the description has no port or parameter named 'NOSUCH'"},
        {{"ADDR_WIDTH"}, false, "error: vary: the description has no port or parameter named 'ADDR_WIDTH'"},
        {{"ALMOST_FULL_LEVEL"}, false, "error: vary ALMOST_FULL_LEVEL: its value text gives no list or range; "
                                       "give the values as ALMOST_FULL_LEVEL=V1|V2 or ALMOST_FULL_LEVEL=LO..HI"},
        {{"WIDTH=9..3"}, false, "error: vary WIDTH=9..3: LO..HI takes two integers, LO not above HI"},
        {{"WIDTH=8||9"}, false, "error: vary WIDTH=8||9: a value is empty"},
        {{}, false, "error: a sweep needs a name to vary or random draws"},
        {{"DEPTH", "depth=16"}, false, "error: vary: DEPTH is varied twice"},
        {{"WIDTH=0..999999999999999999", "DEPTH=0..999999999999999999"}, false,
            "error: the sweep has more configurations than 64 bits count"},
    };
    for (const auto& c : cases) EXPECT_EQ(plan_text(c.vary, c.random), c.plan) << c.plan;
}

TEST(Sweep, TheLastVariedNameChangesFastest) {
    const KOVA_SWEEP_PLAN plan = plan_of({"DEPTH=16|512", "MEMORY_TYPE", "WIDTH=1..2"});
    EXPECT_EQ(configurations(plan), (std::vector<std::string>{
        "DEPTH=16 MEMORY_TYPE=block WIDTH=1", "DEPTH=16 MEMORY_TYPE=block WIDTH=2",
        "DEPTH=16 MEMORY_TYPE=distributed WIDTH=1", "DEPTH=16 MEMORY_TYPE=distributed WIDTH=2",
        "DEPTH=512 MEMORY_TYPE=block WIDTH=1", "DEPTH=512 MEMORY_TYPE=block WIDTH=2",
        "DEPTH=512 MEMORY_TYPE=distributed WIDTH=1", "DEPTH=512 MEMORY_TYPE=distributed WIDTH=2"}));
}

// A shard I/N takes configurations I, I + N, ... in order, the first
// --limit of them.
TEST(Sweep, ShardsTakeEveryNthConfiguration) {
    const struct { const char* text; std::uint64_t total; std::optional<std::uint64_t> limit; const char* indices; } cases[] = {
        {"0/1", 10, std::nullopt, "0 1 2 3 4 5 6 7 8 9"}, {"0/1", 10, 3, "0 1 2"},
        {"1/3", 10, std::nullopt, "1 4 7"}, {"1/3", 10, 2, "1 4"},
        {"2/3", 13, std::nullopt, "2 5 8 11"}, {"2/3", 11, std::nullopt, "2 5 8"}, {"0/4", 0, std::nullopt, ""},
        // Texts that are no shard.
        {"3/3", 1, 0, "error"}, {"-1/3", 1, 0, "error"}, {"1/0", 1, 0, "error"}, {"1", 1, 0, "error"}, {"a/b", 1, 0,
            "error"},
    };
    for (const auto& c : cases) {
        KOVA_SHARD shard;
        const KOVA_PROBLEM problem = kova_parse_shard(c.text, shard);
        EXPECT_EQ(problem.text, problem ? "shard takes I/N with 0 <= I < N, not '" + std::string(c.text) + "'" : "");
        std::string indices = problem ? "error" : "";
        for (std::uint64_t j = 0; !problem && j < kova_shard_size(shard, c.total, c.limit); ++j)
            indices += (j ? " " : "") + std::to_string(kova_shard_index(shard, j));
        EXPECT_EQ(indices, c.indices) << c.text << " of " << c.total;
    }
}

TEST(Sweep, RandomDrawsFollowTheSeedAndIndexAlone) {
    // splitmix64's published first output for the state 0.
    EXPECT_EQ(kova_splitmix64(0), 0xE220A8397B1DCDAFULL);
    const KOVA_SWEEP_PLAN seven = plan_of({}, 40, 7), again = plan_of({}, 40, 7);
    const std::vector<std::string> whole = configurations(seven);
    EXPECT_EQ(whole, configurations(again));
    EXPECT_NE(whole, configurations(plan_of({}, 40, 8)));
    // Every parameter with a list or range, each value from its own.
    std::set<std::string> depths;
    for (std::uint64_t k = 0; k < seven.count; ++k) {
        const std::vector<KOVA_SETTING> settings = kova_sweep_configuration(seven, k);
        ASSERT_EQ(settings.size(), 4u);  // WIDTH, DEPTH, MEMORY_TYPE, HAS_DATA_COUNT
        depths.insert(settings[1].value);
        EXPECT_TRUE(std::stoll(settings[0].value) >= 1 && std::stoll(settings[0].value) <= 256) << settings[0].value;
    }
    EXPECT_GE(depths.size(), 4u) << "draws spread over the list";
    // A shard computes configuration k as the whole sweep does, without the configurations before it.
    const KOVA_SHARD shard{2, 3};
    for (std::uint64_t j = kova_shard_size(shard, again.count); j-- > 0;)
        EXPECT_EQ(configuration_line(again, kova_shard_index(shard, j)), whole[kova_shard_index(shard, j)]);
}

// The corners of each example and of a description with a range, lists, a
// free string, a bare integer, a derived value and a port.
TEST(Sweep, CornersLeaveOutRepeats) {
    const std::string corners = test_data("sweep-corners.xml");
    const struct { std::string file; std::vector<std::string> vary; std::vector<std::string> lines; } cases[] = {
        {corners, {}, {"", "SIZE=0", "SIZE=7", "LANES=4", "MODE=x", "SIZE=0 MODE=x", "SIZE=7 LANES=4"}},
        {corners, {"LANES", "TAG=a|b"}, {"", "LANES=4", "TAG=a", "TAG=b", "LANES=4 TAG=b"}},
        {corners, {"LEVEL=2..9"}, {"", "LEVEL=2", "LEVEL=9"}},
        {corners, {"clk"}, {"error: vary: corners take integer and string parameters, not in clk"}},
        {corners, {"TOTAL"}, {"error: vary: the description has no port or parameter named 'TOTAL'"}},
        {corners, {"SIZE", "size"}, {"error: vary: SIZE is varied twice"}},
        {example("fifo.xml"), {}, {"", "WIDTH=1", "WIDTH=256", "DEPTH=512", "MEMORY_TYPE=distributed",
                                   "HAS_DATA_COUNT=1", "WIDTH=256 DEPTH=512 MEMORY_TYPE=distributed HAS_DATA_COUNT=1"}},
        {example("ram_ecc.xml"), {}, {""}},  // no list or range: the defaults alone
    };
    for (const auto& c : cases) {
        const std::unique_ptr<KOVA_SESSION> session = open_session(c.file);
        ASSERT_TRUE(session);
        KOVA_SWEEP_PLAN plan;
        const KOVA_PROBLEM problem = kova_sweep_corner_plan(*session, c.vary, plan);
        EXPECT_EQ(problem ? std::vector<std::string>{"error: " + problem.text} : configurations(plan), c.lines)
            << c.file << " " << c.vary.size();
    }
}

// How many corners each example has (docs/batch.md gives them), and that
// a corner sweep starts from the defaults whatever the session holds.
TEST(Sweep, CornerCountsOfTheExamples) {
    const struct { const char* file; std::uint64_t count; } cases[] = {
        {"counter.xml", 9}, {"fifo.xml", 7}, {"ram.xml", 11}, {"ram_ecc.xml", 1}, {"uart.xml", 12}};
    for (const auto& c : cases) {
        const std::unique_ptr<KOVA_SESSION> session = open_session(example(c.file));
        ASSERT_TRUE(session);
        KOVA_MESSAGES problems;
        KOVA_SWEEP_PLAN plan;
        ASSERT_FALSE(kova_sweep_corner_plan(*session, {}, plan));
        EXPECT_EQ(plan.count, c.count) << c.file;
        const std::vector<std::string> before = configurations(plan);
        ASSERT_FALSE(session->apply(kova_sweep_configuration(plan, plan.count - 1), problems));
        ASSERT_FALSE(kova_sweep_corner_plan(*session, {}, plan));
        EXPECT_EQ(configurations(plan), before) << c.file;
    }
}

namespace {

// The results of a sweep as lines "INDEX SETTINGS: VERDICT draws=D
// repaired=R", run in jobs threads.
std::vector<std::string> swept(const KOVA_SESSION& loaded, const KOVA_SWEEP_PLAN& plan, unsigned jobs,
                               std::vector<KOVA_BATCH_OUTCOME>* outcomes = nullptr) {
    std::vector<std::string> lines;
    kova_run_batch(loaded, plan.count, jobs,
                   [&plan](KOVA_SESSION& session, std::size_t k) { return kova_sweep_item(session, plan, k); },
                   [&](std::size_t k, KOVA_BATCH_OUTCOME& outcome) {
                       std::string line = std::to_string(k);
                       for (const std::string& setting : setting_lines(outcome.settings)) line += " " + setting;
                       lines.push_back(line + ": " + (outcome.error.empty() ? outcome.valid ? "valid" : "invalid"
                                                                            : outcome.error) +
                                       " draws=" + std::to_string(outcome.draws) +
                                       " repaired=" + std::to_string(outcome.repaired));
                       if (outcomes) outcomes->push_back(outcome);
                   });
    return lines;
}

}  // namespace

// Valid-only draws: every configuration given validates (checked again on
// a fresh copy), the same seed gives the same ones in one thread or two,
// and invalid draws were met and repaired or drawn again.
TEST(Sweep, ValidOnlyDrawsAreValidAndFollowTheSeed) {
    const std::unique_ptr<KOVA_SESSION> uart = open_session(example("uart.xml"));
    ASSERT_TRUE(uart);
    KOVA_SWEEP_PLAN plain, plan;
    ASSERT_FALSE(kova_sweep_plan(*uart, {}, 24, 5, plain));
    plan = plain;
    plan.valid_only = true;
    std::vector<KOVA_BATCH_OUTCOME> outcomes;
    const std::vector<std::string> one = swept(*uart, plan, 1, &outcomes);
    EXPECT_EQ(swept(*uart, plan, 2), one);
    const std::vector<std::string> plain_lines = swept(*uart, plain, 2);
    std::size_t invalid_draws = 0;
    for (std::size_t k = 0; k < outcomes.size(); ++k) {
        KOVA_SESSION fresh(*uart);
        EXPECT_TRUE(outcomes[k].valid && kova_validate_settings(fresh, outcomes[k].settings).valid) << one[k];
        // The first draw is the plain sweep's configuration: kept when valid, else repaired or drawn again.
        const bool invalid = plain_lines[k].find(": invalid") != std::string::npos;
        invalid_draws += invalid;
        EXPECT_EQ(invalid, outcomes[k].repaired || outcomes[k].draws > 1) << one[k] << " / " << plain_lines[k];
        if (!invalid) {
            EXPECT_EQ(setting_lines(outcomes[k].settings), setting_lines(kova_sweep_configuration(plain, k)));
        }
    }
    EXPECT_GT(invalid_draws, 0u) << "the plain draws must include invalid ones";
    // A block no configuration of which is valid: each item gives up after its draws.
    const std::unique_ptr<KOVA_SESSION> never = open_session(test_data("sweep-never.xml"));
    ASSERT_TRUE(never);
    ASSERT_FALSE(kova_sweep_plan(*never, {}, 2, 0, plan));
    plan.valid_only = true;
    for (const std::string& line : swept(*never, plan, 2))
        EXPECT_NE(line.find(": no valid configuration in 100 draws, each repaired where the repair could draws=100 "
                            "repaired=0"), std::string::npos) << line;
}

// Items that throw come out as internal errors; early items take longest, so later ones complete first. Writing an
// outcome may fail (out of memory): the run stops there, every thread joined, and the failure comes out.
TEST(Batch, OutcomesLeaveInItemOrder) {
    for (const unsigned jobs : {1u, 2u, 4u, 8u})
        for (const std::size_t count : {0u, 1u, 5u, 100u})
            for (const std::size_t failing : {count, count / 2}) {
                SCOPED_TRACE(std::to_string(jobs) + " jobs, " + std::to_string(count) + " items, failing at "
                    + std::to_string(failing));
                const auto work = [count](KOVA_SESSION& copy, std::size_t index) {
                    std::this_thread::sleep_for(std::chrono::microseconds(200 * ((count - index) % 7)));
                    if (index % 11 == 3) throw std::runtime_error("item " + std::to_string(index));
                    KOVA_BATCH_OUTCOME outcome = kova_validate_settings(copy, {{"DEPTH", index % 2 ? "1000" : "32", "",
                        0}});
                    outcome.messages.push_back(kova_make_message(KOVA_SEVERITY_NOTE, KOVA_DIAG_OTHER,
                        std::to_string(index)));
                    return outcome;
                };
                std::size_t next = 0;  // the item expected next
                const auto emit = [&](std::size_t index, KOVA_BATCH_OUTCOME& outcome) {
                    if (index == failing) throw std::bad_alloc();
                    EXPECT_EQ(index, next++);
                    EXPECT_EQ(outcome.error.empty() ? outcome.messages.back().text + (outcome.valid ? " valid"
                        : " invalid") : outcome.error,
                              index % 11 == 3 ? "internal error: item " + std::to_string(index)
                                              : std::to_string(index) + (index % 2 ? " invalid" : " valid"));
                };
                if (failing < count)
                    EXPECT_THROW(kova_run_batch(fifo(), count, jobs, work, emit), std::bad_alloc);
                else
                    kova_run_batch(fifo(), count, jobs, work, emit);
                EXPECT_EQ(next, std::min(count, failing));
            }
}

namespace {

// Everything a front end can read of a session's state: settings and corrections, and each model object, port and
// parameter copy with its values, usage states, widths and bounds, and the engine's run records.
std::string session_state(KOVA_SESSION& session) {
    KOVA_RULES_VALIDATOR& validator = session.validator();
    std::string text;
    for (const std::string& line : setting_lines(session.current_settings())) text += line + " ";
    for (const KOVA_OBJ_INFO* object : validator.get_kova_obj_snapshot()) {
        const KOVA_SETTING* setting = session.setting_of(object->get_name());
        const KOVA_CORRECTION* correction = session.correction_of(object->get_name());
        text += "\n" + object->get_name() + " v=" + object->get_value() + " c=" + object->get_current_value() +
                " u=" + std::to_string(object->usage_state) + " s=" + std::to_string(object->silent_correction) +
                " p=" + std::to_string(object->evaluation_position) + " w=" + object->get_port_width() +
                " set=" + (setting ? setting->value : "-") + " was=" + (correction ? correction->was : "-");
        if (const KOVA_PARAMETER_OBJ* parameter = validator.get_parameter_object(object->get_name()))
            text += " parameter " + parameter->get_current_value() + " " + parameter->m_alt_value + " " +
                    std::to_string(parameter->m_current_usage_state) + std::to_string(parameter->m_alt_usage_state);
        if (const KOVA_PORT_OBJ* port = validator.get_port_object(object->get_name()))
            text += " port " + std::to_string(port->get_current_port_width()) + " " +
                    port->get_current_port_value_as_string(16) + " " + port->get_min_port_value_as_string(16) + ".." +
                    port->get_max_port_value_as_string(16) + " " + std::to_string(port->m_current_usage_state) +
                    std::to_string(port->m_alt_usage_state) + " " + std::to_string(port->get_port_value_array() != nullptr);
    }
    return text + "\nrule " + std::to_string(validator.get_deciding_fn_rule()) + " silent " +
           std::to_string(validator.get_silent_corrections().size()) + " errors " +
           std::to_string(validator.get_diagnostics().size());
}

// Configuration k of a sweep's random draws, with a name no description has in every fifth, refused part-way.
KOVA_BATCH_OUTCOME validate_draw(KOVA_SESSION& session, const KOVA_SWEEP_PLAN& plan, std::uint64_t k) {
    std::vector<KOVA_SETTING> settings = kova_sweep_configuration(plan, k);
    if (k % 5 == 4) settings.insert(settings.begin() + settings.size() / 2, {"NO_SUCH_NAME", "1", "", 0});
    if (k % 3 == 1) {
        KOVA_MESSAGES problems;
        session.apply(settings, problems);
        session.derive();
    }
    return kova_validate_settings(session, settings);
}

std::string outcome_text(const KOVA_BATCH_OUTCOME& outcome) {
    std::string text = outcome.error + (outcome.valid ? " valid" : " invalid");
    for (const KOVA_MESSAGE& message : outcome.messages) text += "\n" + message.text;
    return text;
}

}  // namespace

// One session restored before each configuration answers as a fresh copy of the loaded session does, and holds
// the same state before and after each run: values set while a parameter is unused by default (uart), derived
// values, corrections, refused settings and cycles leave nothing behind.
TEST(Session, RestoreGivesAFreshCopysState) {
    const struct { std::string path; std::uint64_t draws; } cases[] = {
        {example("counter.xml"), 30}, {example("fifo.xml"), 30}, {example("ram.xml"), 30},
        {example("ram_ecc.xml"), 20}, {example("uart.xml"), 40}, {test_data("run/cycle.xml"), 10},
        {test_data("spram_ecc.xml"), 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const std::unique_ptr<KOVA_SESSION> loaded = open_session(c.path);
        ASSERT_TRUE(loaded);
        KOVA_SWEEP_PLAN plan;
        ASSERT_FALSE(kova_sweep_plan(*loaded, {}, c.draws, 11, plan));
        KOVA_SESSION reused(*loaded);
        for (std::uint64_t k = 0; k < plan.count; ++k) {
            SCOPED_TRACE(k);
            reused.restore(*loaded);
            KOVA_SESSION fresh(*loaded);
            ASSERT_EQ(session_state(reused), session_state(fresh));
            EXPECT_EQ(outcome_text(validate_draw(reused, plan, k)), outcome_text(validate_draw(fresh, plan, k)));
            EXPECT_EQ(session_state(reused), session_state(fresh));
        }
        // A session of another description takes the loaded one's state by copying.
        const std::unique_ptr<KOVA_SESSION> other = open_session(example(c.path == example("fifo.xml") ? "uart.xml"
                                                                                                         : "fifo.xml"));
        ASSERT_TRUE(other);
        other->restore(*loaded);
        KOVA_SESSION fresh(*loaded);
        EXPECT_EQ(session_state(*other), session_state(fresh));
        EXPECT_EQ(other->description(), loaded->description());
    }
}

// A value text's list or range, as sweeps, repairs, lint and the page read it.
TEST(ValueText, ListsAndRanges) {
    const struct { const char* text; std::size_t items; bool bounds, range; } cases[] = {
        {"16|32|64", 3, false, false}, {"a||b", 2, false, false}, {"1-256", 0, true, true}, {"-8--1", 0, true, true},
        {"4-4", 0, true, true},        {"12-4", 0, true, false},  {"1-x", 0, false, false}, {"7", 0, false, false},
    };
    for (const auto& c : cases) {
        long long low = 0, high = 0;
        EXPECT_EQ(kova_value_list(c.text).size(), c.items) << c.text;
        EXPECT_EQ(kova_value_bounds(c.text).has_value(), c.bounds) << c.text;
        EXPECT_EQ(kova_value_range(c.text, low, high), c.range) << c.text;
        if (c.range) {
            EXPECT_EQ(std::make_pair(low, high), *kova_value_bounds(c.text)) << c.text;
        }
    }
}
