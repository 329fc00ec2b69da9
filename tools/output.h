// Output of the kova tool: text that reads like compiler diagnostics and
// tables, or one JSON document on standard output with --format json.
#ifndef KOVA_OUTPUT_H
#define KOVA_OUTPUT_H

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "validator/kova_rules_validator.h"

// Rows of cells; the first row holds the column names.
using KOVA_TABLE = std::vector<std::vector<std::string>>;

// Columns padded to their widest cell, the last one unpadded.
void print_table(const KOVA_TABLE& table, std::ostream& out);
// The rows after the first as objects keyed by the lower-cased column names.
nlohmann::json table_json(const KOVA_TABLE& table);

// The messages posted to the model's error list, in order.
nlohmann::json messages_json(const KOVA_RULES_VALIDATOR& validator);
// Every port and parameter with its current and alternate state.
nlohmann::json ports_json(const KOVA_RULES_VALIDATOR& validator);
nlohmann::json parameters_json(const KOVA_RULES_VALIDATOR& validator);

// Prints each posted message as "SOURCE: error: MESSAGE".
void print_messages(const KOVA_RULES_VALIDATOR& validator, const std::string& source, std::ostream& out);

// Writes document as JSON when json is set, else calls text.
void emit(bool json, const nlohmann::json& document, const std::function<void(std::ostream&)>& text,
          std::ostream& out);

#endif
