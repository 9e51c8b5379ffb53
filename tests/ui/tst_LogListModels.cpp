// The rows the filter keeps of a log's list.
#include "store/Logbook.h"
#include "support/TestEnv.h"
#include "ui/FilteredListModel.h"
#include "ui/LogListModel.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kCatchFile = u"db\\fänge\\db"_s;
const QString kCostFile = u"db\\kosten\\db"_s;

QString row(const QStringList& fields)
{
    return fields.join(u'\t');
}

// The third field of each row after the fixed lines: the angler of a
// catch, the quantity of a purchase.
QStringList thirdFields(const QAbstractItemModel& model, int from)
{
    QStringList out;
    for (int r = from; r < model.rowCount(); ++r)
        out.append(model.index(r, 0).data().toString().section(u'\t', 2, 2));
    return out;
}

} // namespace

class TestLogListModels : public QObject {
    Q_OBJECT

private slots:
    // The filter keeps the fixed lines (the catch list's header) and the
    // rows that match, in list order, and runs again when the log changes.
    void filterKeepsMatchingRows_data()
    {
        QTest::addColumn<bool>("catches");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QStringList>("kept"); // third fields of the kept rows
        QTest::newRow("text, case ignored")
            << true << u"HECHT"_s << QStringList { u"Cleo"_s, u"Anna"_s };
        QTest::newRow("no match") << true << u"barsch"_s << QStringList {};
        QTest::newRow("cost text") << false << u"haken"_s << QStringList { u"3"_s, u"3"_s };
    }
    void filterKeepsMatchingRows()
    {
        QFETCH(bool, catches);
        QFETCH(QString, expression);
        TestEnv t;
        t.write(kCatchFile,
            recordFileBytes({ row(sampleCatch(
                                  { { 2, u"Anna"_s }, { 6, u"Hecht"_s }, { 7, u"2,00"_s } })),
                row(sampleCatch({ { 1, u"2004/05/18"_s }, { 2, u"Bert"_s }, { 7, u"7,50"_s } })),
                row(sampleCatch({ { 1, u"2004/05/19"_s }, { 2, u"Cleo"_s }, { 6, u"HECHT"_s },
                    { 7, u"5,01"_s } })) }));
        t.write(kCostFile,
            recordFileBytes({ row(sampleCost()), row(sampleCost({ { 1, u"2006/03/06"_s } })),
                row(sampleCost({ { 1, u"2006/03/07"_s }, { 4, u"Rute"_s } })) }));
        Logbook log(t.env);
        log.refresh(u"Test"_s);
        LogListModel model(log, catches ? LogListModel::Log::Catches : LogListModel::Log::Costs);
        FilteredListModel filtered(t.env, &model);
        filtered.filter(expression);
        const int fixed = catches ? 2 : 0;
        QCOMPARE(filtered.lines().mid(0, fixed), model.lines().mid(0, fixed));
        QTEST(thirdFields(filtered, fixed), "kept");
        for (int r = 0; r < filtered.rowCount(); ++r)
            QCOMPARE(model.line(filtered.sourceRow(r)), filtered.line(r));
        // Emptied log: only the fixed lines stay.
        t.write(catches ? kCatchFile : kCostFile, {});
        log.refresh(u"Test"_s);
        QCOMPARE(filtered.rowCount(), fixed);
        filtered.clear();
        QCOMPARE(filtered.rowCount(), 0);
    }
};

QTEST_MAIN(TestLogListModels)
#include "tst_LogListModels.moc"
