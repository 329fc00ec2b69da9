// The compiled forms of rule texts against the scanner-and-parser path
// (tests/reference): every rule text of the examples, the test
// descriptions and the fuzz corpora, and texts chosen for what compiling
// could get wrong, evaluated both ways with nothing allowed to differ.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "expr/program_table.h"
#include "fuzz/fuzz_model.h"
#include "reference/differences.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> files_in(const std::string& folder, const std::string& extension) {
    std::vector<std::string> paths;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (extension.empty() || entry.path().extension() == extension) paths.push_back(entry.path().string());
    return paths;
}

// Each description loaded, initialised and set to its defaults; every text
// of it checked, then one validation run.
TEST(CompiledForms, DescriptionTextsEvaluateAsTheParserDoes) {
    std::vector<std::string> descriptions = files_in(KOVA_EXAMPLES, ".xml");
    for (const std::string& folder :
         {std::string(KOVA_TEST_DATA), std::string(KOVA_SOURCE_DIR) + "/tests/fuzz/corpus/description_file"})
        for (const std::string& path : files_in(folder, ".xml")) descriptions.push_back(path);
    std::size_t checked = 0;
    for (const std::string& path : descriptions) {
        SCOPED_TRACE(path);
        VALIDATOR_PROBE model(path, fs::path(path).parent_path().string());
        model.initialize_validator();
        model.set_all_ports_and_parameters_to_default_state();
        KOVA_DIFFERENTIAL differential(model);
        for (const std::string& text : kova_model_rule_texts(model)) {
            EXPECT_EQ(differential.check_text(text), "");
            ++checked;
        }
        EXPECT_EQ(differential.check_run(), "");
    }
    EXPECT_GT(checked, 400u);
}

// Fuzz seeds and texts where a compiled form could part from a parse:
// operators of every kind, integers kept as numbers against texts,
// division by zero, unknown names, macro calls, queries, parse errors
// after side effects, skipped characters and deep nesting.
TEST(CompiledForms, ChosenTextsEvaluateAsTheParserDoes) {
    std::vector<std::string> texts = {
        "WIDTH + 3 * 2 - 1", "7 div 0 + 1", "7 % 0", "7 quot 0", "3 double_div 0", "WIDTH double_div 3",
        "2 exp 10", "5 ceil_div 2", "-1", "0012", "0012 == 12", "12 == '12'", "MODE == 'FAST'",
        "NOTE str_gt MODE", "true && WIDTH", "!false", "!0", "WIDTH ? 1 : 2", "WIDTH > 4 ? MODE : ADDR",
        "max(1, 'x')", "min(WIDTH, 3)", "max(data, DEPTH)", "ceil_log(DEPTH)", "a.b", "007.5", "1.x",
        "str(WIDTH)", "port(data)", "port(clk) + 1", "used(WIDTH)", "is_used(en)", "is_constant(en)",
        "m_function_name", "nothing_here == NOTHING_HERE", "HALF + BYTES(WIDTH)", "BYTES(DEPTH,x)",
        "UNKNOWN(WIDTH)", "HALF", "'b' str_gt 'a'", "10 str_lt 9", "WIDTH gte 2 and WIDTH lte 9 or DEPTH != 4",
        "WIDTH +", "1 div 0 )", "(1 div 0", "HALF div 0 WIDTH", "3 # 4", "~WIDTH", "WIDTH + \x80",
        "((((((((1))))))))", "WIDTH|", "|WIDTH||used|HALF div 0|", "BYTES(WIDTH)|BYTES(WIDTH)|UNUSED",
        // A name and an integer operand in one step: every kind of name and
        // operator, division by zero among them.
        "WIDTH div 0", "HALF % 0 + WIDTH", "DEPTH double_div 0", "MODE == 3", "MODE str_gt 3",
        "nothing_here gt 2", "data + 1", "WIDTH - 1 - 1", "2 - WIDTH - 1", "HALF && 1",
    };
    texts.push_back(std::string(300, '(') + "1" + std::string(300, ')'));
    std::string sum = "1";
    for (int i = 0; i < 2000; ++i) sum += " + W";
    texts.push_back(sum);
    for (const std::string& seed : files_in(std::string(KOVA_SOURCE_DIR) + "/tests/fuzz/corpus/evaluate_expression", ""))
        texts.push_back(file_text(seed));
    VALIDATOR_PROBE model;
    build_fuzz_model(model);
    KOVA_DIFFERENTIAL differential(model);
    for (const std::string& text : texts) EXPECT_EQ(differential.check_text(text), "") << text;
}

