// The configuration session: loading, settings, runs and what they report.
#include "session/session.h"

#include <algorithm>

#include "expr/usage_words.h"
#include "host/kova_stl.h"
#include "host/qel_util.h"
#include "session/previous_names.h"
#include "session/setting_readings.h"
#include "session/suggest.h"

namespace {

// How a correction note writes a parameter that had no value.
const std::string k_no_value = "(no value)";

// Whether a setting sets a usage state rather than a value: an object
// may have one of each.
bool sets_usage(const KOVA_SETTING& setting) { return kova_usage_word_state(setting.value) != KOVA_USAGE_NONE; }

KOVA_SOURCE_LOCATION setting_place(const KOVA_SETTING& setting) {
    KOVA_SOURCE_LOCATION place;
    place.file = setting.file;
    place.line = static_cast<uint32_t>(setting.line);
    return place;
}

}  // namespace

std::unique_ptr<KOVA_SESSION> KOVA_SESSION::open(const KOVA_LOAD_OPTIONS& options, KOVA_MESSAGES& problems) {
    std::unique_ptr<KOVA_SESSION> session(new KOVA_SESSION());
    session->m_description = options.description;
    // The description is read after construction so that a failed read
    // can be reported: the constructor does not answer.
    session->m_validator = std::make_unique<KOVA_RULES_VALIDATOR>(options.function_name, "", options.library_dir);
    KOVA_RULES_VALIDATOR& validator = *session->m_validator;
    if (!validator.process_xml_file(options.description, nullptr)) {
        for (KOVA_MESSAGE message : kova_messages_of(validator)) {
            message.kind = KOVA_DIAG_LOAD;
            if (message.location.file.empty()) message.location.file = options.description;
            problems.push_back(std::move(message));
        }
        return nullptr;
    }
    session->capture_scanner_output();
    if (!options.compiled) validator.set_compiled_evaluation(false);
    validator.initialize_validator();
    session->m_init_messages = kova_messages_of(validator);
    validator.clear_error_messages();
    validator.set_all_ports_and_parameters_to_default_state();
    session->m_default_settings = session->current_settings();
    return session;
}

KOVA_SESSION::KOVA_SESSION(const KOVA_SESSION& other)
    : m_validator(std::make_unique<KOVA_RULES_VALIDATOR>(*other.m_validator)),
      m_description(other.m_description),
      m_init_messages(other.m_init_messages),
      m_default_settings(other.m_default_settings),
      m_work_deadline(other.m_work_deadline),
      m_set_by(other.m_set_by),
      m_corrections(other.m_corrections),
      m_runs(other.m_runs),
      m_derived_notes(other.m_derived_notes),
      m_constants(other.m_constants) {
    capture_scanner_output();
}

KOVA_SESSION::~KOVA_SESSION() = default;

// A session shares its validator's source table with original only when
// both come from one open, whose description, initialisation messages and
// defaults never change afterwards; other sessions take those too. A
// failure to allocate leaves the session part restored: the batch runner
// drops such a session.
void KOVA_SESSION::restore(const KOVA_SESSION& original) {
    if (this == &original) return;
    if (!m_validator->restore_state(*original.m_validator)) {
        *m_validator = *original.m_validator;
        m_description = original.m_description;
        m_init_messages = original.m_init_messages;
        m_default_settings = original.m_default_settings;
    }
    capture_scanner_output();
    m_work_deadline = original.m_work_deadline;
    m_set_by = original.m_set_by;
    m_corrections = original.m_corrections;
    m_runs = original.m_runs;
    m_derived_notes = original.m_derived_notes;
    m_constants = original.m_constants;
}

// The defaults recorded at open are applied again: the engine's own
// default-state reset leaves an object whose default usage state is NONE
// in whatever state a setting gave it.
void KOVA_SESSION::reset_to_defaults() {
    m_validator->set_all_ports_and_parameters_to_default_state();
    m_set_by.clear();
    m_corrections.clear();
    m_derived_notes.clear();
    m_constants.clear();
    for (const KOVA_SETTING& setting : m_default_settings) apply_one(setting);
}

