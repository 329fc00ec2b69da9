// The names a port or parameter had in earlier versions of its block
// (the previous_names field of the description): read from the loaded
// description, so that a settings file written for an earlier version can
// be migrated, kova validate can name what an old name became, and kova
// diff can tell a renamed object from one removed and one added.
#ifndef KOVA_PREVIOUS_NAMES_H
#define KOVA_PREVIOUS_NAMES_H

#include <map>
#include <string>
#include <vector>

#include "host/kova_info.h"

// The names of a previous_names text: words split at commas and blanks,
// in the order written, empty words left out; with offsets, where each
// starts in text.
std::vector<std::string> kova_split_previous_names(const std::string& text,
                                                   std::vector<std::size_t>* offsets = nullptr);

// The previous names the description gives object ([] for none).
std::vector<std::string> kova_previous_names(const KOVA_INFO& model, const KOVA_OBJ_INFO& object);

// Every previous name of the model's ports and parameters, by lower-case
// name, with the current name it stands for. A name that is also a
// current name, or a previous name of two objects (which kova lint
// reports), stands for the first object of the model's order that gives
// it, and never for a current name: a current name always wins.
class KOVA_RENAMES {
public:
    explicit KOVA_RENAMES(const KOVA_INFO& model);
    // The current name of an old name; "" when name is no previous name.
    std::string current_name(const std::string& name) const;
    bool empty() const { return m_current.empty(); }

private:
    std::map<std::string, std::string> m_current;
};

#endif
