// The name of a macro instance: the whole call text in lower case, the
// macro name, "(", the actual arguments joined by ",", ")". Calls that
// differ only in letter case share one instance under this name.
#ifndef KOVA_MACRO_CALL_H
#define KOVA_MACRO_CALL_H

#include <string>

#include "host/kova_stl.h"

inline std::string kova_macro_instance_name(const std::string& macro, const std::string& actual_list) {
    return to_lower_case(macro + "(" + actual_list + ")");
}

#endif
