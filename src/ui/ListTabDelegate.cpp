#include "ui/ListTabDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHash>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolTip>
#include <QWidget>

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Dialog units of the tab distance beyond the last stop: eight characters.
constexpr int kDefaultTabDialogUnits = 32;

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
    m_defaultTabPx = qMax(1, dialogUnitsToPx(kDefaultTabDialogUnits, avg));
    m_gapPx = avg / 2.0; // about a blank
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

qreal TabLayout::widestWidth(const QStringList& rows) const
{
    qreal widest = 0;
    for (qreal w : widths(rows))
        widest = qMax(widest, w);
    return widest;
}

QList<qreal> TabLayout::widths(const QStringList& rows) const
{
    std::array<qreal, 256> latin {};
    for (int c = 0; c < 256; ++c)
        latin[c] = m_fm.horizontalAdvance(QChar(c));
    QHash<char16_t, qreal> others;
    auto advance = [&](QChar ch) -> qreal {
        const char16_t u = ch.unicode();
        if (u < 256)
            return latin[u];
        auto it = others.constFind(u);
        if (it == others.cend())
            it = others.insert(u, m_fm.horizontalAdvance(ch));
        return *it;
    };

    QList<qreal> out;
    out.reserve(rows.size());
    for (const QString& row : rows) {
        qreal x = 0;
        qreal segment = 0;
        qsizetype nextStop = 0;
        for (const QChar ch : row) {
            if (ch != u'\t') {
                segment += advance(ch);
                continue;
            }
            x = tabPosition(x + segment, nextStop);
            segment = 0;
        }
        out.append(x + segment);
    }
    return out;
}

qreal TabLayout::tabPosition(qreal right, qsizetype& nextStop) const
{
    while (nextStop < m_stopsPx.size() && m_stopsPx[nextStop] <= right)
        ++nextStop;
    if (nextStop < m_stopsPx.size())
        return m_stopsPx[nextStop++];
    return (std::floor(right / m_defaultTabPx) + 1) * m_defaultTabPx;
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
    // text before it, so the row ends no further right than textWidth().
    auto place = [&](bool tight, QList<DrawnField>& fields) {
        fields.clear();
        fields.reserve(segments.size());
        qreal right = 0;
        for (qsizetype i = 0; i < segments.size(); ++i) {
            DrawnField f { 0, segments[i] };
            if (i > 0 && i - 1 < m_stopsPx.size()) {
                const qreal apart = right + m_gapPx;
                f.x = qMax<qreal>(
                    m_stopsPx[i - 1], tight ? qMin(apart, nextStopAfter(right)) : apart);
            } else if (i > 0) {
                // Past the last stop: the fixed steps of the stop rule.
                f.x = nextStopAfter(tight ? right : right + m_gapPx);
            }
            right = f.x + m_fm.horizontalAdvance(f.text);
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
    if (event->type() != QEvent::ToolTip || !index.isValid() || !view)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString row = index.data(Qt::DisplayRole).toString();
    const QList<TabLayout::DrawnField> fields
        = TabLayout(option.font, m_tabStops).drawnFields(row, option.rect.width() - 2 * TextMargin);
    const qreal textLeft = option.rect.left() + TextMargin;
    const qreal end = fields.isEmpty()
        ? 0
        : fields.last().x + QFontMetricsF(option.font).horizontalAdvance(fields.last().text);
    // The row is drawn whole; when the list must be scrolled to see all of
    // it, the tooltip shows it in one piece, its fields apart by " | ".
    const QRect visible = view->viewport()->rect();
    if (!row.isEmpty() && (textLeft < visible.left() || textLeft + end > visible.right() + 1)) {
        QString text = row;
        text.replace(u'\t', u" | "_s);
        QToolTip::showText(event->globalPos(), text, view);
        return true;
    }
    QToolTip::hideText();
    return false;
}

QSize ListTabDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const QFontMetrics fm(option.font);
    return QSize(m_extent + 2 * TextMargin, fm.height() + 2);
}
