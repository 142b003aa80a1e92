#pragma once
// The options of the review, one row of data each: the key the command line, wall files and batch
// columns use, the name the engine's messages give it, the caption and unit of the review
// window, and how its text is read and checked. The engine, the windows, the wall file and the
// command line all take them from here.

#include <array>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wallcalc::review {

// The top slab pinned, fixed, or both designed for (every section takes the larger of the two);
// every intermediate slab is a pin, the base slab is always fixed.
enum class Support { Propped, Fixed, Envelope };

// One layer of bars on a face: diameter and spacing, mm, as read.
struct Bar {
    double d = 0, s = 0;
    bool operator==(const Bar&) const = default;
};
// The bars of a face as drawn: 通长 bars, and 附加 bars added at the sections (at most two).
using Bars = std::vector<Bar>;

// The options of the review, at their defaults (the defaults are declared here and nowhere
// else: an option's default text is its text in `Options{}`).
struct Options {
    std::string edition = "current";  // current | 2002
    Support support = Support::Propped;
    double gamma0 = 1.0;                  // γ0, importance factor
    double K0 = 0.5;                      // earth pressure at rest
    double gamma = 18;                    // γ, soil above the water table, kN/m³
    double gammaSub = 11;                 // γ′, submerged soil, kN/m³
    double gammaW = 10;                   // γw, water, kN/m³
    double psiQ = 0.5;                    // ψq of the surcharge
    double coverOut = 50;                 // soil face, mm
    double coverIn = 20;                  // inner face, mm
    double dh = 0;                        // horizontal bars outside the vertical ones, mm
    double wlimOut = 0.2;                 // crack limit, soil face, mm
    double wlimIn = 0.2;                  // crack limit, inner face, mm
    std::vector<double> upperStoreys;     // heights of the storeys above the window's, mm, top first
    std::optional<Bars> barsOut, barsIn;  // soil face, inner face; by default Text17@Text25
    std::optional<double> h1Sls;          // water table of the crack check, m; by default Text2
    std::optional<double> crackCoverOut;  // c of the soil face's crack width, mm; by default cover_out
};

// The text of a support model and of a set of bars ("16@100", "16@200+14@200").
std::string_view supportText(Support support);
std::string barsText(const Bars& bars);

// One word an option of words takes, and how the review window offers it.
struct OptionWord {
    std::string_view text, caption;
};

enum class OptionBound { None, NotNegative, Positive };

struct OptionSpec {
    std::string_view key;      // edition, gamma0, ...
    std::string_view name;     // in the engine's messages: 结构重要性系数γ0
    std::string_view caption;  // beside the review window's control: 结构重要性系数 γ0
    std::string_view unit{};   // of a number, as the window shows it ("" for none)
    // A number: the member it sets, the bound it must keep, and the range the codes and soils
    // allow (a value outside is refused with the range).
    double Options::*number = nullptr;
    OptionBound bound = OptionBound::None;
    double min = -std::numeric_limits<double>::infinity();
    double max = std::numeric_limits<double>::infinity();
    // Words: those it takes, in the order the window offers them; whether a refusal names each
    // word's caption beside it; how the chosen word is kept in Options and read back.
    std::array<OptionWord, 3> words{};  // unused places have an empty text
    bool captionsInMessages = false;
    void (*setWord)(Options&, std::string_view) = nullptr;
    std::string (*word)(const Options&) = nullptr;

    // A text of its own form (storey heights, bars, a number that may be left out): how it is
    // read (false when the text does not have that form, named by `form` in the refusal) and
    // written back by `word`; the empty text leaves the option at its default, which
    // `byDefault` names.
    bool (*setText)(Options&, std::string_view) = nullptr;
    std::string_view form{};
    std::string_view byDefault{};

    bool isNumber() const { return number != nullptr; }
    bool isText() const { return setText != nullptr; }
};

// Every option, in the documented order.
std::span<const OptionSpec> optionTable();
// The row of a key, or nullptr.
const OptionSpec* findOption(std::string_view key);
// The option keys in their documented order.
const std::vector<std::string_view>& optionKeys();

// Sets one option from its text (KEY=VALUE split by the caller). Throws FaultError (5) naming
// the option for an unknown key, a non-number, a number out of its bound or a word not allowed.
void setOption(Options& options, std::string_view key, std::string_view value);

// An option's value as text (for wall files and the window); "" for an unknown key.
std::string optionText(const Options& options, std::string_view key);
// The text of an option at its default.
std::string defaultOptionText(std::string_view key);

// Checks every option of a whole set as setOption checks one. Throws FaultError (5).
void checkOptions(const Options& options);

}  // namespace wallcalc::review
