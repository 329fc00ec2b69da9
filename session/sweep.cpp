// Sweep plans: reading vary texts, the index-to-configuration mapping
// (mixed radix or seeded draws) and shards. A problem's text starts with
// the option's bare name ("vary", "shard"): the kova tool puts "--" before.
#include "session/sweep.h"

#include <algorithm>

#include "host/kova_stl.h"
#include "session/object_states.h"
#include "session/value_text.h"

namespace {

KOVA_PROBLEM invalid(std::string text) { return kova_problem(KOVA_PROBLEM_KIND::INVALID_VALUE, std::move(text)); }

const KOVA_OBJECT_STATE* find_object(const std::vector<KOVA_OBJECT_STATE>& objects, const std::string& name) {
    for (const KOVA_OBJECT_STATE& object : objects)
        if (kova_equal_nocase(object.name, name)) return &object;
    return nullptr;
}

// "LO..HI" with two integers and LO <= HI.
KOVA_PROBLEM read_span(const std::string& text, KOVA_SWEEP_AXIS& axis) {
    const std::size_t dots = text.find("..");
    const std::optional<long long> low = kova_integer_of(text.substr(0, dots)),
                                   high = kova_integer_of(text.substr(dots + 2));
    if (!low || !high || *low > *high)
        return invalid("vary " + axis.name + "=" + text + ": LO..HI takes two integers, LO not above HI");
    axis.low = *low;
    axis.high = *high;
    return {};
}

// The values written after "NAME=": a span or a "|" list.
KOVA_PROBLEM read_given_values(const std::string& text, KOVA_SWEEP_AXIS& axis) {
    if (text.find("..") != std::string::npos) return read_span(text, axis);
    axis.values = text.find('|') == std::string::npos ? std::vector<std::string>{text} : kova_value_list(text);
    const bool empty_item = text.empty() || text.front() == '|' || text.back() == '|' ||
                            text.find("||") != std::string::npos;
    if (empty_item) return invalid("vary " + axis.name + "=" + text + ": a value is empty");
    return {};
}

// The values an object's own value text gives.
KOVA_PROBLEM read_legal_values(const KOVA_OBJECT_STATE& object, bool random, KOVA_SWEEP_AXIS& axis) {
    if (object.port) {
        axis.values = {"USED", "UNUSED"};
        return {};
    }
    axis.values = kova_value_list(object.value_text);
    if (!axis.values.empty()) return {};
    long long low, high;
    if (!kova_value_range(object.value_text, low, high))
        return invalid("vary " + object.name + ": its value text gives no list or range; give the values as " +
                       object.name + "=V1|V2 or " + object.name + "=LO..HI");
    if (random) {
        axis.low = low;
        axis.high = high;
    } else {
        // The bounds and the midpoint, each once.
        for (const long long value : {low, low + (high - low) / 2, high})
            if (axis.values.empty() || axis.values.back() != std::to_string(value))
                axis.values.push_back(std::to_string(value));
    }
    return {};
}

// Every parameter with a list or range, for random draws without axes given.
std::vector<KOVA_SWEEP_AXIS> parameter_axes(const std::vector<KOVA_OBJECT_STATE>& objects) {
    std::vector<KOVA_SWEEP_AXIS> axes;
    for (const KOVA_OBJECT_STATE& object : objects) {
        KOVA_SWEEP_AXIS axis;
        axis.name = object.name;
        if (!object.port && !read_legal_values(object, true, axis)) axes.push_back(std::move(axis));
    }
    return axes;
}

// The product of the axes' sizes; false when it does not fit.
bool product_of(const std::vector<KOVA_SWEEP_AXIS>& axes, std::uint64_t& product) {
    product = 1;
    for (const KOVA_SWEEP_AXIS& axis : axes)
        if (__builtin_mul_overflow(product, axis.size(), &product)) return false;
    return true;
}

}  // namespace

std::uint64_t KOVA_SWEEP_AXIS::size() const {
    if (!values.empty()) return values.size();
    return static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low) + 1;
}

std::string KOVA_SWEEP_AXIS::value(std::uint64_t i) const {
    if (!values.empty()) return values[i];
    return std::to_string(static_cast<long long>(static_cast<std::uint64_t>(low) + i));
}

