#include "wallfile/options.h"

#include <algorithm>

#include "core/fault.h"
#include "review/options.h"

namespace wallcalc::wallfile {
namespace {

std::size_t rank(std::string_view key) {
    const auto& keys = review::optionKeys();
    return static_cast<std::size_t>(std::find(keys.begin(), keys.end(), key) - keys.begin());
}

}  // namespace

bool isOptionKey(std::string_view key) { return review::findOption(key) != nullptr; }

// The review's own reading decides: what it refuses, a wall file cannot hold.
void checkOption(std::string_view key, std::string_view text) {
    review::Options scratch;
    review::setOption(scratch, key, text);
}

void OptionTexts::set(std::string_view key, std::string_view text) {
    checkOption(key, text);
    auto at = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return rank(e.first) >= rank(key); });
    if (at != entries_.end() && at->first == key)
        at->second = std::string(text);
    else
        entries_.emplace(at, std::string(key), std::string(text));
}

bool OptionTexts::unset(std::string_view key) {
    auto at = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.first == key; });
    if (at == entries_.end()) return false;
    entries_.erase(at);
    return true;
}

const std::string* OptionTexts::find(std::string_view key) const {
    for (const auto& [k, text] : entries_)
        if (k == key) return &text;
    return nullptr;
}

}  // namespace wallcalc::wallfile
