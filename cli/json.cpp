#include "cli/json.h"

namespace wallcalc::cli {

nlohmann::ordered_json fieldsJson(const FieldSet& fields) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (Field field : allFields()) json[fieldName(field)] = fields.text(field);
    return json;
}

nlohmann::ordered_json faultJson(const std::optional<Fault>& fault, std::string_view action) {
    if (!fault) return nullptr;
    nlohmann::ordered_json json;
    json["number"] = fault->number;
    json["description"] = fault->description;
    json["action"] = action;
    json["what"] = fault->what;
    return json;
}

std::string faultText(const Fault& fault) {
    return std::to_string(fault.number) + " " + fault.description + ": " + fault.what;
}

}  // namespace wallcalc::cli
