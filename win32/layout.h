#pragma once
// Form1's controls as the Win32 view places them, made from the model's layout tables, and the
// faces the view asks the system for.

#include <string>
#include <string_view>
#include <vector>

#include "form/layout.h"
#include "win32/form1.h"

namespace wallcalc::win32 {

// Every control of Form1: frames, labels, the picture, fields and buttons.
std::vector<ControlSpec> form1Controls();
// A field's paper and ink as the model draws it: a result that is not current greyed.
void setFieldColours(ControlSpec& spec, form::Paper paper, form::Ink ink);

// The control identifier of a button's command and of a menu command.
int commandIdOf(form::Command command);
int menuIdOf(form::MenuCommand command);

}  // namespace wallcalc::win32
