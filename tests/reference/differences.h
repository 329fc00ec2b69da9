// The differential check of compiled rule texts: each text evaluated from
// its compiled form and by the scanner and parser (the reference), on two
// copies of one validator, comparing everything an evaluation lets a host
// see: the value in each mode, the messages and records posted, and the
// characters the scanner skipped.
#ifndef KOVA_REFERENCE_DIFFERENCES_H
#define KOVA_REFERENCE_DIFFERENCES_H

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "validator/kova_rules_validator.h"

class KOVA_DIFFERENTIAL {
public:
    // Copies of model, one compiled and one with the reference path.
    explicit KOVA_DIFFERENTIAL(const KOVA_RULES_VALIDATOR& model);

    // What differs when text is evaluated both ways ("" when nothing):
    // evaluate_expression in the evaluating, refreshing and text modes,
    // evaluate_value_expression and evaluate_value_list.
    std::string check_text(const std::string& text);
    // What differs after a validation run of each copy.
    std::string check_run();

private:
    std::string compare_state(const std::string& what);

    std::unique_ptr<KOVA_RULES_VALIDATOR> m_compiled, m_reference;
    std::ostringstream m_compiled_skipped, m_reference_skipped;
};

// Every text an initialised model evaluates from its own objects: values,
// widths, rule conditions, values and alternate values, and the items of
// legal-value lists.
std::vector<std::string> kova_model_rule_texts(const KOVA_RULES_VALIDATOR& model);

#endif
