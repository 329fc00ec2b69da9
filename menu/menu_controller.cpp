// The configurator's actions on its session, each ending in a run whose
// outcome refills the screen model.
#include "menu/menu_controller.h"

#include <cstdio>
#include <map>
#include <sstream>

#include "expr/usage_words.h"
#include "host/kova_stl.h"
#include "session/explain.h"
#include "session/file_io.h"
#include "session/minimal_settings.h"
#include "session/settings_io.h"
#include "session/value_text.h"

namespace {

const char* usage_word(int usage) {
    switch (usage) {
        case KOVA_USAGE_USED: return "USED";
        case KOVA_USAGE_UNUSED: return "UNUSED";
        case KOVA_USAGE_CONSTANT: return "CONSTANT";
        default: return "-";
    }
}

// The value a body line shows: a parameter's value, a port's usage word
// (with the value it is held at).
std::string shown_value(const KOVA_OBJECT_STATE& state) {
    if (!state.port) return state.value;
    std::string word = usage_word(state.usage);
    return state.usage == KOVA_USAGE_CONSTANT && !state.value.empty() ? word + ":" + state.value : word;
}

bool same_settings(const std::vector<KOVA_SETTING>& a, const std::vector<KOVA_SETTING>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].value != b[i].value) return false;
    return true;
}

// The texts of messages, "; " between them, for the status line.
std::string joined(const KOVA_MESSAGES& messages) {
    std::string text;
    for (const KOVA_MESSAGE& message : messages) text += (text.empty() ? "" : "; ") + message.text;
    return text;
}

