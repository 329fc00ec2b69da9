// Engine records made into messages, and messages printed in compiler form.
#include "session/message.h"

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

bool kova_has_errors(const KOVA_MESSAGES& messages) {
    for (const KOVA_MESSAGE& message : messages)
        if (message.severity == KOVA_SEVERITY_ERROR) return true;
    return false;
}

namespace {

void print_place(const KOVA_SOURCE_LOCATION& location, const std::string& fallback_file, std::ostream& out) {
    out << (location.file.empty() ? fallback_file : location.file);
    if (location.line != 0) {
        out << ':' << location.line;
        if (location.column != 0) out << ':' << location.column;
    }
    out << ": ";
}

}  // namespace

void kova_print_message(const KOVA_MESSAGE& message, const std::string& fallback_file, std::ostream& out) {
    print_place(message.location, fallback_file, out);
    out << kova_severity_name(message.severity) << ": " << message.text;
    if (!message.check.empty()) out << " [" << message.check << ']';
    out << '\n';
    if (!message.setting.file.empty()) {
        print_place(message.setting, fallback_file, out);
        out << "note: set here\n";
    }
}

void kova_print_messages(const KOVA_MESSAGES& messages, const std::string& fallback_file, std::ostream& out) {
    for (const KOVA_MESSAGE& message : messages) kova_print_message(message, fallback_file, out);
}
