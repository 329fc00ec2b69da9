// The labels and help texts a description gives its objects, wizard maps
// and stimulus vectors: a short title and a paragraph for the engineer
// who sets the block up. The engine never reads them; show, explain, the
// page model and the Python module take them from here, so every front
// end gives the same texts for the same records.
#ifndef KOVA_HELP_TEXTS_H
#define KOVA_HELP_TEXTS_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "session/session.h"

struct KOVA_HELP {
    std::string label;  // a short title, as written; "" when none
    std::string text;   // the help paragraph, as written; "" when none
    bool empty() const { return label.empty() && text.empty(); }
};

// The label and help text of a record of model (an object's, map's or
// vector's source_id); empty for a record the description gave none.
KOVA_HELP kova_help_of(const KOVA_INFO& model, uint32_t source_id);

// One entry of `kova show --help-texts`.
struct KOVA_HELP_ITEM {
    std::string kind;  // an object kind (kova_object_kind_name), "wizard_map" or "vector"
    std::string name;
    KOVA_HELP help;
};

// Every object, then every wizard map, then every stimulus vector of the
// validator that has a label or a help text, each in the description's
// order (objects of sub-models as the validator merged them).
std::vector<KOVA_HELP_ITEM> kova_help_items(KOVA_RULES_VALIDATOR& validator);

// A help text as text output shows it: one paragraph, each run of blanks,
// tabs and line breaks (a text written over several lines of an element)
// one blank, none at the ends. The tool wraps no paragraph; a terminal does.
std::string kova_help_paragraph(const std::string& text);

// The text form of the items: "NAME (KIND): LABEL" ("NAME (KIND)" without
// a label), then the help paragraph indented by two; a blank line between
// two items.
void kova_print_help_items(const std::vector<KOVA_HELP_ITEM>& items, std::ostream& out);

#endif
