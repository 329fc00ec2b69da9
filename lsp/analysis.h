// One description as the language server sees it: loaded through the
// session layer, linted, and indexed by name: where each object, wizard
// map and stimulus vector is declared (across included files) and every
// place a text the engine evaluates names an object. Built afresh after
// each change of an open document; the files are read through the
// overlay of open buffers (host/file_overlay.h).
#ifndef KOVA_LSP_ANALYSIS_H
#define KOVA_LSP_ANALYSIS_H

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "session/message.h"
#include "session/session.h"

struct KOVA_LSP_DECLARATION {
    std::string name;               // as written
    std::string kind;               // kova_object_kind_name, "wizard_map" or "vector"
    KOVA_SOURCE_LOCATION at;        // the name's first character
    KOVA_SOURCE_LOCATION element;   // the "<" of the element
    const KOVA_OBJ_INFO* object = nullptr;  // in the written model; null for maps and vectors
    const KOVA_INFO* model = nullptr;       // the model (file) that declares it
    uint32_t source_id = 0;
};

// A name read by a text: a rule's condition, value or alternate value, a
// body, a width, a wizard map's value.
struct KOVA_LSP_USE {
    std::string key;                // the name in lower case
    KOVA_SOURCE_LOCATION at;        // its first character
    std::size_t length = 0;         // in bytes
    std::string owner;              // the object whose text it is; "" for a model's
};

class KOVA_LSP_ANALYSIS {
public:
    // Loads and lints description (an absolute path); never null: a
    // description that does not load has its problems as messages.
    static std::unique_ptr<KOVA_LSP_ANALYSIS> build(const std::string& description, const std::string& library_dir);

    const std::string& description() const { return m_description; }
    // The load's problems, or lint's findings (which hold the engine's).
    const KOVA_MESSAGES& messages() const { return m_messages; }
    // The session; null when the description did not load.
    const KOVA_SESSION* session() const { return m_session.get(); }

    const std::vector<KOVA_LSP_DECLARATION>& declarations() const { return m_declarations; }
    // The declaration of name (letter case ignored); null when none.
    const KOVA_LSP_DECLARATION* find(const std::string& name) const;
    const std::vector<KOVA_LSP_USE>& uses() const { return m_uses; }
    // Whether the description reads the file at path (itself or an included file).
    bool reads(const std::string& path) const { return m_files.count(path) != 0; }

    // A copy of the session after a run under settings, made on the first
    // call and kept (the settings of later calls are not looked at); null
    // when the description did not load.
    KOVA_SESSION* evaluated(const std::vector<KOVA_SETTING>& settings, const KOVA_RUN_RESULT** run);

private:
    void index_models();
    void index_uses();

    std::string m_description;
    std::unique_ptr<KOVA_SESSION> m_session;
    std::unique_ptr<KOVA_INFO> m_written;  // the description as written, sub-models apart
    KOVA_MESSAGES m_messages;
    std::vector<KOVA_LSP_DECLARATION> m_declarations;
    std::map<std::string, std::size_t> m_by_key;  // lower-case name -> declaration
    std::vector<KOVA_LSP_USE> m_uses;
    std::set<std::string> m_files;  // the files read, by overlay key
    std::unique_ptr<KOVA_SESSION> m_evaluated;
    KOVA_RUN_RESULT m_run;
};

// name in lower case, the key of names (the engine ignores letter case).
std::string kova_lsp_key(const std::string& name);

#endif
