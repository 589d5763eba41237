#include "app/kit/PageWidgets.h"

#include <QCheckBox>
#include <QColor>
#include <QFont>
#include <QKeySequence>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>

namespace kit {
namespace {

void nameIt(QWidget* widget, const char* name)
{
    if (name)
        widget->setObjectName(QString::fromLatin1(name));
}

}  // namespace

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* widget = new QLabel(text, parent);
    nameIt(widget, name);
    return widget;
}

QLabel* boldLabel(QWidget* parent, const char* name, const QString& text)
{
    QLabel* widget = label(parent, name, text);
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
    return widget;
}

QLabel* noteLabel(QWidget* parent, const char* name, const QString& text)
{
    QLabel* widget = label(parent, name, text);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    widget->setPalette(palette);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* widget = new QPushButton(text, parent);
    nameIt(widget, name);
    return widget;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, bool tristate)
{
    auto* box = new QCheckBox(text, parent);
    nameIt(box, name);
    if (tristate) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
    }
    return box;
}

QPushButton* bigStartButton(QWidget* parent, const char* name, const QString& text, QSize minimum, qreal growPoints)
{
    QPushButton* widget = button(parent, name, text);
    widget->setMinimumSize(minimum);
    QFont big = widget->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() + growPoints);
    widget->setFont(big);
    return widget;
}

void makeDefaultButton(QWidget* scope, QPushButton* button)
{
    button->setDefault(true);
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, scope);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    }
}

}  // namespace kit