// A macro instance's value is read as an integer only when it is written
// exactly as that integer would be: leading zeros, a signed zero and a
// value beyond 32 bits stay texts.
TEST(CompiledForms, MacroValuesReadAsIntegersOnlyWhenWrittenSo) {
    // Each body reads its argument, so that each call has an instance.
    const char* const values[] = {"'007'", "'-0'", "'-012'", "'2147483648'", "'-2147483648'", "0 - 5", "'12a'", "''"};
    VALIDATOR_PROBE model;
    build_fuzz_model(model);
    std::vector<std::string> calls;
    for (const char* value : values) {
        const std::string name = "VALUE" + std::to_string(calls.size());
        model.add_macro(name, std::string("x gt 0 ? ") + value + " : x", "x");
        calls.push_back(name + "(WIDTH)");
        model.add_object("USE_" + name, KOVA_OBJ_HIDDEN_PARAMETER, calls.back());
    }
    model.initialize_validator();
    model.set_all_ports_and_parameters_to_default_state();
    model.run_validator();
    KOVA_DIFFERENTIAL differential(model);
    for (const std::string& call : calls)
        for (const std::string& text : {call, call + " == 7", call + " == '007'", call + " + 1", call + " == 0",
                                        call + " str_lt 1", call + " gt -1", call + "|" + call})
            EXPECT_EQ(differential.check_text(text), "") << text;
    EXPECT_EQ(model.evaluate_expression(calls[0], PARSER_MODE_EVALUATE), "007");
}

// The texts a program's steps read as names, macro arguments and
// instance names, in step order.
std::string name_texts(const KOVA_PROGRAM_VIEW& program) {
    std::string texts;
    for (uint32_t index = 0; index < program.count; ++index) {
        const KOVA_STEP& step = program.steps[index];
        if (step.kind == KOVA_SYN_NAME) texts.append(program.name_text(step)) += " ";
        if (step.kind == KOVA_SYN_MACRO_CALL)
            texts.append(program.call_text(step)).append(" ").append(program.instance_text(step)) += " ";
    }
    return texts;
}

// Texts that differ only in their names share one program. Each model text
// (an object's value) must be found in the table and run with its own
// names; each absent text, one byte off a model text, must not be found,
// and evaluates from the validator's cache.
TEST(CompiledForms, TextsSharingShapesEvaluateAsTheParserDoes) {
    const std::vector<std::string> model_texts = {
        // One shape, different names: objects, words, unknown names.
        "WIDTH * 4", "DEPTH * 4", "ADDR * 4", "nothing * 4", "fast * 4", "WIDTH + WIDTH", "WIDTH + DEPTH",
        "MODE == fast", "MODE == slow", "NOTE == fast", "fast == MODE", "8 == WIDTH", "WIDTH == 8",
        // Names equal to the texts of literals beside them.
        "WIDTH == 'WIDTH'", "DEPTH == 'WIDTH'", "WIDTH == 'DEPTH'", "'WIDTH' == WIDTH",
        "WIDTH gt 0 && DEPTH lt 100000", "DEPTH gt 0 && WIDTH lt 100000", "WIDTH gt 0 && DEPTH lt 100001",
        // Names inside queries, calls and dotted texts, words of the
        // language in a name's place, texts that are parsed every time.
        "used(WIDTH) && WIDTH", "used(DEPTH) && DEPTH", "port(data) + WIDTH", "port(en) + DEPTH", "BYTES(WIDTH)",
        "BYTES(DEPTH)", "BYTES(WIDTH,DEPTH)", "BYTES(DEPTH,WIDTH)", "BYTES( WIDTH)", "BYTES(WIDTH, DEPTH)",
        "bytes(WIDTH)", "HALF(WIDTH) + WIDTH", "HALF + WIDTH", "HALF + DEPTH", "WIDTH.DEPTH", "DEPTH.WIDTH", "div * 4", "gt * 4",
        "WIDTH + \x80", "DEPTH + \x80", "WIDTH ? DEPTH : MODE", "DEPTH ? WIDTH : MODE"};
    const std::vector<std::string> absent_texts = {
        "WIDTH * 5", "WIDTH  * 4", "WIDTH *4", "width * 4", "WIDTH * 4 ", "WIDTHS * 4", "WIDT * 4", "DEPTH * 44",
        "MODE == fas", "MODE == fastt", "WIDTH == 'WIDTh'", "DEPTH == 'DEPTH'", "ADDR == 'WIDTH'",
        "WIDTH gt 0 && DEPTH lt 100002", "WIDTH gt 0 && WIDTH lt 100000", "DEPTH + DEPTH", "BYTES(ADDR)",
        "BYTES(WIDTH,DEPTHS)", "BYTES(WIDTH,DEPTH) ", "BYTES(WIDTH ,DEPTH)", "BYTES(DEPTH)(WIDTH)",
        "WIDTH ? DEPTH : NOTE", std::string("WIDTH * 4\0", 10)};
    // The same texts in a table small enough for 16-bit entries and in one
    // too large for them.
    const std::vector<std::string> many_texts = [&model_texts] {
        std::vector<std::string> texts = model_texts;
        for (int index = 0; index < 70000; ++index) texts.push_back("F" + std::to_string(index) + " + 1");
        return texts;
    }();
    KOVA_SYNTAX_READER reader;
    for (const std::vector<std::string>* texts : {&model_texts, &many_texts}) {
        const KOVA_PROGRAM_TABLE table(*texts);
        EXPECT_LT(table.shape_count(), table.size());
        KOVA_PROGRAM_VIEW program;
        for (const std::string& text : model_texts) {
            ASSERT_TRUE(table.find(text, KOVA_PROGRAM_TABLE::hash_of(text), program)) << text;
            EXPECT_EQ(name_texts(program), name_texts(KOVA_PROGRAM::compile(reader, text).view())) << text;
        }
        for (const std::string& text : absent_texts) EXPECT_FALSE(table.find(text, KOVA_PROGRAM_TABLE::hash_of(text), program)) << text;
    }

    VALIDATOR_PROBE model;
    build_fuzz_model(model);
    for (std::size_t index = 0; index < model_texts.size(); ++index)
        model.add_object("T" + std::to_string(index), KOVA_OBJ_HIDDEN_PARAMETER, model_texts[index]);
    KOVA_DIFFERENTIAL differential(model);
    for (const std::vector<std::string>* texts : {&model_texts, &absent_texts})
        for (const std::string& text : *texts) EXPECT_EQ(differential.check_text(text), "") << text;
    EXPECT_EQ(differential.check_run(), "");
}

}  // namespace