void KOVA_SESSION::capture_scanner_output() { m_validator->set_scanner_output(&m_discard); }

std::vector<std::string> KOVA_SESSION::object_names() const {
    std::vector<std::string> names;
    for (const KOVA_OBJ_INFO* object : m_validator->get_kova_obj_snapshot())
        if (object->is_port() || object->is_parameter()) names.push_back(object->get_name());
    return names;
}

KOVA_PROBLEM KOVA_SESSION::apply(const std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& problems) {
    KOVA_MESSAGES refusals;
    bool names_known = false;  // some refused setting names a port or parameter
    std::vector<std::pair<std::string, std::string>> constants;
    for (const KOVA_SETTING& setting : settings) {
        std::string constant;
        std::string problem;
        const KOVA_PORT_OBJ* port = m_validator->get_port_object(setting.name);
        const KOVA_PARAMETER_OBJ* parameter = port ? nullptr : m_validator->get_parameter_object(setting.name);
        if (port && kova_split_constant(setting.value, constant)) {
            m_validator->set_port_usage_state(setting.name, KOVA_USAGE_CONSTANT);
            constants.emplace_back(setting.name, constant);
        } else {
            problem = apply_one(setting, port, parameter);
        }
        if (!problem.empty()) {
            names_known = names_known || port || m_validator->get_parameter_object(setting.name);
            refusals.push_back(kova_make_message(KOVA_SEVERITY_ERROR, KOVA_DIAG_SETTING, problem, setting_place(setting)));
            problems.push_back(refusals.back());
            continue;
        }
        add_reading_warning(setting, port ? m_validator->get_parameter_object(setting.name) : parameter, problems);
        const std::string key = to_lower_case(setting.name);
        m_set_by[key] = setting;
        m_corrections.erase(key);
        const auto about_it = [&key](const KOVA_MESSAGE& note) { return to_lower_case(note.object) == key; };
        m_derived_notes.erase(std::remove_if(m_derived_notes.begin(), m_derived_notes.end(), about_it),
                              m_derived_notes.end());
    }
    for (const auto& [name, text] : constants) {
        const std::string problem = kova_constant_number_problem(text, name);
        if (problem.empty()) {
            m_constants[to_lower_case(name)] = {name, text};
        } else {
            names_known = true;
            refusals.push_back(kova_make_message(KOVA_SEVERITY_ERROR, KOVA_DIAG_SETTING, problem));
            problems.push_back(refusals.back());
        }
    }
    if (!constants.empty()) {
        // A value has the port's width, which may depend on derived values.
        derive();
        apply_constant_values();
    }
    if (refusals.empty()) return {};
    return kova_refused(std::move(refusals),
                        names_known ? KOVA_PROBLEM_KIND::INVALID_VALUE : KOVA_PROBLEM_KIND::NOT_FOUND);
}

// A run sets every port value back to unknown, so the values of ports
// held constant are given again after each run.
void KOVA_SESSION::apply_constant_values() {
    m_validator->evaluate_port_widths();
    for (const auto& entry : m_constants) {
        const std::string& name = entry.second.first;
        const KOVA_PORT_OBJ* port = m_validator->get_port_object(name);
        if (!port || port->m_current_usage_state != KOVA_USAGE_CONSTANT) continue;
        std::string digits;
        int radix;
        if (kova_constant_digits(entry.second.second, digits, radix)) m_validator->set_current_port_value(name, digits, radix);
    }
}

// An integer parameter's value is read as atoi reads it: "32abc" as 32.
void KOVA_SESSION::add_reading_warning(const KOVA_SETTING& setting, const KOVA_PARAMETER_OBJ* parameter,
                                       KOVA_MESSAGES& problems) const {
    if (!parameter || parameter->obj_type != KOVA_OBJ_INTEGER_PARAMETER || sets_usage(setting)) return;
    KOVA_MESSAGE warning;
    if (kova_integer_reading_warning(setting, parameter->get_name(), warning)) problems.push_back(std::move(warning));
}

