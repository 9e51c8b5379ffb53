#include "ui/TabListView.h"

#include "ui/ListTabDelegate.h"

#include <QItemSelectionModel>
#include <QStringListModel>

#include <cmath>

TabListView::TabListView(QWidget* parent)
    : QListView(parent)
    , m_own(new QStringListModel(this))
    , m_delegate(new ListTabDelegate(this))
{
    setModel(m_own);
    setItemDelegate(m_delegate);
    // Every row has the same size, so the view asks for one size hint only.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void TabListView::setModel(QAbstractItemModel* model)
{
    if (!model)
        model = m_own;
    if (model == QListView::model())
        return;
    if (QAbstractItemModel* old = QListView::model())
        disconnect(old, nullptr, this, nullptr);
    QItemSelectionModel* oldSelection = selectionModel();
    QListView::setModel(model);
    delete oldSelection;
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current) {
            if (onCurrentRowChanged && current.isValid())
                onCurrentRowChanged(current.row());
        });
    const auto changed = [this] {
        if (m_minimumExtent >= 0)
            fitExtent();
    };
    connect(model, &QAbstractItemModel::modelReset, this, changed);
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(model, &QAbstractItemModel::dataChanged, this, changed);
    changed();
}

void TabListView::clear()
{
    setItems({});
}

void TabListView::setItems(const QStringList& lines)
{
    setModel(m_own);
    m_own->setStringList(lines);
}

int TabListView::count() const
{
    return model()->rowCount();
}

QString TabListView::item(int row) const
{
    return model()->index(row, 0).data().toString();
}

QStringList TabListView::items() const
{
    QStringList lines;
    lines.reserve(count());
    for (int row = 0; row < count(); ++row)
        lines.append(item(row));
    return lines;
}

void TabListView::setTabStops(const QList<int>& dialogUnits)
{
    m_delegate->setTabStops(dialogUnits);
    viewport()->update();
}

const QList<int>& TabListView::tabStops() const
{
    return m_delegate->tabStops();
}

qreal TabListView::widestLineWidth() const
{
    const TabLayout layout(font(), m_delegate->tabStops());
    const QString measure
        = font().key() + QString::number(qHashRange(tabStops().begin(), tabStops().end()));
    if (measure != m_measuredWith) {
        m_widths.clear();
        m_measuredWith = measure;
    }
    // A line kept from the last measuring keeps its width: the lists share
    // their texts with the logs, so after a save or a delete only the new
    // lines are measured. The cache holds the texts it measured, so their
    // places cannot be taken by other texts while they are in it.
    // The lines are taken one at a time from the model, which may make
    // them only when asked.
    const int rows = count();
    QHash<const QChar*, MeasuredLine> next;
    next.reserve(rows);
    QStringList fresh;
    qreal widest = 0;
    for (int row = 0; row < rows; ++row) {
        const QString line = item(row);
        const auto it = m_widths.constFind(line.constData());
        if (it != m_widths.cend() && it->text.size() == line.size()) {
            widest = qMax(widest, it->width);
            next.insert(line.constData(), *it);
        } else {
            fresh.append(line);
        }
    }
    const QList<qreal> freshWidths = layout.widths(fresh);
    for (qsizetype i = 0; i < fresh.size(); ++i) {
        widest = qMax(widest, freshWidths[i]);
        next.insert(fresh[i].constData(), { fresh[i], freshWidths[i] });
    }
    m_widths = std::move(next);
    return widest;
}

void TabListView::setHorizontalExtent(int px)
{
    m_delegate->setHorizontalExtent(px);
    // The cached row size must be measured again for the new extent.
    doItemsLayout();
}

int TabListView::horizontalExtent() const
{
    return m_delegate->horizontalExtent();
}

void TabListView::fitExtentToLines(int minimumPx)
{
    m_minimumExtent = qMax(0, minimumPx);
    fitExtent();
}

void TabListView::fitExtent()
{
    const int widest = static_cast<int>(std::ceil(widestLineWidth()));
    const int extent = qMax(m_minimumExtent, widest);
    if (extent != horizontalExtent())
        setHorizontalExtent(extent);
}
