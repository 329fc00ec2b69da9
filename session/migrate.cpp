// The migration itself: each line of the old file sorted out against the
// current description, the rest applied and run, the repair proposed or
// made, the migrated file written.
#include "session/migrate.h"

#include <set>

#include "host/kova_stl.h"
#include "session/file_io.h"
#include "session/object_states.h"
#include "session/previous_names.h"
#include "session/settings_io.h"

namespace {

constexpr const char* k_removed_prefix = "# removed in this version: ";

// The settings of the file sorted out line by line; those still meant
// for this version are returned under their current names.
std::vector<KOVA_SETTING> sort_out(const KOVA_SESSION& session, const std::vector<KOVA_SETTING>& settings,
                                   KOVA_SETTINGS_DOCUMENT& document, KOVA_MIGRATION& migration) {
    const KOVA_RENAMES renames(session.validator());
    std::vector<KOVA_SETTING> applied;
    for (const KOVA_SETTING& setting : settings) {
        KOVA_MIGRATED_LINE line{setting.line, setting.name, setting.value, "kept", ""};
        const KOVA_OBJ_INFO* object = session.validator().get_kova_obj(setting.name);
        const bool known = object && (object->is_port() || object->is_parameter());
        const std::string current = known ? "" : renames.current_name(setting.name);
        if (!known && current.empty()) {
            line.status = "removed";
            document.comment_line(setting.line, k_removed_prefix);
        } else {
            applied.push_back(setting);
            if (!current.empty()) {
                line.status = "renamed";
                line.note = current;
                applied.back().name = current;
                document.rename_line(setting.line, current);
            }
        }
        migration.lines.push_back(std::move(line));
    }
    return applied;
}

// A refused setting's message is placed at its line.
void mark_refused(const KOVA_MESSAGES& refusals, KOVA_MIGRATION& migration) {
    for (const KOVA_MESSAGE& refusal : refusals)
        for (KOVA_MIGRATED_LINE& line : migration.lines)
            if (refusal.severity == KOVA_SEVERITY_ERROR && static_cast<int>(refusal.location.line) == line.line &&
                line.status != "removed") {
                line.status = "refused";
                line.note = refusal.text;
            }
}

// A line is not legal here when the run reports a value or usage
// conflict on its object.
void mark_illegal(const KOVA_MESSAGES& messages, KOVA_MIGRATION& migration) {
    for (KOVA_MIGRATED_LINE& line : migration.lines) {
        if (line.status != "kept" && line.status != "renamed") continue;
        const std::string name = line.status == "renamed" ? line.note : line.name;
        for (const KOVA_MESSAGE& message : messages)
            if (message.severity == KOVA_SEVERITY_ERROR && kova_is_conflict(message.kind) &&
                kova_equal_nocase(message.object, name))
                line.status = "illegal";
    }
}

// The parameters in use that no setting names take their defaults.
void list_defaults(const KOVA_SESSION& session, const std::vector<KOVA_SETTING>& applied, KOVA_MIGRATION& migration) {
    std::set<std::string> set;
    for (const KOVA_SETTING& setting : applied) set.insert(to_lower_case(setting.name));
    for (const KOVA_OBJECT_STATE& state : kova_object_states(session.validator()))
        if (!state.port && state.usage == KOVA_USAGE_USED && !set.count(to_lower_case(state.name)))
            migration.defaults.push_back({state.name, state.value, "", 0});
}

// The repair of an invalid configuration: made on the session when asked
// for, else on a copy, to propose it.
KOVA_PROBLEM repair(KOVA_SESSION& session, const KOVA_MIGRATE_OPTIONS& options, KOVA_MIGRATION& migration) {
    if (migration.valid) return {};
    if (!options.repair) {
        KOVA_SESSION trial(session);
        return kova_fix(trial, migration.run, KOVA_FIX_OPTIONS(), migration.repair);
    }
    KOVA_PROBLEM problem = kova_fix(session, migration.run, KOVA_FIX_OPTIONS(), migration.repair);
    if (problem) return problem;
    migration.repaired = true;
    migration.valid = migration.repair.valid;
    migration.run = migration.repair.last_run;
    return {};
}

KOVA_PROBLEM save(const KOVA_MIGRATE_OPTIONS& options, KOVA_SETTINGS_DOCUMENT& document, KOVA_MIGRATION& migration) {
    if (options.save.empty()) return {};
    if (migration.repaired)
        for (const KOVA_FIX_CHANGE& change : migration.repair.changes) document.set(change.name, change.new_value);
    std::string error;
    if (!kova_write_file_atomically(options.save, document.render(), error))
        return kova_problem(KOVA_PROBLEM_KIND::FILE, "cannot save the settings to " + options.save + ": " + error);
    migration.saved = options.save;
    return {};
}

}  // namespace

bool KOVA_MIGRATION::complete() const {
    if (!valid) return false;
    for (const KOVA_MIGRATED_LINE& line : lines)
        if (line.status == "removed" || line.status == "refused") return false;
    return true;
}

KOVA_PROBLEM kova_migrate(KOVA_SESSION& session, const KOVA_MIGRATE_OPTIONS& options, KOVA_MIGRATION& migration,
                          KOVA_MESSAGES& messages) {
    std::string text, error;
    std::vector<KOVA_SETTING> settings;
    if (KOVA_PROBLEM problem = kova_read_settings_file(options.settings_file, settings, messages)) return problem;
    if (!kova_read_text_file(options.settings_file, text, error))
        return kova_problem(KOVA_PROBLEM_KIND::FILE,
                            "cannot read the settings file " + options.settings_file + ": " + error);
    KOVA_SETTINGS_DOCUMENT document;
    std::vector<KOVA_SETTINGS_PROBLEM> read_already;
    document.parse(text, options.settings_file, read_already);
    const std::vector<KOVA_SETTING> applied = sort_out(session, settings, document, migration);
    KOVA_MESSAGES refusals;
    session.apply(applied, refusals);
    mark_refused(refusals, migration);
    messages.insert(messages.end(), refusals.begin(), refusals.end());
    migration.run = session.run();
    migration.valid = migration.run.valid;
    mark_illegal(migration.run.messages, migration);
    list_defaults(session, applied, migration);
    if (KOVA_PROBLEM problem = repair(session, options, migration)) return problem;
    return save(options, document, migration);
}
