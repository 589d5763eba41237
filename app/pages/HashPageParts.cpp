#include "app/pages/HashPageParts.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

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

QLabel* boldLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* noteLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(palette);
    return label;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QString allFilesFilter()
{
    return QStringLiteral("All Files (*)");
}

}  // namespace hashpage
