// Allocation failures: this program replaces the global operator new and
// operator new[] by versions that count the blocks they hand out and, once
// armed with N, throw std::bad_alloc at the Nth allocation. Each operation
// below is run for N = 1, 2, ... until it runs through without reaching N;
// every run must throw std::bad_alloc (or answer with a posted failure),
// leave its objects destructible and leak no block, and an assignment
// that fails must leave its target as it was.
//
// Built only without sanitizers (tests/CMakeLists.txt): they bring their
// own operator new.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "host/kova_owned_map.h"
#include "host/kova_stl.h"
#include "support/test_support.h"

namespace {

// The allocation counter. Single-threaded: only this program's one thread
// allocates while it is armed.
struct ALLOCATIONS {
    long live = 0;        // blocks handed out and not yet released
    long countdown = 0;   // > 0: allocations left until the failing one
    bool failed = false;  // the armed failure happened
} allocations;

void* allocate(std::size_t size) {
    if (allocations.countdown > 0 && --allocations.countdown == 0) {
        allocations.failed = true;
        throw std::bad_alloc();
    }
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block) throw std::bad_alloc();
    ++allocations.live;
    return block;
}

void release(void* block) noexcept {
    if (!block) return;
    --allocations.live;
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try { return allocate(size); } catch (const std::bad_alloc&) { return nullptr; }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }

namespace {

// How one attempt went.
struct ATTEMPT {
    bool failed = false;  // the Nth allocation was reached (and failed)
    bool threw = false;   // std::bad_alloc came out of the operation
};

// Runs operation with the nth allocation failing.
ATTEMPT with_failure_at(long n, const std::function<void()>& operation) {
    ATTEMPT attempt;
    allocations.failed = false;
    allocations.countdown = n;
    try { operation(); } catch (const std::bad_alloc&) { attempt.threw = true; }
    allocations.countdown = 0;
    attempt.failed = allocations.failed;
    return attempt;
}

std::string fifo() { return example("fifo.xml"); }

// Settings of the FIFO that make the run post messages.
void apply_settings(KOVA_RULES_VALIDATOR& validator, const char* depth, const char* memory) {
    validator.set_parameter_value("WIDTH", "72");
    validator.set_parameter_value("DEPTH", depth);
    validator.set_parameter_value("MEMORY_TYPE", memory);
    validator.set_parameter_value("HAS_DATA_COUNT", "1");
}

// What an assignment must keep or carry over: messages, counts of every
// kind of owned object, and some values.
std::string summary(VALIDATOR_PROBE& validator) {
    std::string text;
    for (const std::string& message : validator.get_error_messages()) text += message + "\n";
    text += std::to_string(validator.get_kova_obj_count()) + " objects, " +
            std::to_string(validator.get_parameter_list().size()) + " parameters, " +
            std::to_string(validator.get_port_list().size()) + " ports, " +
            std::to_string(validator.m_fn_macro_list.size()) + " instances, " +
            std::to_string(validator.m_external_msg_list.size()) + " messages\n";
    text += "DEPTH " + std::to_string(validator.get_integer_parameter_value("DEPTH")) + ", MEMORY_TYPE " +
            validator.get_string_parameter_value("MEMORY_TYPE") + ", din " +
            std::to_string(validator.get_current_port_width("din")) + " bits\n";
    return text;
}

// A failed attempt must have thrown, unless the failure hit a step with a
// fallback of its own (a parse error's message, when compiling the model's
// texts, answers "parse error; also virtual memory exceeded"); one that
// ran through, failure or not, must leave validator with the summary
// expected.
ATTEMPT thrown_or_complete(long n, const ATTEMPT& attempt, VALIDATOR_PROBE* validator, const std::string& expected) {
    if (!attempt.threw && validator) { EXPECT_EQ(summary(*validator), expected) << n; }
    return attempt;
}

// One operation, tried with allocation n = 1, 2, ... failing until an
// attempt runs through without its failure; it must make more than
// at_least allocations, and each attempt must release every block it made.
struct CASE {
    const char* what;
    long at_least;
    std::function<ATTEMPT(long)> attempt;
};

void run_cases(const std::vector<CASE>& cases) {
    for (const CASE& c : cases) {
        const bool failing_before = ::testing::Test::HasFailure();
        long n = 1;
        for (;; ++n) {
            const long live_before = allocations.live;
            const ATTEMPT result = c.attempt(n);
            EXPECT_EQ(allocations.live, live_before) << c.what << ": blocks leaked with allocation " << n << " failing";
            if (!result.failed) {
                EXPECT_FALSE(result.threw) << c.what;
                break;
            }
            if (!failing_before && ::testing::Test::HasFailure()) break;  // one report per operation is enough
        }
        std::printf("%s: %ld failing allocations\n", c.what, n - 1);
        EXPECT_GT(n - 1, c.at_least) << c.what;
    }
}

class AllocationFailures : public ::testing::Test {
protected:
    void SetUp() override {
        // One run of everything first, so that what the library makes once
        // per process is made before any block is counted.
        loaded = std::make_unique<VALIDATOR_PROBE>(fifo());
        ASSERT_TRUE(loaded->get_error_messages().empty());
        initialized = std::make_unique<VALIDATOR_PROBE>(*loaded);
        initialized->initialize_validator();
        initialized->set_all_ports_and_parameters_to_default_state();
        ran = std::make_unique<VALIDATOR_PROBE>(*initialized);
        apply_settings(*ran, "512", "distributed");
        ran->run_validator();
        ran->evaluate_port_widths();
        ran->process_external_messages();
        ASSERT_FALSE(ran->get_error_messages().empty());
    }

