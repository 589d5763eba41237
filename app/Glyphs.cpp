#include "app/Glyphs.h"

#include <cmath>

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

namespace {

// Paints at twice the size and lets Qt scale down, for smooth small glyphs.
QPixmap canvas(int size, qreal ratio = 2.0)
{
    QPixmap pixmap(static_cast<int>(size * ratio), static_cast<int>(size * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawToolbox(QPainter& p, qreal s)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body(235, 120, 30), lid(250, 160, 60), dark(120, 55, 10);
    // Handle.
    QPen handle(dark, s * 0.07);
    handle.setCapStyle(Qt::RoundCap);
    p.setPen(handle);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(s * 0.34, s * 0.12, s * 0.32, s * 0.24), s * 0.06, s * 0.06);
    // Box body with a lid band.
    p.setPen(QPen(dark, s * 0.035));
    p.setBrush(body);
    const QRectF box(s * 0.08, s * 0.30, s * 0.84, s * 0.58);
    p.drawRoundedRect(box, s * 0.08, s * 0.08);
    p.setBrush(lid);
    p.drawRoundedRect(QRectF(box.left(), box.top(), box.width(), s * 0.2), s * 0.08, s * 0.08);
    // Latch.
    p.setBrush(QColor(245, 245, 245));
    p.drawRoundedRect(QRectF(s * 0.43, s * 0.43, s * 0.14, s * 0.14), s * 0.03, s * 0.03);
}

// Symbols that the fonts lack are drawn as shapes, in white on the tile.
enum class Shape { None, Clock, Copies, Padlock };

void drawShape(QPainter& p, Shape shape, qreal s)
{
    QPen pen(Qt::white, s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (shape) {
    case Shape::Clock:
        p.drawEllipse(QRectF(s * 0.22, s * 0.22, s * 0.56, s * 0.56));
        p.drawLine(QPointF(s * 0.5, s * 0.5), QPointF(s * 0.5, s * 0.32));
        p.drawLine(QPointF(s * 0.5, s * 0.5), QPointF(s * 0.64, s * 0.58));
        break;
    case Shape::Copies:
        p.drawRoundedRect(QRectF(s * 0.22, s * 0.2, s * 0.36, s * 0.44), s * 0.05, s * 0.05);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(s * 0.42, s * 0.36, s * 0.36, s * 0.44), s * 0.05, s * 0.05);
        break;
    case Shape::Padlock:
        p.drawArc(QRectF(s * 0.34, s * 0.2, s * 0.32, s * 0.34), 0, 180 * 16);
        p.drawLine(QPointF(s * 0.34, s * 0.37), QPointF(s * 0.34, s * 0.45));
        p.drawLine(QPointF(s * 0.66, s * 0.37), QPointF(s * 0.66, s * 0.45));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(s * 0.26, s * 0.45, s * 0.48, s * 0.35), s * 0.05, s * 0.05);
        break;
    case Shape::None:
        break;
    }
}

QPixmap tile(int size, const QColor& color, const QString& text, qreal fontScale, Shape shape = Shape::None)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r(1, 1, size - 2, size - 2);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, color.lighter(125));
    fill.setColorAt(1, color);
    p.setPen(QPen(color.darker(140), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, size * 0.2, size * 0.2);
    if (shape != Shape::None) {
        drawShape(p, shape, size);
        return pixmap;
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qMax(6, static_cast<int>(size * fontScale)));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text);
    return pixmap;
}

}  // namespace

QPixmap programIcon(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    drawToolbox(p, size);
    return pixmap;
}

QIcon programWindowIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(programIcon(size));
    return icon;
}

