#pragma once
// The one QCoreApplication of the worker tests: workers post to the thread
// that started them, which needs an application object to dispatch events.

#include <QCoreApplication>

inline QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "test_worker";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}
