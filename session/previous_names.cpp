// Previous names read from the description's source table, where the
// reader keeps the texts that only the front ends read.
#include "session/previous_names.h"

#include "host/kova_stl.h"

std::vector<std::string> kova_split_previous_names(const std::string& text, std::vector<std::size_t>* offsets) {
    std::vector<std::string> names;
    std::string word;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        const char c = at < text.size() ? text[at] : ',';
        if (c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (!word.empty()) {
                names.push_back(word);
                if (offsets) offsets->push_back(at - word.size());
            }
            word.clear();
        } else {
            word += c;
        }
    }
    return names;
}

std::vector<std::string> kova_previous_names(const KOVA_INFO& model, const KOVA_OBJ_INFO& object) {
    return kova_split_previous_names(model.written_text(object.source_id, KOVA_FIELD_PREVIOUS_NAMES));
}

KOVA_RENAMES::KOVA_RENAMES(const KOVA_INFO& model) {
    for (const KOVA_OBJ_INFO* object : model.get_kova_obj_snapshot()) {
        if (!object->is_port() && !object->is_parameter()) continue;
        for (const std::string& old : kova_previous_names(model, *object))
            if (!model.get_kova_obj(old)) m_current.emplace(to_lower_case(old), object->get_name());
    }
}

std::string KOVA_RENAMES::current_name(const std::string& name) const {
    const auto found = m_current.find(to_lower_case(name));
    return found == m_current.end() ? "" : found->second;
}
