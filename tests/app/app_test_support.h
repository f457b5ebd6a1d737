#pragma once

#include <QApplication>

// One application object for the whole test binary, made on first use. It is never destroyed:
// tearing Qt down among the other static objects at exit crashes.
inline QApplication& TestApplication()
{
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}
