#pragma once
// Tables saved by a Chinese spreadsheet are in GB18030 (GBK), not UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace wallcalc::cli {

// `bytes` read as GB18030 and written as UTF-8; nothing when they are not GB18030 or the
// system cannot convert them.
std::optional<std::string> utf8FromGb18030(std::string_view bytes);

}  // namespace wallcalc::cli
