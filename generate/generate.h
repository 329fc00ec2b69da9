// kova generate: the source text of one configuration of a building block.
// For Verilog, SystemVerilog and VHDL a wrapper around the block whose
// ports are the used ports and which sets every parameter, or a stub of
// the block itself; for C a header of #defines; for JSON the flat
// configuration as a tool-interface document. docs/generate.md tells
// what each language gets and how names are written.
//
// The functions print nothing and write no file: they answer with the
// text or with the problems that stopped it, for every front end to show
// in its own way.
#ifndef KOVA_GENERATE_H
#define KOVA_GENERATE_H

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "session/problem.h"
#include "session/session.h"

struct KOVA_GEN_PARAMETER;  // generate/configuration.h

enum class KOVA_GENERATE_LANGUAGE { VERILOG, SYSTEMVERILOG, VHDL, C, JSON };

struct KOVA_GENERATE_OPTIONS {
    KOVA_GENERATE_LANGUAGE language = KOVA_GENERATE_LANGUAGE::VERILOG;
    bool stub = false;   // the block's own empty module instead of the wrapper (HDL only)
    std::string name;    // the wrapper's name (HDL) or the macro prefix (C); "" for the default
    // Generate even when the run found the configuration invalid or a port
    // is held at a constant wider than the port (written cut to its width).
    bool force = false;
    // Words put after each refusal that force overrides, for a front end
    // that offers it to say how (the kova tool names its option there).
    std::string force_hint;
    // Hidden parameters and wizard-map values (a map's own objects) added
    // to the output: C #defines, parameters or generics of the HDL wrapper
    // and stub. Not for json.
    std::vector<std::string> exports;
};

struct KOVA_GENERATED {
    // Why nothing was generated (INVALID_VALUE for a configuration that is
    // not valid or cannot be written in the language, USAGE for options
    // that do not go together); none when text holds the generated source.
    KOVA_PROBLEM problem;
    std::string text;
    KOVA_MESSAGES messages;  // what evaluating the widths reported, then why nothing was generated
    // The configuration as JSON members: language, function, parameters
    // and ports (docs/json.md, generate); there even when ok is false.
    nlohmann::json members = nlohmann::json::object();
};

// What every front end offers of a language.
struct KOVA_GENERATE_LANGUAGE_INFO {
    KOVA_GENERATE_LANGUAGE language;
    const char* name;       // "verilog": what a request names it by
    const char* title;      // "Verilog": what a menu shows
    const char* extension;  // ".v": the usual extension of its file
    bool hardware;          // a hardware language: a stub applies
};

// Every language, in the order the front ends offer them.
const std::vector<KOVA_GENERATE_LANGUAGE_INFO>& kova_generate_languages();
const KOVA_GENERATE_LANGUAGE_INFO& kova_generate_language_info(KOVA_GENERATE_LANGUAGE language);
// "verilog", "systemverilog", "vhdl", "c", "json".
const char* kova_generate_language_name(KOVA_GENERATE_LANGUAGE language);
// Every language's name, in that order: what each front end offers.
std::vector<std::string> kova_generate_language_names();
// The names as a sentence lists them: "verilog, systemverilog, vhdl, c or
// json"; with hardware_only those a stub applies to, "verilog,
// systemverilog and vhdl".
std::string kova_generate_language_list(bool hardware_only = false);
// False for a name that is none of those.
bool kova_generate_language_of(const std::string& name, KOVA_GENERATE_LANGUAGE& language);
// The same as a problem: a USAGE problem naming every language when name
// is none of them, no problem (and language set) otherwise.
KOVA_PROBLEM kova_generate_language_problem(const std::string& name, KOVA_GENERATE_LANGUAGE& language);

// The exported values options.exports names, evaluated under the session's
// current state (after a run or derive), in the order named, each once: a
// not-found problem for a name that is no hidden parameter or wizard-map
// value (with the nearest such name), a usage problem for exports with
// json or a name that is also a parameter or port of the block
// (exports.cpp).
KOVA_PROBLEM kova_generate_exports(KOVA_SESSION& session, const KOVA_GENERATE_OPTIONS& options,
                                   std::vector<KOVA_GEN_PARAMETER>* exported = nullptr);

// A usage problem with the options themselves, which do not go together.
// The texts name the options as every front end spells them, bare: the
// kova tool puts "--" before.
KOVA_PROBLEM kova_generate_options_problem(const KOVA_GENERATE_OPTIONS& options);

// Generates from a session after the run whose result is run (or a
// derive, with run.valid set as the caller knows it). The port widths are
// evaluated afresh. An invalid configuration, or one with a port held at
// a constant wider than the port, is refused unless options.force is set;
// the JSON document carries run's messages.
KOVA_GENERATED kova_generate(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_GENERATE_OPTIONS& options);

#endif
