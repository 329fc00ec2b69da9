// Macro calls as the dependency walk reads them from a text's element
// tokens, and the names of their instances.
//
// The name of a macro instance: the whole call text in lower case, the
// macro name, "(", the actual arguments joined by ",", ")". Calls that
// differ only in letter case share one instance under this name.
#ifndef KOVA_MACRO_CALL_H
#define KOVA_MACRO_CALL_H

#include <string>

#include "host/kova_stl.h"
#include "host/qel_util.h"

inline std::string kova_macro_instance_name(const std::string& macro, const std::string& actual_list) {
    return to_lower_case(macro + "(" + actual_list + ")");
}

// Collects the actual arguments of a call whose "(" was just taken from
// tokens (split at the element delimiters): every delimiter separates
// arguments, so "x, y" is three ("x", "", "y"), joined by ",". Answers
// whether the ")" was found.
inline bool kova_collect_call_arguments(QEL_TOKEN_READER& tokens, std::string& arguments) {
    std::string delimiter = "(";
    arguments.clear();
    while (delimiter != ")" && !tokens.empty()) {
        const std::string token = tokens.next(delimiter);
        if (!arguments.empty()) arguments += ",";
        arguments += token;
    }
    return delimiter == ")";
}

#endif