QIcon headerGlyph(HeaderGlyph glyph)
{
    const int size = 24;
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0, 110, 190);
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case HeaderGlyph::Home: {
        QPainterPath roof;
        roof.moveTo(3, 12); roof.lineTo(12, 4); roof.lineTo(21, 12);
        p.drawPath(roof);
        p.drawRect(QRectF(6.5, 11, 11, 9));
        p.setBrush(ink);
        p.drawRect(QRectF(10.5, 14.5, 3, 5.5));
        break;
    }
    case HeaderGlyph::About: {
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.setBrush(ink);
        p.drawEllipse(QRectF(11, 6.5, 2, 2));
        p.drawLine(QPointF(12, 11), QPointF(12, 17));
        break;
    }
    case HeaderGlyph::Update: {
        p.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 280 * 16);
        QPainterPath head;
        head.moveTo(16, 2.5); head.lineTo(17.5, 6.8); head.lineTo(13, 7.5);
        p.drawPath(head);
        p.drawLine(QPointF(12, 8), QPointF(12, 12.5));
        p.drawLine(QPointF(12, 12.5), QPointF(15, 14.5));
        break;
    }
    case HeaderGlyph::Donate: {
        QPainterPath heart;
        heart.moveTo(12, 20);
        heart.cubicTo(2, 13, 3, 4, 9, 5);
        heart.cubicTo(11, 5.5, 12, 7, 12, 8);
        heart.cubicTo(12, 7, 13, 5.5, 15, 5);
        heart.cubicTo(21, 4, 22, 13, 12, 20);
        p.setPen(QPen(QColor(200, 30, 60), 1.5));
        p.setBrush(QColor(235, 60, 90));
        p.drawPath(heart);
        break;
    }
    case HeaderGlyph::Support: {
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const qreal radius = (i % 2 == 0) ? 9.5 : 4.0;
            const qreal angle = -M_PI / 2 + i * M_PI / 5;
            const QPointF pt(12 + radius * std::cos(angle), 12.5 + radius * std::sin(angle));
            if (i == 0) star.moveTo(pt); else star.lineTo(pt);
        }
        star.closeSubpath();
        p.setPen(QPen(QColor(200, 140, 0), 1.2));
        p.setBrush(QColor(255, 190, 20));
        p.drawPath(star);
        break;
    }
    case HeaderGlyph::More: {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 2; ++col)
                p.drawRoundedRect(QRectF(4 + col * 9, 4 + row * 9, 7, 7), 1.5, 1.5);
        break;
    }
    }
    return QIcon(pixmap);
}

QIcon toolGlyph(int tag)
{
    struct Look { int tag; const char* text; QColor color; qreal scale; Shape shape = Shape::None; };
    static const Look looks[] = {
        {0, "A", QColor(0, 137, 123), 0.55},      // Attribute Changer
        {16, "+", QColor(255, 143, 0), 0.75},     // Batch Folder Creator
        {1, "", QColor(57, 73, 171), 0.6, Shape::Clock},  // DateTime Changer
        {2, "", QColor(216, 27, 96), 0.6, Shape::Copies},  // Duplicate Finder
        {3, "E", QColor(84, 110, 122), 0.55},     // Explorer
        {4, "i", QColor(84, 110, 122), 0.6},      // File/Folder Information
        {5, "\u2702", QColor(198, 40, 40), 0.6},  // File Shredder
        {6, "\u2605", QColor(249, 168, 37), 0.6}, // Folder Icon Changer
        {7, "#", QColor(94, 53, 177), 0.6},       // Hash
        {8, "\u25CE", QColor(0, 121, 107), 0.62}, // Hidden Revealer
        {9, "", QColor(46, 125, 50), 0.6, Shape::Padlock},  // Protector
        {10, "R", QColor(84, 110, 122), 0.55},    // Renamer
        {11, "\u2315", QColor(2, 119, 189), 0.7}, // Seeker
        {12, "\u21C4", QColor(0, 151, 167), 0.6}, // Sharing
        {13, "\u2194", QColor(239, 108, 0), 0.65},// Splitter & Joiner
        {14, "\u265A", QColor(121, 85, 72), 0.6}, // Take Ownership
    };
    for (const Look& look : looks)
        if (look.tag == tag)
            return QIcon(tile(32, look.color, QString::fromUtf8(look.text), look.scale, look.shape));
    return QIcon(tile(32, Qt::gray, QStringLiteral("?"), 0.6));
}

QIcon listButtonGlyph(ListGlyph glyph)
{
    const int size = 16;
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QColor color;
    switch (glyph) {
    case ListGlyph::Add: color = QColor(46, 125, 50); break;
    case ListGlyph::AddFolder: color = QColor(230, 150, 20); break;
    case ListGlyph::Remove: color = QColor(198, 40, 40); break;
    case ListGlyph::RemoveAll: color = QColor(140, 20, 20); break;
    }
    p.setPen(QPen(color, 2.4, Qt::SolidLine, Qt::RoundCap));
    if (glyph == ListGlyph::AddFolder) {
        p.setPen(QPen(color.darker(130), 1));
        p.setBrush(color);
        QPainterPath folder;
        folder.moveTo(1.5, 4); folder.lineTo(6, 4); folder.lineTo(7.5, 5.5); folder.lineTo(14.5, 5.5);
        folder.lineTo(14.5, 13.5); folder.lineTo(1.5, 13.5); folder.closeSubpath();
        p.drawPath(folder);
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 7.5), QPointF(8, 11.5));
        p.drawLine(QPointF(6, 9.5), QPointF(10, 9.5));
    } else if (glyph == ListGlyph::Add) {
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
    } else if (glyph == ListGlyph::Remove) {
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
    } else {
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    }
    return QIcon(pixmap);
}
