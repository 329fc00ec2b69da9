// One function-macro instance; everything but construction is inline.
#include "validator/kova_fn_macro.h"

KOVA_FN_MACRO::KOVA_FN_MACRO(const std::string& name, const std::string& value)
    : m_name(name), m_value(value) {}

KOVA_FN_MACRO::~KOVA_FN_MACRO() = default;
