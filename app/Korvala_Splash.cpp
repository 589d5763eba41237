#include "app/Korvala_Splash.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "app/Glyphs.h"

TfrmKorvalaSplash::TfrmKorvalaSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmKorvalaSplash"));
    setFixedSize(467, 155);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TfrmKorvalaSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
    gradient.setColorAt(0, QColor(136, 201, 236));
    gradient.setColorAt(1, QColor(47, 125, 221));
    p.fillRect(rect(), gradient);

    const int iconTop = (height() - 96) / 2;
    p.drawPixmap(QRect(28, iconTop, 96, 96), programIcon(96));

    QFont nameFont(QStringLiteral("DejaVu Sans"));
    nameFont.setBold(true);
    nameFont.setPixelSize(40);
    p.setFont(nameFont);
    p.setPen(Qt::white);
    const QRect nameRect(148, iconTop + 8, width() - 160, 52);
    p.drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Korvala"));

    QFont badgeFont(QStringLiteral("DejaVu Sans"));
    badgeFont.setBold(true);
    badgeFont.setPixelSize(14);
    p.setFont(badgeFont);
    const QString version = QStringLiteral("2016.8");
    const QRect text = QFontMetrics(badgeFont).boundingRect(version);
    const QRect badge(150, nameRect.bottom() + 10, text.width() + 18, text.height() + 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 200, 83));
    p.drawRoundedRect(badge, 4, 4);
    p.setPen(Qt::white);
    p.drawText(badge, Qt::AlignCenter, version);
}
