// The validator's parameter copy.
#include "objects/kova_parameter_obj.h"

#include "host/qel_util.h"

KOVA_PARAMETER_OBJ::KOVA_PARAMETER_OBJ(const KOVA_OBJ_INFO* model_object) : KOVA_OBJ_INFO(model_object) {}

KOVA_PARAMETER_OBJ::~KOVA_PARAMETER_OBJ() = default;

std::string KOVA_PARAMETER_OBJ::get_actual_default_value() const {
    if (default_index == -1) return get_default_value();
    return qel_get_token_at_index(get_default_value(), default_index);
}
