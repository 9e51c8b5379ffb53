#include "ui/FilteredListModel.h"

#include "search/Search.h"
#include "ui/LogListModel.h"

FilteredListModel::FilteredListModel(const Env& env, LogListModel* source, QObject* parent)
    : QAbstractListModel(parent)
    , m_env(env)
    , m_source(source)
{
    connect(source, &QAbstractItemModel::modelReset, this, [this] {
        beginResetModel();
        run();
        endResetModel();
    });
    run();
}

int FilteredListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant FilteredListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return line(index.row());
}

void FilteredListModel::showAll()
{
    beginResetModel();
    m_mode = Mode::All;
    m_expression.clear();
    run();
    endResetModel();
}

void FilteredListModel::clear()
{
    beginResetModel();
    m_mode = Mode::None;
    m_expression.clear();
    run();
    endResetModel();
}

void FilteredListModel::filter(const QString& expression)
{
    beginResetModel();
    m_mode = Mode::Filter;
    m_expression = expression;
    run();
    endResetModel();
}

void FilteredListModel::run()
{
    const int count = m_source->rowCount();
    m_rows.clear();
    if (m_mode == Mode::None) {
        m_rows.shrink_to_fit();
        return;
    }
    m_rows.reserve(count);
    int row = 0;
    for (; row < qMin(m_source->fixedRows(), count); ++row)
        m_rows.push_back(row);
    if (m_mode == Mode::All) {
        for (; row < count; ++row)
            m_rows.push_back(row);
        return;
    }
    // The expression is read once and then tested against every line.
    const FilterExpression expression(m_expression);
    for (; row < count; ++row) {
        if (expression.matches(m_env, m_source->line(row)))
            m_rows.push_back(row);
    }
    m_rows.shrink_to_fit();
}

int FilteredListModel::sourceRow(int row) const
{
    return row >= 0 && row < rowCount() ? m_rows[row] : -1;
}

QString FilteredListModel::line(int row) const
{
    return m_source->line(sourceRow(row));
}

QStringList FilteredListModel::lines() const
{
    QStringList all;
    all.reserve(rowCount());
    for (int row : m_rows)
        all.append(m_source->line(row));
    return all;
}
