// The reserved words of VHDL, and the names the generated VHDL refers to:
// a port or generic named std_logic or work would hide the type or the
// library where the generated text names it, so those are escaped too.

#include "generate/keywords.h"
#include "host/kova_stl.h"

namespace {

// IEEE 1076-2008 and the words 1076-2019 adds, then the names the
// generated text uses, sorted, all in lower case.
const char* const VHDL_RESERVED[] = {
    "abs", "access", "after", "alias", "all", "and", "architecture", "array", "assert", "assume",
    "assume_guarantee", "attribute", "begin", "block", "body", "buffer", "bus", "case", "character", "component",
    "configuration", "constant", "context", "cover", "default", "disconnect", "downto", "else", "elsif", "end",
    "entity", "exit", "fairness", "file", "for", "force", "function", "generate", "generic", "group", "guarded",
    "ieee", "if", "impure", "in", "inertial", "inout", "integer", "is", "label", "library", "linkage", "literal",
    "loop", "map", "mod", "nand", "new", "next", "nor", "not", "null", "of", "on", "open", "or", "others", "out",
    "package", "parameter", "port", "postponed", "private", "procedure", "process", "property", "protected",
    "pure", "range", "record", "register", "reject", "release", "rem", "report", "restrict",
    "restrict_guarantee", "return", "rol", "ror", "select", "sequence", "severity", "shared", "signal", "sla",
    "sll", "sra", "srl", "std", "std_logic", "std_logic_1164", "std_logic_vector", "string", "strong", "subtype",
    "then", "to", "transport", "type", "unaffected", "units", "until", "use", "variable", "view", "vmode",
    "vprop", "vunit", "wait", "when", "while", "with", "work", "xnor", "xor"};

}  // namespace

bool kova_is_vhdl_reserved(const std::string& word) {
    return kova_in_sorted_words(VHDL_RESERVED, to_lower_case(word));
}
