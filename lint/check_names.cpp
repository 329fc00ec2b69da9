// The previous names of ports and parameters (previous_names): a previous
// name that is also the name of an object of this version would never be
// read as the old name, one that two objects give leaves kova migrate no
// way to tell which of them an old setting is for, and on a hidden
// parameter or macro, which no setting names, the field is never read.
#include <map>
#include <string>

#include "host/kova_stl.h"
#include "lint/checks.h"
#include "session/previous_names.h"

void kova_check_previous_names(const std::vector<KOVA_INFO*>& models, const KOVA_RULES_VALIDATOR& validator,
                               KOVA_LINT_REPORT& report) {
    std::map<std::string, std::string> owners;  // lower-case previous name -> the object that gave it first
    for (const KOVA_INFO* model : models) {
        for (const KOVA_OBJ_INFO* object : model->get_kova_obj_snapshot()) {
            const KOVA_LINT_PLACE field{model, object, -1, object->source_id, KOVA_FIELD_PREVIOUS_NAMES};
            std::vector<std::size_t> offsets;
            const std::vector<std::string> names = kova_split_previous_names(
                model->written_text(object->source_id, KOVA_FIELD_PREVIOUS_NAMES), &offsets);
            if (!names.empty() && !object->is_port() && !object->is_parameter()) {
                report.add("previous-name",
                           "previous_names of " + object->get_name() + " mean nothing: no setting names a " +
                               (object->obj_type == KOVA_OBJ_FN_MACRO ? "macro" : "hidden parameter"),
                           field);
                continue;
            }
            for (std::size_t index = 0; index < names.size(); ++index) {
                const std::string& old = names[index];
                // At the name itself in the field.
                const KOVA_LINT_PLACE place = kova_place_at(field, static_cast<uint32_t>(offsets[index]));
                if (const KOVA_OBJ_INFO* current = validator.get_kova_obj(old)) {
                    report.add("previous-name",
                               "the previous name " + old + " of " + object->get_name() +
                                   " is the name of the object " + current->get_name() + " of this version",
                               place);
                    continue;
                }
                const auto [owner, first] = owners.emplace(to_lower_case(old), object->get_name());
                if (!first && !kova_equal_nocase(owner->second, object->get_name()))
                    report.add("previous-name",
                               "the previous name " + old + " of " + object->get_name() +
                                   " is also a previous name of " + owner->second,
                               place);
            }
        }
    }
}
