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
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
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
    try {
        operation();
    } catch (const std::bad_alloc&) {
        attempt.threw = true;
    }
    allocations.countdown = 0;
    attempt.failed = allocations.failed;
    return attempt;
}

// Calls attempt(n) for n = 1, 2, ... until an attempt runs through
// without its failure; each attempt must release every block it made.
// Answers the number of failing attempts.
long every_failure(const char* what, const std::function<ATTEMPT(long)>& attempt) {
    long n = 1;
    for (;; ++n) {
        const long live_before = allocations.live;
        const ATTEMPT result = attempt(n);
        EXPECT_EQ(allocations.live, live_before) << what << ": blocks leaked with allocation " << n << " failing";
        if (!result.failed) {
            EXPECT_FALSE(result.threw) << what;
            break;
        }
        if (::testing::Test::HasFailure()) break;  // one report per operation is enough
    }
    std::printf("%s: %ld failing allocations\n", what, n - 1);
    return n - 1;
}

std::string fifo() { return std::string(KOVA_EXAMPLES) + "/fifo.xml"; }

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

}  // namespace

TEST_F(AllocationFailures, LoadingTheFifoExample) {
    const std::string reference = summary(*loaded);
    const long failures = every_failure("loading", [&](long n) {
        std::unique_ptr<VALIDATOR_PROBE> validator;
        const ATTEMPT attempt = with_failure_at(n, [&] { validator = std::make_unique<VALIDATOR_PROBE>(fifo()); });
        if (attempt.failed && !attempt.threw) {
            // Answered as a load failure: a message, and no model.
            EXPECT_FALSE(validator->get_error_messages().empty()) << n;
            EXPECT_EQ(validator->get_kova_obj_count(), 0) << n;
        } else if (!attempt.failed) {
            EXPECT_EQ(summary(*validator), reference);
        }
        return attempt;
    });
    EXPECT_GT(failures, 100);
}

TEST_F(AllocationFailures, InitializingTheValidator) {
    const long failures = every_failure("initialize_validator", [&](long n) {
        VALIDATOR_PROBE validator(*loaded);
        const ATTEMPT attempt = with_failure_at(n, [&] { validator.initialize_validator(); });
        EXPECT_TRUE(attempt.threw || !attempt.failed) << n;
        if (!attempt.failed) {
            validator.set_all_ports_and_parameters_to_default_state();
            EXPECT_EQ(summary(validator), summary(*initialized));
        }
        return attempt;
    });
    EXPECT_GT(failures, 10);
}

TEST_F(AllocationFailures, RunningTheValidator) {
    const long failures = every_failure("run_validator", [&](long n) {
        VALIDATOR_PROBE validator(*initialized);
        apply_settings(validator, "512", "distributed");
        const ATTEMPT attempt = with_failure_at(n, [&] {
            validator.run_validator();
            validator.evaluate_port_widths();
            validator.process_external_messages();
        });
        EXPECT_TRUE(attempt.threw || !attempt.failed) << n;
        if (!attempt.failed) {
            EXPECT_EQ(summary(validator), summary(*ran));
        }
        return attempt;
    });
    EXPECT_GT(failures, 100);
}

TEST_F(AllocationFailures, CopyingTheValidator) {
    const long failures = every_failure("copying", [&](long n) {
        std::unique_ptr<VALIDATOR_PROBE> copy;
        const ATTEMPT attempt = with_failure_at(n, [&] { copy = std::make_unique<VALIDATOR_PROBE>(*ran); });
        EXPECT_TRUE(attempt.threw || !attempt.failed) << n;
        if (!attempt.failed) {
            EXPECT_EQ(summary(*copy), summary(*ran));
        }
        return attempt;
    });
    EXPECT_GT(failures, 100);
}

TEST_F(AllocationFailures, AssigningTheValidatorLeavesTheTargetOnFailure) {
    VALIDATOR_PROBE other(*initialized);
    apply_settings(other, "16", "block");
    other.run_validator();
    const std::string before = summary(other);
    ASSERT_NE(before, summary(*ran));
    const long failures = every_failure("assignment", [&](long n) {
        VALIDATOR_PROBE target(other);
        const ATTEMPT attempt = with_failure_at(n, [&] { target = *ran; });
        EXPECT_TRUE(attempt.threw || !attempt.failed) << n;
        EXPECT_EQ(summary(target), attempt.failed ? before : summary(*ran)) << n;
        return attempt;
    });
    EXPECT_GT(failures, 100);
}

