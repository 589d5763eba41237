#pragma once
// Small widget helpers shared by the three sub-pages of the Hash page.

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace hashpage {

// The verdict colours: green RGB (0, 128, 0) for SAME, red RGB (255, 0, 0)
// for DIFFERENT.
void setVerdict(QLabel* label, const QString& text, bool same);
// A start button: white bold text on the tool's colour.
void styleStartButton(QPushButton* button);
// A bold label with an object name.
QLabel* boldLabel(QWidget* parent, const char* name, const QString& text);
// A label in red (the notes about big files).
QLabel* noteLabel(QWidget* parent, const char* name, const QString& text);
// A push button with an object name.
QPushButton* button(QWidget* parent, const char* name, const QString& text);
// The filter of the "Select File" dialogs: every file, with or without a dot.
QString allFilesFilter();

}  // namespace hashpage
