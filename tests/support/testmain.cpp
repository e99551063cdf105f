#include <gmock/gmock.h>

#include <QApplication>
#include <QLocale>

// Every test binary runs with a Qt application (offscreen in the tests' environment) and a fixed
// locale, so results never depend on the machine.
int main(int argc, char** argv) {
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