namespace {

// A compiled text remembers which object each of its names stands for; the
// memo must give way when the model's objects change: a name that was a
// word becomes an object, and a validator assigned another model reads
// that model's objects. Each row evaluates the model's own text (from the
// shared table) and a host text (from the validator's cache).
TEST(CompiledForms, NamesFollowTheModelsObjects) {
    for (const char* text : {"HIDDEN_LATE", "HIDDEN_LATE + 0"}) {
        SCOPED_TRACE(text);
        VALIDATOR_PROBE model;
        model.set_compiled_evaluation(true);
        model.add_object("WIDTH", KOVA_OBJ_HIDDEN_PARAMETER, "HIDDEN_LATE");
        model.initialize_validator();
        EXPECT_EQ(model.evaluate_expression(text, PARSER_MODE_EVALUATE), std::string(text) == "HIDDEN_LATE" ? "HIDDEN_LATE" : "0");
        model.add_object("HIDDEN_LATE", KOVA_OBJ_HIDDEN_PARAMETER, "12");
        EXPECT_EQ(model.evaluate_expression(text, PARSER_MODE_EVALUATE), "12");

        VALIDATOR_PROBE other;
        other.set_compiled_evaluation(true);
        other.add_object("HIDDEN_LATE", KOVA_OBJ_HIDDEN_PARAMETER, "34");
        other.initialize_validator();
        model = other;
        EXPECT_EQ(model.evaluate_expression(text, PARSER_MODE_EVALUATE), "34");
    }
}

// A validator finds a text by where it lies and near the table entry it
// found last before hashing it, so a text changed in place, or replaced
// by another at the same address, must still run its own program: each
// row is written into one buffer in turn, whether the text is one of the
// model's (in the shared table) or not, and before and after the table is
// made again.
TEST(CompiledForms, TextsChangedInPlaceRunTheirOwnPrograms) {
    struct ROW {
        const char *text, *value;
    };
    // Texts of up to 8 bytes are also remembered by their bytes.
    const ROW rows[] = {{"WIDTH * 2", "8"}, {"WIDTH * 3", "12"}, {"WIDTH * 5", "20"}, {"WIDTH * 2", "8"},
                        {"WIDTH * 3", "12"}, {"WIDTH - 3", "1"},  {"WIDTH * 3", "12"}, {"WIDTH*2", "8"},
                        {"WIDTH*3", "12"},   {"WIDTH*2", "8"},    {"WIDTH", "4"}};
    const ROW lists[] = {{"WIDTH|2", "4|2"}, {"2|WIDTH", "2|4"}, {"WIDTH|3", "4|3"}, {"WIDTH*2|", "8"},
                         {"|WIDTH*2", "8"},  {"WIDTH|2", "4|2"}, {"WIDTH*2", "8"},  {"used|WIDTH", "used|4"}};
    VALIDATOR_PROBE model;
    model.set_compiled_evaluation(true);
    model.add_object("WIDTH", KOVA_OBJ_INTEGER_PARAMETER, "", "4")->default_usage_state = KOVA_USAGE_USED;
    model.add_object("TWO", KOVA_OBJ_HIDDEN_PARAMETER, "WIDTH * 2");
    model.add_object("THREE", KOVA_OBJ_HIDDEN_PARAMETER, "WIDTH * 3");
    model.add_object("TWICE", KOVA_OBJ_HIDDEN_PARAMETER, "WIDTH*2");
    // Round 1 makes the table again; round 2 also fills the validator's
    // cache of other texts, which then empties itself.
    for (int round = 0; round < 3; ++round) {
        model.initialize_validator();
        model.set_all_ports_and_parameters_to_default_state();
        if (round == 2)
            for (int index = 0; index <= static_cast<int>(KOVA_PROGRAM_CACHE::HOST_PROGRAMS); ++index)
                model.evaluate_expression("WIDTH + " + std::to_string(index), PARSER_MODE_EVALUATE);
        std::string buffer;
        for (const ROW& row : rows) {
            buffer.assign(row.text);
            EXPECT_EQ(model.evaluate_expression(buffer, PARSER_MODE_EVALUATE), row.value) << row.text << round;
        }
        // Lists are remembered whole, by where they lie: each read twice.
        for (const ROW& row : lists) {
            buffer.assign(row.text);
            for (int pass = 0; pass < 2; ++pass)
                EXPECT_EQ(model.evaluate_value_list(buffer), row.value) << row.text << round;
        }
        // More short texts than the memo has places, each read twice.
        for (int pass = 0; pass < 2; ++pass)
            for (int factor = 1; factor <= 64; ++factor)
                EXPECT_EQ(model.evaluate_expression("WIDTH*" + std::to_string(factor), PARSER_MODE_EVALUATE),
                          std::to_string(4 * factor));
    }
}

}  // namespace

