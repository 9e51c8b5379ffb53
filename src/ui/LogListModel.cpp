#include "ui/LogListModel.h"

#include "store/CatchList.h"
#include "store/Logbook.h"

LogListModel::LogListModel(const Logbook& log, Log which, QObject* parent)
    : QAbstractListModel(parent)
    , m_log(log)
    , m_which(which)
{
    if (which == Log::Catches)
        m_fixed = { CatchHeaderLine(), CatchRuleLine() };
    // The log has changed already when it says so: the view forgets its
    // rows and asks again.
    const auto reset = [this] {
        beginResetModel();
        endResetModel();
    };
    if (which == Log::Catches)
        connect(&log, &Logbook::catchesChanged, this, reset);
    else
        connect(&log, &Logbook::costsChanged, this, reset);
}

int LogListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return fixedRows() + (m_which == Log::Catches ? m_log.catchCount() : m_log.costCount());
}

QVariant LogListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return line(index.row());
}

QString LogListModel::line(int row) const
{
    if (row >= 0 && row < fixedRows())
        return m_fixed[row];
    const int at = row - fixedRows();
    return m_which == Log::Catches ? m_log.catchLine(at) : m_log.costLine(at);
}

QStringList LogListModel::lines() const
{
    return m_which == Log::Catches ? CatchOverviewLines(m_log) : m_log.costLines();
}

int LogListModel::logRow(int row) const
{
    return row >= fixedRows() && row < rowCount() ? row - fixedRows() : -1;
}

QStringList CatchOverviewLines(const Logbook& log)
{
    QStringList lines;
    lines.reserve(2 + log.catchCount());
    lines << CatchHeaderLine() << CatchRuleLine();
    lines += log.catchLines();
    return lines;
}
