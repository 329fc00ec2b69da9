// Command lines and outputs of the tool's tests written with placeholders ("{FIFO}") for the paths of this tree,
// so that a table row names its files briefly and holds whatever the build and temporary folders are named.
#ifndef KOVA_TEST_COMMAND_LINES_H
#define KOVA_TEST_COMMAND_LINES_H

#include <string>
#include <utility>
#include <vector>

// Each placeholder with its path; a path never holds a placeholder.
using PLACES = std::vector<std::pair<std::string, std::string>>;

// The text with every placeholder of places replaced by its path.
inline std::string placed(std::string text, const PLACES& places) {
    for (const auto& place : places)
        for (std::size_t at; (at = text.find(place.first)) != std::string::npos;)
            text.replace(at, place.first.size(), place.second);
    return text;
}

#endif
