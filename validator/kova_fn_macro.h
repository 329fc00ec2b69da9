// One instance of a function-macro call: the call text (lower case), the
// macro body with the actual arguments put in place of the formal ones,
// the value the validation run last computed for it, and its level in the
// dependency order.
#ifndef KOVA_FN_MACRO_H
#define KOVA_FN_MACRO_H

#include <string>

#include "host/kova_stl.h"
#include "objects/kova_rules_export.h"

class KOVA_RULES_API KOVA_FN_MACRO : public KOVA_OBJ {
public:
    KOVA_FN_MACRO(const std::string& name, const std::string& value);
    KOVA_FN_MACRO(const KOVA_FN_MACRO& other) = default;
    KOVA_FN_MACRO& operator=(const KOVA_FN_MACRO& other) = default;
    ~KOVA_FN_MACRO() override;

    // The texts are the instance's own and live as long as it does, so a
    // message origin may point at the name while the body is evaluated.
    const std::string& get_name() const { return m_name; }
    const std::string& get_value() const { return m_value; }
    const std::string& get_evaluated_value() const { return m_evaluated_value; }
    void set_evaluated_value(std::string value) { m_evaluated_value = std::move(value); }
    void set_dependency_position(int position) { m_dependency_position = position; }
    int get_dependency_position() const { return m_dependency_position; }

private:
    std::string m_name;
    std::string m_value;
    std::string m_evaluated_value;
    int m_dependency_position = -1;
};

#endif
