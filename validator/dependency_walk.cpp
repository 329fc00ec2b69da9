// The dependency walk (see dependency_walk.h): objects, texts and macro
// calls ordered through a stack of frames instead of recursion.
//
// Invariants of the walk:
// - The frames on the stack are the calls the recursive reading would have
//   open, outermost first; only the top one runs. A frame that would have
//   recursed pushes the callee's frame and waits; when that frame ends its
//   level is handed to the waiting frame, which goes on from where it was.
// - The in-progress map holds the names on the current path (and those
//   already met in the text being scanned); a name in it whose object has
//   no position yet lies on the current path, so meeting it again is a
//   cycle, reported and then ignored.
// - An object's frame takes out again, after each of its texts, every name
//   that scanning the text added; so the map never shrinks below the size
//   it had when the walk was entered.
// - An object gets its position when its frame ends (from the text frame
//   that waited for it; the first frame's object from the caller), and
//   keeps it: an object whose frame is on the stack has none.
// - The message origin is the one of the text being scanned: an object's
//   frame or a calls frame sets it before pushing a text's frame, keeping
//   the one before, and puts that back when the text's level comes in.
#include "validator/dependency_walk.h"

#include <algorithm>
#include <array>
#include <deque>
#include <memory>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "expr/token_utils.h"
#include "host/qel_util.h"
#include "validator/kova_rules_validator.h"
#include "validator/macro_call.h"
#include "validator/message_origin.h"
#include "validator/path_names.h"

namespace {

// The in-progress map as the walk sees it: the caller's map, which it only
// reads, under the names the walk has added since, which it can take out
// again in time proportional to their number. The names still added when
// the walk ends go to the caller's map (hand_back). A walk that orders the
// whole model has no caller's map: each object starts from a map that
// holds its name alone (start_alone), and what is added is dropped at the
// end, as the caller would drop its map.
class IN_PROGRESS {
public:
    explicit IN_PROGRESS(KOVA_NAME_MAP* base) : m_base(base), m_base_size(base ? base->size() : 0) {}

    // Starts over from a map holding name alone; name outlives the walk of
    // its object.
    void start_alone(const std::string& name) {
        m_added.clear();
        m_alone = &name;
        m_base_size = 1;
    }
    bool contains(const std::string& name) const {
        if (m_added.contains(name)) return true;
        return m_base ? m_base->contains(name) : m_alone && kova_equal_nocase(*m_alone, name);
    }
    // Adds name unless the map holds it (without regard to case).
    void insert(const std::string& name) {
        if (!contains(name)) m_added.push(name);
    }
    std::size_t size() const { return m_base_size + m_added.size(); }
    // Takes out the names added after the first count; count is never
    // below the caller's size (see the invariants above).
    void truncate(std::size_t count) {
        while (size() > count && m_added.size() > 0) m_added.pop();
    }
    void hand_back() {
        if (m_base)
            for (const std::string& name : m_added.names()) m_base->insert(name, name);
        m_added.clear();
    }

private:
    KOVA_NAME_MAP* m_base;
    const std::string* m_alone = nullptr;  // the one name of a map without m_base
    std::size_t m_base_size;
    KOVA_PATH_NAMES m_added;
};

// The tokens of a text as KOVA_ELEMENT_READER reads them (split at the
// element delimiters; each "str" marker word in a row puts one pair of
// quotes around the token that follows), read in place: a token is a view
// of the text unless markers quote it. The text outlives the reader.
class NAME_TOKENS {
public:
    explicit NAME_TOKENS(const std::string& text) : m_text(&text) {}
    NAME_TOKENS(const std::string&& text) = delete;
    bool empty() const { return m_position >= m_text->size(); }
    // The next token; valid until the next call.
    std::string_view next() {
        std::size_t markers = 0;
        std::string_view token = piece();
        while (token.size() == 3 && kova_equal_nocase(std::string(token), "str")) {
            ++markers;
            token = piece();
        }
        if (markers == 0) return token;
        const std::string quotes(markers, '"');
        m_quoted = quotes + std::string(token) + quotes;
        return m_quoted;
    }

private:
    // The text up to the next delimiter, which is passed over.
    std::string_view piece() {
        const std::string& text = *m_text;
        const std::size_t start = std::min(m_position, text.size());
        std::size_t end = start;
        while (end < text.size() && !is_delimiter(text[end])) ++end;
        m_position = end < text.size() ? end + 1 : text.size();
        return std::string_view(text).substr(start, end - start);
    }
    static bool is_delimiter(char c) {
        static const std::array<bool, 256> table = [] {
            std::array<bool, 256> marks{};
            for (char delimiter : kova_element_delimiters()) marks[static_cast<unsigned char>(delimiter)] = true;
            return marks;
        }();
        return table[static_cast<unsigned char>(c)];
    }

