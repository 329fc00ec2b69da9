// The description reader: the documented example read back field by field,
// included files, and bad or hostile input. A file loads as written or is
// refused, quickly and in bounded memory, leaving the model as it was with
// one message that names the file and the line. Source places (file, line,
// byte column) of each field and record, also after a validator copies or
// merges them (tests/data/places*.xml).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "host/kova_info.h"
#include "objects/kova_parameter_obj.h"
#include "objects/kova_port_obj.h"
#include "support/test_support.h"

namespace {

// A folder below the temporary folder, emptied first.
std::string fresh_folder(const std::string& name) {
    const std::string folder = temp_folder() + "/" + name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

void write_file(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Every message of the model, one a line.
std::string errors_of(const KOVA_INFO& model) {
    std::string all;
    for (const std::string& message : model.get_error_messages()) all += message + "\n";
    return all;
}

std::string in_brackets(const std::string& text) { return " [" + text + "]"; }

// Every field of a model as text: one record a line, the parts of a record
// indented below it, each text in brackets.
struct DUMP {
    std::string text;

    void rule(const std::string& indent, const char* what, const KOVA_RULE_ELEMENT* rule) {
        if (rule)
            text += indent + what + " " + std::to_string(rule->rule_type) + in_brackets(rule->get_condition()) +
                    in_brackets(rule->get_value()) + in_brackets(rule->get_alt_value()) + "\n";
    }
    template <typename LIST>
    void rules(const std::string& indent, const char* what, const LIST& list) {
        for (const KOVA_RULE_ELEMENT* each : list) rule(indent, what, each);
    }
    // A record's label and help text, where it has either.
    static std::string help(const KOVA_INFO& m, const KOVA_OBJ* record) {
        const std::string& label = m.written_text(record->source_id, KOVA_FIELD_LABEL);
        const std::string& paragraph = m.written_text(record->source_id, KOVA_FIELD_HELP);
        if (label.empty() && paragraph.empty()) return "";
        return " label" + in_brackets(label) + " help" + in_brackets(paragraph);
    }
    void objects(const std::string& indent, const KOVA_INFO& m, const std::vector<KOVA_OBJ_INFO*>& list) {
        for (const KOVA_OBJ_INFO* o : list) {
            text += indent + "object " + o->get_name() + " " + std::to_string(o->obj_type) +
                    in_brackets(o->get_value()) + in_brackets(o->get_default_value()) + " " +
                    std::to_string(o->default_index) + " " + std::to_string(o->usage_state) + "/" +
                    std::to_string(o->default_usage_state) + in_brackets(o->get_port_width()) +
                    in_brackets(o->get_port_width2d()) + in_brackets(o->get_arguments()) +
                    in_brackets(o->get_initial_vec_state()) + (o->silent_correction ? " silent" : "") + help(m, o) +
                    "\n";
            rules(indent + "  ", "rule", o->rule_view());
        }
    }
    void model(const std::string& indent, KOVA_INFO& m) {
        text += indent + "model" + in_brackets(m.get_function_name()) + in_brackets(m.get_info_condition()) +
                in_brackets(m.get_vhdl_library()) + "\n";
        objects(indent, m, m.get_kova_obj_snapshot());
        rules(indent, "function_rule", m.get_fn_rule_snapshot());
        rules(indent, "message", m.get_msg_snapshot());
        for (m.reset_wizard_map(); KOVA_WIZARD_MAP* map = m.get_next_wizard_map();) {
            text += indent + "wizard_map " + map->get_map_name() + (map->add_all_parameters ? " all" : "") +
                    (map->add_used_ports ? " used" : "") + help(m, map) + "\n";
            rule(indent + "  ", "condition_rule", map->condition_rule());
            objects(indent + "  ", m, map->get_kova_obj_snapshot());
        }
        for (m.reset_vector_map(); KOVA_VECTOR_OBJ* vector = m.get_next_vector_obj();) {
            text += indent + "vector " + vector->get_vector_name() + help(m, vector) + "\n";
            rule(indent + "  ", "condition_rule", vector->condition_rule());
            for (vector->reset_vector_stimulus(); KOVA_RULE_ELEMENT* record = vector->get_next_vector_stimulus();)
                rule(indent + "  ", "stimulus", record);
        }
        for (m.reset_sub_info_map(); KOVA_INFO* sub = m.get_next_sub_info();) model(indent + "  ", *sub);
    }
};

std::string dump(KOVA_INFO& model) {
    DUMP out;
    out.model("", model);
    return out.text;
}

// Reads path into a model that holds the documented example and expects a
// refusal that changes nothing but one message, which starts with where
// and holds problem.
void expect_refused(const std::string& path, const std::string& where, const std::string& problem = "") {
    KOVA_INFO model;
    ASSERT_TRUE(model.process_xml_file(test_data("spram.xml"), nullptr));
    model.set_function_name("kept", "");
    const std::string before = dump(model) + model.get_source_file();
    const KOVA_SOURCE_TABLE* table = model.get_source_table();
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(model.process_xml_file(path, nullptr));
    EXPECT_EQ(dump(model) + model.get_source_file(), before);
    EXPECT_EQ(model.get_source_table(), table);
    ASSERT_EQ(model.get_error_messages().size(), 1u) << errors_of(model);
    const std::string& message = model.get_error_messages()[0];
    EXPECT_EQ(message.rfind(where, 0), 0u) << message;
    EXPECT_NE(message.find(problem), std::string::npos) << message;
}

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

// Expects the field of record at expected, "/file-name:line:column".
void expect_place(const KOVA_INFO& model, const KOVA_OBJ* record, KOVA_SOURCE_FIELD field, const std::string& expected,
                  const char* what) {
    ASSERT_NE(record, nullptr) << what;
    const KOVA_SOURCE_LOCATION at = model.locate(record->source_id, field);
    const std::string file = at.file.substr(std::min(at.file.rfind('/'), at.file.size()));
    EXPECT_EQ(file + ":" + std::to_string(at.line) + ":" + std::to_string(at.column), expected) << what;
}

// The records a row may name.
enum class PICK { OBJECT, RULE, FN_RULE, MESSAGE, MAP, MAP_CONDITION, MAP_OBJECT, VECTOR, VECTOR_CONDITION, STIMULUS };

// The record: owner is the object, map or vector by name; of rules, map
// objects and stimulus records the first is taken.
const KOVA_OBJ* pick(KOVA_INFO& model, PICK what, const std::string& owner) {
    switch (what) {
    case PICK::OBJECT: return model.get_kova_obj(owner);
    case PICK::RULE: return model.get_kova_obj(owner)->rule_view().at(0);
    case PICK::FN_RULE: return model.get_fn_rule_snapshot().at(0);
    case PICK::MESSAGE: return model.get_msg_snapshot().at(0);
    case PICK::MAP: return model.get_wizard_map(owner);
    case PICK::MAP_CONDITION: return model.get_wizard_map(owner)->condition_rule();
    case PICK::MAP_OBJECT: return model.get_wizard_map(owner)->get_kova_obj_snapshot().at(0);
    case PICK::VECTOR: return model.get_vector_object(owner);
    case PICK::VECTOR_CONDITION: return model.get_vector_object(owner)->condition_rule();
    case PICK::STIMULUS:
        model.get_vector_object(owner)->reset_vector_stimulus();
        return model.get_vector_object(owner)->get_next_vector_stimulus();
    }
    return nullptr;
}

}  // namespace

TEST(DescriptionReader, ExamplesAreReadFieldByField) {
    KOVA_INFO model;
    ASSERT_TRUE(model.process_xml_file(test_data("spram.xml"), nullptr)) << errors_of(model);
    EXPECT_EQ(dump(model), file_text(test_data("spram.dump")));
    EXPECT_EQ(model.get_source_file(), test_data("spram.xml"));
    model.reset_sub_info_map();
    EXPECT_EQ(model.get_next_sub_info()->get_source_file(), test_data("spram_ecc.xml"));

    const std::string doc = file_text(std::string(KOVA_EXAMPLES) + "/../docs/description-format.md");
    for (const char* name : {"spram.xml", "spram_ecc.xml"})
        EXPECT_NE(doc.find(file_text(test_data(name))), std::string::npos) << name << " differs from the docs";
}

// Descriptions that load, each as its dump: absent fields take defaults and
// empty texts stay empty; a schema reference on the top element is ignored;
// nested includes become direct sub-models with their conditions joined;
// entities and character references are replaced, a lone "&" stays, comments
// and CDATA are taken as written, bytes of 128 or more are kept as they are,
// and a text of 10 MB is kept whole.
TEST(DescriptionReader, DescriptionsLoadAsTheirDump) {
    const std::string instance = "'http://www.w3.org/2001/XMLSchema-instance'", port = "<object name='A' kind='in'/>";
    const std::string port_dump = "model [] [] []\nobject A 1 [] [] -1 4/4 [] [] [] []\n", long_text(10u << 20, 'c');
    auto hidden = [](const std::string& written) {  // written: the fields of the hidden parameter A
        return "<model><object name='A' kind='hidden' " + written + "></object></model>";
    };
    auto hidden_dump = [](const std::string& value) {
        return "model [] [] []\nobject A 0 [" + value + "] [] -1 4/4 [] [] [] []\n";
    };
    // top: top.xml; more: the files it includes.
    struct { std::string top, dump; std::vector<std::pair<std::string, std::string>> more = {}; } cases[] = {
        {"<model><object name=' A ' kind=' STRING ' value=''><default></default><rule/></object></model>",
         "model [] [] []\nobject A 6 [] [] -1 4/4 [] [] [] []\n  rule 2 [] [] []\n"},
        {"<model xmlns:xsi=" + instance + " xsi:noNamespaceSchemaLocation='kova-description.xsd'>" + port + "</model>",
         port_dump},
        {"<model xsi:noNamespaceSchemaLocation='../k.xsd' xmlns:xsi=" + instance + ">" + port + "</model>", port_dump},
        {"<model function='' xmlns:s=" + instance + " s:noNamespaceSchemaLocation='k.xsd'>" + port + "</model>",
         port_dump},
        {"<model xmlns:xsi=" + instance + ">" + port + "</model>", port_dump},
        {"<model><include file='mid.xml' condition='M'/></model>",
         "model [] [] []\n  model [] [(F) and (M)] []\n  model [] [((F) and (M)) and (L)] []\n",
         {{"mid.xml", "<model condition='F'><include file='leaf.xml'/></model>"},
          {"leaf.xml", "<model condition='L'/>"}}},
        {hidden("value='a &amp;&amp; b &lt; c'"), hidden_dump("a && b < c")},
        {hidden("value='a && b'"), hidden_dump("a && b")},
        {hidden("value='&#x41;&#66;&#9;'"), hidden_dump("AB\t")},  // a referenced tab is not turned into a blank
        {hidden("value='caf&#xE9;'"), hidden_dump("caf\xC3\xA9")},
        {hidden("value='\xFF\xFE caf\xC3\xA9'"), hidden_dump("\xFF\xFE caf\xC3\xA9")},
        {hidden("><value><![CDATA[&#0; &foo; a && b]]></value"), hidden_dump("&#0; &foo; a && b")},
        {hidden("><!-- &#0; &foo; --><value>x</value"), hidden_dump("x")},
        {hidden("value='" + long_text + "'"), hidden_dump(long_text)},
    };
    const std::string folder = fresh_folder("loaded");
    for (const auto& c : cases) {
        for (const auto& [name, text] : c.more) write_file(folder + "/" + name, text);
        write_file(folder + "/top.xml", c.top);
        KOVA_INFO model;
        const std::string shown = c.top.substr(0, 90);
        ASSERT_TRUE(model.process_xml_file(folder + "/top.xml", nullptr)) << shown << ": " << errors_of(model);
        EXPECT_EQ(dump(model), c.dump) << shown;
    }
}

TEST(DescriptionReader, IncludedFileIsLookedUpInTheLibraryFirstThenBesideTheFile) {
    // origin: the object of the file that was read; "" when none was found.
    struct { bool in_library, beside, library_set; std::string origin; } cases[] = {
        {true, true, true, "IN_LIBRARY"}, {false, true, true, "BESIDE"}, {true, true, false, "BESIDE"},
        {true, false, false, ""},         {false, false, true, ""}};
    for (const auto& c : cases) {
        const std::string library = fresh_folder("lookup_lib"), beside = fresh_folder("lookup_top");
        if (c.in_library) write_file(library + "/part.xml", "<model><object name='IN_LIBRARY' kind='5'/></model>");
        if (c.beside) write_file(beside + "/part.xml", "<model><object name='BESIDE' kind='5'/></model>");
        write_file(beside + "/top.xml", "<model>\n<include file='part.xml'/>\n</model>\n");
        KOVA_INFO model;
        if (c.library_set) model.set_xml_lib_dir(library);
        SCOPED_TRACE("expected " + c.origin);
        ASSERT_EQ(model.process_xml_file(beside + "/top.xml", nullptr), !c.origin.empty()) << errors_of(model);
        model.reset_sub_info_map();
        if (c.origin.empty())
            EXPECT_EQ(errors_of(model).rfind(beside + "/top.xml:2: included file \"part.xml\" not found", 0), 0u);
        else
            EXPECT_NE(model.get_next_sub_info()->get_kova_obj(c.origin), nullptr);
    }
}

TEST(DescriptionReader, BadInputIsRefusedWithFileAndLine) {
    const std::string nul(1, '\0');
    auto nested = [](const std::string& tag) {  // 100,000 elements, one inside the other
        std::string open, close;
        for (int i = 0; i < 100000; ++i) open += "<" + tag + ">";
        for (int i = 0; i < 100000; ++i) close += "</" + tag + ">";
        return open + close;
    };
    auto in_model = [](const std::string& element) { return "<model>\n" + element + "\n</model>"; };
    struct CASE { std::string text; int line; std::string problem; };
    std::vector<CASE> cases = {
        {"<model>\n<object name='A' kind='integer'>\n</model>", 3, "malformed XML"}, {"", 1, "malformed XML"},
        {"<modle/>", 1, "the top element must be <model>, not <modle>"},
        {"<model/>\n<model/>", 2, "a description has one top element, <model>"},
        {"<model>\n<objekt name='A'/></model>", 2, "unknown element <objekt> in <model>"},
        {"<model>\n<message type='8'/></model>", 2, "unknown rule type \"8\""},
        {"<model>\n<object name='A' kind='6'\n default_index='99999999999'/></model>", 2, "bad number"},
        {"<model>\n<object name='A' kind='in'/>\n<object name='a' kind='out'/></model>", 3, "duplicate object name"},
        // A taken name is refused after the element's own faults, at its start
        // tag, which lies before the places of its rules.
        {"<model>\n<object name='A' kind='in'/>\n<object name='a' kind='out'>\n<rule type='9'/></object></model>", 4,
         "unknown rule type \"9\""},
        {"<model>\n<object name='A' kind='in'/>\n<object name='a' kind='out'>\n<rule value='1'/>\n</object></model>", 3,
         "duplicate object name \"a\""},
        {"<model>\n<wizard_map name='W'>\n<object name='A' kind='5'/>\n<object name='A' kind='5'/>\n"
         "</wizard_map></model>", 4, "duplicate object name \"A\""},
        {"<model>\n<wizard_map name='W'/>\n<wizard_map name='w'/></model>", 3, "duplicate wizard map name"},
        {"<model>\n<vector name='V'/>\n<vector name='V'/></model>", 3, "duplicate vector name"},
        {in_model("<vector name='V'>\n<condition_rule/>\n<condition_rule/></vector>"), 4,
         "<vector> has more than one <condition_rule>"},
        {in_model("<object name='A' kind='5' value='1'>\n<value>2</value></object>"), 3,
         "\"value\" of <object> is given twice"},
        {"<model>\n<object kind='integer'/></model>", 2, "<object> needs \"name\""},
        {"<model>\n<object name=' ' kind='integer'/></model>", 2, "\"name\" of <object> is empty"},
        {"<model>\n<function_rule condition='x'/></model>", 2, "<function_rule> needs \"type\""},
        {in_model("<message>\n<value>a <b>bold</b> text</value></message>"), 3, "<value> holds text only, not <b>"},
        {"<model>\n<message>\n<value lang='en'>text</value></message></model>", 3, "<value> takes no attributes"},
        {"<model>\n\n  stray words\n</model>", 3, "unexpected text in <model>"},
        {in_model("<wizard_map name='W'>\n<object name='A' kind='5' help='x'/></wizard_map>"), 3,
         "an object of a <wizard_map> takes no \"help\""},
        {in_model("<wizard_map name='W'>\n<object name='A' kind='5' previous_names='B'/></wizard_map>"), 3,
         "an object of a <wizard_map> takes no \"previous_names\""},
        {"<model>\n<include/></model>", 2, "<include> needs \"file\""},
        {"<model>\n<include file='absent.xml'/></model>", 2, "included file \"absent.xml\" not found"},
        // Schema references: only on the top element, in the schema instance namespace.
        {"\n<model xsi:noNamespaceSchemaLocation='k.xsd'/>", 2, "unknown attribute \"xsi:noNamespaceSchemaLocation\""},
        {"<model>\n<object name='A' kind='in' xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'/></model>", 2,
         "unknown attribute \"xmlns:xsi\" on <object>"},
        {"\n<model xmlns:xsi='http://example.com/schema' xsi:noNamespaceSchemaLocation='k.xsd'/>", 2,
         "unknown attribute \"xmlns:xsi\""},
        // NUL bytes.
        {"<model>\n\n<object name='A' kind='in'/>" + nul + "</model>", 3, "the file holds a NUL character"},
        {"<model/>\n" + nul + "trailing", 2, "the file holds a NUL character"},
        // Entities are never expanded, so nested definitions cannot blow up.
        {"<!DOCTYPE model [\n<!ENTITY a 'aaaaaaaaaa'>\n<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>\n]>\n"
         "<model><object name='&b;' kind='in'/></model>",
         3, "unknown entity reference \"&a;\""},
        // Empty and blank words where a word is needed.
        {in_model("<object kind='in'><name>\n</name></object>"), 2, "\"name\" of <object> is empty"},
        {in_model("<include file=''/>"), 2, "\"file\" of <include> is empty"},
        {in_model("<wizard_map name='M' add_used_ports=' '/>"), 2, "unknown truth value \" \""},
        // Depth of the XML itself costs time in proportion only.
        {"<model>\n" + nested("a") + "</model>", 2, "unknown element <a> in <model>"},
        {in_model("<object name='A' kind='in'>\n<value>" + nested("b") + "</value></object>"), 3,
         "<value> holds text only, not <b>"},
    };
    // One <object> on line 2, named A unless the attributes name it: bad
    // words, empty words, references XML does not allow, unknown entities.
    const std::pair<std::string, std::string> objects[] = {
        {"kind='5' colour='red'", "unknown attribute \"colour\""}, {"kind='wire'", "unknown object kind \"wire\""},
        {"kind=''", "unknown object kind \"\" for \"kind\""},
        {"kind='in' usage_state='2'", "unknown usage state \"2\""},
        {"kind='6' default_index='two'", "bad number \"two\""}, {"kind='6' default_index='-2'", "bad number \"-2\""},
        {"kind='in' default_index=''", "bad number \"\" for \"default_index\""},
        {"kind='in' silent_correction='yes'", "unknown truth value"},
        {"kind='in' value='&#x0000;'", "character reference \"&#x0000;\""},
        {"name='A&#1;B' kind='in'", "character reference \"&#1;\" is not a character XML allows"},
        {"name='A&#xD800;' kind='in'", "character reference \"&#xD800;\""},
        {"name='A&#99999999999999;' kind='in'", "character reference"},
        {"name='A&#X41;' kind='in'", "character reference \"&#X41;\""},
        {"name='&nbsp;' kind='in'", "unknown entity reference \"&nbsp;\""},
    };
    for (const auto& [attributes, problem] : objects) {
        const std::string name = attributes.rfind("name=", 0) == 0 ? "" : "name='A' ";
        cases.push_back({"<model>\n<object " + name + attributes + "/></model>", 2, problem});
    }
    int files = 0;  // a new name for each file
    for (const auto& c : cases) {
        const std::string path = write_temp_file("bad_" + std::to_string(files++) + ".xml", c.text);
        SCOPED_TRACE(c.text);
        expect_refused(path, path + ":" + std::to_string(c.line) + ": " + c.problem);
    }
}

TEST(DescriptionReader, UnreadableFilesErrorsInIncludedFilesAndIncludeCyclesNameEveryFile) {
    const std::string missing = temp_folder() + "/no_such_file.xml";
    expect_refused(missing, "cannot open the description file \"" + missing + "\"", "no such file");
    expect_refused(temp_folder(), "cannot open the description file", "not a readable file");
    const std::string folder = fresh_folder("includes");
    write_file(folder + "/top.xml", "<model>\n\n<include file='inner.xml'/>\n</model>");
    write_file(folder + "/inner.xml", "<model>\n<object name='A' kind='port'/>\n</model>");
    write_file(folder + "/a.xml", "<model>\n<include file='b.xml'/>\n</model>");
    write_file(folder + "/b.xml", "<model>\n\n<include file='./a.xml'/>\n</model>");
    expect_refused(folder + "/top.xml", folder + "/inner.xml:2: unknown object kind \"port\"",
                   "; included from " + folder + "/top.xml:3");
    expect_refused(folder + "/a.xml", folder + "/a.xml: include cycle",
                   "; included from " + folder + "/b.xml:3; included from " + folder + "/a.xml:2");
    // A file that includes itself under another spelling, or through a symbolic link.
    std::filesystem::create_directories(folder + "/sub");
    std::filesystem::create_symlink(folder + "/self.xml", folder + "/link.xml");
    const std::string spellings[] = {"self.xml", "link.xml", "sub/../self.xml", folder + "/sub/../self.xml",
                                     ".//self.xml"};
    for (const std::string& spelling : spellings) {
        write_file(folder + "/self.xml", "<model>\n<include file='" + spelling + "'/>\n</model>\n");
        SCOPED_TRACE(spelling);
        expect_refused(folder + "/self.xml", "", ": include cycle: the file is already being read; included from " +
                                                     folder + "/self.xml:2");
    }

    KOVA_INFO parent, sub;
    ASSERT_TRUE(parent.process_xml_file(test_data("spram.xml"), nullptr));
    EXPECT_FALSE(sub.process_xml_file(test_data("spram.xml"), &parent));
    EXPECT_EQ(sub.get_kova_obj_count(), 0);
    EXPECT_NE(errors_of(sub).find("include cycle"), std::string::npos);
}

TEST(DescriptionReader, SettingsAndEarlierMessagesOutliveASuccessfulRead) {
    KOVA_INFO model;
    model.set_xml_lib_dir("/nowhere");
    model.set_function_name("chosen", "");
    model.post_error_message("earlier");
    ASSERT_TRUE(model.process_xml_file(test_data("spram.xml"), nullptr));
    EXPECT_EQ(model.get_function_name(), "chosen");
    EXPECT_EQ(model.get_xml_lib_dir(), "/nowhere");
    EXPECT_EQ(errors_of(model), "earlier\n");
    ASSERT_EQ(model.get_diagnostics().size(), 1u);
    EXPECT_EQ(model.get_diagnostics()[0].text, "earlier");
    // A second file replaces the first description as a whole.
    ASSERT_TRUE(model.process_xml_file(test_data("spram_ecc.xml"), nullptr));
    EXPECT_EQ(model.get_kova_obj_count(), 3);
    EXPECT_EQ(model.get_sub_info_count(), 0u);
    EXPECT_EQ(model.get_wizard_map("generics"), nullptr);
}

// The table keeps each record's places together: a place set on an older
// record after newer ones exist, or set twice, lands on that record only.
TEST(SourceTable, PlacesSetInAnyOrderStayWithTheirRecord) {
    KOVA_SOURCE_TABLE table;
    const uint32_t a = table.add_record("a.xml"), b = table.add_record("a.xml"), c = table.add_record("b.xml");
    const struct { uint32_t id; KOVA_SOURCE_FIELD field; uint32_t line, column; } sets[] = {
        {c, KOVA_FIELD_ELEMENT, 30, 1}, {a, KOVA_FIELD_ELEMENT, 10, 1}, {b, KOVA_FIELD_VALUE, 21, 5},
        {a, KOVA_FIELD_NAME, 10, 9},    {a, KOVA_FIELD_NAME, 11, 2},    {b, KOVA_FIELD_ELEMENT, 20, 3},
        {9, KOVA_FIELD_NAME, 1, 1},     {0, KOVA_FIELD_NAME, 1, 1}};
    for (const auto& set : sets) table.set(set.id, set.field, set.line, set.column);
    const struct { uint32_t id; KOVA_SOURCE_FIELD field; bool fall_back; const char* place; } cases[] = {
        {a, KOVA_FIELD_ELEMENT, true, "a.xml:10:1"}, {a, KOVA_FIELD_NAME, true, "a.xml:11:2"},
        {a, KOVA_FIELD_VALUE, true, "a.xml:10:1"},   {a, KOVA_FIELD_VALUE, false, "a.xml:0:0"},
        {b, KOVA_FIELD_VALUE, true, "a.xml:21:5"},   {b, KOVA_FIELD_NAME, true, "a.xml:20:3"},
        {c, KOVA_FIELD_NAME, true, "b.xml:30:1"},    {9, KOVA_FIELD_NAME, true, ":0:0"}};
    for (const auto& expected : cases) {
        const KOVA_SOURCE_LOCATION at = table.locate(expected.id, expected.field, expected.fall_back);
        EXPECT_EQ(at.file + ":" + std::to_string(at.line) + ":" + std::to_string(at.column), expected.place)
            << expected.id << " " << int(expected.field);
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
        KOVA_INFO model;
        EXPECT_TRUE(model.process_xml_file(write_include_layers(folder, c.prefix, c.files, c.copies), nullptr))
            << errors_of(model);
        EXPECT_EQ(model.get_sub_info_count(), c.subs) << c.prefix;
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

TEST(SourceLocations, EveryFieldIsPlacedAtItsFirstCharacter) {
    // in_sub_model: the record is in the included file's sub-model.
    struct { const char* what; bool in_sub_model; PICK pick; const char* owner; KOVA_SOURCE_FIELD field;
             const char* expected; } rows[] = {
        // Attributes: blanks around "=", both quotes, ">" and the other quote inside a value.
        {"start tag", false, PICK::OBJECT, "WIDTH", KOVA_FIELD_ELEMENT, "/places.xml:4:3"},
        {"blanks around =", false, PICK::OBJECT, "WIDTH", KOVA_FIELD_NAME, "/places.xml:4:19"},
        {"single quotes", false, PICK::OBJECT, "WIDTH", KOVA_FIELD_TYPE, "/places.xml:4:32"},
        {"last attribute", false, PICK::OBJECT, "WIDTH", KOVA_FIELD_DEFAULT, "/places.xml:4:63"},
        {"> and \" in a value", false, PICK::OBJECT, "RANGE", KOVA_FIELD_VALUE, "/places.xml:5:46"},
        {"after > in a value", false, PICK::OBJECT, "RANGE", KOVA_FIELD_DEFAULT_INDEX, "/places.xml:5:72"},
        {"field not given", false, PICK::OBJECT, "RANGE", KOVA_FIELD_WIDTH, "/places.xml:5:3"},
        // A start tag over three lines, "=" ending a line.
        {"multi-line tag", false, PICK::RULE, "RANGE", KOVA_FIELD_ELEMENT, "/places.xml:6:5"},
        {"multi-line type", false, PICK::RULE, "RANGE", KOVA_FIELD_TYPE, "/places.xml:6:17"},
        {"value after =-newline", false, PICK::RULE, "RANGE", KOVA_FIELD_CONDITION, "/places.xml:8:14"},
        {"third line", false, PICK::RULE, "RANGE", KOVA_FIELD_ALT_VALUE, "/places.xml:8:39"},
        {"third line, last", false, PICK::RULE, "RANGE", KOVA_FIELD_VALUE, "/places.xml:8:49"},
        // Field elements: leading line break and blanks, CDATA, a reference to a line break.
        {"arguments", false, PICK::OBJECT, "BYTES", KOVA_FIELD_ARGUMENTS, "/places.xml:10:48"},
        {"leading blanks", false, PICK::OBJECT, "BYTES", KOVA_FIELD_VALUE, "/places.xml:12:7"},
        {"CDATA", false, PICK::RULE, "BYTES", KOVA_FIELD_CONDITION, "/places.xml:14:31"},
        {"&#10; then a blank", false, PICK::RULE, "BYTES", KOVA_FIELD_VALUE, "/places.xml:14:82"},
        // A two-byte character earlier on the line counts two columns.
        {"after a UTF-8 name", false, PICK::OBJECT, "D\xC3\x89PTH", KOVA_FIELD_TYPE, "/places.xml:16:31"},
        {"later on that line", false, PICK::OBJECT, "D\xC3\x89PTH", KOVA_FIELD_DEFAULT, "/places.xml:16:49"},
        {"help attribute", false, PICK::OBJECT, "D\xC3\x89PTH", KOVA_FIELD_HELP, "/places.xml:16:59"},
        {"width", false, PICK::OBJECT, "dout", KOVA_FIELD_WIDTH, "/places.xml:17:41"},
        {"width2d", false, PICK::OBJECT, "dout", KOVA_FIELD_WIDTH2D, "/places.xml:17:57"},
        {"initial vector state", false, PICK::OBJECT, "dout", KOVA_FIELD_INITIAL_VEC_STATE, "/places.xml:17:82"},
        // Each kind of record.
        {"function rule", false, PICK::FN_RULE, "", KOVA_FIELD_CONDITION, "/places.xml:18:43"},
        {"message", false, PICK::MESSAGE, "", KOVA_FIELD_VALUE, "/places.xml:19:19"},
        {"wizard map", false, PICK::MAP, "generics", KOVA_FIELD_NAME, "/places.xml:20:21"},
        {"map condition", false, PICK::MAP_CONDITION, "generics", KOVA_FIELD_CONDITION, "/places.xml:21:32"},
        {"map object", false, PICK::MAP_OBJECT, "generics", KOVA_FIELD_VALUE, "/places.xml:22:50"},
        {"vector", false, PICK::VECTOR, "burst", KOVA_FIELD_ELEMENT, "/places.xml:24:3"},
        {"label element", false, PICK::VECTOR, "burst", KOVA_FIELD_LABEL, "/places.xml:24:33"},
        {"stimulus record", false, PICK::STIMULUS, "burst", KOVA_FIELD_VALUE, "/places.xml:25:45"},
        // The included file's records name that file.
        {"included object", true, PICK::OBJECT, "WIDE", KOVA_FIELD_NAME, "/places_part.xml:4:17"},
        {"included rule", true, PICK::RULE, "WIDTH", KOVA_FIELD_CONDITION, "/places_part.xml:6:22"},
        {"included vector", true, PICK::VECTOR_CONDITION, "wide_burst", KOVA_FIELD_CONDITION,
         "/places_part.xml:9:32"},
    };
    KOVA_INFO model;
    ASSERT_TRUE(model.process_xml_file(test_data("places.xml"), nullptr)) << errors_of(model);
    KOVA_INFO* sub = model.get_next_sub_info();
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(model.get_source_table(), nullptr);
    EXPECT_EQ(sub->get_source_table(), model.get_source_table());
    for (const auto& row : rows) {
        KOVA_INFO& owner = row.in_sub_model ? *sub : model;
        expect_place(owner, pick(owner, row.pick, row.owner), row.field, row.expected, row.what);
    }
}

// The validator merges the sub-model and keeps copies of its ports and
// parameters; a copy of the validator copies all of that again. Each of
// those records still points at its place.
TEST(SourceLocations, MergedAndCopiedRecordsStillLocate) {
    VALIDATOR_PROBE original(test_data("places.xml"));
    ASSERT_NE(original.get_source_table(), nullptr) << errors_of(original);
    original.initialize_validator();
    const VALIDATOR_PROBE copy(original);
    const KOVA_OBJ_INFO* width = copy.get_kova_obj("WIDTH");
    const KOVA_VECTOR_OBJ* merged_vector = copy.get_vector_object("wide_burst");
    ASSERT_TRUE(width && merged_vector);
    const struct { const char* what; const KOVA_OBJ* record; KOVA_SOURCE_FIELD field; const char* expected; } rows[] = {
        {"merged object", copy.get_kova_obj("WIDE"), KOVA_FIELD_NAME, "/places_part.xml:4:17"},
        {"rule merged into an object", width->rule_view().at(0), KOVA_FIELD_CONDITION, "/places_part.xml:6:22"},
        {"merged vector condition", merged_vector->condition_rule(), KOVA_FIELD_CONDITION, "/places_part.xml:9:32"},
        {"port copy", copy.get_port_object("dout"), KOVA_FIELD_WIDTH, "/places.xml:17:41"},
        {"parameter copy", copy.get_parameter_object("RANGE"), KOVA_FIELD_DEFAULT_INDEX, "/places.xml:5:72"},
    };
    for (const auto& row : rows) expect_place(copy, row.record, row.field, row.expected, row.what);
}

