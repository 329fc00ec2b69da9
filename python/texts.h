// Texts between this system and Python. Texts of this system are byte
// strings and may hold bytes that are not UTF-8; Python's str is text.
// Outgoing, every byte string becomes the str of its JSON-safe form
// (session/json_text.h), which is always valid, so no conversion raises
// but for MemoryError when no str can be made.
// Incoming, a str is read back through the same mapping (its UTF-8, with
// lone surrogates of the surrogateescape handler taken as the bytes they
// stand for, then the safe form restored), and bytes are taken as they
// are. So a value read from the module and given back unchanged is the
// same byte string. Paths go through os.fsencode instead, as Python's own
// file functions do.
#ifndef KOVA_PY_TEXTS_H
#define KOVA_PY_TEXTS_H

#include <string>
#include <string_view>
#include <vector>

#include <pybind11/pybind11.h>

namespace py = pybind11;

// The str of a byte string's safe form.
py::str kova_py_text(std::string_view bytes);
// The same, or None for "".
py::object kova_py_text_or_none(std::string_view bytes);
// A list of str.
py::list kova_py_texts(const std::vector<std::string>& texts);

// The bytes of a str or bytes argument; TypeError for anything else.
std::string kova_py_bytes(py::handle text);
// The names of an iterable of str or bytes. A str or bytes itself is one
// name, not names, and raises TypeError rather than giving its characters.
std::vector<std::string> kova_py_names(const py::iterable& names);
// The bytes of a path argument (str, bytes or os.PathLike).
std::string kova_py_path(py::handle path);

#endif
