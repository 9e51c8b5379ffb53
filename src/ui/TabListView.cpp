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
    const QStringList lines = m_model->stringList();
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
    QHash<const QChar*, MeasuredLine> next;
    next.reserve(lines.size());
    QStringList fresh;
    qreal widest = 0;
    for (const QString& line : lines) {
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
