// The result objects of the module and their fields.
#include "python/records.h"

#include <sstream>

#include "python/texts.h"
#include "session/answers.h"
#include "session/json_document.h"
#include "session/value_text.h"

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

// A place in a file, as message_state keeps it.
py::tuple location_state(const KOVA_SOURCE_LOCATION& location) {
    return py::make_tuple(py::bytes(location.file), location.line, location.column);
}

KOVA_SOURCE_LOCATION location_of_state(const py::handle& state) {
    const auto fields = state.cast<py::tuple>();
    return {fields[0].cast<std::string>(), fields[1].cast<uint32_t>(), fields[2].cast<uint32_t>()};
}

// Every field of a message, texts as bytes: what pickling keeps and what
// equality compares, so that a message read back is the same message.
py::tuple message_state(const KOVA_PY_MESSAGE& m) {
    const KOVA_MESSAGE& message = m.message;
    py::list related;
    for (const KOVA_RELATED_PLACE& place : message.related)
        related.append(py::make_tuple(location_state(place.location), py::bytes(place.object), py::bytes(place.note)));
    return py::make_tuple(static_cast<int>(message.severity), static_cast<int>(message.kind), py::bytes(message.text),
                          py::bytes(message.object), message.rule_index, location_state(message.location),
                          py::bytes(message.origin), location_state(message.setting), py::bytes(message.check),
                          py::bytes(message.hint), py::bytes(message.source_line), py::tuple(related),
                          py::bytes(m.fallback_file));
}

// The message of a state message_state made; ValueError for another tuple.
KOVA_PY_MESSAGE message_of_state(const py::tuple& state) {
    if (state.size() != 13) throw py::value_error("not the state of a kova_rules.Message");
    KOVA_PY_MESSAGE m;
    KOVA_MESSAGE& message = m.message;
    message.severity = static_cast<KOVA_SEVERITY>(state[0].cast<int>());
    message.kind = static_cast<KOVA_DIAGNOSTIC_KIND>(state[1].cast<int>());
    message.text = state[2].cast<std::string>();
    message.object = state[3].cast<std::string>();
    message.rule_index = state[4].cast<int>();
    message.location = location_of_state(state[5]);
    message.origin = state[6].cast<std::string>();
    message.setting = location_of_state(state[7]);
    message.check = state[8].cast<std::string>();
    message.hint = state[9].cast<std::string>();
    message.source_line = state[10].cast<std::string>();
    for (const py::handle place : state[11].cast<py::tuple>()) {
        const auto fields = place.cast<py::tuple>();
        message.related.push_back({location_of_state(fields[0]), fields[1].cast<std::string>(),
                                   fields[2].cast<std::string>()});
    }
    m.fallback_file = state[12].cast<std::string>();
    return m;
}

void bind_message(py::module_& module) {
    using M = KOVA_PY_MESSAGE;
    py::class_<M>(module, "Message",
                  "One diagnostic, as the kova tool's JSON gives it: grade, kind, text, the object and rule it "
                  "concerns, and where in the description it was written.")
        .def_property_readonly("severity", [](const M& m) { return kova_severity_name(m.message.severity); },
                               "\"error\", \"warning\" or \"note\".")
        .def_property_readonly("kind", [](const M& m) { return kova_diagnostic_kind_name(m.message.kind); },
                               "What kind of finding it is, e.g. \"value-conflict\" or \"setting\".")
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
            "setting", [](const M& m) { return kova_py_json(kova_message_json(m.message)["setting"]); },
            "For a conflict with a setting read from a settings file: {\"file\": FILE, \"line\": LINE} where it "
            "was set, as the JSON document gives it; else None.")
        .def("to_dict", [](const M& m) { return kova_py_json(kova_message_json(m.message)); },
             "The message as the tool's JSON documents give it: a dict of severity, kind, text, object, rule, "
             "file, line, column and setting.")
        .def(
            "__eq__", [](const M& m, const py::object& other) -> py::object {
                if (!py::isinstance<M>(other)) return py::reinterpret_borrow<py::object>(Py_NotImplemented);
                return py::bool_(message_state(m).equal(message_state(other.cast<const M&>())));
            },
            py::is_operator())
        .def("__hash__", [](const M& m) { return py::hash(message_state(m)); })
        .def(py::pickle([](const M& m) { return message_state(m); }, [](const py::tuple& state) { return message_of_state(state); }))
        .def("__str__", [](const M& m) { return kova_py_text(kova_messages_text({m.message}, m.fallback_file)); },
             "The message in compiler form, FILE:LINE:COLUMN: SEVERITY: TEXT (and a note line for the setting).")
        .def("__repr__", [](const M& m) {
            return py::str("<Message {} {} {!r}>")
                .format(kova_severity_name(m.message.severity), kova_diagnostic_kind_name(m.message.kind),
                        kova_py_text(m.message.text));
        });
}

// The validate document of a run: the shared layer's, with the run's
// verdict, messages and object states.
nlohmann::json result_document(const KOVA_PY_RESULT& r) {
    KOVA_MESSAGES messages;
    for (const py::handle message : r.messages) messages.push_back(message.cast<const KOVA_PY_MESSAGE&>().message);
    return kova_command_json("validate", r.description, r.valid, r.objects->members(), messages);
}

// What pickling keeps of a result: its verdict, description, messages
// and the document's members as JSON text (texts in the safe form, which
// reads back as the same bytes).
py::tuple result_state(const KOVA_PY_RESULT& r) {
    return py::make_tuple(r.valid, py::bytes(r.description), r.messages, kova_json_dump(r.objects->members()));
}

