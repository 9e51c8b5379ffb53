#include "ui/TabListView.h"

#include "ui/ListTabDelegate.h"

#include <QStringListModel>

#include <cmath>

TabListView::TabListView(QWidget* parent)
    : QListView(parent)
    , m_model(new QStringListModel(this))
    , m_delegate(new ListTabDelegate(this))
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    // Every row has the same size, so the view asks for one size hint only.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    const auto changed = [this] {
        if (m_minimumExtent >= 0)
            fitExtent();
    };
    connect(m_model, &QAbstractItemModel::modelReset, this, changed);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(m_model, &QAbstractItemModel::dataChanged, this, changed);
}

void TabListView::clear()
{
    m_model->setStringList({});
}

void TabListView::setItems(const QStringList& lines)
{
    m_model->setStringList(lines);
}

int TabListView::count() const
{
    return m_model->rowCount();
}

QString TabListView::item(int row) const
{
    return m_model->index(row).data().toString();
}

QStringList TabListView::items() const
{
    return m_model->stringList();
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
    return TabLayout(font(), m_delegate->tabStops()).widestWidth(m_model->stringList());
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
