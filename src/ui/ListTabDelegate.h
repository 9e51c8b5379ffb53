#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStyledItemDelegate>

#include <cmath>

class QListView;

// Where the TAB-separated segments of a row stand when the row is drawn
// with tab stops given in dialog units. A horizontal dialog unit is a
// quarter of the font's average character width. A TAB moves to the first
// stop to the right of the text drawn so far; past the last stop it moves
// to the next multiple of 32 dialog units (eight average characters).
// Built once per font and stop list, so measuring many rows stays cheap.
class TabLayout {
public:
    TabLayout(const QFont& font, const QList<int>& dialogUnits);

    // Average character width of a font in pixels: the mean advance of the
    // 52 Latin letters, rounded, as dialog base units are defined.
    static int averageCharWidth(const QFont& font);

    // Tab stops in pixels, from the left edge of the text.
    const QList<int>& stopsPx() const { return m_stopsPx; }
    int defaultTabPx() const { return m_defaultTabPx; }
    // Least distance between a field too wide for its column and the next.
    qreal gapPx() const { return m_gapPx; }
    // Left edge of every segment of row, in pixels from the left edge of the text.
    QList<qreal> segmentPositions(const QString& row) const;
    // Width of row as drawn, tabs expanded.
    qreal textWidth(const QString& row) const;
    // Width of the widest of rows by the same rule. Advances are looked up
    // per character instead of shaping every segment: a scroll range needs
    // no kerning, and 32,767 lines are measured in milliseconds.
    qreal widestWidth(const QStringList& rows) const;
    // The width of each row by the same rule, in row order.
    QList<qreal> widths(const QStringList& rows) const;

    // Calls f(segment, x) for every segment, x being its left edge; returns
    // the right edge of the last segment.
    template <class F> qreal forEachSegment(const QString& row, F&& f) const;

    // One TAB-separated field of a row as the list draws it.
    struct DrawnField {
        qreal x = 0; // left edge, in pixels from the left edge of the text
        QString text; // the whole field
    };
    // The fields of row as the list draws them. The n-th field stands at
    // the (n-1)-th stop, so the fields form columns. Every field shows
    // whole: one too wide for its column pushes the next one on, to
    // gapPx() past its end, and the fields after it keep their stops where
    // there is room. When the row would run past `room`, the gaps are
    // dropped wherever they would go beyond the stop rule's positions, so
    // that it ends no further right than textWidth() measures it.
    QList<DrawnField> drawnFields(const QString& row, qreal room) const;

private:
    // Where the text after a TAB starts when the text before it ends at
    // right: the first stop right of it, searched onwards from nextStop
    // only, as list boxes do; past the last stop the next multiple of the
    // default tab. Moves nextStop past the stop used.
    qreal tabPosition(qreal right, qsizetype& nextStop) const;
    // The first stop right of right, of all stops; then the default tabs.
    qreal nextStopAfter(qreal right) const;

    QFontMetricsF m_fm;
    QList<int> m_stopsPx;
    int m_defaultTabPx;
    qreal m_gapPx;
};

template <class F> qreal TabLayout::forEachSegment(const QString& row, F&& f) const
{
    qreal x = 0;
    qsizetype nextStop = 0;
    qsizetype start = 0;
    for (;;) {
        const qsizetype tab = row.indexOf(u'\t', start);
        const qsizetype end = tab < 0 ? row.size() : tab;
        const QString segment = QString::fromRawData(row.constData() + start, end - start);
        f(segment, x);
        const qreal right = x + m_fm.horizontalAdvance(segment);
        if (tab < 0)
            return right;
        x = tabPosition(right, nextStop);
        start = tab + 1;
    }
}

// Draws each row of a list (a QString with TABs) at the list's tab stops,
// and gives every row the same width, the list's horizontal extent, so the
// widest row decides how far the list scrolls sideways.
class ListTabDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ListTabDelegate(QObject* parent = nullptr);

    // Space left and right of the text inside a row.
    static constexpr int TextMargin = 2;

    void setTabStops(const QList<int>& dialogUnits) { m_tabStops = dialogUnits; }
    const QList<int>& tabStops() const { return m_tabStops; }

    // Scrollable text width of every row in pixels (margins not included).
    void setHorizontalExtent(int px) { m_extent = px < 0 ? 0 : px; }
    int horizontalExtent() const { return m_extent; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    // The whole row as a tooltip when part of it lies out of view.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QList<int> m_tabStops;
    int m_extent = 0;
};
