// Placing, grading, silencing and ordering the findings of a lint.
#include "lint/report.h"

#include <algorithm>
#include <utility>

#include "host/kova_stl.h"
#include "host/qel_util.h"
#include "lint/registry.h"

std::vector<std::string> kova_lint_ignore_names(const std::string& field) {
    std::vector<std::string> names;
    QEL_TOKEN_READER words(field, " \t\n,");
    while (!words.empty()) {
        std::string word = words.next();
        if (!word.empty()) names.push_back(std::move(word));
    }
    return names;
}

KOVA_LINT_REPORT::KOVA_LINT_REPORT(const KOVA_LINT_OPTIONS& options)
    : m_disabled(options.disabled.begin(), options.disabled.end()), m_werror(options.warnings_are_errors) {
    const auto& enabled = options.enabled;
    for (const KOVA_LINT_CHECK& check : kova_lint_checks())
        if (check.on_request && std::find(enabled.begin(), enabled.end(), check.name) == enabled.end())
            m_disabled.insert(check.name);
}

namespace {

std::string place_key(const std::string& check, const KOVA_SOURCE_LOCATION& location) {
    return check + '\n' + location.file + '\n' + std::to_string(location.line) + ':' + std::to_string(location.column);
}

bool names_check(const KOVA_INFO& model, uint32_t source_id, const char* check) {
    const KOVA_SOURCE_TABLE* table = model.get_source_table();
    if (!table || source_id == 0) return false;
    for (const std::string& name : kova_lint_ignore_names(table->lint_ignore(source_id)))
        if (name == check) return true;
    return false;
}

}  // namespace

bool KOVA_LINT_REPORT::silenced(const char* check, const KOVA_INFO* model, const KOVA_OBJ_INFO* object) const {
    if (!model) return false;
    return names_check(*model, model->source_id, check) || (object && names_check(*model, object->source_id, check));
}

void KOVA_LINT_REPORT::keep(const char* check, KOVA_MESSAGE message, const KOVA_SOURCE_LOCATION& field) {
    const KOVA_LINT_CHECK* known = kova_find_lint_check(check);
    message.severity = known ? known->severity : KOVA_SEVERITY_WARNING;
    if (m_werror && message.severity == KOVA_SEVERITY_WARNING) message.severity = KOVA_SEVERITY_ERROR;
    message.check = check;
    m_places.insert(place_key(check, field));
    m_messages.push_back(std::move(message));
}

KOVA_SOURCE_LOCATION KOVA_LINT_REPORT::locate(const KOVA_LINT_PLACE& place) {
    if (!place.model) return KOVA_SOURCE_LOCATION();
    // A token is placed from its field's own place, never from the
    // element's, which the field falls back to when it has none.
    const KOVA_SOURCE_LOCATION written = place.model->locate(place.source_id, place.field);
    if (place.offset <= 0) return written;
    const KOVA_SOURCE_LOCATION field = place.model->locate(place.source_id, place.field, false);
    return field.known() ? m_sources.advance(field, static_cast<std::size_t>(place.offset)) : written;
}

void KOVA_LINT_REPORT::add(const char* check, const std::string& text, const KOVA_LINT_PLACE& place,
                           KOVA_DIAGNOSTIC_KIND kind, const std::string& hint) {
    if (!enabled(check) || silenced(check, place.model, place.object)) return;
    KOVA_MESSAGE message;
    message.kind = kind;
    message.text = text;
    message.hint = hint;
    if (place.object) message.object = place.object->get_name();
    message.rule_index = place.rule_index;
    message.location = locate(place);
    if (kind == KOVA_DIAG_PARSE_ERROR) message.source_line = m_sources.line_text(message.location);
    KOVA_LINT_PLACE field = place;
    field.offset = -1;
    keep(check, std::move(message), locate(field));
}

void KOVA_LINT_REPORT::add_message(const char* check, KOVA_MESSAGE message, const std::vector<KOVA_INFO*>& models) {
    if (!enabled(check)) return;
    const KOVA_INFO* owner = models.empty() ? nullptr : models.front();
    const KOVA_OBJ_INFO* object = nullptr;
    for (const KOVA_INFO* model : models) {
        if (message.object.empty()) break;
        if (const KOVA_OBJ_INFO* found = model->get_kova_obj(message.object)) {
            owner = model;
            object = found;
            break;
        }
    }
    if (silenced(check, owner, object)) return;
    const KOVA_SOURCE_LOCATION field = message.location;
    keep(check, std::move(message), field);
}

bool KOVA_LINT_REPORT::found_at(const char* check, const KOVA_SOURCE_LOCATION& location) const {
    return m_places.count(place_key(check, location)) != 0;
}

KOVA_MESSAGES KOVA_LINT_REPORT::take() {
    std::stable_sort(m_messages.begin(), m_messages.end(), [](const KOVA_MESSAGE& a, const KOVA_MESSAGE& b) {
        return std::tie(a.location.file, a.location.line, a.location.column) <
               std::tie(b.location.file, b.location.line, b.location.column);
    });
    return std::move(m_messages);
}
