#include <gtest/gtest.h>

#include <map>
#include <set>

#include "form/layout.h"

namespace {

using namespace wallcalc;
using namespace wallcalc::form;

// Twips to pixels at 96 dpi rounds the edges: 240 twips = 16 px, 2895 twips = 193 px
// (193.0 exactly), 7 twips = 0.47 px → 0, 8 twips = 0.53 px → 1.
TEST(Layout, TwipsRoundToTheNearestPixel) {
    const std::pair<int, int> cases[] = {{0, 0}, {7, 0}, {8, 1}, {240, 16}, {2895, 193}, {9930, 662}, {9600, 640}};
    for (auto [twips, px] : cases) EXPECT_EQ(pixels(twips), px) << twips;
}

// Every field has one control, the tab indices of the controls are distinct, and each control
// lies inside the frame that holds it, so a view that clips to the frame shows it whole.
TEST(Layout, EveryFieldOnceEachTabIndexOnceEachControlInsideItsFrame) {
    std::map<Field, int> seen;
    std::set<int> tabs{kPictureTabIndex};
    std::map<int, Twips> frameBoxes;
    for (const FrameSpec& frame : frames()) frameBoxes[frame.number] = frame.box;
    auto inside = [&](int container, const Twips& box) {
        if (container == kOnWindow) return true;
        const Twips& frame = frameBoxes.at(container);
        return box.left >= 0 && box.top >= 0 && box.left + box.width <= frame.width &&
               box.top + box.height <= frame.height;
    };
    for (const FieldSpec& spec : fieldSpecs()) {
        ++seen[spec.field];
        EXPECT_TRUE(tabs.insert(spec.tabIndex).second) << fieldName(spec.field);
        EXPECT_TRUE(inside(spec.container, spec.box)) << fieldName(spec.field);
    }
    for (Field field : allFields()) EXPECT_EQ(seen[field], 1) << fieldName(field);
    for (const ButtonSpec& button : buttons()) EXPECT_TRUE(tabs.insert(button.tabIndex).second) << button.name;
    for (const LabelSpec& label : labels()) EXPECT_TRUE(inside(label.container, label.box)) << label.name;
}

}  // namespace
