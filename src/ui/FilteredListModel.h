#pragma once

#include "platform/Env.h"

#include <QAbstractListModel>
#include <QString>
#include <QStringList>

#include <vector>

class LogListModel;

// The rows of a log's list that match a filter expression, in the list's
// order. The list's fixed lines always stay. Holds only the numbers of the
// matching rows; their text comes from the list. When the log changes, the
// filter runs again over the new rows.
class FilteredListModel : public QAbstractListModel {
public:
    FilteredListModel(const Env& env, LogListModel* source, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Every row of the list, unfiltered.
    void showAll();
    // No row at all, until the next filter.
    void clear();
    // Only the rows that match `expression` in the filter language.
    void filter(const QString& expression);

    LogListModel* source() const { return m_source; }
    // The list's row of row `row`, or -1.
    int sourceRow(int row) const;
    QString line(int row) const;
    // Every row's text, built for the call.
    QStringList lines() const;

private:
    void run();

    const Env& m_env;
    LogListModel* m_source;
    enum class Mode { All, None, Filter };
    Mode m_mode = Mode::All;
    QString m_expression;
    std::vector<int> m_rows; // list rows, ascending
};
