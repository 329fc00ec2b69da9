// The document of GET /api/model: what the web page builds its form from.
// The block's function name and library text, every port, parameter and
// hidden parameter with what its control needs, the wizard maps with the
// objects they group, evaluated under the description's defaults, and the
// settings the page starts from (kova serve --settings). Also the objects'
// current states, which the page redraws after every change.
#ifndef KOVA_PAGE_MODEL_H
#define KOVA_PAGE_MODEL_H

#include <vector>

#include <nlohmann/json.hpp>

#include "session/session.h"

// The session is given a derive first, so hidden values and maps are
// those of its current settings; a template session gives the defaults.
nlohmann::json kova_page_model_document(KOVA_SESSION& session, const std::vector<KOVA_SETTING>& initial_settings);

// The members of POST /api/states: "objects", every port, parameter and
// hidden parameter in the description's order with its state as the
// validator holds it now, each {"name", "kind", "port", "hidden", "value",
// "alt_value", "usage", "alt_usage"}; value is null for a port without a
// known value, alt_value null but for a parameter.
nlohmann::json kova_page_states_members(const KOVA_RULES_VALIDATOR& validator);

#endif
