// Files for the description-reader tests: a fresh folder, a file written
// or read byte for byte, a model's messages as one text, and the check
// that a file is refused (defined in test_description_reader.cpp).
#ifndef KOVA_DESCRIPTION_FILES_H
#define KOVA_DESCRIPTION_FILES_H

#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/kova_info.h"
#include "support/test_support.h"

// A folder below the temporary folder, emptied first.
inline std::string fresh_folder(const std::string& name) {
    const std::string folder = temp_folder() + "/" + name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline void write_file(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

inline std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every message of the model, one a line.
inline std::string errors_of(const KOVA_INFO& model) {
    std::string all;
    for (const std::string& message : model.get_error_messages()) all += message + "\n";
    return all;
}

// Reads path into a model that holds the documented example and expects a
// refusal that changes nothing but one message, which starts with where
// and holds problem.
void expect_refused(const std::string& path, const std::string& where, const std::string& problem = "");

// A description that must be refused at a line, with a message about problem.
struct BAD_DESCRIPTION {
    std::string text;
    int line;
    std::string problem;
};

// Writes each text to a file of its own and expects it refused with one
// message that starts with "<file>:<line>: " and holds the problem, right
// after that start when problem_follows is set.
void expect_all_refused(const std::vector<BAD_DESCRIPTION>& cases, bool problem_follows);

#endif