KOVA_MESSAGES KOVA_SESSION::constant_width_warnings() const {
    KOVA_MESSAGES warnings;
    for (const auto& entry : m_constants) {
        const auto& [name, text] = entry.second;
        const KOVA_PORT_OBJ* port = m_validator->get_port_object(name);
        std::string held;
        if (!port || port->m_current_usage_state != KOVA_USAGE_CONSTANT || kova_constant_fits(*port, text, held))
            continue;
        const KOVA_OBJ_INFO* object = m_validator->get_kova_obj(name);
        KOVA_MESSAGE warning = kova_make_message(
            KOVA_SEVERITY_WARNING, KOVA_DIAG_SETTING,
            "the constant " + text + " of port " + port->get_name() + " is wider than its " +
                std::to_string(port->get_current_port_width()) + " bits: the port is held at " + held,
            object ? m_validator->locate(object->source_id, KOVA_FIELD_ELEMENT) : KOVA_SOURCE_LOCATION());
        warning.object = port->get_name();
        warnings.push_back(std::move(warning));
    }
    return warnings;
}

// Defined beside the session, whose names it reads, so that the problem
// maker (problem.cpp) needs nothing of the session.
KOVA_PROBLEM kova_not_named_object(const KOVA_SESSION& session, const std::string& name) {
    KOVA_PROBLEM problem = kova_not_named("port or parameter", name);
    problem.text += kova_did_you_mean(name, session.object_names());
    return problem;
}

// A name that an object had in an earlier version names that object and
// the command that rewrites a settings file for this one; any other
// unknown name, the nearest known name.
std::string KOVA_SESSION::unknown_setting_name(const std::string& name) const {
    const std::string current = KOVA_RENAMES(*m_validator).current_name(name);
    if (current.empty()) return kova_not_named_object(*this, name).text;
    return kova_not_named("port or parameter", name).text + " (renamed to " + current + "; run kova migrate)";
}

std::string KOVA_SESSION::apply_one(const KOVA_SETTING& setting) {
    const KOVA_PORT_OBJ* port = m_validator->get_port_object(setting.name);
    return apply_one(setting, port, port ? nullptr : m_validator->get_parameter_object(setting.name));
}

std::string KOVA_SESSION::apply_one(const KOVA_SETTING& setting, const KOVA_PORT_OBJ* port,
                                    const KOVA_PARAMETER_OBJ* parameter) {
    const int state = kova_usage_word_state(setting.value);
    if (port) {
        if (state == KOVA_USAGE_NONE)
            return "port " + setting.name + " takes USED, UNUSED, CONSTANT or CONSTANT:VALUE, not " + setting.value;
        m_validator->set_port_usage_state(setting.name, state);
        return "";
    }
    if (!parameter) return unknown_setting_name(setting.name);
    if (state != KOVA_USAGE_NONE) {
        m_validator->set_parameter_usage_state(setting.name, state);
        return "";
    }
    m_validator->set_parameter_value(setting.name, setting.value);
    m_validator->set_parameter_usage_state(setting.name, KOVA_USAGE_USED);
    return "";
}

KOVA_RUN_RESULT KOVA_SESSION::run() {
    ++m_runs;
    const std::size_t before = take_setting_marks(m_marks_before);
    KOVA_RUN_RESULT result;
    const bool engine_valid = m_validator->run_validator();
    if (!m_constants.empty()) apply_constant_values();
    result.messages = m_init_messages;
    for (KOVA_MESSAGE& message : kova_messages_of(*m_validator)) result.messages.push_back(std::move(message));
    if (!engine_valid) add_function_rule_failure(result.messages);
    for (KOVA_MESSAGE& note : m_derived_notes) result.messages.push_back(std::move(note));
    m_derived_notes.clear();
    add_corrections(before, result.messages);
    for (KOVA_MESSAGE& warning : constant_width_warnings()) result.messages.push_back(std::move(warning));
    mark_settings(result.messages);
    result.valid = engine_valid && !kova_has_errors(result.messages);
    return result;
}

