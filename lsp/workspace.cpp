// Open documents, their overlay and the analyses built from them (lsp/workspace.h).
#include "lsp/workspace.h"

#include <filesystem>

#include "host/file_overlay.h"
#include "session/file_io.h"

namespace fs = std::filesystem;

namespace {

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

bool KOVA_LSP_DOCUMENT::settings() const { return ends_with(path, ".settings"); }

KOVA_LSP_WORKSPACE::~KOVA_LSP_WORKSPACE() {
    if (!m_documents.empty()) kova_set_file_overlay({});
}

bool KOVA_LSP_WORKSPACE::open(const std::string& uri, const std::string& text, long long version) {
    const std::string path = kova_lsp_path_of(uri);
    if (path.empty()) return false;
    m_documents[uri] = KOVA_LSP_DOCUMENT{uri, kova_overlay_key(path), KOVA_LSP_LINES(text), version};
    publish_overlay();
    return true;
}

void KOVA_LSP_WORKSPACE::close(const std::string& uri) {
    if (m_documents.erase(uri)) publish_overlay();
}

const KOVA_LSP_DOCUMENT* KOVA_LSP_WORKSPACE::document(const std::string& uri) const {
    const auto found = m_documents.find(uri);
    return found == m_documents.end() ? nullptr : &found->second;
}

// Every open buffer stands in for its file, and every analysis is stale.
void KOVA_LSP_WORKSPACE::publish_overlay() {
    std::map<std::string, std::string> texts;
    for (const auto& entry : m_documents) texts[entry.second.path] = entry.second.lines.text();
    kova_set_file_overlay(std::move(texts));
    m_analyses.clear();
    m_files.clear();
}

const KOVA_LSP_LINES& KOVA_LSP_WORKSPACE::lines_of(const std::string& path) {
    auto found = m_files.find(path);
    if (found != m_files.end()) return found->second;
    std::string text, error;
    kova_read_text_file(path, text, error);
    return m_files.emplace(path, KOVA_LSP_LINES(std::move(text))).first->second;
}

KOVA_LSP_ANALYSIS& KOVA_LSP_WORKSPACE::analysis(const std::string& description) {
    std::unique_ptr<KOVA_LSP_ANALYSIS>& kept = m_analyses[description];
    if (!kept) kept = KOVA_LSP_ANALYSIS::build(description, m_options.library_dir);
    return *kept;
}

// A description included by the one initializationOptions name, or by
// another open description, is answered for as part of that one, so that
// the names it reads from the including file are known.
std::string KOVA_LSP_WORKSPACE::including(const std::string& path) {
    std::vector<std::string> candidates;
    if (!m_options.description.empty()) candidates.push_back(kova_overlay_key(m_options.description));
    for (const auto& entry : m_documents)
        if (!entry.second.settings()) candidates.push_back(entry.second.path);
    for (const std::string& candidate : candidates)
        if (candidate != path && analysis(candidate).reads(path)) return candidate;
    return path;
}

std::string KOVA_LSP_WORKSPACE::description_of(const KOVA_LSP_DOCUMENT& document) {
    if (!document.settings()) return including(document.path);
    if (!m_options.description.empty()) return kova_overlay_key(m_options.description);
    const fs::path path(document.path);
    const std::string stem = path.stem().string();
    std::vector<std::string> names{stem};
    // NAME-ANYTHING.settings: the longest NAME first.
    for (std::size_t dash = stem.rfind('-'); dash != std::string::npos && dash > 0; dash = stem.rfind('-', dash - 1))
        names.push_back(stem.substr(0, dash));
    for (const std::string& name : names) {
        const std::string candidate = (path.parent_path() / (name + ".xml")).string();
        std::string text;
        if (kova_file_exists(candidate) || kova_file_overlay(candidate, text)) return candidate;
    }
    return "";
}

std::vector<KOVA_SETTING> KOVA_LSP_WORKSPACE::hover_settings() const {
    if (m_options.settings.empty()) return {};
    std::string text, error;
    if (!kova_read_text_file(m_options.settings, text, error)) return {};
    KOVA_SETTINGS_DOCUMENT document;
    std::vector<KOVA_SETTINGS_PROBLEM> ignored;
    document.parse(text, m_options.settings, ignored);
    return document.settings();
}