namespace {

// A list's items are split at each "|" and empty values dropped with
// their separators, whichever way the items are evaluated; a compiled
// macro call reads its instance's current value, and a fresh instance
// after the model is initialised again.
TEST(CompiledForms, ListItemsAndMacroInstancesFollowTheModel) {
    struct CASE {
        const char *items, *joined;
    };
    const CASE cases[] = {{"", ""},
                          {"|", ""},
                          {"|WIDTH||2|", "4|2"},
                          {"EMPTY|used|EMPTY", "used"},
                          {"+C.MIF|unused|WIDTH * 2", "+C.MIF|unused|8"},
                          {"TWICE(WIDTH)|WIDTH + 1|TWICE(WIDTH)", "8|5|8"}};
    for (bool compiled : {true, false}) {
        VALIDATOR_PROBE model;
        model.set_compiled_evaluation(compiled);
        model.add_object("WIDTH", KOVA_OBJ_INTEGER_PARAMETER, "", "4")->default_usage_state = KOVA_USAGE_USED;
        model.add_object("EMPTY", KOVA_OBJ_HIDDEN_PARAMETER);
        model.add_object("TWICE", KOVA_OBJ_FN_MACRO, "a * 2")->set_arguments("a");
        model.add_object("USES", KOVA_OBJ_HIDDEN_PARAMETER, "TWICE(WIDTH)");
        model.initialize_validator();
        model.set_all_ports_and_parameters_to_default_state();
        model.run_validator();
        for (const CASE& c : cases) EXPECT_EQ(model.evaluate_value_list(c.items), c.joined) << c.items << compiled;
        model.set_parameter_value("WIDTH", "6");
        model.run_validator();
        EXPECT_EQ(model.evaluate_expression("TWICE(WIDTH) + 1", PARSER_MODE_EVALUATE), "13") << compiled;
        model.initialize_validator();
        model.set_parameter_value("WIDTH", "7");
        model.run_validator();
        EXPECT_EQ(model.evaluate_expression("TWICE(WIDTH) + 1", PARSER_MODE_EVALUATE), "15") << compiled;
    }
}

}  // namespace