    const std::string* m_text;
    std::size_t m_position = 0;  // invariant: the rest starts here
    std::string m_quoted;        // a quoted token
};

// The texts of an object that decide its level, in order: the alternate
// value, condition and value of each rule, then the value of a hidden
// parameter or macro. They belong to the object's rules and the object,
// which scanning them leaves in place. Each text comes with the origin
// that names it in messages.
struct COUNTED_TEXT {
    const std::string* text;
    KOVA_MESSAGE_ORIGIN origin;
};

std::size_t counted_text_count(const KOVA_OBJ_INFO& object, const KOVA_RULE_VIEW& rules) {
    const bool valued = object.has_expression_value();
    return 3 * rules.size() + (valued ? 1 : 0);
}

// Text number index (below counted_text_count) of the object.
COUNTED_TEXT counted_text(const KOVA_OBJ_INFO& object, const KOVA_RULE_VIEW& rules,
                          std::size_t index) {
    const std::string* name = &object.get_name();
    if (index == 3 * rules.size()) return {&object.get_value(), kova_object_origin(*name, object, KOVA_FIELD_VALUE)};
    const KOVA_RULE_ELEMENT& rule = *rules[index / 3];
    const int rule_index = static_cast<int>(index / 3);
    switch (index % 3) {
        case 0: return {&rule.get_alt_value(), kova_rule_origin(name, rule_index, rule, KOVA_FIELD_ALT_VALUE)};
        case 1: return {&rule.get_condition(), kova_rule_origin(name, rule_index, rule, KOVA_FIELD_CONDITION)};
        default: return {&rule.get_value(), kova_rule_origin(name, rule_index, rule, KOVA_FIELD_VALUE)};
    }
}

bool starts_with_digit(std::string_view text) { return !text.empty() && text[0] >= '0' && text[0] <= '9'; }

// Raises level so that it lies above position.
void raise_above(int& level, int position) {
    if (position >= level) level = position + 1;
}


// get_element_position of an object without a position, once its name is
// on the path: its texts scanned one by one, each text's names taken out
// again afterwards.
struct OBJECT_FRAME {
    KOVA_OBJ_INFO* object;
    KOVA_RULE_VIEW rules;  // the object's rules, as rule_view gives them
    std::size_t path_length;  // the map's size with the object on the path
    std::size_t next = 0;     // the counted text to scan next
    int level = -1;
    KOVA_MESSAGE_ORIGIN saved{};  // the origin before the text being scanned
};

// process_string_for_position_count: the text's names, then its calls.
struct TEXT_FRAME {
    TEXT_FRAME(const std::string& scanned, const std::string& owner_name)
        : text(&scanned), owner(&owner_name), tokens(scanned) {}
    TEXT_FRAME(const std::string&& scanned, const std::string& owner_name) = delete;
    TEXT_FRAME(const std::string& scanned, const std::string&& owner_name) = delete;
    // Both outlive the frame: texts of the model, the caller's, or those
    // of a pending instance.
    const std::string* text;
    const std::string* owner;
    NAME_TOKENS tokens;
    KOVA_OBJ_INFO* waiting = nullptr;  // the object whose frame is above
    bool calls_started = false;        // the calls frame has been pushed
    int level = -1;
};

// A macro instance whose body is being ordered, with its name and body,
// which the body's frame reads: on the heap, so that they stay where they
// are however the frames are stored.
struct PENDING_INSTANCE {
    std::string name, body;
    std::unique_ptr<KOVA_FN_MACRO> instance;
};

// create_fn_macros: each new call becomes an instance once its body is
// ordered.
struct CALLS_FRAME {
    explicit CALLS_FRAME(const std::string& expression) : tokens(expression, kova_element_delimiters()) {}
    QEL_TOKEN_READER tokens;
    std::unique_ptr<PENDING_INSTANCE> pending;
    KOVA_MESSAGE_ORIGIN saved{};
    int highest = -1;
};

using FRAME = std::variant<OBJECT_FRAME, TEXT_FRAME, CALLS_FRAME>;

// One entry of the walk: the frames and the in-progress map.
class WALK {
public:
    // in_progress null: a walk over the whole model (order_model).
    WALK(KOVA_RULES_VALIDATOR& validator, KOVA_NAME_MAP* in_progress)
        : m_validator(validator), m_names(in_progress), m_entry_origin(validator.get_message_origin()) {}
    // An exception leaves the origin as the scopes of the recursive reading
    // would have left it.
    ~WALK() { m_validator.set_message_origin(m_entry_origin); }
    WALK(const WALK&) = delete;
    WALK& operator=(const WALK&) = delete;

