#include "platform/ErrorLog.h"
#include "platform/RuntimeError.h"
#include "store/CatchList.h"
#include "store/Numbers.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Now: 17.05.2004, 12:00.
const QDateTime kNow(QDate(2004, 5, 17), QTime(12, 0));

// The entry the catch window holds for sampleCatch(), date in display form.
CatchEntry sampleEntry()
{
    return { u"16.05.2004"_s, u"Max"_s, u"06:30"_s, u"06:45"_s, u"10:00"_s, u"Karpfen"_s, u"12,4"_s,
        u"84"_s, u"Baggersee"_s, u"Steg 3"_s, u"Festblei"_s, u"Boilie"_s, u"sonnig"_s, u"18"_s,
        u"+ 14"_s, u"2,5"_s, QString(), u"Vollmond"_s };
}

using EntryChange = std::function<void(CatchEntry&)>;

} // namespace

Q_DECLARE_METATYPE(EntryChange)

class TestCatchList : public QObject {
    Q_OBJECT

private slots:
    void check_data()
    {
        QTest::addColumn<EntryChange>("change");
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char* name, EntryChange c, const QString& r) {
            QTest::newRow(name) << c << r;
        };
        const QString badDate = u"Bitte geben Sie ein Datum im Format TT.MM.JJJJ ein!"_s;
        const QString times = u"Fehler: Bitte prüfen Sie Angelbeginn, Fangzeit und Angelende!"_s;
        const QString noWeight = u"Fehler: Es wurde kein Gewicht eingegeben!"_s;
        row(
            "complete", [](CatchEntry&) {}, QString());
        row(
            "date 1.5.2004", [](CatchEntry& e) { e.date = u"1.5.2004"_s; }, badDate);
        row(
            "date 31.02.2004", [](CatchEntry& e) { e.date = u"31.02.2004"_s; }, badDate);
        row(
            "tomorrow", [](CatchEntry& e) { e.date = u"18.05.2004"_s; },
            u"Fehler: Das eingegebene Datum liegt in der Zukunft!"_s);
        row(
            "catch before start", [](CatchEntry& e) { e.catchTime = u"06:00"_s; }, times);
        row(
            "time 24:00", [](CatchEntry& e) { e.end = u"24:00"_s; }, times);
        // Today every time must lie before the current minute.
        row(
            "today, end at noon",
            [](CatchEntry& e) {
                e.date = u"17.05.2004"_s;
                e.end = u"12:00"_s;
            },
            times);
        row(
            "today, end before noon",
            [](CatchEntry& e) {
                e.date = u"17.05.2004"_s;
                e.end = u"11:59"_s;
            },
            QString());
        row(
            "no angler", [](CatchEntry& e) { e.angler.clear(); },
            u"Fehler: Es wurde kein Fänger eingegeben!"_s);
        row(
            "no weight", [](CatchEntry& e) { e.weight.clear(); }, noWeight);
        row(
            "weight 0,00", [](CatchEntry& e) { e.weight = u"0,00"_s; }, noWeight);
        row(
            "weight text", [](CatchEntry& e) { e.weight = u"schwer"_s; },
            u"Fehler: Das eingegebene Gewicht ist keine gültige Zahl!"_s);
        row(
            "stored date form", [](CatchEntry& e) { e.date = u"2004/05/17"_s; }, badDate);
        row(
            "photo missing", [](CatchEntry& e) { e.photo = u"/nowhere/x.jpg"_s; },
            u"Fehler: Das gewählte Bild wurde nicht gefunden!"_s);
    }

    void check()
    {
        QFETCH(EntryChange, change);
        CatchEntry e = sampleEntry();
        change(e);
        QTEST(CheckCatchEntry(e, kNow), "refusal");
    }

    void photoType()
    {
        TestEnv t;
        t.write(u"bild.png"_s, "x");
        t.write(u"bild.JPG"_s, "x");
        CatchEntry e = sampleEntry();
        e.photo = t.path(u"bild.png"_s);
        QCOMPARE(CheckCatchEntry(e, kNow),
            u"Fehler: Das gewählte Bild ist keine Bilddatei (jpg, jpeg, gif, bmp)!"_s);
        e.photo = t.path(u"bild.JPG"_s);
        QCOMPARE(CheckCatchEntry(e, kNow), QString());
    }

    void fields_data()
    {
        QTest::addColumn<EntryChange>("change");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("stored");
        const auto row = [](const char* name, EntryChange c, int f, const QString& s) {
            QTest::newRow(name) << c << f << s;
        };
        row(
            "date turned around", [](CatchEntry&) {}, 1, u"2004/05/16"_s);
        row(
            "weight two decimals", [](CatchEntry&) {}, 7, u"12,40"_s);
        row(
            "weight rounded half up", [](CatchEntry& e) { e.weight = u"4,875"_s; }, 7, u"4,88"_s);
        row(
            "weight rounded", [](CatchEntry& e) { e.weight = u"2,456"_s; }, 7, u"2,46"_s);
        row(
            "weight 0", [](CatchEntry& e) { e.weight = u"0"_s; }, 7, u"0,00"_s);
        row(
            "empty species is a blank", [](CatchEntry& e) { e.species.clear(); }, 6, u" "_s);
        row(
            "photo marks the species", [](CatchEntry& e) { e.photo = u"x.jpg"_s; }, 6,
            u"Karpfen*"_s);
        row(
            "positive temperature signed", [](CatchEntry&) {}, 14, u"+ 18"_s);
        row(
            "signed temperature kept", [](CatchEntry&) {}, 15, u"+ 14"_s);
        row(
            "negative temperature", [](CatchEntry& e) { e.airTemp = u"-3"_s; }, 14, u"-3"_s);
        row(
            "zero temperature", [](CatchEntry& e) { e.airTemp = u"0"_s; }, 14, u"0"_s);
        // Above zero as a whole number, halves to the even neighbour.
        row(
            "0,5 is not above zero", [](CatchEntry& e) { e.airTemp = u"0,5"_s; }, 14, u"0,5"_s);
        row(
            "1,5 is above zero", [](CatchEntry& e) { e.airTemp = u"1,5"_s; }, 14, u"+ 1,5"_s);
        row(
            "empty temperature", [](CatchEntry& e) { e.waterTemp.clear(); }, 15, u"0"_s);
        row(
            "empty length", [](CatchEntry& e) { e.length.clear(); }, 8, u"0"_s);
        row(
            "empty depth", [](CatchEntry& e) { e.depth.clear(); }, 16, u"0"_s);
        row(
            "moon phase last", [](CatchEntry&) {}, 17, u"Vollmond"_s);
    }

    void fields()
    {
        QFETCH(EntryChange, change);
        QFETCH(int, field);
        TestEnv t;
        ErrorTrap trap(t.env, u"Test"_s);
        CatchEntry e = sampleEntry();
        change(e);
        const QStringList f = CatchFields(t.env, e, trap);
        QCOMPARE(f.size(), 17);
        QTEST(f.at(field - 1), "stored");
        QCOMPARE(t.logEntries(), QStringList());
    }

    void listLineAndBack_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("listLine");
        const QString rest = sampleCatch().mid(1).join(u'\t');
        const QString plain = rest;
        QString noPhoto = rest;
        noPhoto.replace(u"Karpfen*"_s, u"Karpfen"_s);
        QTest::newRow("photo") << u"2004/05/17\t"_s + plain << u"X\t17.05.2004\t"_s + plain;
        QTest::newRow("no photo") << u"2004/05/17\t"_s + noPhoto << u" \t17.05.2004\t"_s + noPhoto;
        // A star in any field counts as the photo mark.
        QString starInWater = noPhoto;
        starInWater.replace(u"Baggersee"_s, u"See*"_s);
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

    void photoLookup()
    {
        TestEnv t;
        QCOMPARE(PhotoBaseName(u"17.05.2004"_s, u"06:45"_s), u"17.05.2004_06-45-00"_s);
        QCOMPARE(FindPhoto(t.env, u"17.05.2004"_s, u"06:45"_s), QString());
        t.write(u"db\\bilder\\17.05.2004_06-45-00.gif"_s, "g");
        t.write(u"db\\bilder\\17.05.2004_06-45-00.jpg"_s, "j");
        // Every extension is tried; the last one found wins.
        QCOMPARE(QFileInfo(FindPhoto(t.env, u"17.05.2004"_s, u"06:45"_s)).fileName(),
            u"17.05.2004_06-45-00.gif"_s);
    }

    void removePhotos_data()
    {
        QTest::addColumn<QStringList>("species"); // of the catches of 17.05.2004 06:45
        QTest::addColumn<QStringList>("filesLeft");
        QTest::addColumn<int>("error");
        QTest::newRow("own photo, every extension")
            << QStringList { u"Karpfen*"_s } << QStringList { u"DUMMY.txt"_s } << 0;
        QTest::newRow("shared with another catch")
            << QStringList { u"Karpfen*"_s, u"Hecht*"_s }
            << QStringList { u"17.05.2004_06-45-00.JPG"_s, u"17.05.2004_06-45-00.gif"_s,
                   u"DUMMY.txt"_s }
            << 0;
        QTest::newRow("other catch without photo")
            << QStringList { u"Karpfen*"_s, u"Hecht"_s } << QStringList { u"DUMMY.txt"_s } << 0;
        QTest::newRow("no photo mark") << QStringList { u"Karpfen"_s }
                                       << QStringList { u"17.05.2004_06-45-00.JPG"_s,
                                              u"17.05.2004_06-45-00.gif"_s, u"DUMMY.txt"_s }
                                       << 0;
    }

    void removePhotos()
    {
        QFETCH(QStringList, species);
        TestEnv t;
        for (const QString& f :
            { u"17.05.2004_06-45-00.JPG"_s, u"17.05.2004_06-45-00.gif"_s, u"DUMMY.txt"_s })
            t.write(u"db\\bilder\\"_s + f, "x");
        QStringList lines = overviewList({});
        for (const QString& s : species)
            lines.append(overviewRow(sampleCatch({ { 1, u"17.05.2004"_s }, { 6, s } })));
        QTEST(errorNumberOf([&] { RemovePhotos(t.env, lines, 2); }), "error");
        QDir dir(t.path(u"db\\bilder"_s));
        QTEST(dir.entryList(QDir::Files, QDir::Name), "filesLeft");
    }

    void removePhotosWithoutFile()
    {
        TestEnv t;
        QDir().mkpath(t.path(u"db\\bilder"_s));
        const QStringList lines
            = overviewList({ overviewRow(sampleCatch({ { 1, u"17.05.2004"_s } })) });
        QCOMPARE(errorNumberOf([&] { RemovePhotos(t.env, lines, 2); }), Err::FileNotFound);
    }
};

QTEST_GUILESS_MAIN(TestCatchList)
#include "tst_catchList.moc"
