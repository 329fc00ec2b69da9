// Loading, linting and indexing one description (lsp/analysis.h).
#include "lsp/analysis.h"

#include <cctype>

#include "host/file_overlay.h"
#include "lint/lint.h"
#include "lint/source_columns.h"
#include "lint/texts.h"
#include "lsp/text_places.h"

std::string kova_lsp_key(const std::string& name) {
    std::string key = name;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

std::unique_ptr<KOVA_LSP_ANALYSIS> KOVA_LSP_ANALYSIS::build(const std::string& description,
                                                             const std::string& library_dir) {
    std::unique_ptr<KOVA_LSP_ANALYSIS> analysis(new KOVA_LSP_ANALYSIS());
    analysis->m_description = description;
    KOVA_LOAD_OPTIONS options;
    options.description = description;
    options.library_dir = library_dir;
    analysis->m_session = KOVA_SESSION::open(options, analysis->m_messages);
    if (!analysis->m_session) return analysis;
    KOVA_MESSAGES findings;
    kova_lint(*analysis->m_session, KOVA_LINT_OPTIONS(), findings);
    analysis->m_messages = std::move(findings);
    analysis->m_written = std::make_unique<KOVA_INFO>();
    analysis->m_written->set_xml_lib_dir(library_dir);
    if (analysis->m_written->process_xml_file(description, nullptr)) {
        analysis->index_models();
        analysis->index_uses();
    }
    return analysis;
}

const KOVA_LSP_DECLARATION* KOVA_LSP_ANALYSIS::find(const std::string& name) const {
    const auto found = m_by_key.find(kova_lsp_key(name));
    return found == m_by_key.end() ? nullptr : &m_declarations[found->second];
}

// Every object, wizard map and vector of every model, in model order; the
// first declaration of a name is the one a name leads to.
void KOVA_LSP_ANALYSIS::index_models() {
    for (KOVA_INFO* model : kova_lint_models(*m_written)) {
        m_files.insert(kova_overlay_key(model->get_source_file()));
        auto declare = [&](const std::string& name, const std::string& kind, uint32_t id,
                           const KOVA_OBJ_INFO* object) {
            KOVA_LSP_DECLARATION declaration{name, kind, model->locate(id, KOVA_FIELD_NAME),
                                             model->locate(id, KOVA_FIELD_ELEMENT), object, model, id};
            m_by_key.emplace(kova_lsp_key(name), m_declarations.size());
            m_declarations.push_back(std::move(declaration));
        };
        for (const KOVA_OBJ_INFO* object : model->get_kova_obj_snapshot())
            declare(object->get_name(), kova_object_kind_name(object->obj_type), object->source_id, object);
        model->reset_wizard_map();
        while (const KOVA_WIZARD_MAP* map = model->get_next_wizard_map())
            declare(map->get_map_name(), "wizard_map", map->source_id, nullptr);
        model->reset_vector_map();
        while (const KOVA_VECTOR_OBJ* vector = model->get_next_vector_obj())
            declare(vector->get_vector_name(), "vector", vector->source_id, nullptr);
    }
}

// The names each evaluated text reads, placed in the file as written
// (through entities and CDATA markers); quoted strings are skipped.
void KOVA_LSP_ANALYSIS::index_uses() {
    KOVA_LINT_SOURCES sources;
    for (const KOVA_LINT_TEXT& text : kova_lint_texts(*m_written)) {
        if (text.role == KOVA_TEXT_FORCE || !text.place.model) continue;
        const KOVA_SOURCE_LOCATION field = text.place.model->locate(text.place.source_id, text.place.field, false);
        if (!field.known()) continue;
        const std::string owner = text.place.object ? text.place.object->get_name() : "";
        const std::string& body = text.text;
        for (std::size_t at = 0; at < body.size();) {
            if (body[at] == '\'' || body[at] == '"') {
                const std::size_t close = body.find(body[at], at + 1);
                at = close == std::string::npos ? body.size() : close + 1;
                continue;
            }
            std::size_t begin, end;
            if (!kova_lsp_name_char(body[at]) || !kova_lsp_name_at(body, at, begin, end) || begin != at) {
                while (at < body.size() && kova_lsp_name_char(body[at])) ++at;
                if (at < body.size() && !kova_lsp_name_char(body[at])) ++at;
                continue;
            }
            const std::string key = kova_lsp_key(body.substr(begin, end - begin));
            if (m_by_key.count(key) && !kova_lint_is_formal(text, body.substr(begin, end - begin)))
                m_uses.push_back({key, sources.advance(field, begin), end - begin, owner});
            at = end;
        }
    }
}

KOVA_SESSION* KOVA_LSP_ANALYSIS::evaluated(const std::vector<KOVA_SETTING>& settings, const KOVA_RUN_RESULT** run) {
    if (!m_session) return nullptr;
    if (!m_evaluated) {
        m_evaluated = std::make_unique<KOVA_SESSION>(*m_session);
        KOVA_MESSAGES ignored;
        m_evaluated->apply(settings, ignored);
        m_run = m_evaluated->run();
    }
    if (run) *run = &m_run;
    return m_evaluated.get();
}