KOVA_PY_RESULT result_of_state(const py::tuple& state) {
    if (state.size() != 4) throw py::value_error("not the state of a kova_rules.Result");
    KOVA_PY_RESULT r;
    r.valid = state[0].cast<bool>();
    r.description = state[1].cast<std::string>();
    r.messages = state[2].cast<py::list>();
    r.objects = std::make_shared<KOVA_PY_RUN_OBJECTS>(nlohmann::json::parse(state[3].cast<std::string>()));
    return r;
}

void bind_result(py::module_& module) {
    using R = KOVA_PY_RESULT;
    py::class_<R>(module, "Result",
                  "What one validation run reports. True when the configuration is valid; len() and iteration "
                  "give its messages. Results compare by value and pickle.")
        .def_readonly("valid", &R::valid, "True when the configuration is valid.")
        .def_readonly("messages", &R::messages,
                      "Every message of the run, as a list of Message: initialisation, the run, function rules, "
                      "silent corrections.")
        .def("__bool__", [](const R& r) { return r.valid; })
        .def("__len__", [](const R& r) { return py::len(r.messages); })
        .def("__iter__", [](const R& r) { return py::iter(r.messages); })
        .def("to_dict", [](const R& r) { return kova_py_json(result_document(r)); },
             "The document `kova validate --format json` prints for the same run: schema_version, command, "
             "description, valid, ports, parameters and messages.")
        .def(
            "__eq__", [](const R& r, const py::object& other) -> py::object {
                if (!py::isinstance<R>(other)) return py::reinterpret_borrow<py::object>(Py_NotImplemented);
                const R& o = other.cast<const R&>();
                return py::bool_(r.valid == o.valid && r.description == o.description &&
                                 r.objects->members() == o.objects->members() &&
                                 r.messages.equal(o.messages));
            },
            py::is_operator())
        .def(py::pickle([](const R& r) { return result_state(r); }, [](const py::tuple& state) { return result_of_state(state); }))
        .def("__repr__", [](const R& r) {
            return py::str("<Result valid={} messages={}>").format(r.valid, py::len(r.messages));
        });
}

void bind_repair(py::module_& module) {
    using F = KOVA_PY_REPAIR;
    py::class_<F>(module, "Repair", "What fix() did: the changes, the verdict reached and whether it gave up.")
        .def_property_readonly(
            "changes",
            [](const F& f) {
                py::list changes;
                for (const KOVA_FIX_CHANGE& change : f.result.changes)
                    changes.append(py::make_tuple(kova_py_text(change.name), kova_py_text(change.old_value),
                                                  kova_py_text(change.new_value), kova_py_text(change.reason)));
                return changes;
            },
            "The changed settings as (name, old, new, reason) tuples, in the order first made.")
        .def_property_readonly("valid", [](const F& f) { return f.result.valid; },
                               "True when the configuration reached is valid.")
        .def_property_readonly("gave_up", [](const F& f) { return f.result.gave_up; },
                               "True when the repair stopped without a valid configuration.")
        .def_property_readonly("reason", [](const F& f) { return kova_py_text_or_none(f.result.gave_up_reason); },
                               "Why it gave up, or None.")
        .def_property_readonly("runs", [](const F& f) { return f.result.runs; },
                               "The validation runs it made, trials included.")
        .def("to_dict", [](const F& f) { return kova_py_json(kova_fix_json(f.result)); },
             "The members of `kova fix --format json`.")
        .def("__repr__", [](const F& f) {
            return py::str("<Repair valid={} changes={} runs={}>")
                .format(f.result.valid, f.result.changes.size(), f.result.runs);
        });
}

// A parameter's legal values from its value text: a range as a Python
// range, a list as its items (int for an integer parameter whose items
// are all whole numbers); None for a port or any other text.
py::object legal_values(const KOVA_OBJECT_STATE& state) {
    if (state.port) return py::none();
    long long low = 0, high = 0;
    if (kova_value_range(state.value_text, low, high))
        return py::module_::import("builtins").attr("range")(low, high + 1);
    const std::vector<std::string> items = kova_value_list(state.value_text);
    if (items.empty()) return py::none();
    py::list list;
    for (const std::string& item : items) {
        const std::optional<long long> number = kova_integer_of(item);
        if (state.kind != "integer" || !number) return kova_py_texts(items);
        list.append(*number);
    }
    return list;
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
        .def_property_readonly("legal_values", [](const O& o) { return legal_values(o.state); },
                               "A parameter's legal values from its value text: a list of its items (int for an "
                               "integer parameter), or range(LOW, HIGH + 1) for LOW-HIGH; None for a port or a text "
                               "of another form.")
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

const nlohmann::json& KOVA_PY_RUN_OBJECTS::members() {
    py::gil_scoped_release release;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_members) {
        // A private copy: the widths are evaluated on the session, and the
        // validator may still read the one the run left.
        std::unique_ptr<KOVA_SESSION> session;
        {
            std::lock_guard<std::mutex> handover(*m_handover);
            session = std::make_unique<KOVA_SESSION>(*m_ran);
            m_ran.reset();
        }
        KOVA_ANSWER answer;
        kova_validate_answer(*session, true, answer);
        m_members = std::move(answer.document);
    }
    return *m_members;
}

py::object kova_py_json(const nlohmann::json& document) {
    return py::module_::import("json").attr("loads")(py::str(kova_json_dump(document)));
}

void kova_bind_records(py::module_& module) {
    bind_message(module);
    bind_result(module);
    bind_repair(module);
    bind_object(module);
    bind_range(module);
    bind_map_entry(module);
}
