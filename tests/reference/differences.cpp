// Evaluates texts on a compiled copy and a reference copy of one model and
// describes the first difference found.
#include "reference/differences.h"

#include "host/qel_util.h"

namespace {

std::string differs(const std::string& what, const std::string& compiled, const std::string& reference) {
    if (compiled == reference) return "";
    return what + ": compiled \"" + compiled + "\", reference \"" + reference + "\"\n";
}

std::string records_text(const KOVA_RULES_VALIDATOR& validator) {
    std::string text;
    for (const KOVA_DIAGNOSTIC& record : validator.get_diagnostics())
        text += std::to_string(record.kind) + "/" + std::to_string(record.severity) + ":" + record.text + "\n";
    return text;
}

}  // namespace

KOVA_DIFFERENTIAL::KOVA_DIFFERENTIAL(const KOVA_RULES_VALIDATOR& model)
    : m_compiled(std::make_unique<KOVA_RULES_VALIDATOR>(model)),
      m_reference(std::make_unique<KOVA_RULES_VALIDATOR>(model)) {
    m_compiled->set_compiled_evaluation(true);
    m_reference->set_compiled_evaluation(false);
    m_compiled->set_scanner_output(&m_compiled_skipped);
    m_reference->set_scanner_output(&m_reference_skipped);
}

std::string KOVA_DIFFERENTIAL::compare_state(const std::string& what) {
    std::string found = differs(what + " records", records_text(*m_compiled), records_text(*m_reference));
    found += differs(what + " skipped characters", m_compiled_skipped.str(), m_reference_skipped.str());
    m_compiled->clear_error_messages();
    m_reference->clear_error_messages();
    m_compiled_skipped.str("");
    m_reference_skipped.str("");
    return found;
}

std::string KOVA_DIFFERENTIAL::check_text(const std::string& text) {
    std::string found;
    for (KOVA_RULES_VALIDATOR_PARSER_MODE mode : {PARSER_MODE_EVALUATE, PARSER_MODE_REFRESH_MACROS, PARSER_MODE_TEXT}) {
        const std::string what = "[" + text + "] mode " + std::to_string(mode);
        found += differs(what, m_compiled->evaluate_expression(text, mode), m_reference->evaluate_expression(text, mode));
        found += compare_state(what);
    }
    const std::string what = "[" + text + "] as a value";
    found += differs(what, m_compiled->evaluate_value_expression(text, false),
                     m_reference->evaluate_value_expression(text, false));
    found += compare_state(what);
    const std::string list = "[" + text + "] as a list";
    found += differs(list, m_compiled->evaluate_value_list(text), m_reference->evaluate_value_list(text));
    return found + compare_state(list);
}

std::string KOVA_DIFFERENTIAL::check_run() {
    std::string found = differs("run", std::to_string(m_compiled->run_validator()),
                                std::to_string(m_reference->run_validator()));
    const KOVA_OBJ_MAP parameters = m_compiled->get_parameter_list();
    for (const auto& entry : parameters.entries()) {
        const std::string& name = entry.first;
        found += differs("run " + name, m_compiled->get_string_parameter_value(name),
                         m_reference->get_string_parameter_value(name));
    }
    return found + compare_state("run");
}

std::vector<std::string> kova_model_rule_texts(const KOVA_RULES_VALIDATOR& model) {
    std::vector<std::string> texts;
    auto add = [&texts](const std::string& text) {
        if (!text.empty()) texts.push_back(text);
    };
    for (const KOVA_OBJ_INFO* object : model.get_kova_obj_snapshot()) {
        add(object->get_value());
        add(object->get_port_width());
        for (const KOVA_RULE_ELEMENT* rule : object->rule_view()) {
            add(rule->get_condition());
            add(rule->get_value());
            add(rule->get_alt_value());
            QEL_TOKEN_READER items(rule->get_value(), "|");
            while (!items.empty()) add(items.next());
        }
    }
    return texts;
}
