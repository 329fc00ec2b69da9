// The result objects of the module and their fields.
#include "python/records.h"

#include <sstream>

#include "python/texts.h"

namespace {

py::object positive_or_none(long long value) { return value > 0 ? py::object(py::int_(value)) : py::object(py::none()); }

std::string usage_name(int state) { return kova_get_usage_state_as_string(state); }

// The origin as the JSON documents give it (kova_value_origin_json): a
// dict of the members that apply, texts as str.
py::dict origin_dict(const KOVA_VALUE_ORIGIN& origin) {
    py::dict dict;
    const nlohmann::json members = kova_value_origin_json(origin);  // kept alive through the walk
    for (auto member = members.begin(); member != members.end(); ++member)
        dict[py::str(member.key())] = member->is_number() ? py::object(py::int_(member->get<long long>()))
                                                          : py::object(py::str(member->get<std::string>()));
    return dict;
}


void bind_message(py::module_& module) {
    using M = KOVA_PY_MESSAGE;
    py::class_<M>(module, "Message",
                  "One diagnostic, as the kova tool's JSON gives it: grade, kind, text, the object and rule it "
                  "concerns, and where in the description it was written.")
        .def_property_readonly("severity", [](const M& m) { return kova_severity_name(m.message.severity); },
                               "\"error\", \"warning\" or \"note\".")
        .def_property_readonly("kind", [](const M& m) { return kova_diagnostic_kind_name(m.message.kind); },
                               "What kind of finding it is, e.g. \"value_conflict\" or \"setting\".")
        .def_property_readonly("text", [](const M& m) { return kova_py_text(m.message.text); }, "The message text.")
        .def_property_readonly("object", [](const M& m) { return kova_py_text_or_none(m.message.object); },
                               "The port or parameter it concerns, or None.")
        .def_property_readonly(
            "rule", [](const M& m) { return m.message.rule_index >= 0 ? py::object(py::int_(m.message.rule_index)) : py::object(py::none()); },
            "The index of the rule that decided among the object's rules, or None.")
        .def_property_readonly("file", [](const M& m) { return kova_py_text_or_none(m.message.location.file); },
                               "The file the message points into, or None.")
        .def_property_readonly("line", [](const M& m) { return positive_or_none(m.message.location.line); },
                               "1-based line, or None when unknown.")
        .def_property_readonly("column", [](const M& m) { return positive_or_none(m.message.location.column); },
                               "1-based column in bytes, or None when unknown.")
        .def_property_readonly(
            "setting",
            [](const M& m) -> py::object {
                if (m.message.setting.file.empty()) return py::none();
                return py::make_tuple(kova_py_text(m.message.setting.file), positive_or_none(m.message.setting.line));
            },
            "For a conflict with a setting read from a settings file: (file, line) where it was set; else None.")
        .def("__str__", [](const M& m) { return kova_py_text(kova_messages_text({m.message}, m.fallback_file)); },
             "The message in compiler form, FILE:LINE:COLUMN: SEVERITY: TEXT (and a note line for the setting).")
        .def("__repr__", [](const M& m) {
            return py::str("<Message {} {} {!r}>")
                .format(kova_severity_name(m.message.severity), kova_diagnostic_kind_name(m.message.kind),
                        kova_py_text(m.message.text));
        });
}

void bind_result(py::module_& module) {
    using R = KOVA_PY_RESULT;
    py::class_<R>(module, "Result", "What one validation run reports.")
        .def_readonly("valid", &R::valid, "True when the configuration is valid.")
        .def_readonly("messages", &R::messages,
                      "Every message of the run, as a list of Message: initialisation, the run, function rules, "
                      "silent corrections.")
        .def("__repr__", [](const R& r) {
            return py::str("<Result valid={} messages={}>").format(r.valid, py::len(r.messages));
        });
}

void bind_object(py::module_& module) {
    using O = KOVA_PY_OBJECT;
    py::class_<O>(module, "ObjectState",
                  "A port or parameter with its current and alternate state, label and help text.")
        .def_property_readonly("name", [](const O& o) { return kova_py_text(o.state.name); }, "Its name.")
        .def_property_readonly("kind", [](const O& o) { return o.state.kind; },
                               "\"in\", \"out\", \"inout\", \"integer\", \"string\" or \"other\".")
        .def_property_readonly("is_port", [](const O& o) { return o.state.port; }, "True for a port.")
        .def_property_readonly("value_text", [](const O& o) { return kova_py_text(o.state.value_text); },
                               "A parameter's value text (its list or range); a port's width expression.")
        .def_property_readonly("default", [](const O& o) { return kova_py_text(o.state.default_value); },
                               "The default value the description gives (\"\" when none).")
        .def_property_readonly(
            "value",
            [](const O& o) { return o.state.port ? kova_py_text_or_none(o.state.value) : py::object(kova_py_text(o.state.value)); },
            "A parameter's current value; a port's value in decimal when it is held at one, else None.")
        .def_property_readonly("usage", [](const O& o) { return usage_name(o.state.usage); },
                               "The current usage state: \"USED\", \"UNUSED\", \"CONSTANT\" or \"NONE\".")
        .def_property_readonly(
            "alt_value",
            [](const O& o) { return o.state.port ? py::object(py::none()) : py::object(kova_py_text(o.state.alt_value)); },
            "A parameter's alternate value, the value its rules derive in the last run; None for a port.")
        .def_property_readonly("alt_usage", [](const O& o) { return usage_name(o.state.alt_usage); },
                               "The alternate usage state the rules derive in the last run.")
        .def_property_readonly("model_usage", [](const O& o) { return usage_name(o.state.model_usage); },
                               "The usage state the description gives.")
        .def_property_readonly("label", [](const O& o) { return kova_py_text_or_none(o.state.help.label); },
                               "The short title the description gives it, or None.")
        .def_property_readonly("help", [](const O& o) { return kova_py_text_or_none(o.state.help.text); },
                               "The help text the description gives it, as written, or None.")
        .def_property_readonly("origin", [](const O& o) { return origin_dict(o.state.origin); },
                               "Where its value came from, as the JSON documents give it: a dict with \"kind\" "
                               "(set, default, corrected, derived, held, absent) and those of \"source\", \"file\", "
                               "\"line\", \"rule\", \"was\" that apply (docs/json.md, Origins).")
        .def("__repr__", [](const O& o) {
            return py::str("<ObjectState {} {} value={!r} usage={}>")
                .format(o.state.kind, kova_py_text(o.state.name),
                        o.state.port ? kova_py_text_or_none(o.state.value) : py::object(kova_py_text(o.state.value)),
                        usage_name(o.state.usage));
        });
}

void bind_range(py::module_& module) {
    using P = KOVA_PY_RANGE;
    py::class_<P>(module, "PortRange", "The legal values of a port under the current settings.")
        .def_property_readonly("port", [](const P& p) { return kova_py_text(p.range.port); }, "The port's name.")
        .def_property_readonly("width", [](const P& p) { return p.range.width >= 0 ? py::object(py::int_(p.range.width)) : py::object(py::none()); },
                               "The port's width in bits, or None when it has none.")
        .def_property_readonly("lower", [](const P& p) { return kova_py_text(p.range.lower); },
                               "The lowest legal value in decimal (\"X\" digits where unknown).")
        .def_property_readonly("upper", [](const P& p) { return kova_py_text(p.range.upper); },
                               "The highest legal value in decimal (\"X\" digits where unknown).")
        .def_property_readonly("values", [](const P& p) { return p.range.listed ? py::object(kova_py_texts(p.range.values)) : py::object(py::none()); },
                               "The explicit list of legal values in decimal, or None when the rules give none.")
        .def("__repr__", [](const P& p) {
            return py::str("<PortRange {} width={} lower={} upper={}>")
                .format(kova_py_text(p.range.port), p.range.width, kova_py_text(p.range.lower), kova_py_text(p.range.upper));
        });
}

void bind_map_entry(py::module_& module) {
    using E = KOVA_PY_MAP_ENTRY;
    py::class_<E>(module, "MapEntry", "One object of an evaluated wizard map.")
        .def_property_readonly("name", [](const E& e) { return kova_py_text(e.entry.name); }, "Its name.")
        .def_property_readonly("kind", [](const E& e) { return e.entry.kind; }, "Its kind, as ObjectState.kind.")
        .def_property_readonly("value", [](const E& e) { return kova_py_text(e.entry.value); },
                               "The value its value text evaluates to (\"\" when none).")
        .def_property_readonly("usage", [](const E& e) { return e.entry.usage; }, "Its usage state.")
        .def_property_readonly("source", [](const E& e) { return e.entry.source; },
                               "\"map\" for the map's own object, \"parameter\" or \"port\" for one filled in.")
        .def("__repr__", [](const E& e) {
            return py::str("<MapEntry {} {} value={!r} usage={}>")
                .format(e.entry.kind, kova_py_text(e.entry.name), kova_py_text(e.entry.value), e.entry.usage);
        });
}

}  // namespace

py::list kova_py_messages(KOVA_MESSAGES messages, const std::string& fallback_file) {
    py::list list(messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i)
        list[i] = py::cast(KOVA_PY_MESSAGE{std::move(messages[i]), fallback_file}, py::return_value_policy::move);
    return list;
}

std::string kova_messages_text(const KOVA_MESSAGES& messages, const std::string& fallback_file) {
    std::ostringstream out;
    kova_print_messages(messages, fallback_file, out);
    std::string text = out.str();
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

void kova_bind_records(py::module_& module) {
    bind_message(module);
    bind_result(module);
    bind_object(module);
    bind_range(module);
    bind_map_entry(module);
}
