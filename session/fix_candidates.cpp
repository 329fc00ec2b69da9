// The values a repair tries for one setting, in the order it tries them:
// the default first (the value the block's author chose), then the legal
// values (the items of a list; for a range the values nearest the current
// one), numbers nearest the current value first, ties the lower first.
// A parameter with neither list nor range tries its default and the
// integer constants of the failing conditions and one either side of
// each. A port tries the usage states it does not have.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>

#include "host/kova_stl.h"
#include "session/fix_context.h"
#include "session/value_text.h"

namespace {

// The values of LOW..HIGH nearest to current (the lower first on a tie),
// at most most of them.
std::vector<std::string> nearest_in_range(long long low, long long high, long long current, int most) {
    std::vector<std::string> values;
    const long long centre = std::clamp(current, low, high);
    if (centre != current) values.push_back(std::to_string(centre));
    for (long long step = 1; static_cast<int>(values.size()) < most; ++step) {
        const bool below = centre - step >= low, above = centre + step <= high;
        if (!below && !above) break;
        if (below) values.push_back(std::to_string(centre - step));
        if (above) values.push_back(std::to_string(centre + step));
    }
    return values;
}

// Numbers nearest current first (ties: the lower first), then texts in
// their order; repeats and current itself left out.
std::vector<std::string> ordered(std::vector<std::string> values, const std::string& current) {
    const std::optional<long long> here = kova_integer_of(current);
    std::stable_sort(values.begin(), values.end(), [&](const std::string& a, const std::string& b) {
        const std::optional<long long> x = kova_integer_of(a), y = kova_integer_of(b);
        if (!x || !y || !here) return x.has_value() && !y.has_value();
        const long long dx = std::llabs(*x - *here), dy = std::llabs(*y - *here);
        return dx != dy ? dx < dy : *x < *y;
    });
    std::vector<std::string> unique;
    for (const std::string& value : values)
        if (!kova_equal_nocase(value, current) &&
            std::none_of(unique.begin(), unique.end(), [&](const std::string& u) { return kova_equal_nocase(u, value); }))
            unique.push_back(value);
    return unique;
}

std::vector<std::string> port_candidates(const KOVA_SESSION& session, const KOVA_PORT_OBJ& port) {
    const KOVA_OBJ_INFO* object = session.validator().get_kova_obj(port.get_name());
    const int preferred = object && object->default_usage_state == KOVA_USAGE_USED ? KOVA_USAGE_USED : KOVA_USAGE_UNUSED;
    const int other = preferred == KOVA_USAGE_USED ? KOVA_USAGE_UNUSED : KOVA_USAGE_USED;
    std::vector<std::string> states;
    for (const int state : {preferred, other})
        if (state != port.m_current_usage_state) states.push_back(kova_get_usage_state_as_string(state));
    return states;
}

}  // namespace

std::vector<long long> kova_integer_literals(const std::string& text) {
    std::vector<long long> literals;
    auto word_char = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    for (std::size_t i = 0; i < text.size();) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])) || (i > 0 && word_char(text[i - 1]))) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
        const bool whole = end == text.size() || !word_char(text[end]);
        if (whole && end - i <= 18) {
            const long long value = std::strtoll(text.substr(i, end - i).c_str(), nullptr, 10);
            if (std::find(literals.begin(), literals.end(), value) == literals.end()) literals.push_back(value);
        }
        i = end;
    }
    return literals;
}

std::vector<std::string> kova_fix_candidates(const KOVA_SESSION& session, const std::string& name,
                                             const std::vector<long long>& literals, int most) {
    const KOVA_RULES_VALIDATOR& validator = session.validator();
    if (const KOVA_PORT_OBJ* port = validator.get_port_object(name)) return port_candidates(session, *port);
    const KOVA_PARAMETER_OBJ* parameter = validator.get_parameter_object(name);
    if (!parameter) return {};
    const std::string current = parameter->get_current_value();
    const std::optional<long long> here = kova_integer_of(current);
    std::vector<std::string> legal;
    bool bounded = false;
    // The derived legal values first: they follow the other settings.
    for (const std::string* text : {&parameter->m_alt_value, &parameter->get_value()}) {
        long long low, high;
        std::vector<std::string> items = kova_value_list(*text);
        if (!items.empty()) {
            legal.insert(legal.end(), items.begin(), items.end());
            bounded = true;
        } else if (kova_value_range(*text, low, high)) {
            std::vector<std::string> near = nearest_in_range(low, high, here.value_or(low), most);
            legal.insert(legal.end(), near.begin(), near.end());
            bounded = true;
        }
    }
    if (!bounded)
        for (const long long literal : literals)
            for (const long long value : {literal, literal - 1, literal + 1}) legal.push_back(std::to_string(value));
    std::vector<std::string> candidates;
    const std::string preferred = parameter->get_actual_default_value();
    if (!preferred.empty() && !kova_equal_nocase(preferred, current)) candidates.push_back(preferred);
    for (const std::string& value : ordered(legal, current))
        if (!kova_equal_nocase(value, preferred)) candidates.push_back(value);
    if (static_cast<int>(candidates.size()) > most) candidates.resize(most);
    return candidates;
}
