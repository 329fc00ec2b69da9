// Lines and summaries of batch and sweep.
#include "session/batch_report.h"

#include <algorithm>

#include "session/json_document.h"

namespace {

// The members every line has: the error, or the verdict of the run.
nlohmann::json line_json(const std::string& command, const std::string& description, const nlohmann::json& members,
                         const KOVA_BATCH_OUTCOME& outcome) {
    if (outcome.error.empty()) return kova_command_json(command, description, outcome.valid, members, outcome.messages);
    nlohmann::json document = kova_json_error(command, outcome.error, outcome.messages);
    for (const auto& [key, value] : members.items()) document[key] = value;
    return document;
}

// "1 error", "2 errors".
std::string counted(std::uint64_t count, const std::string& word) {
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

}  // namespace

std::string kova_json_line(const nlohmann::json& document) {
    return document.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

nlohmann::json kova_batch_line_json(const std::string& description, const std::string& settings_file,
                                    const KOVA_BATCH_OUTCOME& outcome) {
    return line_json("batch", description, {{"settings_file", kova_json_text(settings_file)}}, outcome);
}

nlohmann::json kova_sweep_line_json(const std::string& description, std::uint64_t index,
                                    const std::vector<KOVA_SETTING>& settings, const KOVA_BATCH_OUTCOME& outcome) {
    nlohmann::json named = nlohmann::json::object();
    for (const KOVA_SETTING& setting : settings) named[kova_json_safe(setting.name)] = kova_json_text(setting.value);
    nlohmann::json members = {{"index", index}, {"settings", named}};
    if (outcome.draws) {
        members["draws"] = outcome.draws;
        members["repaired"] = outcome.repaired;
    }
    return line_json("sweep", description, members, outcome);
}

std::string kova_outcome_text(const KOVA_BATCH_OUTCOME& outcome) {
    if (!outcome.error.empty()) return "error: " + kova_visible_text(outcome.error);
    if (outcome.valid) return "valid";
    return "invalid (" + counted(kova_error_count(outcome.messages), "error") + ")";
}

std::string kova_settings_text(const std::vector<KOVA_SETTING>& settings) {
    std::string text;
    for (const KOVA_SETTING& setting : settings)
        text += (text.empty() ? "" : " ") + kova_visible_text(setting.name + "=" + setting.value);
    return text;
}

void kova_sweep_line_text(std::uint64_t index, const KOVA_BATCH_OUTCOME& outcome, std::string& line) {
    line.clear();
    line += std::to_string(index);
    for (const KOVA_SETTING& setting : outcome.settings) {
        // As kova_settings_text writes it: no character pair that is
        // written apart spans the "=" (a name's last byte and "=" never
        // form one).
        line += ' ';
        kova_append_visible_text(line, setting.name);
        line += '=';
        kova_append_visible_text(line, setting.value);
    }
    line += ": ";
    if (outcome.valid && outcome.error.empty())
        line += "valid";
    else
        line += kova_outcome_text(outcome);
}

void KOVA_SWEEP_TALLY::add(const KOVA_BATCH_OUTCOME& outcome) {
    ++(!outcome.error.empty() ? m_errors : outcome.valid ? m_valid : m_invalid);
    m_draws += outcome.draws;
    m_repaired += outcome.repaired ? 1 : 0;
    for (const KOVA_MESSAGE& message : outcome.messages) {
        if (message.severity == KOVA_SEVERITY_NOTE) continue;
        const KEY key{message.severity, message.kind, message.object, message.location.file, message.location.line,
                      message.location.column};
        SEEN& seen = m_messages[key];
        if (seen.count++ == 0) {
            seen.first = m_messages.size();
            seen.message = message;
            seen.message.setting = KOVA_SOURCE_LOCATION();  // one configuration's setting: not shown
        }
    }
}

void KOVA_SWEEP_TALLY::print(std::ostream& out, const std::string& description, std::size_t most) const {
    out << counted(m_valid + m_invalid + m_errors, "configuration") << ": " << m_valid << " valid, " << m_invalid
        << " invalid";
    if (m_errors) out << ", " << counted(m_errors, "error");
    if (m_draws) out << "; " << counted(m_draws, "draw") << ", " << m_repaired << " repaired";
    out << "\n";
    std::vector<const SEEN*> order;
    for (const auto& entry : m_messages) order.push_back(&entry.second);
    std::sort(order.begin(), order.end(), [](const SEEN* a, const SEEN* b) {
        return a->count != b->count ? a->count > b->count : a->first < b->first;
    });
    if (order.size() > most) order.resize(most);
    if (!order.empty()) out << "most frequent messages:\n";
    for (const SEEN* seen : order) {
        out << "  " << seen->count << " x ";
        kova_print_message(seen->message, description, out);
    }
}
