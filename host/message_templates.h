// The one table of the texts that kova gives, each as a template: its fixed
// text with every variable part named in braces, as in
// "Error : Division by zero in condition {CONDITION}". The engine
// (validator/, expr/, stimulus/), the description loader (host/), the
// shared layer (session/), lint (lint/), the tool (tools/), the code
// generator (generate/) and the server of kova serve (serve/) each have a
// group. The table holds only texts and kinds, so it sits in the lowest
// layer and every layer above reads it without a dependency on another.
//
// Invariants: a template's text is byte for byte what the code posts once
// each {NAME} is replaced; every template is catalogued, word for word, in
// docs/messages.md, and the catalogue names no template the table lacks
// (tests/host/test_message_templates.cpp holds the three in step;
// tests/tools/test_message_output.cpp checks that what the tool gives fits
// the table).
#ifndef KOVA_MESSAGE_TEMPLATES_H
#define KOVA_MESSAGE_TEMPLATES_H

#include <string>
#include <string_view>
#include <vector>

#include "host/diagnostic.h"
#include "host/kova_host_export.h"

// Where a message comes from; the catalogue groups its entries so.
enum KOVA_MESSAGE_SOURCE : uint8_t {
    KOVA_MESSAGE_FROM_ENGINE,    // the validation run and the rule language
    KOVA_MESSAGE_FROM_LOADER,    // reading a description file
    KOVA_MESSAGE_FROM_SESSION,   // settings, problems of a request, repairs and sweeps
    KOVA_MESSAGE_FROM_LINT,      // lint's findings and the hints under them
    KOVA_MESSAGE_FROM_TOOL,      // the command line of the kova tool and its notices
    KOVA_MESSAGE_FROM_GENERATOR, // kova generate's refusals and what a language cannot write
    KOVA_MESSAGE_FROM_SERVER     // kova serve's answers to requests it refuses
};

// kind is the kind of the message that carries the text. A text that no
// message carries has KOVA_DIAG_OTHER when it is the problem of a request
// (the "error" of a JSON answer or of a server's refusal), a notice of the
// tool or why a repair gave up, the kind of the message it stands under
// when it is a lint hint (KOVA_DIAG_PARSE_ERROR) or a note of a related
// place (KOVA_DIAG_CYCLE).
struct KOVA_MESSAGE_TEMPLATE {
    KOVA_MESSAGE_SOURCE source;
    KOVA_DIAGNOSTIC_KIND kind;
    const char* text;
};

// Every template, grouped by source; a static table, never empty.
KOVA_HOST_API const std::vector<KOVA_MESSAGE_TEMPLATE>& kova_message_templates();

// The fixed parts of a template, in order: the text between its {NAME}
// parts, empty ones left out. A template that starts (ends) with a variable
// part is matched from its first fixed part anywhere on.
KOVA_HOST_API std::vector<std::string> kova_template_fixed_parts(std::string_view text);

// Whether text is what the template posts for some values of its variable
// parts (each variable part may be empty).
KOVA_HOST_API bool kova_template_matches(std::string_view template_text, std::string_view text);

// The template of the table that text fits, of the given kind; null when
// none does.
KOVA_HOST_API const KOVA_MESSAGE_TEMPLATE* kova_message_template_of(KOVA_DIAGNOSTIC_KIND kind, std::string_view text);

#endif
