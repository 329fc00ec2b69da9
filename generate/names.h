// Names and texts as a target language writes them, shared by the
// writers: each writer gives its own speller (a rule for one name) and
// these helpers apply it to every name of a configuration, report the
// names it cannot write, pick labels that no port takes, and quote texts.
#ifndef KOVA_GENERATE_NAMES_H
#define KOVA_GENERATE_NAMES_H

#include <functional>
#include <string>
#include <vector>

#include "generate/configuration.h"

// Writes name as the language spells it into spelled; false when the
// language cannot spell it at all.
using KOVA_SPELLER = std::function<bool(const std::string& name, std::string& spelled)>;

// The spelled names, in the order of the configuration's lists.
struct KOVA_GEN_NAMES {
    std::vector<std::string> parameters, ports, exported;
};

// Every parameter, port and exported name spelled; each that cannot be spelled is an
// error in problems ("... cannot be written as a LANGUAGE identifier").
KOVA_GEN_NAMES kova_spell_names(const KOVA_GEN_CONFIG& config, const KOVA_SPELLER& spell, const std::string& language,
                                KOVA_MESSAGES& problems);

// One further name (what names it: "The function name", "The wrapper name");
// spelled, or an error in problems.
std::string kova_spell_name(const std::string& what, const std::string& name, const KOVA_SPELLER& spell,
                            const std::string& language, KOVA_MESSAGES& problems);

// base, or base_1, base_2, ... : the first that no name in taken equals
// (without regard to case when ignore_case).
std::string kova_unique_label(const std::string& base, const std::vector<std::string>& taken, bool ignore_case);

// Whether every byte of text is printable ASCII (from first to '~').
bool kova_printable_ascii(const std::string& text, char first = '!');

// A C-style string literal in double quotes: printable ASCII as it is,
// each byte of escaped after a backslash, every other byte as a
// three-digit octal escape (\011). Verilog and C read it alike.
std::string kova_quoted_string(const std::string& text, const std::string& escaped);

// Items joined, each but the last followed by separator, each on a line
// of its own after indent.
std::string kova_join_lines(const std::vector<std::string>& items, const std::string& separator,
                            const std::string& indent);

#endif
