// Conversions of byte strings to and from Python objects.
#include "python/texts.h"

#include "session/json_text.h"

namespace {

// U+FFFD, the escape character of the safe form, in UTF-8.
constexpr std::string_view k_escape = "\xEF\xBF\xBD";

// The str of UTF-8 bytes, or null with the error set (UnicodeDecodeError
// for bytes that are not UTF-8, MemoryError when no str can be made).
PyObject* decoded(std::string_view utf8) {
    return PyUnicode_DecodeUTF8(utf8.data(), static_cast<Py_ssize_t>(utf8.size()), "strict");
}

// A str the caller owns from a result of decoded(): a null one raises the
// error set with it.
py::str owned(PyObject* text) {
    if (!text) throw py::error_already_set();
    return py::reinterpret_steal<py::str>(text);
}

}  // namespace

py::str kova_py_text(std::string_view bytes) {
    // Valid UTF-8 without the escape character is its own safe form, so it
    // is decoded as it is. Python's strict decoder accepts exactly what
    // kova_is_utf8 does (shortest forms, no surrogates, nothing above
    // U+10FFFF); anything else takes the escaping path. Only a decoding
    // error does: any other failure (no memory) is raised.
    if (bytes.find(k_escape) == std::string_view::npos) {
        if (PyObject* text = decoded(bytes)) return owned(text);
        if (!PyErr_ExceptionMatches(PyExc_UnicodeDecodeError)) throw py::error_already_set();
        PyErr_Clear();
    }
    // The safe form is valid UTF-8, so only a failure to allocate is left.
    return owned(decoded(kova_json_safe(bytes)));
}

py::object kova_py_text_or_none(std::string_view bytes) {
    if (bytes.empty()) return py::none();
    return kova_py_text(bytes);
}

py::list kova_py_texts(const std::vector<std::string>& texts) {
    py::list list(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) list[i] = kova_py_text(texts[i]);
    return list;
}

std::string kova_py_bytes(py::handle text) {
    if (PyBytes_Check(text.ptr())) return std::string(py::reinterpret_borrow<py::bytes>(text));
    if (!PyUnicode_Check(text.ptr()))
        throw py::type_error("expected str or bytes, not " + std::string(py::str(text.get_type().attr("__name__"))));
    const py::object encoded =
        py::reinterpret_steal<py::object>(PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape"));
    if (!encoded) throw py::error_already_set();
    return kova_json_restore(std::string(py::reinterpret_borrow<py::bytes>(encoded)));
}

std::vector<std::string> kova_py_names(const py::iterable& names) {
    if (py::isinstance<py::str>(names) || py::isinstance<py::bytes>(names))
        throw py::type_error("expected an iterable of names, not a single " +
                             std::string(py::str(names.get_type().attr("__name__"))));
    std::vector<std::string> list;
    for (py::handle name : names) list.push_back(kova_py_bytes(name));
    return list;
}

std::string kova_py_path(py::handle path) {
    const py::object encoded = py::module_::import("os").attr("fsencode")(path);
    return std::string(py::reinterpret_borrow<py::bytes>(encoded));
}
