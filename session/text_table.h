// Tables of the answers' text form, and their JSON form.
#ifndef KOVA_TEXT_TABLE_H
#define KOVA_TEXT_TABLE_H

#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// Rows of cells; the first row holds the column names.
using KOVA_TABLE = std::vector<std::vector<std::string>>;

// Columns padded to their widest cell, the last one unpadded.
void print_table(const KOVA_TABLE& table, std::ostream& out);
// The rows after the first as objects keyed by the lower-cased column
// names; every cell is a text.
nlohmann::json table_json(const KOVA_TABLE& table);

#endif