void KOVA_SESSION::derive() {
    const KOVA_OBJ_MAP ports = m_validator->get_port_list();  // a copy: keep it alive through the walk
    for (const auto& entry : ports.entries()) static_cast<KOVA_PORT_OBJ*>(entry.second)->reset_current_port_width();
    m_validator->run_validator();
    m_validator->clear_error_messages();
    note_derived_corrections();
    if (!m_constants.empty()) apply_constant_values();
}

void KOVA_SESSION::note_derived_corrections() {
    for (const KOVA_RULES_VALIDATOR::KOVA_SILENT_CORRECTION& silent : m_validator->get_silent_corrections()) {
        const KOVA_SETTING* setting = setting_of(silent.object);
        if (!setting) continue;
        std::string now;
        if (!sets_usage(*setting)) {
            if (const KOVA_PARAMETER_OBJ* parameter = m_validator->get_parameter_object(silent.object))
                now = parameter->get_current_value();
        } else if (const KOVA_PORT_OBJ* port = m_validator->get_port_object(silent.object)) {
            now = kova_get_usage_state_as_string(port->m_current_usage_state);
        } else if (const KOVA_PARAMETER_OBJ* parameter = m_validator->get_parameter_object(silent.object)) {
            now = kova_get_usage_state_as_string(parameter->m_current_usage_state);
        }
        // The setting is copied: recording may not keep a reference into m_set_by.
        const KOVA_SETTING given = *setting;
        if (!now.empty() && !kova_equal_nocase(now, given.value) && !correction_of(given.name))
            add_correction(silent.object, given.value, now, m_derived_notes);
    }
}

void KOVA_SESSION::refresh_port_widths() {
    const KOVA_OBJ_MAP ports = m_validator->get_port_list();  // a copy: keep it alive through the walk
    for (const auto& entry : ports.entries()) static_cast<KOVA_PORT_OBJ*>(entry.second)->reset_current_port_width();
    apply_constant_values();
}

KOVA_MESSAGES KOVA_SESSION::take_messages() {
    KOVA_MESSAGES messages = kova_messages_of(*m_validator);
    m_validator->clear_error_messages();
    return messages;
}

// The function rules fail a run when the last rule that decided their
// answer is a rule that holds; the engine posts nothing for it.
void KOVA_SESSION::add_function_rule_failure(KOVA_MESSAGES& messages) const {
    const int index = m_validator->get_deciding_fn_rule();
    const std::vector<KOVA_RULE_ELEMENT*> rules = m_validator->get_fn_rule_snapshot();
    if (index < 0 || static_cast<std::size_t>(index) >= rules.size()) return;
    const KOVA_RULE_ELEMENT& rule = *rules[index];
    if (rule.rule_type != KOVA_RULE_FN_SET) return;
    KOVA_MESSAGE message = kova_make_message(
        KOVA_SEVERITY_ERROR, KOVA_DIAG_FUNCTION_RULE,
        "The function rule " + rule.get_condition() + " holds, so the configuration is not valid",
        m_validator->locate(rule.source_id, KOVA_FIELD_CONDITION));
    message.rule_index = index;
    messages.push_back(std::move(message));
}

// A silent correction changes a setting during the run; comparing the
// settings before and after finds each one, a value given to a parameter
// that had none among them.
void KOVA_SESSION::add_corrections(std::size_t before, KOVA_MESSAGES& messages) {
    const std::size_t after = take_setting_marks(m_marks_after);
    // Both lists follow the model's object order, so one pass over both
    // pairs each object's settings before the run with its settings after.
    std::size_t then_at = 0, now_at = 0;
    while (now_at < after) {
        const std::size_t owner = m_marks_after[now_at].owner;
        while (then_at < before && m_marks_before[then_at].owner < owner) ++then_at;
        const OBJECT_SETTINGS then = settings_of(m_marks_before, before, owner, then_at);
        const OBJECT_SETTINGS now = settings_of(m_marks_after, after, owner, now_at);
        const std::string& name = *(now.value ? now.value : now.usage)->name;
        if (now.value && (then.value || m_validator->get_parameter_object(name)))
            add_correction(name, then.value ? then.value->value : k_no_value, now.value->value, messages);
        if (now.usage && then.usage) add_correction(name, then.usage->value, now.usage->value, messages);
    }
}