    int object_level(KOVA_OBJ_INFO* object) {
        if (object->evaluation_position != -1) return object->evaluation_position;
        enter_object(object);
        return run();
    }
    // Each object without a position in the model's order, from a map that
    // holds its name alone; one walk, so its frames and names are reused.
    void order_model() {
        const std::vector<KOVA_OBJ_INFO*> objects = m_validator.get_kova_obj_snapshot();
        m_digit_names = std::any_of(objects.begin(), objects.end(),
                                    [](const KOVA_OBJ_INFO* object) { return starts_with_digit(object->get_name()); });
        for (KOVA_OBJ_INFO* object : objects) {
            if (object->evaluation_position != -1) continue;
            m_names.start_alone(object->get_name());
            object->evaluation_position = object_level(object);
        }
    }
    int text_level(const std::string& text, const std::string& owner) {
        m_next.emplace(std::in_place_type<TEXT_FRAME>, text, owner);
        return run();
    }
    int calls_level(const std::string& expression) {
        m_next.emplace(std::in_place_type<CALLS_FRAME>, expression);
        return run();
    }

private:
    // Pushes the frame asked for, runs the top frame until it asks for
    // another or ends, and hands an ended frame's level to the frame below;
    // answers the level of the first frame. A frame never pushes while it
    // runs: it leaves the frame it asks for in m_next, so the stack changes
    // only here.
    int run() {
        for (;;) {
            if (m_next) {
                m_frames.push_back(std::move(*m_next));
                m_next.reset();
            }
            int level = 0;
            const bool ended = std::visit([&](auto& frame) { return step(frame, level); }, m_frames.back());
            if (!ended) continue;
            m_frames.pop_back();
            if (m_frames.empty()) {
                m_names.hand_back();
                return level;
            }
            std::visit([&](auto& frame) { receive(frame, level); }, m_frames.back());
        }
    }

    void enter_object(KOVA_OBJ_INFO* object) {
        m_names.insert(object->get_name());
        m_next.emplace(std::in_place_type<OBJECT_FRAME>, OBJECT_FRAME{object, object->rule_view(), m_names.size()});
    }

    // Runs frame until it asks for a frame (false) or ends (true, with its
    // level in level).
    bool step(OBJECT_FRAME& frame, int& level) {
        const std::size_t count = counted_text_count(*frame.object, frame.rules);
        while (frame.next < count) {
            const COUNTED_TEXT counted = counted_text(*frame.object, frame.rules, frame.next++);
            if (counted.text->empty()) {
                frame.level = std::max(frame.level, 0);
                continue;
            }
            frame.saved = m_validator.get_message_origin();
            m_validator.set_message_origin(counted.origin);
            m_next.emplace(std::in_place_type<TEXT_FRAME>, *counted.text, frame.object->get_name());
            return false;
        }
        level = frame.level < 0 ? 0 : frame.level;
        return true;
    }

    bool step(TEXT_FRAME& frame, int& level) {
        while (!frame.tokens.empty()) {
            const std::string_view piece = frame.tokens.next();
            // A number names no object unless some name starts with a digit.
            if (piece.empty() || (!m_digit_names && starts_with_digit(piece))) continue;
            std::string& token = m_token;
            token.assign(piece.data(), piece.size());
            if (KOVA_DEPENDENCY_WALK::is_reserved_keyword(m_validator, token)) continue;
            KOVA_OBJ_INFO* object = m_validator.get_kova_obj(token);
            if (!object) continue;
            // An object with a position raises the level by it whether or
            // not its name is in the map, so only one without asks the map.
            if (object->evaluation_position != -1) {
                raise_above(frame.level, object->evaluation_position);
            } else if (!m_names.contains(token)) {
                frame.waiting = object;
                enter_object(object);
                return false;
            } else if (!frame.owner->empty() && !kova_equal_nocase(token, *frame.owner)) {
                m_validator.post_error_message("Cyclical dependency in string " + *frame.text + " because of object " +
                                                   token + " while creating dependency list for " + *frame.owner,
                                               KOVA_SEVERITY_WARNING, KOVA_DIAG_CYCLE);
            }
        }
        if (!frame.calls_started) {
            frame.calls_started = true;
            // Without "(" no token is a call: the calls frame would end at
            // once with no instance, level -1.
            if (frame.text->find('(') == std::string::npos) {
                receive(frame, -1);
            } else {
                m_next.emplace(std::in_place_type<CALLS_FRAME>, *frame.text);
                return false;
            }
        }
        level = frame.level;
        return true;
    }

