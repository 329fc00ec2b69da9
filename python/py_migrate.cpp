// Validator.migrate: a settings file of an earlier version of the block
// brought to the validator's description, as kova migrate does
// (session/migrate.h), answered as its JSON document.
#include <memory>

#include "python/py_validator.h"
#include "python/texts.h"
#include "session/json_document.h"
#include "session/migrate.h"

// The migration starts from the defaults, on a copy; the validator takes
// the migrated configuration once it is made (a problem leaves it as it
// was). The members and the messages of its run are read under the lock,
// converted after it.
py::object KOVA_PY_VALIDATOR::migrate(const std::string& path, const std::string& save, bool repair) {
    struct OUTCOME {
        std::string document;
        KOVA_PROBLEM problem;
    };
    const OUTCOME outcome = locked([&] {
        OUTCOME answer;
        auto migrated = std::make_unique<KOVA_SESSION>(*m_session);
        migrated->reset_to_defaults();
        KOVA_ANSWER built;
        kova_migrate_answer(*migrated, {path, save, repair}, built);
        answer.problem = std::move(built.problem);
        if (answer.problem) return answer;
        answer.document = kova_json_dump(kova_command_json("migrate", description(), built.valid,
                                                           std::move(built.document), built.messages));
        m_session = std::move(migrated);
        return answer;
    });
    if (outcome.problem) kova_py_raise(outcome.problem);
    return py::module_::import("json").attr("loads")(py::str(outcome.document));
}
