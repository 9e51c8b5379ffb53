#include "ui/ValidityPictures.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace {

QPixmap drawn(int size, const QColor& color, const QPainterPath& path)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(color, size / 6.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    return pm;
}

} // namespace

QPixmap validPicture(int size)
{
    const double s = size;
    QPainterPath path;
    path.moveTo(0.18 * s, 0.55 * s);
    path.lineTo(0.42 * s, 0.78 * s);
    path.lineTo(0.84 * s, 0.24 * s);
    return drawn(size, QColor(0x1E, 0x9E, 0x2E), path);
}

QPixmap invalidPicture(int size)
{
    const double s = size;
    QPainterPath path;
    path.moveTo(0.22 * s, 0.22 * s);
    path.lineTo(0.78 * s, 0.78 * s);
    path.moveTo(0.78 * s, 0.22 * s);
    path.lineTo(0.22 * s, 0.78 * s);
    return drawn(size, QColor(0xD0, 0x1C, 0x1C), path);
}
