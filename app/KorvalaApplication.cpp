#include "app/KorvalaApplication.h"

#include <QFont>
#include <QStyleFactory>

#include "app/Dialogs.h"
#include "app/Glyphs.h"
#include "app/Guard.h"
#include "worker/BackgroundWorker.h"

KorvalaApplication::KorvalaApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Korvala"));
    setApplicationDisplayName(QStringLiteral("Korvala"));
    setApplicationVersion(QStringLiteral("2016.8"));
    setOrganizationName(QStringLiteral("Meridane"));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        setStyle(fusion);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    setFont(font);
    setWindowIcon(programWindowIcon());
    TBackgroundWorker::setErrorReporter([](const QString& caption, const QString& text) {
        dialogs().message(QApplication::activeWindow(), text, Dialogs::Icon::Error, caption);
    });
}

bool KorvalaApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showHandlerException(QApplication::activeWindow(), std::current_exception());
        return false;
    }
}
