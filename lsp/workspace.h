// The documents the editor has open, and what the server knows of the
// description each belongs to. An open buffer stands in for its file in
// every load (host/file_overlay.h); any change of any buffer makes every
// analysis stale, since a description may include the changed file.
#ifndef KOVA_LSP_WORKSPACE_H
#define KOVA_LSP_WORKSPACE_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lsp/analysis.h"
#include "lsp/text_places.h"
#include "session/settings_text.h"

struct KOVA_LSP_DOCUMENT {
    std::string uri;
    std::string path;  // absolute
    KOVA_LSP_LINES lines;
    long long version = 0;
    // A settings file (*.settings); else a description.
    bool settings() const;
};

// What initializationOptions give: the description settings files belong
// to and a settings file whose values hover shows; the --lib folder.
struct KOVA_LSP_OPTIONS {
    std::string description;
    std::string settings;
    std::string library_dir;
};

class KOVA_LSP_WORKSPACE {
public:
    KOVA_LSP_WORKSPACE() = default;
    KOVA_LSP_WORKSPACE(const KOVA_LSP_WORKSPACE&) = delete;
    KOVA_LSP_WORKSPACE& operator=(const KOVA_LSP_WORKSPACE&) = delete;
    // Files are read from disk again once the workspace is gone.
    ~KOVA_LSP_WORKSPACE();

    void set_options(const KOVA_LSP_OPTIONS& options) { m_options = options; }
    const KOVA_LSP_OPTIONS& options() const { return m_options; }

    // Opens or replaces a document's text; false for a URI that is not a
    // local file.
    bool open(const std::string& uri, const std::string& text, long long version);
    void close(const std::string& uri);
    // The open document of uri; null when it is not open.
    const KOVA_LSP_DOCUMENT* document(const std::string& uri) const;
    const std::map<std::string, KOVA_LSP_DOCUMENT>& documents() const { return m_documents; }

    // The text of a file: its open buffer, else the file on disk ("" when
    // unreadable), read once until a buffer changes.
    const KOVA_LSP_LINES& lines_of(const std::string& path);

    // The analysis of a description (absolute path), built when stale.
    KOVA_LSP_ANALYSIS& analysis(const std::string& description);
    // The description a document's answers come from: for a description
    // the one initializationOptions name or another open one when it
    // includes the document, else the document itself; or for a settings file the one initializationOptions name,
    // else NAME.xml beside NAME.settings or NAME-ANYTHING.settings; "" when
    // none is found.
    std::string description_of(const KOVA_LSP_DOCUMENT& document);

    // The settings hover evaluates under: the file initializationOptions
    // name (its problems ignored), else none (the defaults).
    std::vector<KOVA_SETTING> hover_settings() const;

private:
    void publish_overlay();
    std::string including(const std::string& path);

    KOVA_LSP_OPTIONS m_options;
    std::map<std::string, KOVA_LSP_DOCUMENT> m_documents;  // by URI
    std::map<std::string, std::unique_ptr<KOVA_LSP_ANALYSIS>> m_analyses;  // by description path
    std::map<std::string, KOVA_LSP_LINES> m_files;  // by path
};

#endif
