#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStringList>

class Logbook;

// One of the two logs as the rows of a list view: first its fixed lines
// (the catch list's column header and rule line), then one row per listed
// line of the log, newest first. A row's text is taken from the log when
// the view asks for it, so the list holds no lines of its own. Every change
// of the log resets the rows.
class LogListModel : public QAbstractListModel {
public:
    enum class Log { Catches, Costs };
    LogListModel(const Logbook& log, Log which, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The lines before the log's rows.
    int fixedRows() const { return int(m_fixed.size()); }
    QString line(int row) const;
    // Every row's text, built for the call.
    QStringList lines() const;
    // The log's row of list row `row`, or -1 for a fixed line.
    int logRow(int row) const;

private:
    const Logbook& m_log;
    Log m_which;
    QStringList m_fixed;
};

// The catch list as the overview shows it: column header, rule line, then
// the log's catch lines; built for the call.
QStringList CatchOverviewLines(const Logbook& log);
