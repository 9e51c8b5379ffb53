#include "ui/Banner.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

// A fish seen from the side, nose to the right, fitting into r.
QPainterPath fishPath(const QRectF& r)
{
    QPainterPath p;
    const qreal x = r.left(), y = r.top(), w = r.width(), h = r.height();
    p.moveTo(x + w, y + h / 2);
    p.cubicTo(x + w * 0.8, y - h * 0.05, x + w * 0.35, y, x + w * 0.22, y + h * 0.38);
    p.lineTo(x, y + h * 0.05);
    p.lineTo(x + w * 0.06, y + h / 2);
    p.lineTo(x, y + h * 0.95);
    p.lineTo(x + w * 0.22, y + h * 0.62);
    p.cubicTo(x + w * 0.35, y + h, x + w * 0.8, y + h * 1.05, x + w, y + h / 2);
    p.closeSubpath();
    return p;
}

// Three rows of gentle waves across the bottom of the picture.
void paintWaves(QPainter& p, const QSize& size, const QColor& colour, qreal top)
{
    for (int row = 0; row < 3; ++row) {
        QPainterPath wave;
        const qreal y = top + row * 9;
        wave.moveTo(0, y);
        for (qreal x = 0; x < size.width(); x += 24) {
            wave.quadTo(x + 6, y - 4, x + 12, y);
            wave.quadTo(x + 18, y + 4, x + 24, y);
        }
        QColor c = colour;
        c.setAlpha(200 - row * 50);
        p.setPen(QPen(c, 2));
        p.drawPath(wave);
    }
}

// Draws text centred in r, made smaller where needed so that it fits.
void drawCentred(
    QPainter& p, const QRectF& r, const QString& text, QFont font, const QColor& colour)
{
    while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(text) > r.width())
        font.setPixelSize(font.pixelSize() - 1);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

QFont bannerFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void paintBrand(QPainter& p, const QSize& s)
{
    QLinearGradient sky(0, 0, 0, s.height());
    sky.setColorAt(0, QColor(16, 52, 110));
    sky.setColorAt(1, QColor(20, 120, 150));
    p.fillRect(QRect(QPoint(0, 0), s), sky);
    paintWaves(p, s, QColor(180, 225, 245), s.height() - 24);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 200, 60));
    p.drawPath(fishPath(QRectF(14, s.height() * 0.22, s.width() * 0.2, s.height() * 0.32)));
    const QRectF text(s.width() * 0.24, 4, s.width() * 0.74, s.height() * 0.5);
    drawCentred(
        p, text, QStringLiteral("Uferwacht"), bannerFont(s.height() * 3 / 10, true), Qt::white);
    drawCentred(p, QRectF(s.width() * 0.24, s.height() * 0.46, s.width() * 0.74, s.height() * 0.24),
        QStringLiteral("Digitales Kescherheft"), bannerFont(s.height() / 7, false),
        QColor(220, 240, 255));
}

void paintPartner1(QPainter& p, const QSize& s)
{
    QLinearGradient g(0, 0, s.width(), s.height());
    g.setColorAt(0, QColor(30, 90, 40));
    g.setColorAt(1, QColor(90, 150, 60));
    p.fillRect(QRect(QPoint(0, 0), s), g);
    // A rod arching over the text with its line and hook.
    p.setPen(QPen(QColor(240, 230, 200), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath rod;
    rod.moveTo(12, s.height() - 10);
    rod.quadTo(s.width() * 0.45, 0, s.width() - 40, 16);
    p.drawPath(rod);
    p.setPen(QPen(QColor(240, 230, 200), 1));
    p.drawLine(QPointF(s.width() - 40, 16), QPointF(s.width() - 40, s.height() * 0.62));
    p.setPen(QPen(QColor(200, 200, 210), 2));
    p.drawArc(QRectF(s.width() - 48, s.height() * 0.6, 10, 12), 180 * 16, 200 * 16);
    drawCentred(p, QRectF(10, s.height() * 0.3, s.width() - 70, s.height() * 0.34),
        QStringLiteral("Angelgeräte Nordufer"), bannerFont(s.height() / 6, true), Qt::white);
    drawCentred(p, QRectF(10, s.height() * 0.64, s.width() - 70, s.height() * 0.24),
        QStringLiteral("Ruten · Rollen · Zubehör"), bannerFont(s.height() / 9, false),
        QColor(225, 245, 210));
}

void paintPartner2(QPainter& p, const QSize& s)
{
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, QColor(250, 215, 140));
    g.setColorAt(1, QColor(215, 140, 50));
    p.fillRect(QRect(QPoint(0, 0), s), g);
    paintWaves(p, s, QColor(70, 110, 160), s.height() - 22);
    // A float, red above and white below the water line.
    const QRectF body(s.width() - 58, s.height() * 0.18, 30, 44);
    p.setPen(QPen(QColor(60, 40, 20), 1));
    p.drawLine(QPointF(body.center().x(), body.top() - 14), QPointF(body.center().x(), body.top()));
    p.setBrush(QColor(220, 30, 30));
    p.drawChord(body, 0, 180 * 16);
    p.setBrush(Qt::white);
    p.drawChord(body, 180 * 16, 180 * 16);
    drawCentred(p, QRectF(8, s.height() * 0.12, s.width() - 76, s.height() * 0.36),
        QStringLiteral("Köderwerk"), bannerFont(s.height() / 5, true), QColor(90, 40, 10));
    drawCentred(p, QRectF(8, s.height() * 0.48, s.width() - 76, s.height() * 0.22),
        QStringLiteral("Frische Köder für jeden Fang"), bannerFont(s.height() / 12, false),
        QColor(70, 35, 10));
}

} // namespace

QImage paintBanner(BannerKind kind, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    switch (kind) {
    case BannerKind::Brand:
        paintBrand(p, size);
        break;
    case BannerKind::Partner1:
        paintPartner1(p, size);
        break;
    case BannerKind::Partner2:
        paintPartner2(p, size);
        break;
    }
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
    return img;
}

ClickableImage::ClickableImage(QWidget* parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab; a mouse click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (onClick)
            onClick();
    });
}

void ClickableImage::setPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    updateGeometry();
    update();
}

QSize ClickableImage::sizeHint() const
{
    return m_pixmap.isNull() ? QSize(0, 0) : m_pixmap.deviceIndependentSize().toSize();
}

void ClickableImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // At its top left, vertically centred, as a label shows a picture.
    if (!m_pixmap.isNull()) {
        const QSize size = m_pixmap.deviceIndependentSize().toSize();
        p.drawPixmap(QPoint(0, (height() - size.height()) / 2), m_pixmap);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}