KOVA_PROBLEM kova_sweep_axis(const KOVA_SESSION& session, const std::string& text, bool random,
                             KOVA_SWEEP_AXIS& axis) {
    const std::size_t equals = text.find('=');
    const std::string name = text.substr(0, equals);
    const std::vector<KOVA_OBJECT_STATE> objects = kova_object_states(session.validator());
    const KOVA_OBJECT_STATE* object = find_object(objects, name);
    if (!object)
        return kova_problem(KOVA_PROBLEM_KIND::NOT_FOUND,
                            "vary: the description has no port or parameter named '" + name + "'");
    axis = KOVA_SWEEP_AXIS();
    axis.name = object->name;
    if (equals == std::string::npos) return read_legal_values(*object, random, axis);
    return read_given_values(text.substr(equals + 1), axis);
}

KOVA_PROBLEM kova_sweep_plan(const KOVA_SESSION& session, const std::vector<std::string>& vary,
                             std::optional<std::uint64_t> random, std::uint64_t seed, KOVA_SWEEP_PLAN& plan) {
    plan = KOVA_SWEEP_PLAN();
    plan.random = random.has_value();
    plan.seed = seed;
    for (const std::string& text : vary) {
        KOVA_SWEEP_AXIS axis;
        KOVA_PROBLEM problem = kova_sweep_axis(session, text, plan.random, axis);
        if (problem) return problem;
        for (const KOVA_SWEEP_AXIS& earlier : plan.axes)
            if (kova_equal_nocase(earlier.name, axis.name))
                return kova_problem(KOVA_PROBLEM_KIND::USAGE, "vary: " + axis.name + " is varied twice");
        plan.axes.push_back(std::move(axis));
    }
    if (plan.random) {
        if (plan.axes.empty()) plan.axes = parameter_axes(kova_object_states(session.validator()));
        plan.count = *random;
        return {};
    }
    if (plan.axes.empty()) return kova_problem(KOVA_PROBLEM_KIND::USAGE, "a sweep needs a name to vary or random draws");
    if (!product_of(plan.axes, plan.count))
        return kova_problem(KOVA_PROBLEM_KIND::LIMIT, "the sweep has more configurations than 64 bits count");
    return {};
}

std::vector<KOVA_SETTING> kova_sweep_configuration(const KOVA_SWEEP_PLAN& plan, std::uint64_t index,
                                                   std::uint64_t attempt) {
    std::vector<KOVA_SETTING> settings;
    if (!plan.corners.empty()) {
        for (const auto& [j, value] : plan.corners[index]) settings.push_back({plan.axes[j].name, value, "", 0});
        return settings;
    }
    settings.resize(plan.axes.size());
    std::uint64_t rest = index;
    // Mixed radix from the last axis, which changes fastest.
    for (std::size_t j = plan.axes.size(); j-- > 0;) {
        const KOVA_SWEEP_AXIS& axis = plan.axes[j];
        const std::uint64_t size = axis.size();
        std::uint64_t place;
        if (plan.random) {
            place = kova_sweep_draw(plan.seed, index, attempt * plan.axes.size() + j) % size;
        } else {
            place = rest % size;
            rest /= size;
        }
        settings[j] = {axis.name, axis.value(place), "", 0};
    }
    return settings;
}

std::uint64_t kova_splitmix64(std::uint64_t x) {
    std::uint64_t z = x + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t kova_sweep_draw(std::uint64_t seed, std::uint64_t index, std::uint64_t axis) {
    return kova_splitmix64(kova_splitmix64(kova_splitmix64(seed) + index) + axis);
}

KOVA_PROBLEM kova_parse_shard(const std::string& text, KOVA_SHARD& shard) {
    const std::size_t slash = text.find('/');
    const std::optional<long long> index = kova_integer_of(text.substr(0, slash)),
                                   count = slash == std::string::npos ? std::nullopt
                                                                       : kova_integer_of(text.substr(slash + 1));
    if (!index || !count || *index < 0 || *count < 1 || *index >= *count)
        return kova_problem(KOVA_PROBLEM_KIND::USAGE, "shard takes I/N with 0 <= I < N, not '" + text + "'");
    shard.index = static_cast<std::uint64_t>(*index);
    shard.count = static_cast<std::uint64_t>(*count);
    return {};
}

std::uint64_t kova_shard_size(const KOVA_SHARD& shard, std::uint64_t total, std::optional<std::uint64_t> limit) {
    const std::uint64_t size = shard.index >= total ? 0 : (total - shard.index - 1) / shard.count + 1;
    return std::min(size, limit.value_or(size));
}

std::uint64_t kova_shard_index(const KOVA_SHARD& shard, std::uint64_t j) { return shard.index + j * shard.count; }
