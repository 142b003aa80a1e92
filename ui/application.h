#pragma once
// What the whole program shares, set up once before the window is made.

class QApplication;
class QIcon;
class QPixmap;

namespace wallcalc::ui {

// Registers the bundled resources (diagram, icon, symbol font). Safe to call more than once.
void initResources();

// The default user-interface font for every widget and message box, and the project's symbol
// font for the report box. Returns whether the symbol font was loaded.
bool setUpApplication(QApplication& app);

// The bundled artwork; null or empty where it is not bundled.
QPixmap diagramPicture();
QIcon programIcon();

}  // namespace wallcalc::ui
