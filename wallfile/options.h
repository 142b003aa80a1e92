#pragma once
// The options of the review as texts by key, as a wall file and a batch row carry them. Only
// the options that were set are held; the others keep the review's defaults.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wallcalc::wallfile {

// Whether a key names an option of the review (review/options.h holds them, in their order).
bool isOptionKey(std::string_view key);

// Checks one option as the review reads it (review::setOption): a known key, and a text the
// review accepts for it. Throws FaultError (5) naming the option.
void checkOption(std::string_view key, std::string_view text);

class OptionTexts {
public:
    // Checks the option (see checkOption), then sets or replaces it.
    void set(std::string_view key, std::string_view text);
    // Takes the option out again: the review's default applies. Returns whether it was set.
    bool unset(std::string_view key);
    // The text of an option that is set; null for one that is not.
    const std::string* find(std::string_view key) const;
    // The options set, in the order of the review's option table.
    const std::vector<std::pair<std::string, std::string>>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }

    bool operator==(const OptionTexts&) const = default;

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

}  // namespace wallcalc::wallfile