    bool step(CALLS_FRAME& frame, int& level) {
        auto& instances = KOVA_DEPENDENCY_WALK::macro_instances(m_validator);
        while (!frame.tokens.empty()) {
            std::string delimiter;
            const std::string token = frame.tokens.next(delimiter);
            if (token.empty() || delimiter != "(") continue;
            const KOVA_OBJ_INFO* macro = m_validator.get_kova_obj(token);
            if (!macro || macro->obj_type != KOVA_OBJ_FN_MACRO) continue;
            std::string arguments;
            if (!kova_collect_call_arguments(frame.tokens, arguments)) continue;

            std::string name = kova_macro_instance_name(token, arguments);
            if (m_names.contains(name) || instances.find_entry(name)) continue;
            std::string body = m_validator.substitute_macro_arguments(token, arguments);
            if (kova_equal_nocase(body, macro->get_value())) continue;

            // The instance is on the path while its own body is scanned, so
            // a macro that calls itself ends instead of going on for ever.
            m_names.insert(name);
            auto instance = std::make_unique<KOVA_FN_MACRO>(name, body);
            instance->source_id = macro->source_id;
            frame.pending.reset(new PENDING_INSTANCE{std::move(name), std::move(body), std::move(instance)});
            const PENDING_INSTANCE& pending = *frame.pending;
            frame.saved = m_validator.get_message_origin();
            m_validator.set_message_origin(kova_object_origin(pending.name, *pending.instance, KOVA_FIELD_VALUE));
            m_next.emplace(std::in_place_type<TEXT_FRAME>, pending.body, pending.name);
            return false;
        }
        level = frame.highest;
        return true;
    }

    // Takes the level of the frame that frame asked for, which has ended.
    void receive(OBJECT_FRAME& frame, int level) {
        m_validator.set_message_origin(frame.saved);
        frame.level = std::max(frame.level, level);
        m_names.truncate(frame.path_length);
    }

    void receive(TEXT_FRAME& frame, int level) {
        if (frame.waiting) frame.waiting->evaluation_position = level;
        frame.waiting = nullptr;
        raise_above(frame.level, level);
    }

    void receive(CALLS_FRAME& frame, int position) {
        m_validator.set_message_origin(frame.saved);
        std::unique_ptr<PENDING_INSTANCE> pending = std::move(frame.pending);
        pending->instance->set_dependency_position(position);
        frame.highest = std::max(frame.highest, position);
        KOVA_DEPENDENCY_WALK::macro_instances(m_validator).add_entry(pending->name, std::move(pending->instance));
    }

    KOVA_RULES_VALIDATOR& m_validator;
    IN_PROGRESS m_names;
    const KOVA_MESSAGE_ORIGIN m_entry_origin;
    // A deque, so a deep walk grows without copying its frames, in blocks
    // that the system maps once.
    std::deque<FRAME> m_frames;
    std::optional<FRAME> m_next;  // the frame a step asked for
    std::string m_token;          // the token a text frame looks at
    // False only where the walk knows that no object's name starts with a
    // digit (order_model looks), so that numbers need no look-up.
    bool m_digit_names = true;
};

}  // namespace

int KOVA_DEPENDENCY_WALK::object_level(KOVA_RULES_VALIDATOR& validator, KOVA_OBJ_INFO* object,
                                       KOVA_NAME_MAP& in_progress) {
    return WALK(validator, &in_progress).object_level(object);
}

int KOVA_DEPENDENCY_WALK::text_level(KOVA_RULES_VALIDATOR& validator, const std::string& text,
                                     KOVA_NAME_MAP& in_progress, const std::string& owner) {
    return WALK(validator, &in_progress).text_level(text, owner);
}

int KOVA_DEPENDENCY_WALK::calls_level(KOVA_RULES_VALIDATOR& validator, const std::string& expression,
                                      KOVA_NAME_MAP& in_progress) {
    return WALK(validator, &in_progress).calls_level(expression);
}

void KOVA_DEPENDENCY_WALK::order_model(KOVA_RULES_VALIDATOR& validator) { WALK(validator, nullptr).order_model(); }

bool KOVA_DEPENDENCY_WALK::is_reserved_keyword(const KOVA_RULES_VALIDATOR& validator, const std::string& token) {
    return validator.is_reserved_keyword(token);
}

KOVA_OWNED_MAP<KOVA_FN_MACRO>& KOVA_DEPENDENCY_WALK::macro_instances(KOVA_RULES_VALIDATOR& validator) {
    return validator.m_fn_macro_list;
}
