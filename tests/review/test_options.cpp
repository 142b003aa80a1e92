#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/fault.h"
#include "review/options.h"

namespace {

using namespace wallcalc;
using namespace wallcalc::review;

std::string refusal(const char* key, const char* text) {
    Options options;
    try {
        setOption(options, key, text);
    } catch (const FaultError& error) {
        EXPECT_EQ(error.fault().number, 5);
        return error.fault().what;
    }
    return "accepted";
}

// Every refusal names the option by its key and its name, and says what it takes.
TEST(Options, RefusalsNameTheOptionAndWhatItTakes) {
    const struct {
        const char *key, *text, *what;
    } cases[] = {
        {"edition", "2003", "复核选项 edition（规范版本）只能是 current 或 2002，而给定的是“2003”"},
        {"support", "free",
         "复核选项 support（顶板支承）只能是 propped（顶板铰接）或 fixed（顶板固接）或 envelope（两者包络），"
         "而给定的是“free”"},
        {"gamma0", "-1", "复核选项 gamma0（结构重要性系数γ0）不能为负数，而给定的是 -1"},
        {"wlim_in", "0", "复核选项 wlim_in（内侧裂缝宽度限值）必须大于0，而给定的是 0"},
        {"K0", "abc", "复核选项 K0（静止土压力系数K0）的值“abc”不是数值"},
        {"foo", "1",
         "复核选项“foo”不存在（可用的选项：edition、support、upper_storeys、gamma0、K0、gamma、gamma_sub、gamma_w、"
         "psi_q、h1_sls、cover_out、cover_in、crack_cover_out、dh、bars_out、bars_in、wlim_out、wlim_in）"},
        // Texts of their own form: storey heights, bars (通长 + 附加), numbers that may be left out.
        {"upper_storeys", "3600/0",
         "复核选项 upper_storeys（上部各层层高）应为自上而下以 / 分隔的层高（mm，大于0），如 3600/3900，而给定的是"
         "“3600/0”"},
        {"upper_storeys", "3600//3900",
         "复核选项 upper_storeys（上部各层层高）应为自上而下以 / 分隔的层高（mm，大于0），"
         "如 3600/3900，而给定的是“3600//3900”"},
        {"upper_storeys", "3600/3900", "accepted"},
        {"upper_storeys", "", "accepted"},
        {"bars_out", "16",
         "复核选项 bars_out（外侧（迎土面）竖向钢筋）应为d@s 或 "
         "d1@s1+d2@s2（通长＋附加，直径、间距均为大于0的数，mm），"
         "而给定的是“16”"},
        {"bars_in", "16@100+14@200+12@200",
         "复核选项 bars_in（内侧竖向钢筋）应为d@s 或 d1@s1+d2@s2（通长＋附加，直径、间距均为大于0的数，mm），"
         "而给定的是“16@100+14@200+12@200”"},
        {"bars_in", "16@0",
         "复核选项 bars_in（内侧竖向钢筋）应为d@s 或 d1@s1+d2@s2（通长＋附加，直径、间距均为大于0的数，"
         "mm），而给定的是“16@0”"},
        {"bars_in", "16@200+14@200", "accepted"},
        {"h1_sls", "-1", "复核选项 h1_sls（裂缝验算水位深度）应为不小于0的数（m），而给定的是“-1”"},
        {"crack_cover_out", "x",
         "复核选项 crack_cover_out（外侧裂缝计算保护层厚度）应为不小于0的数（mm），而给定的是“x”"},
        {"crack_cover_out", "0", "accepted"},
    };
    for (const auto& c : cases) EXPECT_EQ(refusal(c.key, c.text), c.what) << c.key << "=" << c.text;
}

// The ranges the codes and soils allow, ends included: outside, fault 5 naming the option and
// its range (γ0 = 0, ψq = 5, γ = 0 used to pass).
TEST(Options, RangesTheCodesAndSoilsAllow) {
    const struct {
        const char *key, *text, *range;  // range: nullptr when accepted
    } cases[] = {
        {"gamma0", "0", "0.9～1.1"},
        {"gamma0", "0.9", nullptr},
        {"gamma0", "1.1", nullptr},
        {"gamma0", "1.2", "0.9～1.1"},
        {"psi_q", "5", "0～1"},
        {"psi_q", "0", nullptr},
        {"psi_q", "1", nullptr},
        {"K0", "0.19", "0.2～1"},
        {"K0", "1", nullptr},
        {"gamma", "0", "14～25 kN/m³"},
        {"gamma", "14", nullptr},
        {"gamma", "25.5", "14～25 kN/m³"},
        {"gamma_sub", "4", "5～15 kN/m³"},
        {"gamma_sub", "15", nullptr},
        {"gamma_w", "8.9", "9～11 kN/m³"},
        {"gamma_w", "11", nullptr},
        {"cover_out", "14", "15～100 mm"},
        {"cover_out", "100", nullptr},
        {"cover_in", "101", "15～100 mm"},
        {"dh", "41", "0～40 mm"},
        {"dh", "0", nullptr},
        {"wlim_out", "0.05", "0.1～0.4 mm"},
        {"wlim_out", "0.4", nullptr},
        {"wlim_in", "0.5", "0.1～0.4 mm"},
    };
    for (const auto& c : cases) {
        const std::string what = refusal(c.key, c.text);
        if (!c.range) {
            EXPECT_EQ(what, "accepted") << c.key << "=" << c.text;
            continue;
        }
        EXPECT_TRUE(what.starts_with("复核选项 " + std::string(c.key) + "（")) << what;
        EXPECT_NE(what.find("应在 " + std::string(c.range) + " 之间，而给定的是 " + c.text), std::string::npos) << what;
    }
}

// A whole set is checked as one option is: a word kept in Options that no edition has is refused.
TEST(Options, WholeSetIsCheckedLikeOneOption) {
    Options options;
    EXPECT_NO_THROW(checkOptions(options));
    options.edition = "1989";
    EXPECT_THROW(checkOptions(options), FaultError);
    options = Options{};
    options.coverIn = -5;
    EXPECT_THROW(checkOptions(options), FaultError);
    options = Options{};
    options.barsIn = Bars{{16, 0}};
    EXPECT_THROW(checkOptions(options), FaultError);
    options = Options{};
    options.upperStoreys = {3600, -1};
    EXPECT_THROW(checkOptions(options), FaultError);
}

// The texts read back are the texts set, and a default's own text sets the default.
TEST(Options, TextsReadBackAsSet) {
    Options options;
    for (const OptionSpec& spec : optionTable()) {
        setOption(options, spec.key, defaultOptionText(spec.key));
        EXPECT_EQ(optionText(options, spec.key), defaultOptionText(spec.key)) << spec.key;
    }
    setOption(options, "support", "fixed");
    setOption(options, "gamma_sub", "10.5");
    EXPECT_EQ(options.support, Support::Fixed);
    EXPECT_EQ(options.gammaSub, 10.5);
    EXPECT_EQ(optionText(options, "support"), "fixed");
    EXPECT_EQ(optionText(options, "gamma_sub"), "10.5");
}

#ifdef WALLCALC_README
// The README lists the options as the table declares them: key, then the words or the default.
TEST(Options, ReadmeListsEveryOptionWithItsDefault) {
    std::ifstream in(WALLCALC_README);
    std::stringstream text;
    text << in.rdbuf();
    std::string readme = text.str();
    std::replace(readme.begin(), readme.end(), '\n', ' ');
    std::string listed = "Options (all optional): ";
    for (const OptionSpec& spec : optionTable()) {
        if (&spec != &optionTable().front()) listed += ", ";
        listed += "`" + std::string(spec.key) + "` ";
        if (spec.isNumber()) listed += defaultOptionText(spec.key);
        if (spec.isText()) listed += "(" + std::string(spec.byDefault) + ")";
        for (const OptionWord& word : spec.words)
            if (!word.text.empty()) listed += (&word == &spec.words.front() ? "" : "|") + std::string(word.text);
    }
    EXPECT_NE(readme.find(listed + "."), std::string::npos) << listed;
}
#endif

}  // namespace
