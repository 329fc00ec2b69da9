// Description files built to break the reader: bad bytes and references,
// include cycles, layers and depth, very deep or long XML, empty words. Each
// loads as written or is refused with one message naming file and line,
// quickly and in bounded memory.
#include <gtest/gtest.h>

#include "description_files.h"

namespace {

// Loads path into a model that already holds one object; message() is
// the model's one message.
struct LOAD {
    explicit LOAD(const std::string& path) {
        model.add_kova_obj("BEFORE", KOVA_OBJ_INTEGER_PARAMETER);
        loaded = model.process_xml_file(path, nullptr);
    }
    std::string message() const {
        const std::vector<std::string>& messages = model.get_error_messages();
        return messages.size() == 1 ? messages[0] : "(" + std::to_string(messages.size()) + " messages)";
    }
    KOVA_INFO model;
    bool loaded;
};

// folder/<prefix>0.xml includes <prefix>1.xml, and so on down to
// <prefix><files-1>.xml, which includes nothing; each file includes the
// next one copies times.
std::string write_include_layers(const std::string& folder, const std::string& prefix, int files, int copies) {
    for (int level = 0; level < files; ++level) {
        std::string text = "<model>\n";
        for (int copy = 0; level + 1 < files && copy < copies; ++copy)
            text += "<include file='" + prefix + std::to_string(level + 1) + ".xml'/>\n";
        write_file(folder + "/" + prefix + std::to_string(level) + ".xml", text + "</model>\n");
    }
    return folder + "/" + prefix + "0.xml";
}

}  // namespace

// NUL bytes, references XML does not allow, unknown entities, and empty or
// blank words where a word is needed are refused by name.
TEST(HostileDescriptions, BadBytesReferencesEntitiesAndEmptyWordsAreRefused) {
    const std::string nul(1, '\0');
    auto in_model = [](const std::string& element) { return "<model>\n" + element + "\n</model>"; };
    expect_all_refused({
        {"<model>\n\n<object name='A' kind='in'/>" + nul + "</model>", 3, "the file holds a NUL character"},
        {"<model/>\n" + nul + "trailing", 2, "the file holds a NUL character"},
        {"<model>\n<object name='A&#0;B' kind='in'/></model>", 2,
         "character reference \"&#0;\" is not a character XML allows"},
        {"<model>\n<object name='A' kind='in' value='&#x0000;'/></model>", 2, "character reference \"&#x0000;\""},
        {"<model>\n<object name='A&#1;' kind='in'/></model>", 2, "character reference \"&#1;\""},
        {"<model>\n<object name='A&#xD800;' kind='in'/></model>", 2, "character reference \"&#xD800;\""},
        {"<model>\n<object name='A&#99999999999999;' kind='in'/></model>", 2, "character reference"},
        {"<model>\n<object name='A&#X41;' kind='in'/></model>", 2, "character reference \"&#X41;\""},
        {"<model>\n<object name='&nbsp;' kind='in'/></model>", 2, "unknown entity reference \"&nbsp;\""},
        // Entities are never expanded, so nested definitions cannot blow up.
        {"<!DOCTYPE model [\n<!ENTITY a 'aaaaaaaaaa'>\n<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>\n]>\n"
         "<model><object name='&b;' kind='in'/></model>",
         3, "unknown entity reference \"&a;\""},
        // Empty and blank words where a word is needed.
        {in_model("<object name='A' kind=''/>"), 2, "unknown object kind \"\" for \"kind\""},
        {in_model("<object name='A' kind='  '/>"), 2, "unknown object kind \"  \""},
        {in_model("<object name='A' kind='in' usage_state=''/>"), 2, "unknown usage state \"\""},
        {in_model("<object name='A' kind='in' default_index=''/>"), 2, "bad number \"\" for \"default_index\""},
        {in_model("<object name='A' kind='in' silent_correction=''/>"), 2, "unknown truth value \"\""},
        {in_model("<object name='A' kind='in'><rule type=''/></object>"), 2, "unknown rule type \"\""},
        {in_model("<object kind='in'><name>\n</name></object>"), 2, "\"name\" of <object> is empty"},
        {in_model("<include file=''/>"), 2, "\"file\" of <include> is empty"},
        {in_model("<wizard_map name='M' add_used_ports=' '/>"), 2, "unknown truth value \" \""},
        {in_model("<vector name=''/>"), 2, "\"name\" of <vector> is empty"},
    }, true);
}

