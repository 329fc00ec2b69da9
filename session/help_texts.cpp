// Reading the labels and help texts from the validator's source table,
// and their text form.
#include "session/help_texts.h"

KOVA_HELP kova_help_of(const KOVA_INFO& model, uint32_t source_id) {
    return {model.written_text(source_id, KOVA_FIELD_LABEL), model.written_text(source_id, KOVA_FIELD_HELP)};
}

std::vector<KOVA_HELP_ITEM> kova_help_items(KOVA_RULES_VALIDATOR& validator) {
    std::vector<KOVA_HELP_ITEM> items;
    const auto add = [&](const std::string& kind, const std::string& name, uint32_t source_id) {
        KOVA_HELP help = kova_help_of(validator, source_id);
        if (!help.empty()) items.push_back({kind, name, std::move(help)});
    };
    for (const KOVA_OBJ_INFO* object : validator.get_kova_obj_snapshot())
        add(kova_object_kind_name(object->obj_type), object->get_name(), object->source_id);
    validator.reset_wizard_map();
    while (const KOVA_WIZARD_MAP* map = validator.get_next_wizard_map())
        add("wizard_map", map->get_map_name(), map->source_id);
    validator.reset_vector_map();
    while (const KOVA_VECTOR_OBJ* vector = validator.get_next_vector_obj())
        add("vector", vector->get_vector_name(), vector->source_id);
    return items;
}

std::string kova_help_paragraph(const std::string& text) {
    std::string paragraph;
    bool blank = false;  // a run of white space is pending
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            blank = true;
            continue;
        }
        if (blank && !paragraph.empty()) paragraph += ' ';
        blank = false;
        paragraph += c;
    }
    return paragraph;
}

void kova_print_help_items(const std::vector<KOVA_HELP_ITEM>& items, std::ostream& out) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const KOVA_HELP_ITEM& item = items[i];
        out << (i ? "\n" : "") << item.name << " (" << item.kind << ")";
        if (!item.help.label.empty()) out << ": " << kova_help_paragraph(item.help.label);
        out << "\n";
        if (!item.help.text.empty()) out << "  " << kova_help_paragraph(item.help.text) << "\n";
    }
}
