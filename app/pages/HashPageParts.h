#pragma once
// Small widget helpers shared by the three sub-pages of the Hash page.

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace hashpage {

// The verdict colours: green RGB (0, 128, 0) for SAME, red RGB (255, 0, 0)
// for DIFFERENT.
void setVerdict(QLabel* label, const QString& text, bool same);
// A start button: white bold text on the tool's colour.
void styleStartButton(QPushButton* button);
// The shared open dialog titled "Select File" over parent; the chosen file
// replaces the edit box's text. With a path in the box, the dialog starts in
// that path's folder.
void browseInto(QWidget* parent, QLineEdit* edit);
// The filter of the "Select File" dialogs: every file, with or without a dot.
QString allFilesFilter();

}  // namespace hashpage
