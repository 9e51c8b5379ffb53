// The tab-stop lists: measuring, the tooltip of a cut row, the filter.
#include "platform/Paths.h"
#include "store/Logbook.h"
#include "support/TestEnv.h"
#include "ui/FilteredListModel.h"
#include "ui/ListTabDelegate.h"
#include "ui/LogListModel.h"
#include "ui/TabListView.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QFont testFont()
{
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(12);
    return font;
}

const QList<int> kStops { 40, 140 };

// The shortest run of c wider than px pixels.
QString wider(QChar c, qreal px)
{
    const QFontMetricsF fm(testFont());
    QString s(c);
    while (fm.horizontalAdvance(s) <= px)
        s += c;
    return s;
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

class TestListColumns : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Where the stop rule puts each segment ("s<n>": stop at n dialog
    // units, "d<n>": n-th step of 32 units past the last stop).
    void stopRule_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QList<int>>("stops");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("short segments")
            << u"a\tb\t"_s << QList<int> { 20, 65 } << QStringList { u"0"_s, u"s20"_s, u"s65"_s };
        QTest::newRow("segment beyond a stop skips it")
            << u"WWWWWWWWWWWW\tx"_s << QList<int> { 4, 200 } << QStringList { u"0"_s, u"s200"_s };
        QTest::newRow("past the last stop")
            << u"a\tb\tc"_s << QList<int> { 20 } << QStringList { u"0"_s, u"s20"_s, u"d1"_s };
        QTest::newRow("no stops") << u"a\tb"_s << QList<int> {} << QStringList { u"0"_s, u"d1"_s };
    }
    void stopRule()
    {
        QFETCH(QString, row);
        QFETCH(QList<int>, stops);
        QFETCH(QStringList, expected);
        const TabLayout layout(testFont(), stops);
        const int avg = TabLayout::averageCharWidth(testFont());
        auto px = [&](int du) { return int(std::lround(du * avg / 4.0)); };
        QList<qreal> want;
        for (const QString& e : expected)
            want.append(e.startsWith(u's') ? px(e.mid(1).toInt())
                    : e.startsWith(u'd')   ? e.mid(1).toInt() * px(32)
                                           : e.toInt());
        QCOMPARE(layout.segmentPositions(row), want);
        const QString last = row.section(u'\t', -1);
        QCOMPARE(
            layout.textWidth(row), want.last() + QFontMetricsF(testFont()).horizontalAdvance(last));
        QVERIFY(std::abs(layout.widestWidth({ u"a"_s, row }) - layout.textWidth(row)) < 0.5);
    }

    // Where each field is drawn: S at its stop, P pushed past the field
    // before, D at a step past the last stop.
    void fields_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("places");
        const int col = TabLayout(testFont(), kStops).stopsPx()[0]; // first column's width
        const int avg = TabLayout::averageCharWidth(testFont());
        const QString figure = wider(u'1', col);
        QTest::newRow("fields that fit") << QStringList { u"a"_s, u"b"_s, u"c"_s } << u"SSS"_s;
        QTest::newRow("figure a little too wide pushes the next")
            << QStringList { figure, u"Laden"_s, u"x"_s } << u"SPS"_s;
        QTest::newRow("long name pushes the next, the one after keeps its stop")
            << QStringList { wider(u'n', col + 3 * avg), u"Laden"_s, u"x"_s } << u"SPS"_s;
        QTest::newRow("pushed long name pushes the one after")
            << QStringList { figure, wider(u'n', 3 * col), u"x"_s } << u"SPP"_s;
        QTest::newRow("long name pushes past the last stop")
            << QStringList { u"a"_s, wider(u'n', 5 * col), u"b"_s, u"c"_s } << u"SSPD"_s;
    }
    void fields()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, places);
        const TabLayout layout(testFont(), kStops);
        const QFontMetricsF fm(testFont());
        const QList<TabLayout::DrawnField> drawn = layout.drawnFields(fields.join(u'\t'), 1e6);
        qreal right = 0;
        for (qsizetype i = 0; i < drawn.size(); ++i) {
            const TabLayout::DrawnField& f = drawn[i];
            QCOMPARE(f.text, fields[i]);
            if (places[i] == u'S')
                QCOMPARE(f.x, i == 0 ? 0 : layout.stopsPx()[i - 1]);
            else if (places[i] == u'P')
                QVERIFY(f.x > layout.stopsPx()[i - 1] && f.x == right + layout.gapPx());
            else
                QVERIFY(std::fmod(f.x, layout.defaultTabPx()) == 0 && f.x > right);
            QVERIFY(f.x >= right); // nothing is drawn over the field before
            right = f.x + fm.horizontalAdvance(f.text);
        }
        // Drawn in no more room than the stop rule measures, nothing goes beyond it.
        const qreal measured = layout.textWidth(fields.join(u'\t'));
        const QList<TabLayout::DrawnField> cut = layout.drawnFields(fields.join(u'\t'), measured);
        QVERIFY(cut.last().x + fm.horizontalAdvance(cut.last().text) <= measured + 1e-9);
        for (qsizetype i = 1; i < cut.size(); ++i)
            QVERIFY(cut[i].x > cut[i - 1].x);
    }

    // A row cut off by the list's width shows whole as a tooltip.
    void cutRowShowsAsTooltip()
    {
        TabListView list;
        list.setFont(testFont());
        list.resize(250, 200);
        list.setTabStops(kStops);
        const QString name = u"Angelcenter Rhein-Main Großhandel GmbH"_s;
        list.setItems({ name + u"\t2\tHaken"_s, u"a\tb"_s });
        const TabLayout layout(testFont(), kStops);
        QVERIFY(layout.textWidth(list.item(0)) > 250); // the first row needs the list scrolled
        list.setHorizontalExtent(int(std::ceil(layout.textWidth(list.item(0)))));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const int left
            = list.visualRect(list.model()->index(0, 0)).left() + ListTabDelegate::TextMargin;

        auto hover = [&](int row) {
            const QPoint pos(left + 10, list.visualRect(list.model()->index(row, 0)).center().y());
            QHelpEvent help(QEvent::ToolTip, pos, list.viewport()->mapToGlobal(pos));
            QApplication::sendEvent(list.viewport(), &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(hover(1), QString()); // in view
        QCOMPARE(hover(0), name + u" | 2 | Haken"_s);
    }

    // The filter keeps the fixed lines and the matching rows, mapped back to
    // the log's rows, and runs again when the log changes.
    void filterKeepsMatchingRows()
    {
        TestEnv t;
        t.write(kCatchLogPath,
            recordFileBytes({ sampleCatchLine({ { 2, u"Anna"_s }, { 6, u"Hecht"_s } }),
                sampleCatchLine({ { 1, u"2004/05/18"_s }, { 2, u"Bert"_s } }),
                sampleCatchLine(
                    { { 1, u"2004/05/19"_s }, { 2, u"Cleo"_s }, { 6, u"HECHT"_s } }) }));
        Logbook log(t.env);
        log.refresh(u"Test"_s);
        LogListModel model(log, LogListModel::Log::Catches);
        FilteredListModel filtered(t.env, &model);
        filtered.filter(u"hecht"_s);
        QCOMPARE(filtered.lines().mid(0, 2), model.lines().mid(0, 2));
        QCOMPARE(thirdFields(filtered, 2), (QStringList { u"Cleo"_s, u"Anna"_s }));
        for (int r = 0; r < filtered.rowCount(); ++r)
            QCOMPARE(model.line(filtered.sourceRow(r)), filtered.line(r));
        t.write(kCatchLogPath, {});
        log.refresh(u"Test"_s);
        QCOMPARE(filtered.rowCount(), 2);
    }
};

QTEST_MAIN(TestListColumns)
#include "tst_ListColumns.moc"