// The host containers give the strong guarantee: a failed change leaves
// the entries, and the index that finds them, as they were.
TEST(ContainerAllocationFailures, FailedChangesLeaveContainersAsTheyWere) {
    // Eight keys: the ninth makes the name index grow its table.
    auto keys = [](int count) {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) names.push_back("a_long_key_beyond_small_strings_" + std::to_string(i));
        return names;
    };
    KOVA_OBJ objects[16];
    auto listing = [](const KOVA_OBJ_MAP& map) {
        std::string text;
        for (const auto& entry : map.entries())
            text += entry.first + (map.find_entry(entry.first) == entry.second ? " found\n" : " lost\n");
        return text;
    };
    auto name_listing = [](const KOVA_NAME_MAP& map) {
        std::string text;
        for (const auto& entry : map) {
            const std::string* found = map.find(entry.first);
            text += entry.first + "=" + (found ? *found : "lost") + "\n";
        }
        return text;
    };
    const std::string extra = "a_long_key_beyond_small_strings_new";

    struct CASE {
        const char* what;
        std::function<ATTEMPT(long)> attempt;
    };
    const CASE cases[] = {
        {"name map insert",
         [&](long n) {
             KOVA_NAME_MAP map;
             for (const std::string& key : keys(8)) map.insert(key, key);
             const std::string before = name_listing(map);
             const ATTEMPT attempt = with_failure_at(n, [&] { map.insert(extra, "v"); });
             if (attempt.failed) {
                 EXPECT_EQ(name_listing(map), before) << n;
             }
             // The map still finds what it takes afterwards (an index left
             // one position longer than the entries would not).
             map.insert(extra + "_after", "v");
             EXPECT_EQ(map.find(extra + "_after") ? *map.find(extra + "_after") : "lost", "v") << n;
             return attempt;
         }},
        {"name map assignment",
         [&](long n) {
             KOVA_NAME_MAP map, other;
             for (const std::string& key : keys(3)) map.insert(key, key);
             for (const std::string& key : keys(12)) other.insert(key, "other");
             const std::string before = name_listing(map);
             const ATTEMPT attempt = with_failure_at(n, [&] { map = other; });
             EXPECT_EQ(name_listing(map), attempt.failed ? before : name_listing(other)) << n;
             return attempt;
         }},
        {"object map add",
         [&](long n) {
             KOVA_OBJ_MAP map(1);
             const std::vector<std::string> names = keys(8);
             for (std::size_t i = 0; i < names.size(); ++i) map.add_entry(names[i], &objects[i]);
             const std::string before = listing(map);
             const ATTEMPT attempt = with_failure_at(n, [&] { map.add_entry(extra, &objects[15]); });
             if (attempt.failed) {
                 EXPECT_EQ(listing(map), before) << n;
             }
             map.add_entry(extra + "_after", &objects[15]);
             EXPECT_EQ(map.find_entry(extra + "_after"), &objects[15]) << n;
             return attempt;
         }},
        {"owned map add",
         [&](long n) {
             KOVA_OWNED_MAP<KOVA_OBJ> map(1);
             for (const std::string& key : keys(8)) map.add_entry(key, std::make_unique<KOVA_OBJ>());
             const std::string before = listing(map.view());
             const ATTEMPT attempt = with_failure_at(n, [&] { map.add_entry(extra, std::make_unique<KOVA_OBJ>()); });
             if (attempt.failed) {
                 EXPECT_EQ(listing(map.view()), before) << n;
             }
             return attempt;
         }},
        {"owned map adopt",
         [&](long n) {
             KOVA_OWNED_MAP<KOVA_OBJ> map(1);
             const std::vector<std::string> names = keys(8);
             for (const std::string& key : names) map.add_entry(key, std::make_unique<KOVA_OBJ>());
             const std::string before = listing(map.view());
             // Handed objects stay the caller's until adopt has taken them.
             auto replacing = std::make_unique<KOVA_OBJ>();
             auto added = std::make_unique<KOVA_OBJ>();
             const std::vector<std::pair<std::string, KOVA_OBJ*>> handed = {{names[0], replacing.get()},
                                                                            {extra, added.get()}};
             const ATTEMPT attempt = with_failure_at(n, [&] {
                 map.adopt(handed);
                 static_cast<void>(replacing.release());
                 static_cast<void>(added.release());
             });
             if (attempt.failed) {
                 EXPECT_EQ(listing(map.view()), before) << n;
                 EXPECT_FALSE(map.holds_pointer(replacing.get()) || map.holds_pointer(added.get())) << n;
             } else {
                 EXPECT_EQ(map.find_entry(names[0]), handed[0].second);
                 EXPECT_EQ(map.find_entry(extra), handed[1].second);
             }
             return attempt;
         }},
        {"wizard map assignment",
         [&](long n) {
             auto map_listing = [](const KOVA_WIZARD_MAP& map) {
                 std::string text = map.get_map_name() + (map.condition_rule() ? " when " : " always ") +
                                    (map.condition_rule() ? map.condition_rule()->get_condition() : "") + "\n";
                 for (const KOVA_OBJ_INFO* object : map.get_kova_obj_snapshot())
                     text += object->get_name() + (map.get_kova_obj(object->get_name()) == object ? "\n" : " lost\n");
                 return text;
             };
             KOVA_WIZARD_MAP map("kept"), other("assigned");
             for (const std::string& key : keys(3)) map.add_kova_object(key, KOVA_OBJ_INTEGER_PARAMETER);
             for (const std::string& key : keys(9)) other.add_kova_object(key + "_other", KOVA_OBJ_STRING_PARAMETER);
             other.set_condition_rule(std::make_unique<KOVA_RULE_ELEMENT>("", "W > 1", "", KOVA_RULE_CONDITION));
             const std::string before = map_listing(map);
             const ATTEMPT attempt = with_failure_at(n, [&] { map = other; });
             EXPECT_EQ(map_listing(map), attempt.failed ? before : map_listing(other)) << n;
             return attempt;
         }},
    };
    for (const CASE& c : cases) EXPECT_GT(every_failure(c.what, c.attempt), 0) << c.what;
}