    std::unique_ptr<VALIDATOR_PROBE> loaded, initialized, ran;
};

// The host containers: eight keys, so that a ninth makes the name index
// grow its table.
std::vector<std::string> keys(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back("a_long_key_beyond_small_strings_" + std::to_string(i));
    return names;
}

// Each entry of a container, and whether its index still finds it.
std::string listing(const KOVA_OBJ_MAP& map) {
    std::string text;
    for (const auto& entry : map.entries())
        text += entry.first + (map.find_entry(entry.first) == entry.second ? " found\n" : " lost\n");
    return text;
}
std::string listing(const KOVA_NAME_MAP& map) {
    std::string text;
    for (const auto& entry : map)
        text += entry.first + "=" + (map.find(entry.first) ? *map.find(entry.first) : "lost") + "\n";
    return text;
}
std::string listing(const KOVA_WIZARD_MAP& map) {
    std::string text = map.get_map_name() + (map.condition_rule() ? " when " : " always ") +
                       (map.condition_rule() ? map.condition_rule()->get_condition() : "") + "\n";
    for (const KOVA_OBJ_INFO* object : map.get_kova_obj_snapshot())
        text += object->get_name() + (map.get_kova_obj(object->get_name()) == object ? "\n" : " lost\n");
    return text;
}

// Runs change with the nth allocation failing: a failed change leaves the
// listing of map as it was and holds no more blocks than before, even
// while the map lives; a complete one gives after (when given).
template <typename MAP>
ATTEMPT strong(long n, const MAP& map, const std::function<void()>& change, const std::string& after = "") {
    const std::string before = listing(map);
    const long live_before = allocations.live;
    const ATTEMPT attempt = with_failure_at(n, change);
    if (attempt.failed) { EXPECT_LE(allocations.live, live_before) << n << ": blocks kept by a failed change"; }
    if (attempt.failed || !after.empty()) { EXPECT_EQ(listing(map), attempt.failed ? before : after) << n; }
    return attempt;
}

}  // namespace

TEST_F(AllocationFailures, LoadingInitializingRunningAndAssigningTheFifoExample) {
    VALIDATOR_PROBE other(*initialized);
    apply_settings(other, "16", "block");
    other.run_validator();
    // Taken once here: a summary's reads may make a validator's lazily made
    // evaluation state, which must not be counted against an attempt.
    const std::string before = summary(other), after_load = summary(*loaded), after_run = summary(*ran),
                      after_initialize = summary(*initialized);
    ASSERT_NE(before, after_run);
    run_cases({
        {"loading", 100, [&](long n) {
             std::unique_ptr<VALIDATOR_PROBE> v;
             const ATTEMPT attempt = with_failure_at(n, [&] { v = std::make_unique<VALIDATOR_PROBE>(fifo()); });
             if (!attempt.failed || attempt.threw) return thrown_or_complete(n, attempt, v.get(), after_load);
             // Answered as a load failure: a message, and no model.
             EXPECT_FALSE(v->get_error_messages().empty()) << n;
             EXPECT_EQ(v->get_kova_obj_count(), 0) << n;
             return attempt;
         }},
        {"initialize_validator", 10, [&](long n) {
             VALIDATOR_PROBE v(*loaded);
             const ATTEMPT attempt = with_failure_at(n, [&] { v.initialize_validator(); });
             if (!attempt.threw) v.set_all_ports_and_parameters_to_default_state();
             return thrown_or_complete(n, attempt, &v, after_initialize);
         }},
        {"run_validator", 100, [&](long n) {
             VALIDATOR_PROBE v(*initialized);
             apply_settings(v, "512", "distributed");
             const ATTEMPT attempt = with_failure_at(n, [&] {
                 v.run_validator();
                 v.evaluate_port_widths();
                 v.process_external_messages();
             });
             return thrown_or_complete(n, attempt, &v, after_run);
         }},
        {"assignment", 100, [&](long n) {  // a copy and a swap; a failed one leaves the target as it was
             VALIDATOR_PROBE target(other);
             const ATTEMPT attempt = with_failure_at(n, [&] { target = *ran; });
             EXPECT_EQ(summary(target), attempt.failed ? before : after_run) << n;
             return thrown_or_complete(n, attempt, &target, after_run);
         }},
    });
}

