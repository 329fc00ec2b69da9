// kova diff of two versions of a description: the block as its user sees
// it, port by port and parameter by parameter. An object of the new
// version is paired with the old object of the same name (letter case
// ignored), else with the old object one of its previous names names
// (renamed); the old objects left unpaired were removed, the new ones
// added. A pair is compared by kind, default (as the session's defaults
// give it, so a default_index is read as the value it picks), legal values
// or range, width expression, usage state, rules (by their text: type and
// the fields written, so a rule that moved is no change), label and help.
// Hidden parameters and macros are the block's inner workings, left out.
#ifndef KOVA_DESCRIPTION_DIFF_H
#define KOVA_DESCRIPTION_DIFF_H

#include <string>
#include <vector>

#include "session/answers.h"

struct KOVA_DESCRIPTION_CHANGE {
    std::string object;  // the new name; the old one for a removed object
    // added, removed, renamed, kind, default, values, width, usage,
    // rule-added, rule-removed, label, help
    std::string change;
    std::string old_text, new_text;  // "" where a side has none (added, removed, a rule)
};

// Every change from old_session's description to new_session's, the
// objects in the new version's order, then the removed ones.
std::vector<KOVA_DESCRIPTION_CHANGE> kova_diff_descriptions(const KOVA_SESSION& old_session,
                                                            const KOVA_SESSION& new_session);

// A rule as the diff names it, as a description writes its fields:
// type="WORD", then each field written: condition="...", value="...",
// alt_value="..." (the texts as they are, not escaped).
std::string kova_rule_text(const KOVA_RULE_ELEMENT& rule);

// diff of descriptions: "old" and "new" (the files), "equal" and
// "changes", each {"object", "change", "old", "new"} (a text null where
// the change has none). The text: a line per change, then a count line.
void kova_description_diff_answer(const KOVA_SESSION& old_session, const KOVA_SESSION& new_session,
                                  KOVA_ANSWER& answer);

#endif
