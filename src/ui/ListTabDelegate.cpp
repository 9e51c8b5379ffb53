#include "ui/ListTabDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QWidget>

#include <cmath>

namespace {

// Dialog units of the tab distance beyond the last stop: eight characters.
constexpr int DefaultTabDialogUnits = 32;

int dialogUnitsToPx(int units, int averageCharWidth)
{
    return static_cast<int>(std::lround(units * averageCharWidth / 4.0));
}

} // namespace

TabLayout::TabLayout(const QFont& font, const QList<int>& dialogUnits)
    : m_fm(font)
{
    const int avg = averageCharWidth(font);
    m_stopsPx.reserve(dialogUnits.size());
    for (int du : dialogUnits)
        m_stopsPx.append(dialogUnitsToPx(du, avg));
    m_defaultTabPx = qMax(1, dialogUnitsToPx(DefaultTabDialogUnits, avg));
}

int TabLayout::averageCharWidth(const QFont& font)
{
    static const QString letters
        = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const qreal total = QFontMetricsF(font).horizontalAdvance(letters);
    return qMax(1, static_cast<int>(std::lround(total / letters.size())));
}

QList<qreal> TabLayout::segmentPositions(const QString& row) const
{
    QList<qreal> out;
    forEachSegment(row, [&](const QString&, qreal x) { out.append(x); });
    return out;
}

qreal TabLayout::textWidth(const QString& row) const
{
    return forEachSegment(row, [](const QString&, qreal) {});
}

ListTabDelegate::ListTabDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

void ListTabDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QString row = opt.text;
    opt.text.clear(); // the style draws background, selection and focus; the text is ours

    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    if (row.isEmpty())
        return;
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
        : (opt.state & QStyle::State_Active)                                ? QPalette::Normal
                                                                            : QPalette::Inactive;
    const QPalette::ColorRole role
        = (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;

    painter->save();
    painter->setClipRect(opt.rect);
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(group, role));
    const QFontMetricsF fm(opt.font);
    const qreal left = opt.rect.left() + TextMargin;
    const qreal baseline = opt.rect.top() + (opt.rect.height() - fm.height()) / 2 + fm.ascent();
    TabLayout(opt.font, m_tabStops).forEachSegment(row, [&](const QString& segment, qreal x) {
        if (!segment.isEmpty())
            painter->drawText(QPointF(left + x, baseline), segment);
    });
    painter->restore();
}

QSize ListTabDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const QFontMetrics fm(option.font);
    return QSize(m_extent + 2 * TextMargin, fm.height() + 2);
}
