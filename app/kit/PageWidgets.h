#pragma once
// The small widgets every tool page is built from, named so that tests and
// the window find them by object name. A null name leaves the widget unnamed.

#include <QSize>
#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

namespace kit {

QLabel* label(QWidget* parent, const char* name, const QString& text);
// A label in bold.
QLabel* boldLabel(QWidget* parent, const char* name, const QString& text);
// A label in red, for notes such as the one about big files.
QLabel* noteLabel(QWidget* parent, const char* name, const QString& text);
QPushButton* button(QWidget* parent, const char* name, const QString& text);
// A check box; a three-state one starts grayed ("keep").
QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, bool tristate = false);
// The big start button of a tool: bold text grown by growPoints, at least
// minimum in size.
QPushButton* bigStartButton(QWidget* parent, const char* name, const QString& text, QSize minimum = QSize(190, 90),
    qreal growPoints = 3);
// Enter anywhere inside scope presses button, as in a dialog.
void makeDefaultButton(QWidget* scope, QPushButton* button);

}  // namespace kit
