// kova migrate: a settings file written for an earlier version of a block
// read against the current description. Each setting line is kept,
// renamed (its name is a previous name of an object), removed (it names
// nothing of this version: kept in the saved file as a comment, never
// dropped), refused (the object takes no such setting) or not legal here
// (the run reports a conflict on its object). The parameters the file
// does not set that the configuration uses take their defaults, and are
// listed. When the migrated configuration is invalid, kova fix's repair
// (session/fix.h) is proposed, and with repair set applied. A save keeps
// the old file's comments, blank lines and order.
#ifndef KOVA_MIGRATE_H
#define KOVA_MIGRATE_H

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "session/answers.h"
#include "session/fix.h"

struct KOVA_MIGRATE_OPTIONS {
    std::string settings_file;  // the old settings file
    std::string save;           // where to write the migrated file; "" for nowhere
    bool repair = false;        // apply the repair rather than only propose it
};

// kept, renamed, removed, refused, illegal
struct KOVA_MIGRATED_LINE {
    int line = 0;
    std::string name, value;  // as the old file writes them
    std::string status;
    std::string note;         // renamed: the new name; refused: why
};

struct KOVA_MIGRATION {
    std::vector<KOVA_MIGRATED_LINE> lines;   // every setting line, in file order
    std::vector<KOVA_SETTING> defaults;      // parameters left to their defaults, in the description's order
    KOVA_FIX_RESULT repair;                  // proposed, or applied when repaired
    bool repaired = false;
    bool valid = false;                      // the verdict of the migrated (and repaired) configuration
    KOVA_RUN_RESULT run;                     // that configuration's last run
    std::string saved;                       // the file written; "" for none
    // Valid, and no line removed or refused: nothing of the old file is lost.
    bool complete() const;
};

// Migrates the file of options into session, which is left in the
// migrated configuration; the file's problems are appended to messages. A
// file that cannot be read or has errors, or a save that fails, is the
// problem.
KOVA_PROBLEM kova_migrate(KOVA_SESSION& session, const KOVA_MIGRATE_OPTIONS& options, KOVA_MIGRATION& migration,
                          KOVA_MESSAGES& messages);

// The members of the migrate document (docs/json.md): "settings_file",
// "lines" (each {"line", "name", "value", "status", "note"}), "defaults"
// (each {"name", "value"}), "repairs" (as fix's "changes"), "repaired",
// "complete" and "saved".
nlohmann::json kova_migration_json(const KOVA_MIGRATE_OPTIONS& options, const KOVA_MIGRATION& migration);

// One line per setting line, "FILE:LINE: NAME=VALUE: STATUS", the
// defaults taken, the repair proposed or made (and why it gave up, when
// it did), the file saved.
void kova_print_migration(const KOVA_MIGRATE_OPTIONS& options, const KOVA_MIGRATION& migration, std::ostream& out);

// migrate: the migration's members and text; the messages of its last run
// and of the file stand for the run's, its verdict for the run's.
void kova_migrate_answer(KOVA_SESSION& session, const KOVA_MIGRATE_OPTIONS& options, KOVA_ANSWER& answer);

#endif
