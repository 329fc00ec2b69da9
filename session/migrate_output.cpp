// A migration as the migrate document and as text.
#include <memory>

#include "session/json_document.h"
#include "session/migrate.h"

namespace {

std::string status_text(const KOVA_MIGRATED_LINE& line) {
    if (line.status == "renamed") return "renamed to " + line.note;
    if (line.status == "removed") return "removed in this version (kept as a comment)";
    if (line.status == "refused") return "refused: " + line.note;
    if (line.status == "illegal") return "not legal in this version";
    return "kept";
}

}  // namespace

nlohmann::json kova_migration_json(const KOVA_MIGRATE_OPTIONS& options, const KOVA_MIGRATION& migration) {
    nlohmann::json lines = nlohmann::json::array();
    for (const KOVA_MIGRATED_LINE& line : migration.lines)
        lines.push_back({{"line", line.line},
                         {"name", kova_json_text(line.name)},
                         {"value", kova_json_text(line.value)},
                         {"status", line.status},
                         {"note", line.note.empty() ? nlohmann::json(nullptr) : kova_json_text(line.note)}});
    nlohmann::json defaults = nlohmann::json::array();
    for (const KOVA_SETTING& setting : migration.defaults)
        defaults.push_back({{"name", kova_json_text(setting.name)}, {"value", kova_json_text(setting.value)}});
    return {{"settings_file", kova_json_text(options.settings_file)},
            {"lines", std::move(lines)},
            {"defaults", std::move(defaults)},
            {"repairs", kova_fix_json(migration.repair)["changes"]},
            {"repaired", migration.repaired},
            {"complete", migration.complete()},
            {"saved", migration.saved.empty() ? nlohmann::json(nullptr) : kova_json_text(migration.saved)}};
}

void kova_print_migration(const KOVA_MIGRATE_OPTIONS& options, const KOVA_MIGRATION& migration, std::ostream& out) {
    for (const KOVA_MIGRATED_LINE& line : migration.lines)
        out << options.settings_file << ":" << line.line << ": " << line.name << "=" << line.value << ": "
            << status_text(line) << "\n";
    for (const KOVA_SETTING& setting : migration.defaults)
        out << setting.name << "=" << setting.value << ": not set, takes its default\n";
    for (const KOVA_FIX_CHANGE& change : migration.repair.changes)
        out << (migration.repaired ? "repaired: " : "kova fix proposes: ") << change.name << ": " << change.old_value
            << " -> " << change.new_value << " (" << change.reason << ")\n";
    if (migration.repair.gave_up) out << "the repair gave up: " << migration.repair.gave_up_reason << "\n";
    if (!migration.repaired && !migration.repair.changes.empty()) out << "run kova migrate with --fix to apply it\n";
    if (!migration.saved.empty()) out << "saved to " << migration.saved << "\n";
}

void kova_migrate_answer(KOVA_SESSION& session, const KOVA_MIGRATE_OPTIONS& options, KOVA_ANSWER& answer) {
    auto migration = std::make_shared<KOVA_MIGRATION>();
    answer.problem = kova_migrate(session, options, *migration, answer.messages);
    if (answer.problem) return kova_explain_problem(answer);
    for (const KOVA_MESSAGE& message : migration->run.messages) answer.messages.push_back(message);
    answer.valid = migration->valid;
    answer.document = kova_migration_json(options, *migration);
    answer.text = [migration, options](std::ostream& out) { kova_print_migration(options, *migration, out); };
}
