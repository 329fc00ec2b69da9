// Files for the description-reader tests: a fresh folder, a file written
// or read byte for byte, and a model's messages as one text.
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

#endif
