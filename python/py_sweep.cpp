// Validator.sweep: the configurations of kova sweep (session/sweep.h) as
// an iterator of dicts, one configuration validated per step, computed by
// the shared layer as the tool computes them. The iterator holds its own
// copy of the validator's session, set back to the defaults, so a sweep
// starts from the description's defaults whatever the validator holds,
// and later settings of the validator never reach it.
#include <memory>

#include "python/py_validator.h"
#include "python/records.h"
#include "python/texts.h"
#include "session/sweep.h"

namespace {

// The results of one sweep, configuration by configuration.
class SWEEP_ITERATOR {
public:
    SWEEP_ITERATOR(std::unique_ptr<KOVA_SESSION> loaded, KOVA_SWEEP_PLAN plan)
        : m_loaded(std::move(loaded)), m_plan(std::move(plan)) {}

    // The next configuration's result; StopIteration after the last. The
    // index is taken with the GIL held, so threads sharing the iterator
    // each get their own configuration.
    py::dict next() {
        if (m_next >= m_plan.count) throw py::stop_iteration();
        const std::uint64_t index = m_next++;
        KOVA_BATCH_OUTCOME outcome;
        {
            py::gil_scoped_release release;
            KOVA_SESSION session(*m_loaded);
            outcome = kova_sweep_item(session, m_plan, index);
        }
        return result_of(index, outcome);
    }

private:
    py::dict result_of(std::uint64_t index, KOVA_BATCH_OUTCOME& outcome) const {
        py::dict settings;
        for (const KOVA_SETTING& setting : outcome.settings)
            settings[kova_py_text(setting.name)] = kova_py_text(setting.value);
        py::dict result;
        result["index"] = index;
        result["settings"] = settings;
        result["valid"] = outcome.valid;
        result["error"] = outcome.error.empty() ? py::object(py::none()) : py::object(kova_py_text(outcome.error));
        result["messages"] = kova_py_messages(std::move(outcome.messages), m_loaded->description());
        result["draws"] = outcome.draws;
        result["repaired"] = outcome.repaired;
        return result;
    }

    std::unique_ptr<KOVA_SESSION> m_loaded;  // only copied, never changed
    KOVA_SWEEP_PLAN m_plan;
    std::uint64_t m_next = 0;  // read and changed with the GIL held
};

SWEEP_ITERATOR sweep(const KOVA_PY_VALIDATOR& validator, bool corners, const py::object& random, bool valid_only,
                     std::uint64_t seed, const py::iterable& vary_names) {
    const std::vector<std::string> vary = kova_py_names(vary_names);
    const auto usage = [](const std::string& text) { kova_py_raise(kova_problem(KOVA_PROBLEM_KIND::USAGE, text)); };
    if (corners && !random.is_none()) usage("a sweep takes corners or random draws, not both");
    if (valid_only && random.is_none()) usage("valid_only applies to random draws");
    if (!corners && random.is_none() && vary.empty()) usage("a sweep needs vary, random or corners");
    std::optional<std::uint64_t> draws;
    if (!random.is_none()) {
        const long long count = random.cast<long long>();
        if (count < 0) usage("random takes a count of draws, 0 or more");
        draws = static_cast<std::uint64_t>(count);
    }
    std::unique_ptr<KOVA_SESSION> loaded = validator.session_copy();
    KOVA_SWEEP_PLAN plan;
    KOVA_PROBLEM problem;
    {
        py::gil_scoped_release release;
        loaded->reset_to_defaults();
        problem = corners ? kova_sweep_corner_plan(*loaded, vary, plan)
                          : kova_sweep_plan(*loaded, vary, draws, seed, plan);
    }
    if (problem) kova_py_raise(problem);
    plan.valid_only = valid_only;
    return SWEEP_ITERATOR(std::move(loaded), std::move(plan));
}

}  // namespace

std::unique_ptr<KOVA_SESSION> KOVA_PY_VALIDATOR::session_copy() const {
    return locked([&] { return std::make_unique<KOVA_SESSION>(*m_session); });
}

void kova_bind_sweep(py::module_& module) {
    py::class_<SWEEP_ITERATOR>(module, "SweepIterator",
                               "The results of Validator.sweep, one configuration validated per step.")
        .def("__iter__", [](SWEEP_ITERATOR& it) -> SWEEP_ITERATOR& { return it; },
             py::return_value_policy::reference_internal)
        .def("__next__", &SWEEP_ITERATOR::next);
    auto validator = py::reinterpret_borrow<py::class_<KOVA_PY_VALIDATOR>>(module.attr("Validator"));
    validator.def("sweep", &sweep, py::arg("corners") = false, py::arg("random") = py::none(),
                  py::arg("valid_only") = false, py::arg("seed") = 0, py::arg("vary") = py::tuple(),
                  "The configurations of `kova sweep` from the description's defaults, validated one per step: "
                  "corners=True for the corners, random=N for N random draws (seed S; valid_only=True repairs or "
                  "draws again until each is valid), vary=[...] the --vary texts. Each result is a dict with "
                  "index, settings (name to value), valid, error (None, or why the configuration could not be "
                  "validated), messages, draws and repaired. ValueError or KeyError for a sweep that cannot be "
                  "planned, as the tool refuses it.");
}
