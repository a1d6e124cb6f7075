#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // No display needed. Qt's default locale, which the windows and the report texts follow, is
    // pinned so that expected texts hold; the C library takes the machine's locale as in the
    // programs (the application sets it from LANG), so that the second run of the suite under
    // LANG=pl_PL.UTF-8 catches every conversion that follows it, and the programs the tests
    // start run in that locale too. test::Desktop sets both for the tests of a desktop.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QLocale::setDefault(QLocale::c());
    // A widget application: the window tests need one, and it serves the others as well.
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
