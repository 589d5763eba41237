// Production dialogs: Qt's standard boxes and choosers, captioned with the
// application title.

#include "app/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString applicationTitle()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Korvala") : name;
}

QMessageBox::Icon boxIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::Warning: return QMessageBox::Warning;
    case Dialogs::Icon::Error: return QMessageBox::Critical;
    case Dialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The standard dialogs of Qt; message boxes carry the application title.
class QtDialogs final : public Dialogs {
public:
    void message(QWidget* parent, const QString& text, Icon icon, const QString& caption) override
    {
        QMessageBox box(boxIcon(icon), caption.isEmpty() ? applicationTitle() : caption, text,
            QMessageBox::Ok, parent);
        box.exec();
    }

    bool confirm(QWidget* parent, const QString& text, Icon icon) override
    {
        // A confirmation without a named icon shows the question mark.
        QMessageBox box(icon == Icon::None ? QMessageBox::Question : boxIcon(icon), applicationTitle(), text,
            QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }

    QStringList openFiles(QWidget* parent, const QString& title, const QString& filter) override
    {
        return QFileDialog::getOpenFileNames(parent, title, QString(), filter, nullptr,
            QFileDialog::ReadOnly);
    }

    QString openFile(QWidget* parent, const QString& title, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    }

    QString openFileIn(QWidget* parent, const QString& title, const QString& filter, const QString& folder) override
    {
        return QFileDialog::getOpenFileName(parent, title, folder, filter);
    }

    QString saveFile(QWidget* parent, const QString& title, const QString& filter) override
    {
        return QFileDialog::getSaveFileName(parent, title, QString(), filter);
    }

    QString existingDirectory(QWidget* parent, const QString& title, const QString& initialFolder) override
    {
        return QFileDialog::getExistingDirectory(parent, title, initialFolder,
            QFileDialog::ShowDirsOnly);
    }

    bool input(QWidget* parent, const QString& caption, const QString& prompt, QString& value) override
    {
        bool ok = false;
        const QString answer = QInputDialog::getText(parent, caption.isEmpty() ? applicationTitle() : caption,
            prompt, QLineEdit::Normal, value, &ok);
        if (ok)
            value = answer;
        return ok;
    }
};

QtDialogs g_qtDialogs;
Dialogs* g_current = nullptr;

}  // namespace

int Dialogs::showModal(QDialog& window)
{
    return window.exec();
}

Dialogs& dialogs()
{
    return g_current ? *g_current : g_qtDialogs;
}

void setDialogs(Dialogs* replacement)
{
    g_current = replacement;
}
