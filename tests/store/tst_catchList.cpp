#include "platform/ErrorLog.h"
#include "store/CatchList.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Now: 17.05.2004, 12:00.
const QDateTime kNow(QDate(2004, 5, 17), QTime(12, 0));

// Changes to the entry's boxes: 1 to 16 as the record's fields, 17 the
// photo path, 18 the moon phase.
using Boxes = QList<std::pair<int, QString>>;

// The entry the catch window holds for sampleCatch() on 16.05.2004.
CatchEntry entry(const Boxes& changes = {})
{
    QStringList b = u"16.05.2004|Max|06:30|06:45|10:00|Karpfen|12,4|84|Baggersee|Steg 3|Festblei|"
                    "Boilie|sonnig|18|+ 14|2,5||Vollmond"_s.split(u'|');
    for (const auto& [number, text] : changes)
        b[number - 1] = text;
    return { b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13],
        b[14], b[15], b[16], b[17] };
}

} // namespace

class TestCatchList : public QObject {
    Q_OBJECT

private slots:
    void check_data()
    {
        QTest::addColumn<Boxes>("changes");
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char* name, const Boxes& c, const QString& r) {
            QTest::newRow(name) << c << r;
        };
        const QString badDate = u"Bitte geben Sie ein Datum im Format TT.MM.JJJJ ein!"_s;
        const QString noWeight = u"Fehler: Es wurde kein Gewicht eingegeben!"_s;
        row("complete", {}, QString());
        row("date 31.02.2004", { { 1, u"31.02.2004"_s } }, badDate);
        row("tomorrow", { { 1, u"18.05.2004"_s } },
            u"Fehler: Das eingegebene Datum liegt in der Zukunft!"_s);
        row("catch before start", { { 4, u"06:00"_s } },
            u"Fehler: Bitte prüfen Sie Angelbeginn, Fangzeit und Angelende!"_s);
        row("no angler", { { 2, QString() } }, u"Fehler: Es wurde kein Fänger eingegeben!"_s);
        row("no weight", { { 7, QString() } }, noWeight);
        row("weight 0,00", { { 7, u"0,00"_s } }, noWeight);
        row("weight 0 passes", { { 7, u"0"_s } }, QString());
        row("weight text", { { 7, u"schwer"_s } },
            u"Fehler: Das eingegebene Gewicht ist keine gültige Zahl!"_s);
        row("photo missing", { { 17, u"/nowhere/x.jpg"_s } },
            u"Fehler: Das gewählte Bild wurde nicht gefunden!"_s);
    }

    void check()
    {
        QFETCH(Boxes, changes);
        QTEST(CheckCatchEntry(entry(changes), kNow), "refusal");
    }

    void photoType()
    {
        TestEnv t;
        for (const QString& name : { u"bild.png"_s, u"bild.JPG"_s })
            t.write(name, "x");
        QCOMPARE(CheckCatchEntry(entry({ { 17, t.path(u"bild.png"_s) } }), kNow),
            u"Fehler: Das gewählte Bild ist keine Bilddatei (jpg, jpeg, gif, bmp)!"_s);
        QCOMPARE(CheckCatchEntry(entry({ { 17, t.path(u"bild.JPG"_s) } }), kNow), QString());
    }

    // The times check the entry window runs on every change of a time.
    void times_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("times"); // start, catch and end
        QTest::addColumn<bool>("valid");
        const QString today = u"17.05.2004"_s;
        const QString past = u"16.05.2004"_s;
        QTest::newRow("today before now") << today << u"06:00 07:15 11:59"_s << true;
        QTest::newRow("today end is now") << today << u"06:00 07:15 12:00"_s << false;
        QTest::newRow("past, after now") << past << u"15:00 18:00 23:59"_s << true;
        QTest::newRow("past, all equal") << past << u"06:00 06:00 06:00"_s << true;
        QTest::newRow("catch before start") << past << u"06:00 05:59 07:00"_s << false;
        QTest::newRow("end before catch") << past << u"06:00 07:00 06:59"_s << false;
        QTest::newRow("hour 24 at end") << past << u"06:00 07:00 24:00"_s << false;
        QTest::newRow("minute 60") << past << u"06:00 06:60 07:00"_s << false;
        QTest::newRow("end two characters") << past << u"06:00 06:30 07"_s << false;
        QTest::newRow("not digits") << past << u"1a:00 06:30 07:00"_s << false;
        QTest::newRow("middle not looked at") << past << u"06.00 06-30 07:00"_s << true;
    }

    void times()
    {
        QFETCH(QString, date);
        QFETCH(QString, times);
        const QStringList t = times.split(u' ');
        QTEST(CatchTimesValid(entry({ { 1, date }, { 3, t[0] }, { 4, t[1] }, { 5, t[2] } }), kNow),
            "valid");
    }

    void fields_data()
    {
        QTest::addColumn<Boxes>("changes");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("errors"); // logged "Error (13)"
        const auto row = [](const char* name, const Boxes& c, int f, const QString& s,
                             int errors = 0) { QTest::newRow(name) << c << f << s << errors; };
        row("date turned around", {}, 1, u"2004/05/16"_s);
        row("weight rounded half up", { { 7, u"4,875"_s } }, 7, u"4,88"_s);
        row("weight 0", { { 7, u"0"_s } }, 7, u"0,00"_s);
        row("empty species is a blank", { { 6, QString() } }, 6, u" "_s);
        row("photo marks the species", { { 17, u"x.jpg"_s } }, 6, u"Karpfen*"_s);
        row("photo without species", { { 6, QString() }, { 17, u"x.jpg"_s } }, 6, u"*"_s);
        row("positive temperature signed", {}, 14, u"+ 18"_s);
        // Above zero as a whole number, halves to the even neighbour.
        row("0,5 is not above zero", { { 14, u"0,5"_s } }, 14, u"0,5"_s);
        row("1,5 is above zero", { { 14, u"1,5"_s } }, 14, u"+ 1,5"_s);
        row("no number kept as typed", { { 14, u"1,,2"_s } }, 14, u"1,,2"_s, 1);
        row("empty temperature", { { 15, QString() } }, 15, u"0"_s);
        row("empty length", { { 8, QString() } }, 8, u"0"_s);
        row("moon phase last", {}, 17, u"Vollmond"_s);
    }

    void fields()
    {
        QFETCH(Boxes, changes);
        QFETCH(int, field);
        TestEnv t;
        ErrorTrap trap(t.env, u"Test"_s);
        const QStringList f = CatchFields(t.env, entry(changes), trap);
        QCOMPARE(f.size(), 17);
        QTEST(f.at(field - 1), "stored");
        QFETCH(int, errors);
        QCOMPARE(t.logEntries(), QStringList(errors, u"Test\tError (13)"_s));
    }

    void listLineAndBack_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("listLine");
        const QString plain = sampleCatch().mid(1).join(u'\t');
        QString noPhoto = plain;
        noPhoto.replace(u"Karpfen*"_s, u"Karpfen"_s);
        // A star in any field counts as the photo mark.
        QString starInWater = noPhoto;
        starInWater.replace(u"Baggersee"_s, u"See*"_s);
        QTest::newRow("photo") << u"2004/05/17\t"_s + plain << u"X\t17.05.2004\t"_s + plain;
        QTest::newRow("no photo") << u"2004/05/17\t"_s + noPhoto << u" \t17.05.2004\t"_s + noPhoto;
        QTest::newRow("star elsewhere")
            << u"2004/05/17\t"_s + starInWater << u"X\t17.05.2004\t"_s + starInWater;
    }

    void listLineAndBack()
    {
        QFETCH(QString, item);
        TestEnv t;
        QTEST(CatchListLine(t.env, item), "listLine");
        QCOMPARE(CatchStoredItem(t.env, CatchListLine(t.env, item).mid(2)), item);
    }

    // Every extension is tried, in any letter case; the last one found wins.
    void photoLookup_data()
    {
        QTest::addColumn<QStringList>("files"); // what follows the photo name's stem
        QTest::addColumn<QString>("found"); // empty: none
        QTest::newRow("gif over jpg") << QStringList { u".gif"_s, u".jpg"_s } << u".gif"_s;
        QTest::newRow("letter case ignored") << QStringList { u".JPG"_s } << u".JPG"_s;
        QTest::newRow("other minute") << QStringList { u"-x.jpg"_s } << QString();
    }

    void photoLookup()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, found);
        TestEnv t;
        QDir().mkpath(t.path(u"db\\bilder"_s));
        for (const QString& f : files)
            t.write(u"db\\bilder\\17.05.2004_06-45-00"_s + f, "x");
        QCOMPARE(PhotoBaseName(u"17.05.2004"_s, u"06:45"_s), u"17.05.2004_06-45-00"_s);
        QCOMPARE(QFileInfo(FindPhoto(t.env, u"17.05.2004"_s, u"06:45"_s)).fileName(),
            found.isEmpty() ? QString() : u"17.05.2004_06-45-00"_s + found);
    }
};

QTEST_GUILESS_MAIN(TestCatchList)
#include "tst_catchList.moc"