KOVA_SESSION::OBJECT_SETTINGS KOVA_SESSION::settings_of(const std::vector<SETTING_MARK>& marks, std::size_t count,
                                                       std::size_t owner, std::size_t& at) {
    OBJECT_SETTINGS found;
    for (; at < count && marks[at].owner == owner; ++at)
        (marks[at].usage ? found.usage : found.value) = &marks[at];  // the last of each sort
    return found;
}

void KOVA_SESSION::add_correction(const std::string& name, const std::string& from, const std::string& to,
                                  KOVA_MESSAGES& messages) {
    if (from == to) return;
    record_correction(name, from == k_no_value ? "" : from);
    const KOVA_OBJ_INFO* object = m_validator->get_kova_obj(name);
    KOVA_MESSAGE message =
        kova_make_message(KOVA_SEVERITY_NOTE, KOVA_DIAG_CORRECTION, name + ": " + from + " corrected to " + to,
                          object ? m_validator->locate(object->source_id, KOVA_FIELD_ELEMENT) : KOVA_SOURCE_LOCATION());
    message.object = name;
    messages.push_back(std::move(message));
}

// The rule is the one the engine's consistency check followed; a value
// given where there was none follows no rule. A correction of the usage
// state after one of the value in the same run keeps the value's.
void KOVA_SESSION::record_correction(const std::string& name, const std::string& was) {
    KOVA_CORRECTION correction;
    correction.was = was;
    for (const KOVA_RULES_VALIDATOR::KOVA_SILENT_CORRECTION& silent : m_validator->get_silent_corrections()) {
        if (silent.object != name) continue;
        correction.rule_index = silent.rule_index;
        correction.field = silent.field;
        break;  // the first: a value correction comes before the usage one
    }
    const std::string key = to_lower_case(name);
    const auto found = m_corrections.find(key);
    if (found == m_corrections.end()) {
        m_corrections[key] = {correction, m_runs};
        return;
    }
    if (found->second.run == m_runs) return;  // this run's value correction stands
    correction.was = found->second.correction.was;  // the value before any correction
    found->second = {correction, m_runs};
}

void KOVA_SESSION::mark_settings(KOVA_MESSAGES& messages) const {
    for (KOVA_MESSAGE& message : messages) {
        if (!kova_is_conflict(message.kind)) continue;
        const auto found = m_set_by.find(to_lower_case(message.object));
        if (found != m_set_by.end() && found->second.source == KOVA_SETTING_SOURCE::FILE)
            message.setting = setting_place(found->second);
    }
}

// Both are asked for every object of a listing: an empty map answers
// without folding the name.
const KOVA_SETTING* KOVA_SESSION::setting_of(const std::string& name) const {
    if (m_set_by.empty()) return nullptr;
    const auto found = m_set_by.find(to_lower_case(name));
    return found == m_set_by.end() ? nullptr : &found->second;
}

const KOVA_CORRECTION* KOVA_SESSION::correction_of(const std::string& name) const {
    if (m_corrections.empty()) return nullptr;
    const auto found = m_corrections.find(to_lower_case(name));
    return found == m_corrections.end() ? nullptr : &found->second.correction;
}

