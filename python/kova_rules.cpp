// kova_rules._native, the native module of the kova_rules package
// (python/kova_rules/__init__.py re-exports it): load a description,
// apply settings, run the validator and ask what a wizard asks, through
// the shared layer (session/) as the kova tool does. Texts that are not
// UTF-8 come back in the JSON-safe form (python/texts.h, docs/python.md).
// Each file of the module registers its part from PYBIND11_MODULE below.
#include <memory>

#include <pybind11/pybind11.h>

#include "generate/generate.h"
#include "python/py_validator.h"
#include "python/records.h"
#include "python/texts.h"

namespace {

const char* const MODULE_DOC = R"(The native module of kova_rules: validate configurations of parameterised hardware building blocks.

    import kova_rules
    validator = kova_rules.load("examples/ram.xml")
    validator.load_settings("examples/ram-conflicts.settings")
    result = validator.run()
    for message in result.messages:
        print(message)

Texts that are not UTF-8 come back as str in the escaped form the tool's
JSON uses (U+FFFD and two hex digits per stray byte); given back, such a str
stands for the original bytes. See docs/python.md.)";

std::string optional_path(const py::object& path) { return path.is_none() ? "" : kova_py_path(path); }
std::string optional_text(const py::object& text) { return text.is_none() ? "" : kova_py_bytes(text); }

// A setting's value: str or bytes, or an int written in decimal.
std::string setting_value(const py::handle& value) {
    if (PyLong_Check(value.ptr()) && !PyBool_Check(value.ptr())) return std::string(py::str(value));
    return kova_py_bytes(value);
}

// The settings of a mapping of name to value, in its order.
std::vector<KOVA_SETTING> settings_of(const py::handle& mapping) {
    if (!py::hasattr(mapping, "items"))
        throw py::type_error("expected a mapping of names to values, not " +
                             std::string(py::str(mapping.get_type().attr("__name__"))));
    std::vector<KOVA_SETTING> settings;
    for (const py::handle item : mapping.attr("items")()) {
        const auto pair = item.cast<py::tuple>();
        settings.push_back({kova_py_bytes(pair[0]), setting_value(pair[1]), "", 0, KOVA_SETTING_SOURCE::PYTHON});
    }
    return settings;
}

// What pickling keeps of a validator: how it was loaded and every
// setting it holds, texts as bytes.
py::tuple validator_state(KOVA_PY_VALIDATOR& v) {
    py::list settings;
    for (const KOVA_SETTING& setting : v.settings())
        settings.append(py::make_tuple(py::bytes(setting.name), py::bytes(setting.value), py::bytes(setting.file),
                                       setting.line));
    const KOVA_LOAD_OPTIONS& options = v.options();
    return py::make_tuple(py::bytes(options.description), py::bytes(options.library_dir),
                          py::bytes(options.function_name), settings);
}

// generate's docstring, naming the languages of generate/'s one list; it
// lives as long as the module may.
const char* generate_doc() {
    static const std::string doc =
        "The source `kova generate --lang LANG` writes for the configuration (" + kova_generate_language_list() +
        "; json gives the tool's document). ValueError for an invalid configuration (its errors), an unknown "
        "language, options that do not go together, or a name the language cannot spell. export names hidden "
        "parameters and wizard-map values to add (as --export does); KeyError for one that is neither.";
    return doc.c_str();
}

