// The answer of generate (session/answers.h): the configuration's members,
// "text" the generated source when the document holds it, the source
// itself as the answer's text (a product). Python, the kova tool and kova
// serve take it from here.
#ifndef KOVA_GENERATE_ANSWER_H
#define KOVA_GENERATE_ANSWER_H

#include "generate/generate.h"
#include "session/answers.h"

// text_in_document unset leaves "text" null (the source goes to a file);
// it is null for json too, whose source is the document itself. Failed
// when nothing was generated; a problem when the options do not go
// together.
void kova_generate_answer(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_GENERATE_OPTIONS& options,
                          bool text_in_document, KOVA_ANSWER& answer);

#endif
