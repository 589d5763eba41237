#include "app/Guard.h"

#include <QWidget>

#include "app/Dialogs.h"
#include "worker/BackgroundWorker.h"

void showHandlerException(QWidget* parent, std::exception_ptr error)
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = TBackgroundWorker::exceptionText(error);
    }
    dialogs().message(parent, text, Dialogs::Icon::Error);
}
