// Deliberately wrong: a calculation that includes Qt.
#include <QString>