std::string base_name(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

std::unique_ptr<KOVA_MENU_CONTROLLER> KOVA_MENU_CONTROLLER::open(const KOVA_MENU_START& start,
                                                                 KOVA_MESSAGES& problems) {
    std::unique_ptr<KOVA_MENU_CONTROLLER> menu(new KOVA_MENU_CONTROLLER());
    menu->m_start = start;
    menu->m_session = KOVA_SESSION::open(start.load, problems);
    if (!menu->m_session) return nullptr;
    std::vector<KOVA_SETTING> settings;
    KOVA_MESSAGES opening;
    if (!start.settings_file.empty()) {
        const KOVA_PROBLEM problem = kova_read_settings_file(start.settings_file, settings, opening, true);
        if (problem.kind == KOVA_PROBLEM_KIND::FILE) {
            problems.insert(problems.end(), problem.messages.begin(), problem.messages.end());
            return nullptr;
        }
    }
    settings.insert(settings.end(), start.settings.begin(), start.settings.end());
    menu->apply_known(settings, opening);
    menu->m_saved = menu->m_session->current_settings();
    menu->m_session->derive();
    KOVA_MESSAGES ignored;
    menu->m_groups = kova_object_groups(kova_object_states(menu->m_session->validator()),
                                        kova_evaluate_wizard_maps(*menu->m_session, ignored));
    menu->refresh();
    return menu;
}

void KOVA_MENU_CONTROLLER::apply_known(const std::vector<KOVA_SETTING>& settings, KOVA_MESSAGES& problems) {
    const KOVA_RULES_VALIDATOR& validator = m_session->validator();
    std::vector<KOVA_SETTING> known;
    std::string unknown;
    std::set<std::string> named;
    for (const KOVA_SETTING& setting : settings) {
        if (validator.get_port_object(setting.name) || validator.get_parameter_object(setting.name))
            known.push_back(setting);
        else if (named.insert(to_lower_case(setting.name)).second)
            unknown += (unknown.empty() ? "" : ", ") + setting.name;
    }
    m_session->apply(known, problems);
    if (!unknown.empty()) m_notice.push_back("unknown settings, left out: " + unknown);
    std::string others;
    for (const KOVA_MESSAGE& message : problems) {
        const std::string place = message.location.file.empty()
                                      ? ""
                                      : message.location.file + ":" + std::to_string(message.location.line) + ": ";
        others += (others.empty() ? "" : "; ") + place + message.text;
    }
    if (!others.empty()) m_notice.push_back(others);
}

std::string KOVA_MENU_CONTROLLER::title() const {
    std::string text = m_session->validator().get_function_name();
    const std::string file = save_target();
    if (!file.empty()) text += "  " + file;
    const std::size_t errors = error_count();
    return text + "  " + (errors == 0 ? std::string("valid") : std::to_string(errors) + " errors");
}

void KOVA_MENU_CONTROLLER::refresh() {
    m_run = m_session->run();
    std::map<std::string, std::string> conflicts;  // lower-case name: first error
    for (const KOVA_MESSAGE& message : m_run.messages)
        if (message.severity == KOVA_SEVERITY_ERROR && !message.object.empty())
            conflicts.emplace(to_lower_case(message.object), message.text);
    std::set<std::string> changed;
    for (const KOVA_SETTING_DIFFERENCE& difference : kova_setting_differences(*m_session))
        changed.insert(to_lower_case(difference.name));
    std::vector<KOVA_MENU_OBJECT> objects;
    for (KOVA_OBJECT_STATE& state : kova_object_states(m_session->validator())) {
        const std::string key = to_lower_case(state.name);
        const auto conflict = conflicts.find(key);
        KOVA_MENU_OBJECT object{state, shown_value(state), changed.count(key) > 0,
                                conflict == conflicts.end() ? "" : conflict->second};
        objects.push_back(std::move(object));
    }
    m_model.set_contents(std::move(objects), m_groups);
}

void KOVA_MENU_CONTROLLER::set(std::string name, std::string value) {
    m_history.record(m_session->current_settings());
    KOVA_MESSAGES problems;
    m_session->apply({{name, value, "", 0, KOVA_SETTING_SOURCE::MENU}}, problems);
    refresh();
    std::string now;
    for (const KOVA_MENU_OBJECT& object : m_model.objects())
        if (kova_equal_nocase(object.state.name, name)) now = object.shown;
    status = problems.empty() ? name + " = " + now : joined(problems);
}

bool KOVA_MENU_CONTROLLER::toggle(std::size_t object) {
    const KOVA_OBJECT_STATE& state = m_model.objects().at(object).state;
    if (state.port) {
        set(state.name, state.usage == KOVA_USAGE_USED ? "UNUSED" : "USED");
        return true;
    }
    const std::vector<std::string> items = kova_value_list(state.value_text);
    if (items.size() != 2) return false;
    set(state.name, state.value == items[0] ? items[1] : items[0]);
    return true;
}

std::vector<std::string> KOVA_MENU_CONTROLLER::choices(std::size_t object, std::string& hint) const {
    const KOVA_OBJECT_STATE& state = m_model.objects().at(object).state;
    hint = state.value_text;
    if (state.port) return {"USED", "UNUSED", "CONSTANT"};
    return kova_value_list(state.value_text);
}

KOVA_FIX_RESULT KOVA_MENU_CONTROLLER::propose_fix() const {
    KOVA_SESSION trial(*m_session);
    KOVA_FIX_OPTIONS options;
    options.keep.assign(m_keep.begin(), m_keep.end());
    KOVA_FIX_RESULT result;
    const KOVA_PROBLEM problem = kova_fix(trial, m_run, options, result);
    if (problem) {
        result.gave_up = true;
        result.gave_up_reason = problem.text;
    }
    return result;
}

void KOVA_MENU_CONTROLLER::apply_fix(const std::vector<KOVA_FIX_CHANGE>& accepted) {
    if (accepted.empty()) return;
    m_history.record(m_session->current_settings());
    std::vector<KOVA_SETTING> settings;
    for (const KOVA_FIX_CHANGE& change : accepted)
        settings.push_back({change.name, change.new_value, "", 0, KOVA_SETTING_SOURCE::MENU});
    KOVA_MESSAGES problems;
    m_session->apply(settings, problems);
    refresh();
    status = problems.empty() ? std::to_string(accepted.size()) + " changes applied" : joined(problems);
}

void KOVA_MENU_CONTROLLER::toggle_keep(const std::string& name) {
    const std::string key = to_lower_case(name);
    if (!m_keep.erase(key)) m_keep.insert(key);
    status = name + (kept(name) ? ": kept by the fix" : ": the fix may change it");
}

bool KOVA_MENU_CONTROLLER::kept(const std::string& name) const { return m_keep.count(to_lower_case(name)) > 0; }

std::vector<std::string> KOVA_MENU_CONTROLLER::explain(const std::string& name) const {
    KOVA_EXPLANATION explanation;
    std::ostringstream text;
    const KOVA_PROBLEM problem = kova_explain(*m_session, m_run, name, explanation);
    if (problem) text << problem.text << "\n";
    else kova_print_explanation(explanation, m_session->description(), text);
    std::vector<std::string> lines;
    std::istringstream in(text.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> KOVA_MENU_CONTROLLER::differences() const {
    std::vector<std::string> lines;
    for (const KOVA_SETTING_DIFFERENCE& difference : kova_setting_differences(*m_session))
        lines.push_back(difference.name + ": " +
                        (difference.default_value.empty() ? "(none)" : difference.default_value) + " -> " +
                        difference.value);
    if (lines.empty()) lines.push_back("Every setting has its default.");
    return lines;
}

void KOVA_MENU_CONTROLLER::replace_settings(std::vector<KOVA_SETTING> settings) {
    m_session->reset_to_defaults();
    // Settings kept by the history were given in the menu, bar those read
    // from a file.
    for (KOVA_SETTING& setting : settings)
        if (setting.source != KOVA_SETTING_SOURCE::FILE) setting.source = KOVA_SETTING_SOURCE::MENU;
    KOVA_MESSAGES problems;
    m_session->apply(settings, problems);
    refresh();
}

bool KOVA_MENU_CONTROLLER::undo() {
    auto back = m_history.undo(m_session->current_settings());
    if (back) replace_settings(*back);
    status = back ? "undone" : "nothing to undo";
    return back.has_value();
}

bool KOVA_MENU_CONTROLLER::redo() {
    auto forward = m_history.redo(m_session->current_settings());
    if (forward) replace_settings(*forward);
    status = forward ? "redone" : "nothing to redo";
    return forward.has_value();
}

std::string KOVA_MENU_CONTROLLER::save_target() const {
    return m_start.save_file.empty() ? m_start.settings_file : m_start.save_file;
}

bool KOVA_MENU_CONTROLLER::save(const std::string& path, bool minimal) {
    const KOVA_PROBLEM problem = kova_save_session_settings(*m_session, path, minimal);
    status = problem ? problem.text : std::string(minimal ? "minimal settings" : "settings") + " saved to " + path;
    if (problem) return false;
    m_saved = m_session->current_settings();
    return true;
}

bool KOVA_MENU_CONTROLLER::unsaved() const { return !same_settings(m_session->current_settings(), m_saved); }

std::string KOVA_MENU_CONTROLLER::recovery_path() const {
    const std::string target = save_target();
    return (target.empty() ? base_name(m_session->description()) + ".settings" : target) + ".kova-recover";
}

bool KOVA_MENU_CONTROLLER::write_recovery() const {
    std::string error;
    return kova_write_file_atomically(recovery_path(), kova_session_settings_text(*m_session, false), error);
}

bool KOVA_MENU_CONTROLLER::restore_recovery() {
    std::vector<KOVA_SETTING> settings;
    KOVA_MESSAGES problems;
    if (kova_read_settings_file(recovery_path(), settings, problems, true).kind == KOVA_PROBLEM_KIND::FILE)
        return false;
    m_history.record(m_session->current_settings());
    replace_settings(settings);
    discard_recovery();
    status = "unsaved changes restored from " + recovery_path();
    return true;
}

void KOVA_MENU_CONTROLLER::discard_recovery() const { std::remove(recovery_path().c_str()); }
