// The writers of kova generate, one file per target language, each from
// the shared configuration (configuration.h) to text. A writer answers
// "" and appends to problems when the configuration cannot be written in
// its language. The identifier rules are here too, for the tests.
#ifndef KOVA_GENERATE_WRITERS_H
#define KOVA_GENERATE_WRITERS_H

#include <string>

#include <nlohmann/json.hpp>

#include "generate/configuration.h"
#include "generate/generate.h"

// Verilog (system_verilog false) or SystemVerilog: the wrapper, or with
// options.stub the block's stub (verilog.cpp).
std::string kova_write_verilog(const KOVA_GEN_CONFIG& config, bool system_verilog,
                               const KOVA_GENERATE_OPTIONS& options, KOVA_MESSAGES& problems);
// A name as Verilog writes it: as it is, or escaped (\name followed by a
// blank) when it is a keyword or not a simple identifier; false when it
// holds a blank, a control character or a byte outside ASCII.
bool kova_verilog_identifier(const std::string& name, std::string& spelled);

// VHDL-2008: the wrapper entity and architecture, or the stub (vhdl.cpp).
std::string kova_write_vhdl(const KOVA_GEN_CONFIG& config, const KOVA_GENERATE_OPTIONS& options,
                            KOVA_MESSAGES& problems);
// A name as VHDL writes it: a basic identifier as it is, anything else
// (a reserved word included) as an extended identifier \name\ with each
// backslash doubled; false for a control character or a byte outside ASCII.
bool kova_vhdl_identifier(const std::string& name, std::string& spelled);

// The C header of #defines (c_header.cpp).
std::string kova_write_c_header(const KOVA_GEN_CONFIG& config, const KOVA_GENERATE_OPTIONS& options,
                                KOVA_MESSAGES& problems);
// A name as a C macro word: upper-cased, every byte that cannot stand in
// a C identifier turned into '_'.
std::string kova_c_macro_word(const std::string& name);

// The configuration as JSON members: language, function, parameters and
// ports (json.cpp).
nlohmann::json kova_configuration_members(const KOVA_GEN_CONFIG& config, KOVA_GENERATE_LANGUAGE language);
// The document of --lang json: generated's members, run's messages and
// then generated's, and a null text member, since it is the text (json.cpp).
std::string kova_write_json(const KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_GENERATED& generated);

#endif
