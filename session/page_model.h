// The document of GET /api/model: what the web page builds its form from.
// The block's function name and library text, every port, parameter and
// hidden parameter with what its control needs, the wizard maps with the
// objects they group, evaluated under the description's defaults, each
// map's own objects with their value text and what it reads, and the
// settings the page starts from (kova serve --settings). Each object has
// the one state shape of every document (session/json_document.h) with
// its control's choices and range.
#ifndef KOVA_PAGE_MODEL_H
#define KOVA_PAGE_MODEL_H

#include <vector>

#include <nlohmann/json.hpp>

#include "session/session.h"
#include "session/state_changes.h"

// The document and the object states it gives, read once: a refresh
// lists the objects whose state differs from these.
struct KOVA_PAGE_MODEL {
    nlohmann::json document;
    KOVA_STATE_BASELINE states;
};

// The session is given a derive first, so hidden values and maps are
// those of its current settings; a template session gives the defaults.
KOVA_PAGE_MODEL kova_page_model(KOVA_SESSION& session, const std::vector<KOVA_SETTING>& initial_settings);

#endif
