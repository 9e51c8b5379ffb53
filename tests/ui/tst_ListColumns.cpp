// How the tab-stop lists draw their fields in columns, and the cost
// window's column headers above them.
#include "support/TestEnv.h"
#include "ui/App.h"
#include "ui/ListTabDelegate.h"
#include "ui/TabListView.h"
#include "ui/frmAddKosten.h"

#include <QApplication>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QStringListModel>
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

// The shortest run of c wider than px pixels.
QString wider(QChar c, qreal px)
{
    const QFontMetricsF fm(testFont());
    QString s(c);
    while (fm.horizontalAdvance(s) <= px)
        s += c;
    return s;
}

} // namespace

// How one field stands: at its own stop, pushed to the gap past the field
// before, or at the stop rule's fixed step past the last stop.
enum class Place { Stop, Pushed, Step };
Q_DECLARE_METATYPE(Place)

class TestListColumns : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fields_data();
    void fields();
    void neverPastTheMeasuredWidth_data();
    void neverPastTheMeasuredWidth();
    void tooltipShowsShortenedField();
    void costHeadersStayWhole();
};

void TestListColumns::fields_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QList<int>>("stops");
    QTest::addColumn<QList<Place>>("places");
    QTest::addColumn<QList<bool>>("shortened");

    const TabLayout layout(testFont(), { 40, 140 });
    const int col = layout.stopsPx()[0]; // width of the first column
    const int avg = TabLayout::averageCharWidth(testFont());
    const QList<int> stops { 40, 140 };
    using P = Place;

    QTest::newRow("fields that fit stand at their stops")
        << QStringList { u"a"_s, u"b"_s, u"c"_s } << stops << QList<P> { P::Stop, P::Stop, P::Stop }
        << QList<bool> { false, false, false };
    QTest::newRow("figure a little too wide pushes the next")
        << QStringList { wider(u'1', col), u"Laden"_s, u"x"_s } << stops
        << QList<P> { P::Stop, P::Pushed, P::Stop } << QList<bool> { false, false, false };
    QTest::newRow("word a little too wide pushes the next")
        << QStringList { wider(u'n', col), u"Laden"_s, u"x"_s } << stops
        << QList<P> { P::Stop, P::Pushed, P::Stop } << QList<bool> { false, false, false };
    QTest::newRow("long figure is never shortened")
        << QStringList { wider(u'1', 3 * col), u"Laden"_s } << stops
        << QList<P> { P::Stop, P::Pushed } << QList<bool> { false, false };
    QTest::newRow("long name is shortened to its column")
        << QStringList { wider(u'n', col + 3 * avg), u"Laden"_s, u"x"_s } << stops
        << QList<P> { P::Stop, P::Stop, P::Stop } << QList<bool> { true, false, false };
    QTest::newRow("pushed name shortened, next keeps its stop")
        << QStringList { wider(u'1', col), wider(u'n', 3 * col), u"x"_s } << stops
        << QList<P> { P::Stop, P::Pushed, P::Stop } << QList<bool> { false, true, false };
    QTest::newRow("last field is never shortened")
        << QStringList { u"a"_s, wider(u'n', 5 * col) } << stops << QList<P> { P::Stop, P::Stop }
        << QList<bool> { false, false };
    QTest::newRow("past the last stop") << QStringList { u"a"_s, u"b"_s, u"c"_s, u"d"_s } << stops
                                        << QList<P> { P::Stop, P::Stop, P::Stop, P::Step }
                                        << QList<bool> { false, false, false, false };
}

void TestListColumns::fields()
{
    QFETCH(QStringList, fields);
    QFETCH(QList<int>, stops);
    QFETCH(QList<Place>, places);
    QFETCH(QList<bool>, shortened);
    const TabLayout layout(testFont(), stops);
    const QFontMetricsF fm(testFont());
    const QString row = fields.join(u'\t');
    const QList<TabLayout::DrawnField> drawn = layout.drawnFields(row, 1e6);
    QCOMPARE(drawn.size(), fields.size());
    qreal right = 0;
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        const TabLayout::DrawnField& f = drawn[i];
        const qreal own = i == 0 ? 0 : i - 1 < stops.size() ? layout.stopsPx()[i - 1] : -1;
        switch (places[i]) {
        case Place::Stop:
            QCOMPARE(f.x, own);
            break;
        case Place::Pushed:
            QVERIFY(f.x > own);
            QCOMPARE(f.x, right + layout.gapPx());
            break;
        case Place::Step:
            QCOMPARE(std::fmod(f.x, layout.defaultTabPx()), 0.0);
            QVERIFY(f.x > right);
            break;
        }
        QCOMPARE(f.shortened, shortened[i]);
        if (f.shortened) {
            QVERIFY(f.text.endsWith(u'…'));
            QVERIFY(fields[i].startsWith(f.text.chopped(1)));
            // Cut to its column: the next field keeps its stop.
            QVERIFY(f.x + fm.horizontalAdvance(f.text) <= layout.stopsPx()[i] - layout.gapPx());
        } else {
            QCOMPARE(f.text, fields[i]);
        }
        right = f.x + fm.horizontalAdvance(f.text);
    }
}

