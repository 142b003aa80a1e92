#pragma once
// Form1 as data: every frame, label, field and button at its place in twips, with its colours,
// fonts and tab index, and the 文件 menu. The Qt window and the Win32 window both draw from
// these tables; nothing here knows a toolkit.

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/fields.h"

namespace wallcalc::form {

// A box in twips (1/1440 inch, 15 to a device-independent pixel at 96 dpi).
struct Twips {
    int left, top, width, height;
};

// Device-independent pixels of a twip position, for 96 dpi. Edges are rounded, not sizes, so
// that boxes drawn edge to edge stay so.
constexpr int pixels(int twips) { return (twips * 2 + 15) / 30; }

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb&) const = default;
};

// A face by the name the window gives it, and its size in points.
struct Font {
    std::string_view family;  // 宋体, 新宋体 or 楷体_GB2312
    double points;
    bool bold = false;
};

inline constexpr std::string_view kSong = "宋体";
inline constexpr std::string_view kNewSong = "新宋体";
inline constexpr std::string_view kKai = "楷体_GB2312";

inline constexpr Font kDefaultFont{kSong, 9.0};  // every control that names no face

// The faces to ask for, in order, for a family the layout names: the Windows name, its English
// name, then the nearest faces a Linux machine has (Debian's AR PL and Noto CJK, which Wine
// finds too). A bold Song face prefers a family with a real bold weight.
std::vector<std::string_view> faceCandidates(std::string_view family, bool bold);

// The containers: the window's client area itself, then Frame1 to Frame5 by their numbers.
constexpr int kOnWindow = 0;
constexpr int kContainerCount = 6;

struct FrameSpec {
    int number;  // Frame1 .. Frame5
    const char* caption;
    Twips box;
};

enum class Look {
    Plain,   // the default font, one line
    Raised,  // an exponent: kRaisedFont, top-aligned with its unit so that it stands raised
    Banner,  // kBannerFont in kBannerInk
    Note,    // the default font, wrapping within its box
};
inline constexpr Font kRaisedFont{kSong, 5.25};
inline constexpr Font kBannerFont{kNewSong, 15.75, true};
inline constexpr Rgb kBannerInk{255, 0, 0};

struct LabelSpec {
    const char* name;
    int container;
    const char* caption;
    Twips box;
    Look look = Look::Plain;
};

// The paper (background) and ink (text colour) of a field. Default leaves the system's colour;
// WindowBackground is the system's window-background colour used as ink (white by default).
enum class Paper { Default, Blue, LightYellow, Yellow, Lavender, Green };
enum class Ink { Default, White, WindowBackground, Black, Grey };
std::optional<Rgb> paperRgb(Paper paper);
// The ink's fixed colour; none for Default and WindowBackground, which follow the system.
std::optional<Rgb> inkRgb(Ink ink);

struct FieldSpec {
    Field field;
    int container;
    Twips box;
    Paper paper;
    Ink ink;
    int tabIndex;
};

// How a field is drawn for what it holds: a result that is not current (a placeholder, or
// computed from other inputs) in grey ink, and the verdict box without its green, so that nobody
// reads it as an answer; everything else as its spec says.
struct FieldLook {
    Paper paper;
    Ink ink;
};
FieldLook fieldLook(const FieldSpec& spec, bool current);

// The one combo box (Combo1): an editable box with a fixed list; its initial text matches no item.
inline constexpr const char* kComboItems[] = {"1", "2", "3"};
// Text18, the verdict, in a large Kai face.
inline constexpr Font kVerdictFont{kKai, 15.75};
// Text28 is never shown.
constexpr bool isShown(Field field) { return field != Field::Text28; }

// What a button does.
enum class Command { Strength, Crack, Export, Report, Review };

struct ButtonSpec {
    const char* name;
    const char* caption;
    Twips box;
    int tabIndex;
    Command command;
};

inline constexpr Twips kPicture{3240, 500, 6660, 4935};  // Picture1, the diagram
constexpr int kPictureTabIndex = 8;                      // the focus starts here
// The initial client area, smaller than the layout: the report box and its two buttons come
// into view when the window is enlarged. Nothing follows the window's size.
inline constexpr int kClientWidth = 9930, kClientHeight = 9600;

std::span<const FrameSpec> frames();
// Labels first when drawing, so that fields and buttons lie above any label box that reaches
// under them.
std::span<const LabelSpec> labels();
std::span<const FieldSpec> fieldSpecs();
std::span<const ButtonSpec> buttons();

// The 文件 menu.
enum class MenuCommand { New, Open, Save, SaveAs, SaveReport };
// The platform's usual key for the entry (Ctrl+N, ...), or none.
enum class Shortcut { None, New, Open, Save, SaveAs };
struct MenuItem {
    const char* name;
    const char* text;  // & before the access key
    Shortcut shortcut;
    MenuCommand command;
    bool separatorBefore = false;
};
inline constexpr const char* kFileMenu = "文件(&F)";
std::span<const MenuItem> fileMenu();

}  // namespace wallcalc::form
