#pragma once
// The program's pictures, drawn by code so that they stay sharp at any scale:
// the program icon (a toolbox), the header glyphs, the tool button glyphs and
// the item-list button glyphs.

#include <QIcon>
#include <QPixmap>
#include <QString>

// The toolbox icon at size x size pixels.
QPixmap programIcon(int size);
// The icon with the usual sizes, for the window title bars.
QIcon programWindowIcon();

enum class HeaderGlyph { Home, About, Update, Donate, Support, More };
// A 24 x 24 glyph of the header's button row.
QIcon headerGlyph(HeaderGlyph glyph);

// A 32 x 32 tool button glyph for the tool with that Tag.
QIcon toolGlyph(int tag);

enum class ListGlyph { Add, AddFolder, Remove, RemoveAll };
// The small glyphs of the item-list buttons.
QIcon listButtonGlyph(ListGlyph glyph);
