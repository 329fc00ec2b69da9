// How batch and sweep results are written: one line per item, as text or
// as a one-line JSON document (docs/json.md, "Lines of batch and sweep"),
// and a sweep's summary of verdicts and most frequent messages.
#ifndef KOVA_BATCH_REPORT_H
#define KOVA_BATCH_REPORT_H

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "session/batch.h"

// The document as one line, without a line end.
std::string kova_json_line(const nlohmann::json& document);

// batch: {"command": "batch", "description", "settings_file", "valid",
// "messages"}, or for an error {"command", "error", "settings_file",
// "messages"}.
nlohmann::json kova_batch_line_json(const std::string& description, const std::string& settings_file,
                                    const KOVA_BATCH_OUTCOME& outcome);
// sweep: {"command": "sweep", "description", "index", "settings", "valid",
// "messages"}, "settings" mapping each varied name to its value, and
// "draws" and "repaired" for an outcome of valid-only draws; for an
// error {"command", "error", "index", "settings", "messages"}.
nlohmann::json kova_sweep_line_json(const std::string& description, std::uint64_t index,
                                    const std::vector<KOVA_SETTING>& settings, const KOVA_BATCH_OUTCOME& outcome);

// "valid", "invalid (K errors)" or "error: TEXT": the verdict part of a
// text line. Texts in these lines go through kova_visible_text.
std::string kova_outcome_text(const KOVA_BATCH_OUTCOME& outcome);
// "NAME=VALUE NAME=VALUE".
std::string kova_settings_text(const std::vector<KOVA_SETTING>& settings);
// A sweep's text line without its line end, "INDEX[ SETTINGS]: VERDICT",
// written over line, whose storage is reused from one line to the next.
void kova_sweep_line_text(std::uint64_t index, const KOVA_BATCH_OUTCOME& outcome, std::string& line);

// The verdicts of a sweep and how often each message came, a message
// known by its severity, kind, object and place (its text names values,
// which differ from one configuration to the next).
class KOVA_SWEEP_TALLY {
public:
    void add(const KOVA_BATCH_OUTCOME& outcome);
    std::uint64_t valid() const { return m_valid; }
    std::uint64_t invalid() const { return m_invalid; }
    std::uint64_t errors() const { return m_errors; }
    // "N configurations: V valid, I invalid[, E errors][; D draws, R
    // repaired]" (the last part for valid-only draws), then the most
    // frequent errors and warnings, at most most of them, each as
    // "  COUNT x FILE:LINE:COL: SEVERITY: TEXT" with the text first seen.
    void print(std::ostream& out, const std::string& description, std::size_t most) const;

private:
    using KEY = std::tuple<int, int, std::string, std::string, std::uint32_t, std::uint32_t>;
    struct SEEN {
        std::uint64_t count = 0;
        std::uint64_t first = 0;  // order of first sight: ties print in it
        KOVA_MESSAGE message;     // the first seen
    };
    std::uint64_t m_valid = 0, m_invalid = 0, m_errors = 0;
    std::uint64_t m_draws = 0, m_repaired = 0;  // valid-only random draws
    std::map<KEY, SEEN> m_messages;
};

#endif
