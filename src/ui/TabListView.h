#pragma once

#include <QHash>
#include <QList>
#include <QListView>
#include <QString>
#include <QStringList>

#include <functional>

class ListTabDelegate;
class QStringListModel;

// A list of plain text lines, each line TAB-separated and drawn at the
// list's tab stops. The lines come from any list model (the display text of
// each row), or from a string model of its own filled with setItems; every
// row is as wide as the list's horizontal extent.
class TabListView : public QListView {
public:
    explicit TabListView(QWidget* parent = nullptr);

    // Shows the rows of `model` (the list's own string model when null).
    void setModel(QAbstractItemModel* model) override;
    // Runs when the current row changes, by mouse or keyboard, with the new
    // row, whichever model the list shows.
    std::function<void(int)> onCurrentRowChanged;

    void clear();
    void setItems(const QStringList& lines);
    int count() const;
    QString item(int row) const;
    QStringList items() const;

    // Tab stops in dialog units, in the given order.
    void setTabStops(const QList<int>& dialogUnits);
    const QList<int>& tabStops() const;

    // Width in pixels of the widest line as drawn in the list's font; one
    // pass over the lines.
    qreal widestLineWidth() const;
    // How far the list scrolls sideways: the text width in pixels that
    // every row offers.
    void setHorizontalExtent(int px);
    int horizontalExtent() const;
    // From now on the list scrolls sideways at least minimumPx and always
    // as far as its widest line, measured again whenever the lines change,
    // so that every line can be seen whole.
    void fitExtentToLines(int minimumPx);

private:
    void fitExtent();

    QStringListModel* m_own;
    ListTabDelegate* m_delegate;
    int m_minimumExtent = -1; // negative: the extent is set from outside only
    // Widths of the lines last measured, by their text's place in memory.
    struct MeasuredLine {
        QString text;
        qreal width = 0;
    };
    mutable QHash<const QChar*, MeasuredLine> m_widths;
    mutable QString m_measuredWith; // font and tab stops of those widths
};
