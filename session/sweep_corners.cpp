// The corner plan of a sweep: which parameters take part, their first,
// last and default values, and the list of distinct corner configurations.
//
// Invariant: every configuration of plan.corners holds the axes set away
// from their defaults, in axis order (the others stay unset: a setting of
// its own would change a parameter's usage state, which the defaults
// leave to the rules), and no two configurations are the same value by
// value (integers compared as numbers, other texts without regard to
// letter case, as the engine compares them). Only the differences are
// kept, so a plan of P parameters holds O(P) values beside its two
// configurations of every parameter.
#include <set>

#include "host/kova_stl.h"
#include "session/object_states.h"
#include "session/sweep.h"
#include "session/value_text.h"

namespace {

// One parameter's corner values and its default.
struct CORNER_AXIS {
    std::string first, last, default_value;
};

// The description's default; for one it gives by place in a list
// (default_index), the value the defaults leave. A parameter the defaults
// leave unused may still hold an earlier value, so the value comes second.
std::string default_value(const KOVA_OBJECT_STATE& object) {
    return object.default_value.empty() ? object.value : object.default_value;
}

bool is_user_parameter(const KOVA_OBJECT_STATE& object) {
    return !object.port && (object.kind == "integer" || object.kind == "string");
}

// The first and last value of an axis as kova_sweep_axis read it for
// random draws (a range whole, a list as given).
CORNER_AXIS corner_of(const KOVA_SWEEP_AXIS& axis, const std::string& default_value) {
    if (axis.values.empty()) return {std::to_string(axis.low), std::to_string(axis.high), default_value};
    return {axis.values.front(), axis.values.back(), default_value};
}

// A value as compared: an integer in decimal, any other text in lower case.
std::string normal(const std::string& value) {
    const std::optional<long long> integer = kova_integer_of(value);
    return integer ? std::to_string(*integer) : to_lower_case(value);
}

// The corners found so far, and a key of each that finds a repeat.
struct CORNERS {
    std::vector<KOVA_SWEEP_CORNER> list;
    std::set<std::string> keys;
};

// Appends the configuration, its entries at their defaults left out,
// unless an earlier one is the same.
void add_distinct(const std::vector<CORNER_AXIS>& axes, CORNERS& corners, const KOVA_SWEEP_CORNER& configuration) {
    KOVA_SWEEP_CORNER away;
    std::string key;
    for (const auto& [j, value] : configuration) {
        const std::string compared = normal(value);
        if (compared == normal(axes[j].default_value)) continue;
        away.emplace_back(j, value);
        key += std::to_string(j) + "=" + compared + '\0';
    }
    if (corners.keys.insert(key).second) corners.list.push_back(std::move(away));
}

std::vector<KOVA_SWEEP_CORNER> corner_configurations(const std::vector<CORNER_AXIS>& axes) {
    CORNERS corners;
    KOVA_SWEEP_CORNER firsts, lasts;
    for (std::size_t j = 0; j < axes.size(); ++j) {
        firsts.emplace_back(j, axes[j].first);
        lasts.emplace_back(j, axes[j].last);
    }
    add_distinct(axes, corners, {});
    for (std::size_t j = 0; j < axes.size(); ++j) {
        add_distinct(axes, corners, {{j, axes[j].first}});
        add_distinct(axes, corners, {{j, axes[j].last}});
    }
    add_distinct(axes, corners, firsts);
    add_distinct(axes, corners, lasts);
    return corners.list;
}

// The axis of a parameter's own list or range, as a --vary NAME gives it;
// false for a value text that is neither. Read here rather than through
// kova_sweep_axis, which lists the objects again for every name.
bool own_values(const KOVA_OBJECT_STATE& object, KOVA_SWEEP_AXIS& axis) {
    axis.name = object.name;
    axis.values = kova_value_list(object.value_text);
    return !axis.values.empty() || kova_value_range(object.value_text, axis.low, axis.high);
}

// The axis of a --vary text for corners: parameters only.
KOVA_PROBLEM named_axis(const KOVA_SESSION& session, const std::vector<KOVA_OBJECT_STATE>& objects,
                        const std::string& text, KOVA_SWEEP_AXIS& axis) {
    if (KOVA_PROBLEM problem = kova_sweep_axis(session, text, true, axis)) return problem;
    for (const KOVA_OBJECT_STATE& object : objects)
        if (kova_equal_nocase(object.name, axis.name) && !is_user_parameter(object))
            return kova_problem(KOVA_PROBLEM_KIND::USAGE, "vary: corners take integer and string parameters, not " +
                                                              object.kind + " " + axis.name);
    return {};
}

}  // namespace

KOVA_PROBLEM kova_sweep_corner_plan(const KOVA_SESSION& session, const std::vector<std::string>& vary,
                                    KOVA_SWEEP_PLAN& plan) {
    plan = KOVA_SWEEP_PLAN();
    KOVA_SESSION defaults(session);
    defaults.reset_to_defaults();
    const std::vector<KOVA_OBJECT_STATE> objects = kova_object_states(defaults.validator());
    const auto default_of = [&objects](const std::string& name) {
        for (const KOVA_OBJECT_STATE& object : objects)
            if (kova_equal_nocase(object.name, name)) return default_value(object);
        return std::string();
    };
    std::vector<CORNER_AXIS> corners;
    for (const std::string& text : vary) {
        KOVA_SWEEP_AXIS axis;
        if (KOVA_PROBLEM problem = named_axis(session, objects, text, axis)) return problem;
        for (const KOVA_SWEEP_AXIS& earlier : plan.axes)
            if (kova_equal_nocase(earlier.name, axis.name))
                return kova_problem(KOVA_PROBLEM_KIND::USAGE, "vary: " + axis.name + " is varied twice");
        corners.push_back(corner_of(axis, default_of(axis.name)));
        plan.axes.push_back(std::move(axis));
    }
    if (vary.empty())
        for (const KOVA_OBJECT_STATE& object : objects) {
            KOVA_SWEEP_AXIS axis;
            if (!is_user_parameter(object) || !own_values(object, axis)) continue;
            corners.push_back(corner_of(axis, default_value(object)));
            plan.axes.push_back(std::move(axis));
        }
    plan.corners = corner_configurations(corners);
    plan.count = plan.corners.size();
    return {};
}
