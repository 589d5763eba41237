#pragma once
// The application object: title "Korvala", the program's look, and the last
// line of defence for exceptions that escape a window handler (shown in an
// error box, the program goes on).

#include <QApplication>

class KorvalaApplication : public QApplication {
    Q_OBJECT

public:
    KorvalaApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
