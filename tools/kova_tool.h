// Shared pieces of the kova command-line tool: loading a description into
// a validator, and the names of object kinds and usage states as printed.
#ifndef KOVA_TOOL_H
#define KOVA_TOOL_H

#include <memory>
#include <ostream>
#include <string>

#include "validator/kova_rules_validator.h"

// Exit codes of every subcommand.
enum KOVA_TOOL_EXIT { KOVA_EXIT_OK = 0, KOVA_EXIT_INVALID = 1, KOVA_EXIT_USAGE = 2 };

// Options every subcommand that reads a description takes.
struct KOVA_LOAD_OPTIONS {
    std::string description;
    std::string library_dir;
    std::string function_name = "kova";
    std::string format = "text";  // text or json
    bool json() const { return format == "json"; }
};

// Loads and initialises a validator and sets every port and parameter the
// description marks as used to its default state; on failure prints the
// reader's messages to err and returns null.
std::unique_ptr<KOVA_RULES_VALIDATOR> load_validator(const KOVA_LOAD_OPTIONS& options, std::ostream& err);

// "hidden", "in", "out", "inout", "integer", "string", "other", "macro".
std::string object_kind_name(int type);

#endif
