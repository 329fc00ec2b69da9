// The note after a failed check that names the settings its condition
// reads through hidden parameters and macros, with their values:
//   FILE:LINE:COL: note: reads CLK_FREQ_HZ=16000000, BAUD_RATE=115200 through BAUD_ERROR
// The check's own message names only what the condition names directly,
// so a user learns here which settings to change. The settings are those
// explain's dependency trees reach (session/dependency_tree.h).
#ifndef KOVA_READS_NOTES_H
#define KOVA_READS_NOTES_H

#include "session/session.h"

// The run's messages, each failed check followed by its note (severity
// note, kind reads, at the check's place, about the same object and
// rule). No note for a condition that reaches no setting through a
// hidden parameter or macro. The trees are built on a copy of session,
// which should be as the run left it; a run without a failed check costs
// a copy of its messages.
KOVA_MESSAGES kova_messages_with_reads(const KOVA_SESSION& session, const KOVA_RUN_RESULT& run);

#endif
