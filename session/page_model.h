// The document of GET /api/model: what the web page builds its form from.
// The block's function name and library text, every port, parameter and
// hidden parameter with what its control needs, the wizard maps with the
// objects they group, evaluated under the description's defaults, and the
// settings the page starts from (kova serve --settings). Each object has
// the one state shape of every document (session/json_document.h) with
// its control's choices and range.
#ifndef KOVA_PAGE_MODEL_H
#define KOVA_PAGE_MODEL_H

#include <vector>

#include <nlohmann/json.hpp>

#include "session/session.h"

// The session is given a derive first, so hidden values and maps are
// those of its current settings; a template session gives the defaults.
nlohmann::json kova_page_model_document(KOVA_SESSION& session, const std::vector<KOVA_SETTING>& initial_settings);

#endif
