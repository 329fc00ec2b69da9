// Completion. In a description: inside a kind, type or usage attribute
// its words; elsewhere the expression language's object names, macros
// (with their argument lists), keywords and operators, each with a detail
// line. In a settings file: before "=" the names of ports and parameters,
// after it the legal values of the name.
#include "lsp/answers.h"

#include "session/help_texts.h"
#include "session/json_text.h"
#include "session/value_text.h"

namespace {

// The protocol's CompletionItemKind numbers used here.
enum ITEM_KIND { ITEM_FUNCTION = 3, ITEM_VARIABLE = 6, ITEM_INTERFACE = 8, ITEM_KEYWORD = 14,
                 ITEM_ENUM_MEMBER = 20, ITEM_CONSTANT = 21, ITEM_OPERATOR = 24 };

struct WORD {
    const char* word;
    const char* detail;
};

const WORD k_keywords[] = {
    {"is_used", "is_used(PORT): 1 when the port is used"},
    {"is_constant", "is_constant(PORT): 1 when the port is held constant"},
    {"port", "port(PORT): the value of a port held constant"},
    {"str", "str(TEXT): the text as a quoted string"},
    {"max", "max(A, B): the larger number"},
    {"min", "min(A, B): the smaller number"},
    {"ceil_log", "ceil_log(N): the bits that count N values"},
    {"exp", "A exp B: A to the power B"},
    {"quot", "A quot B: integer quotient"},
    {"div", "A div B: integer division"},
    {"double_div", "A double_div B: division"},
    {"ceil_div", "A ceil_div B: division rounded up"},
    {"and", "A and B: both hold"},
    {"gt", "A gt B: greater than"},
    {"lt", "A lt B: less than"},
    {"gte", "A gte B: greater or equal"},
    {"lte", "A lte B: less or equal"},
    {"str_lt", "A str_lt B: text order, less"},
    {"str_lte", "A str_lte B: text order, less or equal"},
    {"str_gt", "A str_gt B: text order, greater"},
    {"str_gte", "A str_gte B: text order, greater or equal"},
};

const WORD k_operators[] = {
    {"==", "equal"}, {"!=", "not equal"}, {"&&", "and"}, {"||", "or"}, {"!", "not"},
    {"? :", "CONDITION ? THEN : ELSE"}, {"%", "remainder"}, {"+", "sum"}, {"-", "difference"},
    {"*", "product"}, {"/", "integer division"}, {">", "greater"}, {"<", "less"},
};

const WORD k_kinds[] = {
    {"hidden", "hidden parameter: the value text is an expression"}, {"in", "input port"},
    {"out", "output port"}, {"inout", "bidirectional port"}, {"integer", "integer parameter"},
    {"string", "string parameter"}, {"other", "a parameter without a validator copy"},
    {"macro", "function macro: the value text is the body over arguments"},
};

const WORD k_usage_states[] = {
    {"USED", "the object is used"}, {"UNUSED", "the object is not used"},
    {"CONSTANT", "an input port held at a constant"}, {"NONE", "no state: the default usage state holds"},
};

nlohmann::json item(const std::string& label, int kind, const std::string& detail,
                    const std::string& insert = std::string()) {
    nlohmann::json made = {{"label", kova_json_text(label)}, {"kind", kind}, {"detail", kova_json_text(detail)}};
    if (!insert.empty()) made["insertText"] = kova_json_text(insert);
    return made;
}

template <std::size_t N>
void add_words(const WORD (&words)[N], int kind, nlohmann::json& items) {
    for (const WORD& word : words) items.push_back(item(word.word, kind, word.detail));
}

// "KIND: LABEL" or the kind alone.
std::string detail_of(const KOVA_LSP_DECLARATION& declaration) {
    const KOVA_HELP help = kova_help_of(*declaration.model, declaration.source_id);
    return declaration.kind + (help.label.empty() ? "" : ": " + help.label);
}

void add_names(const KOVA_LSP_ANALYSIS& analysis, bool settable_only, nlohmann::json& items) {
    for (const KOVA_LSP_DECLARATION& declaration : analysis.declarations()) {
        const KOVA_OBJ_INFO* object = declaration.object;
        if (!object || (settable_only && !object->is_port() && !object->is_parameter())) continue;
        if (object->obj_type == KOVA_OBJ_FN_MACRO) {
            const std::string call = declaration.name + "(" + object->get_arguments() + ")";
            items.push_back(item(call, ITEM_FUNCTION, detail_of(declaration) + " = " + object->get_value(), call));
        } else {
            const int kind = object->is_port() ? ITEM_INTERFACE
                             : object->obj_type == KOVA_OBJ_HIDDEN_PARAMETER ? ITEM_CONSTANT : ITEM_VARIABLE;
            items.push_back(item(declaration.name, kind, detail_of(declaration)));
        }
    }
}

// The attribute whose quoted value the cursor is in ("" when none).
std::string attribute_at(std::string_view before) {
    std::size_t quotes = 0;
    for (const char c : before) quotes += c == '"';
    if (quotes % 2 == 0) return "";
    const std::size_t quote = before.rfind('"');
    if (quote < 2 || before[quote - 1] != '=') return "";
    std::size_t start = quote - 1;
    while (start > 0 && kova_lsp_name_char(before[start - 1])) --start;
    return std::string(before.substr(start, quote - 1 - start));
}

nlohmann::json description_items(KOVA_LSP_ANALYSIS& analysis, std::string_view before) {
    nlohmann::json items = nlohmann::json::array();
    const std::string attribute = attribute_at(before);
    if (attribute == "kind") {
        add_words(k_kinds, ITEM_ENUM_MEMBER, items);
    } else if (attribute == "type") {
        for (int type = KOVA_RULE_CMD_CONDITION; type <= KOVA_RULE_PORT_VALUE_LIST; ++type)
            items.push_back(item(kova_get_rule_type_word(type), ITEM_ENUM_MEMBER, "rule type " + std::to_string(type)));
    } else if (attribute == "usage_state" || attribute == "default_usage_state") {
        add_words(k_usage_states, ITEM_ENUM_MEMBER, items);
    } else {
        add_names(analysis, false, items);
        add_words(k_keywords, ITEM_KEYWORD, items);
        add_words(k_operators, ITEM_OPERATOR, items);
    }
    return items;
}

nlohmann::json settings_items(KOVA_LSP_ANALYSIS& analysis, std::string_view before) {
    nlohmann::json items = nlohmann::json::array();
    const std::size_t equals = before.find('=');
    if (equals == std::string_view::npos) {
        add_names(analysis, true, items);
        return items;
    }
    std::string name(before.substr(0, equals));
    name.erase(0, name.find_first_not_of(" \t"));
    name.erase(name.find_last_not_of(" \t") + 1);
    const KOVA_LSP_DECLARATION* declaration = analysis.find(name);
    if (!declaration || !declaration->object) return items;
    const KOVA_OBJ_INFO& object = *declaration->object;
    if (object.is_port()) {
        add_words(k_usage_states, ITEM_ENUM_MEMBER, items);
        items.erase(items.size() - 1);  // NONE is no setting
        return items;
    }
    for (const std::string& value : kova_value_list(object.get_value()))
        items.push_back(item(value, ITEM_ENUM_MEMBER, "a legal value of " + declaration->name));
    long long low, high;
    if (kova_value_range(object.get_value(), low, high))
        items.push_back(item(object.get_default_value().empty() ? std::to_string(low) : object.get_default_value(),
                             ITEM_ENUM_MEMBER,
                             "an integer from " + std::to_string(low) + " to " + std::to_string(high)));
    return items;
}

}  // namespace

nlohmann::json kova_lsp_completion(KOVA_LSP_WORKSPACE& workspace, const KOVA_LSP_DOCUMENT& document,
                                   const nlohmann::json& position) {
    const std::string description = workspace.description_of(document);
    if (description.empty()) return nlohmann::json::array();
    const std::size_t line = position.at("line").get<std::size_t>();
    const std::string_view text = document.lines.line(line);
    const std::string_view before = text.substr(0, kova_utf16_bytes(text, position.at("character").get<std::size_t>()));
    KOVA_LSP_ANALYSIS& analysis = workspace.analysis(description);
    return document.settings() ? settings_items(analysis, before) : description_items(analysis, before);
}
