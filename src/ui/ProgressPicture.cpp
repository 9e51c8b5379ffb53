#include "ui/ProgressPicture.h"

#include "app/UpdateCheck.h"

#include <QColor>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

const QColor BarColour(255, 128, 0);

} // namespace

ProgressPicture::ProgressPicture(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(u"Fortschritt"_s);
}

void ProgressPicture::setProgress(qint64 value, qint64 minimum, qint64 maximum)
{
    m_percent = progressPercent(value, minimum, maximum);
    setAccessibleDescription(u"%1 %"_s.arg(m_percent));
    update();
}

void ProgressPicture::clear()
{
    m_percent = -1;
    setAccessibleDescription(QString());
    update();
}

void ProgressPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_percent < 0)
        return;
    const int filled = static_cast<int>(qint64(width()) * m_percent / 100);
    p.fillRect(QRect(0, 0, filled, height()), BarColour);
    p.setPen(palette().color(QPalette::Text));
    p.drawText(rect(), Qt::AlignCenter, u"%1 %"_s.arg(m_percent));
}