std::vector<KOVA_SETTING> KOVA_SESSION::placed_settings() const {
    std::map<std::string, std::string> defaults;
    for (const KOVA_SETTING& setting : m_default_settings) defaults[to_lower_case(setting.name)] = setting.value;
    std::vector<KOVA_SETTING> placed;
    for (KOVA_SETTING& setting : current_settings()) {
        const std::string key = to_lower_case(setting.name);
        const auto found = m_set_by.find(key);
        if (found != m_set_by.end()) {
            setting.file = found->second.file;
            setting.line = found->second.line;
            setting.source = found->second.source;
        } else if (const auto by_default = defaults.find(key);
                   by_default != defaults.end() && by_default->second == setting.value) {
            continue;  // never set and as a fresh session has it: setting it would make it "set"
        }
        placed.push_back(std::move(setting));
    }
    return placed;
}

// Calls add(position, name, text, constant) for each setting the session
// holds, in the model's object order: position is the object's place in
// the model's object list, and a port held at a constant has the
// constant's text (else null), to be written after the state and a ":".
template <typename ADD>
void KOVA_SESSION::visit_settings(ADD add) const {
    const std::vector<KOVA_OBJ_INFO*> objects = m_validator->get_kova_obj_snapshot();
    for (std::size_t position = 0; position < objects.size(); ++position) {
        const KOVA_OBJ_INFO& object = *objects[position];
        const std::string& name = object.get_name();
        // The copies are found through each object's name memo: a run
        // compares the settings before and after it, so this is called
        // for every object twice a run.
        if (const KOVA_PORT_OBJ* port = object.is_port() ? m_validator->port_copy_of(object) : nullptr) {
            const int state = port->m_current_usage_state;
            if (state == KOVA_USAGE_NONE) continue;
            const std::string* constant = nullptr;
            if (state == KOVA_USAGE_CONSTANT && !m_constants.empty()) {
                const auto found = m_constants.find(to_lower_case(name));
                if (found != m_constants.end()) constant = &found->second.second;
            }
            add(position, name, kova_get_usage_state_as_string(state), constant);
        } else if (const KOVA_PARAMETER_OBJ* parameter = m_validator->parameter_copy_of(object)) {
            // A value marks the parameter used; another state follows it.
            const std::string& value = parameter->get_current_value();
            if (!value.empty()) add(position, name, value, nullptr);
            const int state = parameter->m_current_usage_state;
            if (state != KOVA_USAGE_NONE && (state != KOVA_USAGE_USED || value.empty()))
                add(position, name, kova_get_usage_state_as_string(state), nullptr);
        }
    }
}

std::vector<KOVA_SETTING> KOVA_SESSION::current_settings() const {
    std::vector<KOVA_SETTING> settings;
    visit_settings([&settings](std::size_t, const std::string& name, const std::string& text,
                               const std::string* constant) {
        settings.push_back({name, constant ? text + ":" + *constant : text, "", 0});
    });
    return settings;
}

// The strings of marks are reused from run to run, so that a run of a
// thread that validates one configuration after another allocates none
// for them once they have grown.
std::size_t KOVA_SESSION::take_setting_marks(std::vector<SETTING_MARK>& marks) const {
    std::size_t count = 0;
    visit_settings([&](std::size_t position, const std::string& name, const std::string& text,
                       const std::string* constant) {
        if (count == marks.size()) marks.emplace_back();
        SETTING_MARK& mark = marks[count++];
        mark.owner = position;
        mark.name = &name;
        mark.value.assign(text);
        if (constant) mark.value.append(":").append(*constant);
        mark.usage = kova_usage_word_state(mark.value) != KOVA_USAGE_NONE;
    });
    return count;
}

std::string kova_object_kind_name(int type) {
    switch (type) {
    case KOVA_OBJ_HIDDEN_PARAMETER: return "hidden";
    case KOVA_OBJ_INPUT_PORT: return "in";
    case KOVA_OBJ_OUTPUT_PORT: return "out";
    case KOVA_OBJ_INOUT_PORT: return "inout";
    case KOVA_OBJ_INTEGER_PARAMETER: return "integer";
    case KOVA_OBJ_STRING_PARAMETER: return "string";
    case KOVA_OBJ_OTHER_PARAMETER: return "other";
    case KOVA_OBJ_FN_MACRO: return "macro";
    default: return std::to_string(type);
    }
}
