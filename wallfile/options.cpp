#include "wallfile/options.h"

#include <algorithm>

#include "core/fault.h"
#include "numtext/read_error.h"
#include "numtext/strict_reading.h"

namespace wallcalc::wallfile {
namespace {

std::size_t rank(std::string_view key) {
    const auto& keys = optionKeys();
    return static_cast<std::size_t>(std::find(keys.begin(), keys.end(), key) - keys.begin());
}

}  // namespace

const std::vector<std::string_view>& optionKeys() {
    static const std::vector<std::string_view> keys{"edition",   "support",  "gamma0", "K0",        "gamma",
                                                    "gamma_sub", "gamma_w",  "psi_q",  "cover_out", "cover_in",
                                                    "dh",        "wlim_out", "wlim_in"};
    return keys;
}

bool isOptionKey(std::string_view key) { return rank(key) < optionKeys().size(); }

void checkOption(std::string_view key, std::string_view text) {
    const std::string name(key);
    if (!isOptionKey(key)) throw FaultError(fault_number::kInvalidCall, "未知的复核选项 " + name);
    if (key == "edition") {
        if (text != "current" && text != "2002")
            throw FaultError(fault_number::kInvalidCall,
                             "复核选项 edition 只能为 current 或 2002，而不是 " + std::string(text));
        return;
    }
    if (key == "support") {
        if (text != "propped" && text != "fixed")
            throw FaultError(fault_number::kInvalidCall,
                             "复核选项 support 只能为 propped 或 fixed，而不是 " + std::string(text));
        return;
    }
    try {
        numtext::strictReading(text);
    } catch (const numtext::ReadError&) {
        throw FaultError(fault_number::kInvalidCall, "复核选项 " + name + " 应为数值，而不是 " + std::string(text));
    }
}

void OptionTexts::set(std::string_view key, std::string_view text) {
    checkOption(key, text);
    auto at = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return rank(e.first) >= rank(key); });
    if (at != entries_.end() && at->first == key)
        at->second = std::string(text);
    else
        entries_.emplace(at, std::string(key), std::string(text));
}

}  // namespace wallcalc::wallfile
