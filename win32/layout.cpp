#include "win32/layout.h"

#include "form/layout.h"
#include "win32/ids.h"
#include "win32/resource.h"

namespace wallcalc::win32 {
namespace {

// A colour with its top bit set names a system colour by its index.
constexpr COLORREF kSystemWindowColour = 0x80000000u | COLOR_WINDOW;

COLORREF colourOf(form::Rgb rgb) { return RGB(rgb.red, rgb.green, rgb.blue); }

ControlSpec::Look lookOf(form::Look look) {
    switch (look) {
        case form::Look::Plain: return ControlSpec::Look::Plain;
        case form::Look::Raised: return ControlSpec::Look::Raised;
        case form::Look::Banner: return ControlSpec::Look::Banner;
        case form::Look::Note: return ControlSpec::Look::Note;
    }
    return ControlSpec::Look::Plain;
}

ControlSpec::Kind kindOf(Field field) {
    if (field == Field::Combo1) return ControlSpec::Kind::Combo;
    if (field == Field::Text29) return ControlSpec::Kind::Report;
    return ControlSpec::Kind::Edit;
}

constexpr int kFirstLabelId = 1300;

}  // namespace

int commandIdOf(form::Command command) {
    switch (command) {
        case form::Command::Strength: return commandId(1);
        case form::Command::Crack: return commandId(2);
        case form::Command::Export: return commandId(3);
        case form::Command::Report: return commandId(4);
        case form::Command::Review: return commandId(5);
    }
    return 0;
}

int menuIdOf(form::MenuCommand command) {
    switch (command) {
        case form::MenuCommand::New: return IDM_NEW;
        case form::MenuCommand::Open: return IDM_OPEN;
        case form::MenuCommand::Save: return IDM_SAVE;
        case form::MenuCommand::SaveAs: return IDM_SAVE_AS;
        case form::MenuCommand::SaveReport: return IDM_SAVE_REPORT;
    }
    return 0;
}

void setFieldColours(ControlSpec& spec, form::Paper paper, form::Ink ink) {
    spec.paper.reset();
    spec.ink.reset();
    if (auto rgb = form::paperRgb(paper)) spec.paper = colourOf(*rgb);
    if (auto rgb = form::inkRgb(ink)) spec.ink = colourOf(*rgb);
    if (ink == form::Ink::WindowBackground) spec.ink = kSystemWindowColour;
}

std::vector<ControlSpec> form1Controls() {
    std::vector<ControlSpec> specs;
    auto add = [&](ControlSpec::Kind kind, int id, int container, std::string caption,
                   form::Twips box) -> ControlSpec& {
        ControlSpec& spec = specs.emplace_back();
        spec.kind = kind;
        spec.id = id;
        spec.container = container;
        spec.caption = std::move(caption);
        spec.left = box.left;
        spec.top = box.top;
        spec.width = box.width;
        spec.height = box.height;
        return spec;
    };
    for (const form::FrameSpec& frame : form::frames())
        add(ControlSpec::Kind::Frame, frame.number, form::kOnWindow, frame.caption, frame.box);
    int labelId = kFirstLabelId;
    for (const form::LabelSpec& label : form::labels()) {
        ControlSpec& spec = add(ControlSpec::Kind::Label, labelId++, label.container, label.caption, label.box);
        spec.look = lookOf(label.look);
        if (label.look == form::Look::Banner) spec.ink = colourOf(form::kBannerInk);
    }
    add(ControlSpec::Kind::Picture, kPictureId, form::kOnWindow, "", form::kPicture).tabIndex = form::kPictureTabIndex;
    for (const form::FieldSpec& field : form::fieldSpecs()) {
        ControlSpec& spec = add(kindOf(field.field), fieldId(field.field), field.container, "", field.box);
        setFieldColours(spec, field.paper, field.ink);
        if (field.field == Field::Text18) spec.look = ControlSpec::Look::Kai;
        spec.hidden = !form::isShown(field.field);
        spec.tabIndex = spec.hidden ? 0 : field.tabIndex;
    }
    for (const form::ButtonSpec& button : form::buttons())
        add(ControlSpec::Kind::Button, commandIdOf(button.command), form::kOnWindow, button.caption, button.box)
            .tabIndex = button.tabIndex;
    return specs;
}

}  // namespace wallcalc::win32
