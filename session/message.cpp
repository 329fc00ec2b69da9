// Engine records made into messages, and messages printed in compiler form.
#include "session/message.h"

#include <algorithm>

KOVA_MESSAGE kova_message_of(const KOVA_INFO& model, const KOVA_DIAGNOSTIC& record) {
    KOVA_MESSAGE message;
    message.severity = record.severity;
    message.kind = record.kind;
    message.text = record.text;
    message.object = record.object;
    message.rule_index = record.rule_index;
    message.location = record.location.known() || !record.location.file.empty()
                           ? record.location
                           : model.locate(record.source_id, record.field);
    return message;
}

KOVA_MESSAGES kova_messages_of(const KOVA_INFO& model) {
    KOVA_MESSAGES messages;
    messages.reserve(model.get_diagnostics().size());
    for (const KOVA_DIAGNOSTIC& record : model.get_diagnostics()) messages.push_back(kova_message_of(model, record));
    return messages;
}

KOVA_MESSAGE kova_make_message(KOVA_SEVERITY severity, KOVA_DIAGNOSTIC_KIND kind, const std::string& text,
                               const KOVA_SOURCE_LOCATION& location) {
    KOVA_MESSAGE message;
    message.severity = severity;
    message.kind = kind;
    message.text = text;
    message.location = location;
    return message;
}

bool kova_has_errors(const KOVA_MESSAGES& messages) { return kova_error_count(messages) != 0; }

std::size_t kova_error_count(const KOVA_MESSAGES& messages) {
    return static_cast<std::size_t>(std::count_if(messages.begin(), messages.end(), [](const KOVA_MESSAGE& m) {
        return m.severity == KOVA_SEVERITY_ERROR;
    }));
}

bool kova_is_conflict(KOVA_DIAGNOSTIC_KIND kind) {
    return kind == KOVA_DIAG_VALUE_CONFLICT || kind == KOVA_DIAG_USAGE_CONFLICT;
}

namespace {

void print_place(const KOVA_SOURCE_LOCATION& location, const std::string& fallback_file, std::ostream& out) {
    out << kova_visible_text(location.file.empty() ? fallback_file : location.file);
    if (location.line != 0) {
        out << ':' << location.line;
        if (location.column != 0) out << ':' << location.column;
    }
    out << ": ";
}

// The quoted line, and under it blanks up to the column and a caret: a tab
// stays a tab so that the caret lines up, and a character of several
// bytes takes one blank.
void print_caret(const std::string& line, uint32_t column, std::ostream& out) {
    const std::string shown = kova_visible_text(line);
    const std::string before = kova_visible_text(line.substr(0, column > 0 ? column - 1 : 0));
    std::string blanks;
    for (const char byte : before)
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) blanks += byte == '\t' ? '\t' : ' ';
    out << shown << '\n' << blanks << "^\n";
}

}  // namespace

void kova_print_message(const KOVA_MESSAGE& message, const std::string& fallback_file, std::ostream& out) {
    print_place(message.location, message.origin.empty() ? fallback_file : message.origin, out);
    out << kova_severity_name(message.severity) << ": " << kova_visible_text(message.text);
    if (!message.check.empty()) out << " [" << kova_visible_text(message.check) << ']';
    out << '\n';
    if (!message.source_line.empty()) print_caret(message.source_line, message.location.column, out);
    if (!message.hint.empty()) out << "  hint: " << kova_visible_text(message.hint) << '\n';
    for (const KOVA_RELATED_PLACE& related : message.related) {
        print_place(related.location, fallback_file, out);
        out << "note: " << kova_visible_text(related.note) << '\n';
    }
    if (!message.setting.file.empty()) {
        print_place(message.setting, fallback_file, out);
        out << "note: set here\n";
    }
}

void kova_print_messages(const KOVA_MESSAGES& messages, const std::string& fallback_file, std::ostream& out) {
    for (const KOVA_MESSAGE& message : messages) kova_print_message(message, fallback_file, out);
}

std::string kova_visible_text(const std::string& text, bool lines) {
    std::string shown;
    shown.reserve(text.size());
    kova_append_visible_text(shown, text, lines);
    return shown;
}

void kova_append_visible_text(std::string& shown, const std::string& text, bool lines) {
    static const char digits[] = "0123456789abcdef";
    for (std::size_t at = 0; at < text.size(); ++at) {
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        // C1 controls are U+0080 to U+009F, written C2 80 to C2 9F.
        const bool c1 = byte == 0xC2 && at + 1 < text.size() && (static_cast<unsigned char>(text[at + 1]) & 0xE0) == 0x80;
        if (c1) {
            const unsigned char code = static_cast<unsigned char>(text[++at]);
            shown += "\\u00";
            shown += digits[code >> 4];
            shown += digits[code & 0xF];
        } else if ((byte < 0x20 && byte != '\t' && !(lines && byte == '\n')) || byte == 0x7F) {
            shown += "\\x";
            shown += digits[byte >> 4];
            shown += digits[byte & 0xF];
        } else {
            shown += static_cast<char>(byte);
        }
    }
}
