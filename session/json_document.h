// The JSON documents of every front end, in one versioned schema
// (docs/json.md, docs/kova.schema.json). Every text of the system goes
// through kova_json_text, so a document always serialises.
#ifndef KOVA_JSON_DOCUMENT_H
#define KOVA_JSON_DOCUMENT_H

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "session/json_text.h"
#include "session/message.h"
#include "session/object_states.h"
#include "session/port_queries.h"
#include "session/session.h"
#include "session/wizard_queries.h"

constexpr int KOVA_JSON_SCHEMA_VERSION = 2;

// {"schema_version": 2, "command": command}, to which a command adds.
nlohmann::json kova_json_document(const std::string& command);
// The same with "error": text and the messages that explain it.
nlohmann::json kova_json_error(const std::string& command, const std::string& text, const KOVA_MESSAGES& messages);

// The document of one command that ran: the common members, the verdict
// when the command validated, the command's own members (which may not
// replace the common ones) and the messages last. The members are moved
// into the document: a caller done with them passes them with std::move,
// and a large answer is not copied.
nlohmann::json kova_command_json(const std::string& command, const std::string& description,
                                 std::optional<bool> valid, nlohmann::json members, const KOVA_MESSAGES& messages);

nlohmann::json kova_message_json(const KOVA_MESSAGE& message);
nlohmann::json kova_messages_json(const KOVA_MESSAGES& messages);

// The one shape of an object's state in every document that lists ports
// and parameters (show, validate, states, model): {"name", "kind",
// "port", "hidden", "value_text", "default", "value", "alt_value",
// "usage", "alt_usage", "model_usage", "width", "label", "help",
// "origin"}. origin is where the value came from (kova_value_origin_json,
// from the state's origin; session/value_origins.h). value
// is null for a port without a known value, alt_value null but for a
// parameter, width a port's width as kova_port_widths evaluates it (null
// for the others and where it is unknown), label and help the
// description's texts (null where it gives none).
nlohmann::json kova_object_state_json(const KOVA_OBJECT_STATE& state, int width);
// Every port and parameter (and hidden parameter when asked), in the
// description's order, each in that shape.
nlohmann::json kova_object_states_json(KOVA_SESSION& session, bool with_hidden);
// The same for states the caller has read already.
nlohmann::json kova_object_states_json(KOVA_SESSION& session, const std::vector<KOVA_OBJECT_STATE>& states);
// The width of each state as that shape gives it: a port's evaluated
// width, -1 for the others and where it is unknown.
std::vector<int> kova_state_widths(KOVA_SESSION& session, const std::vector<KOVA_OBJECT_STATE>& states);

// The members of the answers to the wizard's queries, as `kova ranges`,
// `kova simlib` and `kova wizard-map` write them and kova serve answers
// them: {"port", "width", "lower", "upper", "values"} (values null without
// a value list); {"libraries", "library_text"}; {"map", "objects"}, each
// object {"kind", "name", "value", "usage", "source"}, with the map's
// "label" and "help" (null where the description gives none).
nlohmann::json kova_port_range_json(const KOVA_PORT_RANGE& range);
// {"ports": [...]}: every port's range, each as kova_port_range_json.
nlohmann::json kova_port_ranges_json(const std::vector<KOVA_PORT_RANGE>& ranges);
nlohmann::json kova_simulation_libraries_json(const KOVA_SIMULATION_LIBRARIES& libraries);
nlohmann::json kova_wizard_map_json(const KOVA_WIZARD_MAP_RESULT& map);
// {"maps": [...]}: every map, each as kova_wizard_map_json.
nlohmann::json kova_wizard_maps_json(const std::vector<KOVA_WIZARD_MAP_RESULT>& maps);

// show --help-texts: each item {"kind", "name", "label", "help"}, a text
// null where the description gives none.
nlohmann::json kova_help_items_json(const std::vector<KOVA_HELP_ITEM>& items);

// A list of texts, each made safe.
nlohmann::json kova_texts_json(const std::vector<std::string>& texts);

// The document as text; two-space indents.
std::string kova_json_dump(const nlohmann::json& document);

#endif