// The host containers give the strong guarantee: a failed change leaves
// the entries, and the index that finds them, as they were.
TEST(ContainerAllocationFailures, FailedChangesLeaveContainersAsTheyWere) {
    const std::string extra = "a_long_key_beyond_small_strings_new";
    run_cases({
        {"name map insert", 0, [&](long n) {
             KOVA_NAME_MAP map;
             for (const std::string& key : keys(8)) map.insert(key, key);
             const ATTEMPT attempt = strong(n, map, [&] { map.insert(extra, "v"); });
             // The map still finds what it takes afterwards (an index left
             // one position longer than the entries would not).
             map.insert(extra + "_after", "v");
             EXPECT_EQ(map.find(extra + "_after") ? *map.find(extra + "_after") : "lost", "v") << n;
             return attempt;
         }},
        {"name map assignment", 0, [&](long n) {
             KOVA_NAME_MAP map, other;
             for (const std::string& key : keys(3)) map.insert(key, key);
             for (const std::string& key : keys(12)) other.insert(key, "other");
             return strong(n, map, [&] { map = other; }, listing(other));
         }},
        {"owned map add", 0, [&](long n) {  // the object map's add, and the ownership around it
             KOVA_OWNED_MAP<KOVA_OBJ> map(1);
             for (const std::string& key : keys(8)) map.add_entry(key, std::make_unique<KOVA_OBJ>());
             const ATTEMPT attempt = strong(n, map.view(), [&] { map.add_entry(extra, std::make_unique<KOVA_OBJ>()); });
             KOVA_OBJ* after = map.add_entry(extra + "_after", std::make_unique<KOVA_OBJ>());
             EXPECT_EQ(map.find_entry(extra + "_after"), after) << n;
             return attempt;
         }},
        {"owned map adopt", 0, [&](long n) {
             KOVA_OWNED_MAP<KOVA_OBJ> map(1);
             const std::vector<std::string> names = keys(8);
             for (const std::string& key : names) map.add_entry(key, std::make_unique<KOVA_OBJ>());
             // Handed objects stay the caller's until adopt has taken them.
             auto replacing = std::make_unique<KOVA_OBJ>(), added = std::make_unique<KOVA_OBJ>();
             const std::vector<std::pair<std::string, KOVA_OBJ*>> handed = {{names[0], replacing.get()},
                                                                            {extra, added.get()}};
             const ATTEMPT attempt = strong(n, map.view(), [&] {
                 map.adopt(handed);
                 static_cast<void>(replacing.release());
                 static_cast<void>(added.release());
             });
             EXPECT_EQ(map.holds_pointer(handed[0].second) || map.holds_pointer(handed[1].second), !attempt.failed)
                 << n;
             if (!attempt.failed) {
                 EXPECT_EQ(map.find_entry(names[0]), handed[0].second);
                 EXPECT_EQ(map.find_entry(extra), handed[1].second);
             }
             return attempt;
         }},
        {"wizard map assignment", 0, [&](long n) {
             KOVA_WIZARD_MAP map("kept"), other("assigned");
             for (const std::string& key : keys(3)) map.add_kova_object(key, KOVA_OBJ_INTEGER_PARAMETER);
             for (const std::string& key : keys(9)) other.add_kova_object(key + "_other", KOVA_OBJ_STRING_PARAMETER);
             other.set_condition_rule(std::make_unique<KOVA_RULE_ELEMENT>("", "W > 1", "", KOVA_RULE_CONDITION));
             return strong(n, map, [&] { map = other; }, listing(other));
         }},
    });
}