// load keeps its own reference to the LoadError class: the module's
// attribute may be deleted or replaced while load is still callable.
// Answers the class, to which other files add their methods.
py::class_<KOVA_PY_VALIDATOR> bind_validator(py::module_& module, py::object load_error) {
    using V = KOVA_PY_VALIDATOR;
    py::class_<V> validator(module, "Validator",
                  "A loaded description with the user's settings. Make one with kova_rules.load(); copy() gives an "
                  "independent validator, and threads that each use their own copy run in parallel. One validator "
                  "may be shared by threads: its operations take turns. Every method that runs the engine lets "
                  "other Python threads go on meanwhile.");
    validator
        .def_property_readonly("description", [](const V& v) { return kova_py_text(v.description()); },
                               "The description file it was loaded from.")
        .def("set", [](V& v, const py::object& name, const py::object& value) { v.set(kova_py_bytes(name), setting_value(value)); },
             py::arg("name"), py::arg("value"),
             "Sets a port or parameter: a parameter value (str, bytes or int), or \"USED\", \"UNUSED\", "
             "\"CONSTANT\", or \"CONSTANT:VALUE\" for a port held at a value (decimal, 0x hex or 0b binary). "
             "A later setting of a name overrides an earlier one. An unknown name raises KeyError naming the "
             "nearest known one; an unacceptable value raises ValueError. Either leaves the validator as it was.")
        .def("set_many", [](V& v, const py::object& settings) { v.set_many(settings_of(settings)); },
             py::arg("settings"),
             "Sets several ports and parameters at once from a mapping of name to value (values as set() takes "
             "them), in the mapping's order. All or nothing: when any is refused, none is applied, and one "
             "exception reports every refusal (KeyError when every refused name is unknown, else ValueError).")
        .def("__getitem__", [](V& v, const py::object& name) { return v.object(kova_py_bytes(name)); },
             py::arg("name"),
             "The port or parameter of that name as an ObjectState; KeyError naming the nearest known name.")
        .def("load_settings", [](V& v, const py::object& path) { return v.load_settings(kova_py_path(path)); },
             py::arg("path"),
             "Applies a settings file (one NAME=VALUE per line, docs/settings.md) and returns its warnings as a "
             "list of Message. A file that is not there raises FileNotFoundError, one that cannot be read "
             "OSError; one that sets only names the "
             "description does not have raises KeyError; any other error raises ValueError. The text gives "
             "FILE:LINE for each error; nothing of the file is applied then.")
        .def("save_settings", [](V& v, const py::object& path, bool minimal) { v.save_settings(kova_py_path(path), minimal); },
             py::arg("path"), py::arg("minimal") = false,
             "Writes every setting now held (silent corrections of the last run included) to a settings file, "
             "atomically; an existing settings file keeps its comments, blank lines and order. A failed save "
             "raises OSError and leaves the file as it was. minimal=True writes a fresh file of only the "
             "settings that differ from the description's defaults; loading it on the defaults gives the same "
             "configuration.")
        .def("run", &V::run,
             "Runs the validator on the current settings and returns a Result (valid, messages). Other Python "
             "threads go on while the engine runs.")
        .def("eval", [](V& v, const py::object& text, const std::string& mode) { return v.eval(kova_py_bytes(text), mode); },
             py::arg("expr"), py::arg("mode") = "evaluate",
             "The value of a rule text under the current settings, as a str. mode is \"evaluate\", \"refresh\" "
             "(a bare macro name is evaluated afresh) or \"text\" (operators rendered as canonical text). A text "
             "that does not parse raises ValueError with the message; an unknown mode raises ValueError.")
        .def("deps", [](V& v, const py::object& text) { return v.deps(kova_py_bytes(text)); }, py::arg("text"),
             "When text names a port, parameter or other object: the names of the ports and parameters its "
             "rules depend on. Otherwise text is an expression: the names it uses, directly or through the "
             "macros it calls. In order of first mention, as `kova deps` lists them.")
        .def("widths", &V::widths, "Every port's width under the current settings: a dict of port name to int "
                                   "(None where the width expression gives none).")
        .def("ranges", [](V& v, const py::object& port) { return v.ranges(kova_py_bytes(port)); }, py::arg("port"),
             "The legal values of a port under the current settings, as a PortRange. KeyError for an unknown port.")
        .def("messages", &V::wizard_messages,
             "The texts of the description's messages that apply to the current settings (a fresh list on every "
             "call), as a wizard shows them.")
        .def("simulation_libraries", &V::simulation_libraries,
             "The simulation libraries the current settings need, as a list of str.")
        .def("wizard_map", [](V& v, const py::object& name) { return v.wizard_map(kova_py_bytes(name)); }, py::arg("name"),
             "The wizard map of that name evaluated under the current settings: a list of MapEntry. KeyError for "
             "an unknown map.")
        .def("stimulus", [](V& v, const py::object& vector, int time) { return v.stimulus(kova_py_bytes(vector), time); },
             py::arg("vector"), py::arg("time"),
             "What the stimulus vector drives at that time: a list of (signal, value) tuples in record order. "
             "KeyError for an unknown vector.")
        .def_property_readonly("last_messages", &V::last_messages,
                               "The engine's messages from the last query (eval, widths, ranges, messages, "
                               "simulation_libraries, wizard_map, stimulus), as a list of Message.")
        .def_property_readonly("parameters", [](V& v) { return v.objects(false); },
                               "Every parameter, in the description's order, as a list of ObjectState.")
        .def_property_readonly("ports", [](V& v) { return v.objects(true); },
                               "Every port, in the description's order, as a list of ObjectState.")
        .def("explain", [](V& v, const py::object& name) { return v.explain(kova_py_bytes(name)); }, py::arg("name"),
             "Why a port or parameter is as it is: the members of `kova explain --format json` (object, rules with "
             "their conditions, results and dependency trees, nodes, dependents) as dicts and lists. KeyError, "
             "with the nearest name, for a name the description does not have.")
        .def("fix",
             [](V& v, const py::iterable& keep, bool dry_run) { return v.fix(kova_py_names(keep), dry_run); },
             py::arg("keep") = py::tuple(), py::arg("dry_run") = false,
             "Repairs the configuration as `kova fix` does, never changing a name in keep, and answers a Repair: "
             "its changes as (name, old, new, reason) tuples, applied unless dry_run, the verdict reached, whether "
             "it gave up and why, and the runs it made. keep is an iterable of names (str or "
             "bytes); a single str or bytes raises TypeError. KeyError for a name in keep that the description "
             "does not have; nothing is changed then, not even the silent corrections of a run.")
        .def("migrate",
             [](V& v, const py::object& path, const py::object& save, bool fix) {
                 return v.migrate(kova_py_path(path), optional_path(save), fix);
             },
             py::arg("path"), py::arg("save") = py::none(), py::arg("fix") = false,
             "Migrates a settings file written for an earlier version of the block, as `kova migrate PATH --to "
             "DESCRIPTION --format json` does, from the defaults: that document (lines, defaults, repairs, "
             "repaired, complete, saved, valid, messages) as dicts and lists; save writes the migrated file, fix "
             "applies the repair. The validator then holds the migrated configuration. OSError for a file that "
             "cannot be read or saved, ValueError for one with errors; nothing changes then.")
        .def("generate",
             [](V& v, const std::string& lang, bool stub, const py::object& name, const py::iterable& exports) {
                 return v.generate(lang, stub, name.is_none() ? std::string() : kova_py_bytes(name), kova_py_names(exports));
             },
             py::arg("lang"), py::arg("stub") = false, py::arg("name") = py::none(), py::arg("export") = py::tuple(),
             generate_doc())
        .def("copy", &V::copy,
             "An independent validator with the same description, settings and state.")
        .def("__copy__", &V::copy, "The same as copy().")
        .def("__deepcopy__", [](const V& v, const py::object&) { return v.copy(); }, py::arg("memo"),
             "The same as copy().")
        .def(py::pickle([](V& v) { return validator_state(v); },
                        [load_error](const py::tuple& state) {
                            if (state.size() != 4) throw py::value_error("not the state of a kova_rules.Validator");
                            KOVA_LOAD_OPTIONS options{state[0].cast<std::string>(), state[1].cast<std::string>(),
                                                      state[2].cast<std::string>()};
                            std::vector<KOVA_SETTING> settings;
                            for (const py::handle item : state[3].cast<py::list>()) {
                                const auto fields = item.cast<py::tuple>();
                                // A setting read from a file keeps its place; every other one
                                // came from Python.
                                const auto file = fields[2].cast<std::string>();
                                settings.push_back({fields[0].cast<std::string>(), fields[1].cast<std::string>(), file,
                                                    fields[3].cast<int>(),
                                                    file.empty() ? KOVA_SETTING_SOURCE::PYTHON : KOVA_SETTING_SOURCE::FILE});
                            }
                            auto validator = std::make_unique<V>(options, load_error);
                            validator->set_many(settings);
                            return validator;
                        }),
             "Pickles as the description's path (as given: a process that unpickles it reads the file again from "
             "its own working folder), its load options and every setting it holds with where it was set.")
        .def("__repr__", [](const V& v) { return py::str("<Validator {!r}>").format(kova_py_text(v.description())); });

    module.def(
        "load",
        [load_error](const py::object& path, const py::object& lib, const py::object& function) {
            KOVA_LOAD_OPTIONS options;
            options.description = kova_py_path(path);
            options.library_dir = optional_path(lib);
            options.function_name = optional_text(function);
            return std::make_unique<V>(options, load_error);
        },
        py::arg("path"), py::arg("lib") = py::none(), py::arg("function") = py::none(),
        "Loads a description (XML) and gives every port and parameter its default state. lib names a folder "
        "searched first for included sub-models; function overrides the description's function name. A "
        "description that is missing or malformed raises LoadError, whose text gives FILE:LINE for each problem.");

    module.def(
        "_native_run_seconds", [](V& v, int repetitions) { return v.native_run_seconds(repetitions); },
        py::arg("validator"), py::arg("repetitions"),
        "For the benchmark only: the CPU seconds of repetitions runs, each followed by reading every message's "
        "text, all in C++.");
    return validator;
}

}  // namespace

PYBIND11_MODULE(_native, module) {
    module.doc() = MODULE_DOC;
    module.attr("__version__") = KOVA_VERSION;
    const py::object load_error = py::reinterpret_steal<py::object>(
        PyErr_NewExceptionWithDoc("kova_rules.LoadError",
                                  "A description that cannot be loaded. str() gives every problem in compiler form "
                                  "(FILE:LINE:COLUMN: error: TEXT); .messages holds them as Message objects.",
                                  PyExc_Exception, nullptr));
    if (!load_error) throw py::error_already_set();
    module.attr("LoadError") = load_error;
    kova_bind_records(module);
    // bind_validator answers the class: a file that adds methods to it
    // takes it here, on a line of its own.
    bind_validator(module, load_error);
    kova_bind_sweep(module);
}
