#include "app/pages/HashPageParts.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "app/Dialogs.h"

namespace hashpage {

void setVerdict(QLabel* label, const QString& text, bool same)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, same ? QColor(0, 128, 0) : QColor(255, 0, 0));
    label->setPalette(palette);
    label->setText(text);
}

void styleStartButton(QPushButton* button)
{
    button->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; font-weight: bold; background-color: rgb(0, 138, 218);"
        " border: 1px solid rgb(0, 100, 160); border-radius: 3px; padding: 6px 18px; }"
        "QPushButton:pressed { background-color: rgb(0, 100, 160); }"
        "QPushButton:disabled { background-color: rgb(150, 170, 190); }"));
    button->setMinimumHeight(34);
}

void browseInto(QWidget* parent, QLineEdit* edit)
{
    const QString typed = edit->text();
    const QString folder = typed.isEmpty() ? QString() : QFileInfo(typed).absolutePath();
    const QString chosen = dialogs().openFileIn(parent, QStringLiteral("Select File"), allFilesFilter(), folder);
    if (!chosen.isEmpty())
        edit->setText(QDir::toNativeSeparators(chosen));
}

QString allFilesFilter()
{
    return QStringLiteral("All Files (*)");
}

}  // namespace hashpage