void TestListColumns::neverPastTheMeasuredWidth_data()
{
    QTest::addColumn<QString>("row");
    const TabLayout layout(testFont(), { 40, 140 });
    const int col = layout.stopsPx()[0];
    // A figure ending just short of the next stop: the gap would carry the
    // next field past the stop the list box puts it at.
    QString nearFit(u"1"_s);
    const QFontMetricsF fm(testFont());
    while (fm.horizontalAdvance(nearFit + u'1') < col)
        nearFit += u'1';
    QTest::newRow("near fit") << nearFit + u"\tLaden\t1"_s;
    QTest::newRow("overflow") << wider(u'1', col) + u"\tLaden\t"_s + wider(u'1', 200);
    QTest::newRow("past the stops") << u"a\t"_s + wider(u'1', 2 * col) + u"\tb\tc"_s;
}

void TestListColumns::neverPastTheMeasuredWidth()
{
    // The lists' scroll range is the stop rule's width of the widest row;
    // with that little room nothing may be drawn beyond it.
    QFETCH(QString, row);
    const TabLayout layout(testFont(), { 40, 140 });
    const QFontMetricsF fm(testFont());
    const qreal measured = layout.textWidth(row);
    const QList<TabLayout::DrawnField> drawn = layout.drawnFields(row, measured);
    const TabLayout::DrawnField& last = drawn.last();
    QVERIFY2(last.x + fm.horizontalAdvance(last.text) <= measured + 1e-9,
        qPrintable(u"%1 > %2"_s.arg(last.x + fm.horizontalAdvance(last.text)).arg(measured)));
    for (qsizetype i = 1; i < drawn.size(); ++i)
        QVERIFY(drawn[i].x > drawn[i - 1].x);
}

void TestListColumns::tooltipShowsShortenedField()
{
    TabListView list;
    list.setFont(testFont());
    list.resize(600, 200);
    list.setTabStops({ 40, 140 });
    const QString name = u"Angelcenter Rhein-Main Großhandel GmbH"_s;
    list.setItems({ name + u"\t2\tHaken"_s });
    list.setHorizontalExtent(1000);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));

    const QRect rowRect = list.visualRect(list.lines()->index(0));
    const TabLayout layout(testFont(), { 40, 140 });
    auto hover = [&](int x) {
        const QPoint pos(rowRect.left() + ListTabDelegate::TextMargin + x, rowRect.center().y());
        QHelpEvent help(QEvent::ToolTip, pos, list.viewport()->mapToGlobal(pos));
        QApplication::sendEvent(list.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(hover(layout.stopsPx()[1] + 5), QString()); // "Haken" shows whole
    QCOMPARE(hover(10), name);
}

void TestListColumns::costHeadersStayWhole()
{
    // The captions are wider than some columns in this font; each must
    // still show whole, apart from the next one, over its own column.
    QApplication::setFont(testFont());
    TestEnv t;
    auto app = std::make_unique<App>(t.env, [] {});
    auto* w = new frmAddKosten(*app);
    app->kosten = w;
    const QStringList captions = { u"Kaufdatum:"_s, u"Geschäft:"_s, u"Menge:"_s,
        u"Artikelbezeichnung:"_s, u"Einzelpreis:"_s, u"Preis:"_s, u"Versand"_s, u"Gesamt:"_s };
    QCOMPARE(w->lblKopf.size(), captions.size());
    const TabLayout layout(w->lstKosten->font(), w->lstKosten->tabStops());
    const int textLeft
        = w->lstKosten->x() + w->lstKosten->frameWidth() + ListTabDelegate::TextMargin;
    for (int i = 0; i < captions.size(); ++i) {
        const QLabel* h = w->lblKopf[i];
        QCOMPARE(h->text(), captions[i]);
        QVERIFY2(
            h->width() >= h->fontMetrics().horizontalAdvance(captions[i]), qPrintable(captions[i]));
        const int ownStop = textLeft + (i == 0 ? 0 : layout.stopsPx()[i - 1]);
        // At or left of its column, unless the header before takes that room.
        const int after = i == 0 ? 0 : w->lblKopf[i - 1]->geometry().right() + 1;
        QVERIFY2(h->x() <= qMax(ownStop, after + qRound(layout.gapPx())), qPrintable(captions[i]));
        if (i + 1 < captions.size()) {
            const QLabel* next = w->lblKopf[i + 1];
            QVERIFY2(h->geometry().right() < next->x(), qPrintable(captions[i]));
            QVERIFY2(
                h->geometry().right() < textLeft + layout.stopsPx()[i], qPrintable(captions[i]));
        }
    }
}

QTEST_MAIN(TestListColumns)
#include "tst_ListColumns.moc"
