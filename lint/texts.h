// The texts of a description that the engine evaluates, each with where it
// was written and how the engine uses it, gathered from the model as
// written (sub-models apart, so each text is the one in its own file).
#ifndef KOVA_LINT_TEXTS_H
#define KOVA_LINT_TEXTS_H

#include <cstdint>
#include <string>
#include <vector>

#include "host/kova_info.h"

// How the engine evaluates a text.
enum KOVA_TEXT_ROLE : uint8_t {
    KOVA_TEXT_CONDITION,  // a rule's condition: true or false is wanted
    KOVA_TEXT_VALUE,      // a value; "", USED, UNUSED and +c.mif are taken as written
    KOVA_TEXT_BODY,       // a hidden parameter's or macro's body, or a map object's value
    KOVA_TEXT_WIDTH,      // a port width: a number is wanted, anything else is 0
    KOVA_TEXT_LIBRARY,    // a simulation library entry before the last ";"
    KOVA_TEXT_FORCE       // a stimulus record's force command (not an expression)
};

// Where a finding is: the model (file) and object it belongs to and the
// field of the source record it points at.
struct KOVA_LINT_PLACE {
    const KOVA_INFO* model = nullptr;
    const KOVA_OBJ_INFO* object = nullptr;  // null for a model-level text
    int rule_index = -1;
    uint32_t source_id = 0;
    KOVA_SOURCE_FIELD field = KOVA_FIELD_ELEMENT;
    // The byte offset in the field's text of the token the finding is
    // about; -1 for the field itself.
    int32_t offset = -1;
};

// place, pointing at the token that starts offset bytes into its field.
inline KOVA_LINT_PLACE kova_place_at(KOVA_LINT_PLACE place, uint32_t offset) {
    place.offset = static_cast<int32_t>(offset);
    return place;
}

struct KOVA_LINT_TEXT {
    std::string text;
    KOVA_TEXT_ROLE role;
    KOVA_LINT_PLACE place;
    // The engine makes instances of the text's macro calls (the texts the
    // dependency walk reads: object texts, function rules, message
    // conditions); other texts read a call without an instance as the
    // call's own text.
    bool instantiates = false;
    const KOVA_OBJ_INFO* macro = nullptr;  // the macro whose body this is
    // Written in a wizard map, whose values are written out into generated
    // text and whose own objects the validator does not hold.
    bool in_map = false;
};

// Whether name is a formal argument of the macro whose body text is: the
// engine replaces it before the body is evaluated.
bool kova_lint_is_formal(const KOVA_LINT_TEXT& text, const std::string& name);

// Every evaluated text of model and its sub-models, in model order.
std::vector<KOVA_LINT_TEXT> kova_lint_texts(KOVA_INFO& model);

// The number of tokens QEL_TOKEN_READER gives for text split at
// delimiters (an empty part between two delimiters counts; "" has none).
std::size_t kova_lint_token_count(const std::string& text, const std::string& delimiters);

// Every model of the description: model, then its sub-models.
std::vector<KOVA_INFO*> kova_lint_models(KOVA_INFO& model);

#endif
