// The thread rule of kova_rules_validator.h: copies of one loaded
// validator share only read-only rule lists, so each copy runs in a thread
// of its own, without a lock, and gives what it gives in a single thread.
// Run under ThreadSanitizer by the Makefile's test-tsan target.
#include <gtest/gtest.h>

#include <thread>

#include "host/qel_util.h"
#include "support/test_support.h"

namespace {

constexpr int THREADS = 8;

// Everything one copy gives for settings that differ from seed to seed
// (some legal, some not), as text: the run's answer and messages, port
// widths and legal ranges, the wizard map and the external messages.
std::string transcript(const KOVA_RULES_VALIDATOR& loaded, int seed) {
    static const char* const depths[] = {"16", "32", "64", "128", "256", "512", "48", "1024"};
    KOVA_RULES_VALIDATOR validator(loaded);
    validator.set_parameter_value("WIDTH", std::to_string(8 * (seed + 1) + seed % 3));
    validator.set_parameter_value("DEPTH", depths[seed % 8]);
    validator.set_parameter_value("MEMORY_TYPE", seed % 2 ? "distributed" : "block");
    validator.set_parameter_value("HAS_DATA_COUNT", seed % 3 ? "1" : "0");
    validator.set_parameter_value("ALMOST_FULL_LEVEL", std::to_string(seed * 5));
    std::string text = validator.run_validator() ? "valid\n" : "invalid\n";
    for (const std::string& message : validator.get_error_messages()) text += message + "\n";
    validator.evaluate_port_widths();
    for (const char* name : {"din", "dout", "data_count", "prog_full_thresh"}) {
        const KOVA_PORT_OBJ* port = validator.determine_port_value_validity(name);
        text += std::string(name) + " " + std::to_string(validator.get_current_port_width(name)) + " [" +
                port->get_min_port_value_as_string(QEL_RADIX_UNSIGNED_DECIMAL) + ", " +
                port->get_max_port_value_as_string(QEL_RADIX_UNSIGNED_DECIMAL) + "]\n";
    }
    validator.set_current_port_value("din", NUVO_UINTEGER(0xFFFFFFFFu, 32));
    text += "din = " + validator.get_current_port_value_as_string("din", QEL_RADIX_HEXADECIMAL) + "\n";
    KOVA_WIZARD_MAP* map = validator.get_wizard_map("generics");
    validator.evaluate_wizard_map(*map);
    for (const KOVA_OBJ_INFO* object : map->get_kova_obj_snapshot())
        text += "map " + object->get_name() + " = " + object->get_current_value() + "\n";
    validator.process_external_messages();
    validator.reset_external_message_list();
    while (const KOVA_RULE_ELEMENT* message = validator.get_next_external_message())
        text += "message " + message->get_value() + "\n";
    return text;
}

}  // namespace

TEST(Threads, CopiesOfOneLoadedValidatorRunInParallel) {
    KOVA_RULES_VALIDATOR loaded("fifo", example("fifo.xml"), "");
    ASSERT_TRUE(loaded.get_error_messages().empty());
    loaded.initialize_validator();
    loaded.set_all_ports_and_parameters_to_default_state();
    KOVA_WIZARD_MAP map("generics");  // its object rules are shared by the copies
    map.add_all_parameters = map.add_used_ports = true;
    KOVA_OBJ_INFO* object = map.add_kova_object("C_ADDR_WIDTH", KOVA_OBJ_INTEGER_PARAMETER);
    object->set_value("ADDR_WIDTH");
    const KOVA_RULE_ELEMENT deep("9", "DEPTH > 256", "", KOVA_RULE_CONDITION);
    object->add_rule(&deep);
    loaded.add_wizard_map("generics", &map);
    std::vector<std::string> expected;
    for (int seed = 0; seed < THREADS; ++seed) expected.push_back(transcript(loaded, seed));
    EXPECT_NE(expected[0], expected[1]);  // the seeds do make the threads differ

    std::vector<std::string> got(THREADS);
    std::vector<std::thread> threads;
    for (int seed = 0; seed < THREADS; ++seed)
        threads.emplace_back([&loaded, &got, seed] {
            for (int round = 0; round < 3; ++round) got[seed] += transcript(loaded, seed);
        });
    for (std::thread& thread : threads) thread.join();
    for (int seed = 0; seed < THREADS; ++seed)
        EXPECT_EQ(got[seed], expected[seed] + expected[seed] + expected[seed]) << "thread " << seed;
}