// Entities and character references are replaced, a lone "&" stays, comments
// and CDATA are taken as written, bytes of 128 or more are kept as they are.
TEST(HostileDescriptions, ReferencesAndNonAsciiBytesThatAreKept) {
    struct { std::string written, read; } cases[] = {  // written: the object's value field
        {"value='a &amp;&amp; b &lt; c'", "a && b < c"},
        {"value='a && b'", "a && b"},
        {"value='&#x41;&#66;&#9;'", "AB\t"},  // a referenced tab is not turned into a blank
        {"value='caf&#xE9;'", "caf\xC3\xA9"},
        {"value='\xFF\xFE caf\xC3\xA9'", "\xFF\xFE caf\xC3\xA9"},
        {"><value><![CDATA[&#0; &foo; a && b]]></value", "&#0; &foo; a && b"},
        {"><!-- &#0; &foo; --><value>x</value", "x"},
    };
    const std::string folder = fresh_folder("kept");
    for (const auto& c : cases) {
        const std::string path = folder + "/kept.xml";
        write_file(path, "<model><object name='A' kind='hidden' " + c.written + "></object></model>");
        LOAD load(path);
        ASSERT_TRUE(load.loaded) << c.written << ": " << load.message();
        EXPECT_EQ(load.model.get_kova_obj("A")->get_value(), c.read) << c.written;
    }
}

TEST(HostileDescriptions, IncludeCyclesThroughOtherSpellingsOfAFileAndASymbolicLink) {
    const std::string folder = fresh_folder("spellings");
    std::filesystem::create_directories(folder + "/sub");
    std::filesystem::create_symlink(folder + "/a.xml", folder + "/link.xml");
    const std::string spellings[] = {"link.xml", "sub/../a.xml", folder + "/sub/../a.xml", ".//a.xml"};
    for (const std::string& spelling : spellings) {
        write_file(folder + "/a.xml", "<model>\n<include file='" + spelling + "'/>\n</model>\n");
        SCOPED_TRACE(spelling);
        expect_refused(folder + "/a.xml", "", ": include cycle: the file is already being read; included from " +
                                                  folder + "/a.xml:2");
    }
}

// Each file including the next one twice doubles the sub-models with every
// layer: 9 files are 511 reads and load; 10 files would be 1023 and are
// refused once the 1001st file is reached. Includes nest at most 50 deep.
TEST(HostileDescriptions, IncludesThatMultiplyOrNestAreBounded) {
    const std::string folder = fresh_folder("layers");
    const struct { const char* prefix; int files, copies; std::size_t subs; } loaded[] = {{"small", 9, 2, 510},
                                                                                          {"fifty", 50, 1, 49}};
    for (const auto& c : loaded) {
        LOAD load(write_include_layers(folder, c.prefix, c.files, c.copies));
        EXPECT_TRUE(load.loaded) << load.message();
        EXPECT_EQ(load.model.get_sub_info_count(), c.subs) << c.prefix;
    }

    const std::string too_many = ".xml: more than 1000 files included in one description; included from ";
    expect_refused(write_include_layers(folder, "big", 10, 2), "", too_many);

    // A wide layer counts the same way.
    const std::string wide = write_include_layers(folder, "wide", 2, 1000);
    expect_refused(wide, folder + "/wide1" + too_many + wide + ":1001");

    const std::string deep = write_include_layers(folder, "more", 51, 1);
    expect_refused(deep, folder + "/more50.xml: includes nested more than 50 files deep; included from " + folder +
                             "/more49.xml:2", "; included from " + deep + ":2");
}

// Depth and length of the XML itself cost time in proportion only.
TEST(HostileDescriptions, DeepAndLongXml) {
    auto nested = [](const std::string& tag) {
        std::string open, close;
        for (int i = 0; i < 100000; ++i) open += "<" + tag + ">";
        for (int i = 0; i < 100000; ++i) close += "</" + tag + ">";
        return open + close;
    };
    const std::string folder = fresh_folder("xml");
    write_file(folder + "/elements.xml", "<model>\n" + nested("a") + "</model>");
    write_file(folder + "/field.xml", "<model>\n<object name='A' kind='in'>\n<value>" + nested("b") +
                                          "</value></object></model>");
    expect_refused(folder + "/elements.xml", folder + "/elements.xml:2: unknown element <a> in <model>");
    expect_refused(folder + "/field.xml", folder + "/field.xml:3: <value> holds text only, not <b>");

    // A condition of 10 MB is kept whole.
    const std::string condition(10u << 20, 'c');
    write_file(folder + "/long.xml",
               "<model><object name='A' kind='in'><rule condition='" + condition + "'/></object></model>");
    LOAD load(folder + "/long.xml");
    ASSERT_TRUE(load.loaded) << load.message();
    const std::vector<KOVA_RULE_ELEMENT*> rules = load.model.get_kova_obj("A")->rule_snapshot();
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0]->get_condition(), condition);
}
