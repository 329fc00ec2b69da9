// Texts of this system are byte strings and may hold bytes that are not
// UTF-8; JSON strings must be UTF-8. This is the lossless mapping between
// the two (documented in docs/json.md, "Texts that are not UTF-8"):
//   - valid UTF-8 passes unchanged, except that U+FFFD, the escape
//     character, is written twice;
//   - a byte that is not part of a valid sequence becomes U+FFFD followed
//     by the byte's two uppercase hex digits (0xFF -> U+FFFD "FF").
// The safe form is always valid UTF-8, so a JSON document holding it can be
// written without error, and kova_json_restore gives the bytes back.
#ifndef KOVA_JSON_TEXT_H
#define KOVA_JSON_TEXT_H

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "session/utf8.h"

// The safe (valid UTF-8) form of a byte string.
std::string kova_json_safe(std::string_view bytes);

// The bytes a safe form stands for: U+FFFD U+FFFD gives U+FFFD, U+FFFD and
// two hex digits give that byte, everything else stays as it is.
std::string kova_json_restore(std::string_view text);

// A JSON string holding the safe form of bytes; dump() never throws on it.
nlohmann::json kova_json_text(std::string_view bytes);

// The same, or null for an empty text (a label or help the description
// does not give).
nlohmann::json kova_json_text_or_null(std::string_view bytes);

#endif
