// The validator's copy of one parameter: the model object's description
// plus a current usage state and the alternate state that rules derive.
#ifndef KOVA_PARAMETER_OBJ_H
#define KOVA_PARAMETER_OBJ_H

#include <string>

#include "host/kova_info.h"
#include "objects/kova_rules_export.h"

class KOVA_RULES_API KOVA_PARAMETER_OBJ : public KOVA_OBJ_INFO {
public:
    explicit KOVA_PARAMETER_OBJ(const KOVA_OBJ_INFO* model_object);
    KOVA_PARAMETER_OBJ(const KOVA_PARAMETER_OBJ& other) = default;
    KOVA_PARAMETER_OBJ& operator=(const KOVA_PARAMETER_OBJ& other) = default;
    ~KOVA_PARAMETER_OBJ() override;

    int get_current_usage_state() const { return m_current_usage_state; }
    void set_current_usage_state(int state) { m_current_usage_state = state; }
    int get_alt_usage_state() const { return m_alt_usage_state; }
    void set_alt_usage_state(int state) { m_alt_usage_state = state; }

    // True only in the state USED.
    bool is_parameter_used() const { return m_current_usage_state == KOVA_USAGE_USED; }

    const std::string& get_alt_value() const { return m_alt_value; }
    void set_alt_value(const std::string& value) { m_alt_value = value; }

    // The default value, or its entry at default_index when there is one.
    std::string get_actual_default_value() const;

    int m_current_usage_state = KOVA_USAGE_NONE;
    int m_alt_usage_state = KOVA_USAGE_NONE;
    std::string m_alt_value;
};

#endif
