#include <gtest/gtest.h>
#include <QApplication>

#include "ui/application.h"

int main(int argc, char** argv) {
    // Test discovery runs this binary at build time, outside the test environment, so the
    // platform is chosen here.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    wallcalc::ui::setUpApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
