#pragma once
// A run's fields and fault as the command line reports them: as JSON members (written with
// oneLineJson, core/json_line.h) and, for stderr, the fault as one line of text.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "core/fault.h"
#include "core/fields.h"

namespace wallcalc::cli {

// Every field by name, in the window's order: {"Text1": "10", ...}. The texts stand as the fields
// hold them, which need not be UTF-8: oneLineJson makes them so.
nlohmann::ordered_json fieldsJson(const FieldSet& fields);

// {"number": 5, "description": ..., "action": ..., "what": ...}, or null without a fault.
nlohmann::ordered_json faultJson(const std::optional<Fault>& fault, std::string_view action);

// "5 无效的过程调用或参数: 墙厚 ..."
std::string faultText(const Fault& fault);

}  // namespace wallcalc::cli
