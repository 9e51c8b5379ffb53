#include "ui/ListTabDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolTip>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

// Dialog units of the tab distance beyond the last stop: eight characters.
constexpr int DefaultTabDialogUnits = 32;

int dialogUnitsToPx(int units, int averageCharWidth)
{
    return static_cast<int>(std::lround(units * averageCharWidth / 4.0));
}

// Names and words may be shortened; figures (dates, times, amounts) never,
// as a shortened figure reads as another figure.
bool hasLetter(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter(); });
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
    m_gapPx = avg / 2.0; // about a blank
    m_maxPushPx = 2 * avg;
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

qreal TabLayout::nextStopAfter(qreal right) const
{
    for (int stop : m_stopsPx) {
        if (stop > right)
            return stop;
    }
    return (std::floor(right / m_defaultTabPx) + 1) * m_defaultTabPx;
}

QList<TabLayout::DrawnField> TabLayout::drawnFields(const QString& row, qreal room) const
{
    const QStringList segments = row.split(u'\t');
    // With tight set each position is at most the stop rule's for the same
    // text before it (shortening only moves text left), so the row ends no
    // further right than textWidth().
    auto place = [&](bool tight, QList<DrawnField>& fields) {
        fields.clear();
        fields.reserve(segments.size());
        qreal right = 0;
        for (qsizetype i = 0; i < segments.size(); ++i) {
            DrawnField f { 0, segments[i], false };
            if (i > 0 && i - 1 < m_stopsPx.size()) {
                const qreal apart = right + m_gapPx;
                f.x = qMax<qreal>(
                    m_stopsPx[i - 1], tight ? qMin(apart, nextStopAfter(right)) : apart);
            } else if (i > 0) {
                // Past the last stop: the fixed steps of the stop rule.
                f.x = nextStopAfter(tight ? right : right + m_gapPx);
            }
            qreal width = m_fm.horizontalAdvance(f.text);
            if (i + 1 < segments.size() && i < m_stopsPx.size() && hasLetter(f.text)) {
                const qreal own = i == 0 ? 0 : m_stopsPx[i - 1];
                if (width > m_stopsPx[i] - own + m_maxPushPx - m_gapPx) {
                    // Cut to its column, so the next field keeps its place.
                    const qreal column = qMax<qreal>(0, m_stopsPx[i] - m_gapPx - f.x);
                    f.text = m_fm.elidedText(f.text, Qt::ElideRight, column);
                    f.shortened = true;
                    width = m_fm.horizontalAdvance(f.text);
                }
            }
            right = f.x + width;
            fields.append(f);
        }
        return right;
    };
    QList<DrawnField> fields;
    if (place(false, fields) > room) {
        QList<DrawnField> tight;
        if (place(true, tight) <= room)
            return tight;
    }
    return fields;
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
    const QList<TabLayout::DrawnField> fields
        = TabLayout(opt.font, m_tabStops).drawnFields(row, opt.rect.width() - 2 * TextMargin);
    for (const TabLayout::DrawnField& f : fields) {
        if (!f.text.isEmpty())
            painter->drawText(QPointF(left + f.x, baseline), f.text);
    }
    painter->restore();
}

bool ListTabDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
    const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString row = index.data(Qt::DisplayRole).toString();
    const QList<TabLayout::DrawnField> fields
        = TabLayout(option.font, m_tabStops).drawnFields(row, option.rect.width() - 2 * TextMargin);
    const qreal x = event->pos().x() - option.rect.left() - TextMargin;
    for (qsizetype i = fields.size() - 1; i >= 0; --i) {
        if (x < fields[i].x)
            continue;
        if (fields[i].shortened) {
            QToolTip::showText(event->globalPos(), row.section(u'\t', int(i), int(i)), view);
            return true;
        }
        break;
    }
    QToolTip::hideText();
    return false;
}

QSize ListTabDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const QFontMetrics fm(option.font);
    return QSize(m_extent + 2 * TextMargin, fm.height() + 2);
}
