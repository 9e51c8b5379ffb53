// The catch overview: loading, the filter modes, photo lookup, deleting and
// editing through the list, the pending-edit write-back and the size rules.
#include "platform/Cp1252.h"
#include "support/TestEnv.h"
#include "ui/App.h"
#include "ui/TabListView.h"
#include "ui/TextFilters.h"
#include "ui/frmAddFish.h"
#include "ui/frmFangÜbersicht.h"
#include "ui/frmHaupt.h"
#include "ui/frmPic.h"

#include <QAction>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kCatchFile = u"db\\fänge\\db"_s;

// One stored catch (the text between the quotes of a file line).
QString rec(const QString& date, const QString& angler, const QString& time, const QString& species,
    const QString& weight = u"2,50"_s, const QString& length = u"40"_s)
{
    return QStringList { date, angler, u"06:00"_s, time, u"12:00"_s, species, weight, length,
        u"See"_s, u"Steg"_s, u"Pose"_s, u"Wurm"_s, u"sonnig"_s, u"+ 18"_s, u"+ 14"_s, u"2,5"_s,
        u"Vollmond"_s }
        .join(u'\t');
}

QByteArray fileOf(const QStringList& items)
{
    QByteArray out;
    for (const QString& item : items)
        out += encode1252(u'"' + item + u'"') + "\r\n";
    return out;
}

QString listLineOf(const QString& stored, QChar mark)
{
    return mark + u'\t' + stored.mid(8, 2) + u'.' + stored.mid(5, 2) + u'.' + stored.left(4) + u'\t'
        + stored.mid(11);
}

} // namespace

class TestFangUebersicht : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> t;
    std::unique_ptr<App> app;
    frmFangÜbersicht* w = nullptr;

    // Writes the catch file and opens the overview as the program does.
    void open(const QStringList& items)
    {
        t->write(kCatchFile, fileOf(items));
        app = std::make_unique<App>(t->env, [] {});
        app->uebersicht = w = new frmFangÜbersicht(*app);
    }
    void select(int row) { w->lstFänge->setCurrentIndex(w->lstFänge->model()->index(row, 0)); }
    QStringList catches() const { return w->fängeLines().mid(2); }

private Q_SLOTS:
    void init() { t = std::make_unique<TestEnv>(); }
    void cleanup()
    {
        QVERIFY(t->dialogs.verifyDone());
        app.reset();
        w = nullptr;
        t.reset();
    }

    void loadSortsNewestFirstAndCounts();
    void emptyFileShowsOnlyHeaderLines();
    void photoColumn_data();
    void photoColumn();
    void filterModeSwitching();
    void filterExamples_data();
    void filterExamples();
    void filterNeedsTwoCatches();
    void selectFindsPhoto_data();
    void selectFindsPhoto();
    void showPicture();
    void unreadablePictureIsReported();
    void deleteRow_data();
    void deleteRow();
    void deleteKeepsLinesTheListCannotShow();
    void deleteLastCatchLeavesEmptyFile();
    void editEndToEnd();
    void pendingEditWrittenBackAtEnd_data();
    void pendingEditWrittenBackAtEnd();
    void editWhilePendingKeepsBoth();
    void resizeRules_data();
    void resizeRules();
    void mainWindowEntryPoints();
};

void TestFangUebersicht::loadSortsNewestFirstAndCounts()
{
    const QString a = rec(u"2003/12/01"_s, u"Max"_s, u"07:00"_s, u"Hecht"_s);
    const QString b = rec(u"2004/05/17"_s, u"Anna"_s, u"06:45"_s, u"Karpfen*"_s);
    const QString c = rec(u"2004/05/17"_s, u"Max"_s, u"08:00"_s, u"Zander"_s);
    open({ a, b, c });
    const QStringList lines = w->fängeLines();
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(0),
        u"Pic\tDatum\tFänger\tBeginn\tFangzeit\tEnde\tFischart\tGewicht\tGröße\t"
        u"Gewässer\tAngelplatz\tMontage/Rig.\tKöder\tWetter\tLuft °C\tWasser °C\t"
        u"Tiefe\tMondphase"_s);
    QCOMPARE(lines.at(1), QString(230, u'=') + u"    "_s);
    // Whole lines descending: the two catches of 17.05.2004 first, the
    // greater rest of the line ("Max" > "Anna") before the other.
    QCOMPARE(lines.mid(2),
        (QStringList { listLineOf(c, u' '), listLineOf(b, u'X'), listLineOf(a, u' ') }));
    QCOMPARE(lines.at(3).left(14), u"X\t17.05.2004\tA"_s);
    QCOMPARE(w->labÜberschrift->text(), u"Übersicht über alle eingetragenen Fänge (3):"_s);
    QCOMPARE(w->windowTitle(), u"Alle eingetragenen Fänge"_s);
    QVERIFY(!w->cmdShowPic->isEnabled());
    QVERIFY(w->lstFänge->horizontalExtent() > 0);
    QCOMPARE(w->lstFänge->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TestFangUebersicht::emptyFileShowsOnlyHeaderLines()
{
    open({});
    QCOMPARE(w->fängeLines().size(), 2);
    QCOMPARE(w->labÜberschrift->text(), u"Übersicht über alle eingetragenen Fänge ():"_s);
    // Nothing to filter, edit or delete.
    w->show();
    w->chkFilter_Click();
    w->cmdFilter_Click();
    QCOMPARE(w->filterLines().size(), 2);
    w->chkFilter_Click();
    select(1);
    w->cmdDelete_Click();
    w->cmdEdit_Click();
    QVERIFY(!app->editFlag);
    QCOMPARE(t->read(kCatchFile), QByteArray());
}

void TestFangUebersicht::photoColumn_data()
{
    QTest::addColumn<QString>("species");
    QTest::addColumn<QString>("water");
    QTest::addColumn<QString>("mark");
    QTest::newRow("photo mark") << u"Karpfen*"_s << u"See"_s << u"X"_s;
    QTest::newRow("no photo") << u"Karpfen"_s << u"See"_s << u" "_s;
    QTest::newRow("star elsewhere") << u"Karpfen"_s << u"See*"_s << u"X"_s;
    QTest::newRow("species only star") << u"*"_s << u"See"_s << u"X"_s;
}

void TestFangUebersicht::photoColumn()
{
    QFETCH(QString, species);
    QFETCH(QString, water);
    QFETCH(QString, mark);
    QString item = rec(u"2004/05/17"_s, u"Max"_s, u"06:45"_s, species);
    item.replace(u"\tSee\t"_s, u'\t' + water + u'\t');
    open({ item });
    QCOMPARE(catches(), QStringList { listLineOf(item, mark.at(0)) });
}

void TestFangUebersicht::filterModeSwitching()
{
    open({ rec(u"2004/05/17"_s, u"Max"_s, u"06:45"_s, u"Hecht"_s),
        rec(u"2004/05/18"_s, u"Max"_s, u"06:45"_s, u"Karpfen"_s) });
    w->show();
    QVERIFY(!w->filterMode());
    QVERIFY(w->cmdOK->isDefault());
    QCOMPARE(w->twipsHeight(), 7200);

    w->chkFilter_Click();
    QVERIFY(w->filterMode());
    QVERIFY(w->imgFilterTrue->isVisible() && !w->imgFilterFalse->isVisible());
    QCOMPARE(w->twipsHeight(), 8100);
    QVERIFY(w->lstFilter->isVisible() && !w->lstFänge->isVisible());
    QVERIFY(!w->cmdEdit->isEnabled() && !w->cmdDelete->isEnabled());
    QVERIFY(w->cmdFilter->isDefault() && !w->cmdOK->isDefault());
    QCOMPARE(w->filterLines(), w->fängeLines());

    // Enter runs the filter in filter mode.
    w->txtFilter->setText(u"hecht"_s);
    QTest::keyClick(w, Qt::Key_Return);
    QCOMPARE(w->filterLines().size(), 3);
    QVERIFY(w->isVisible());

    // A click on the ticked picture switches back.
    QTest::mouseClick(w->imgFilterTrue, Qt::LeftButton);
    QVERIFY(!w->filterMode());
    QCOMPARE(w->twipsHeight(), 7200);
    QVERIFY(w->lstFänge->isVisible() && !w->lstFilter->isVisible());
    QVERIFY(w->cmdEdit->isEnabled() && w->cmdDelete->isEnabled());
    QVERIFY(w->cmdOK->isDefault() && !w->cmdFilter->isDefault());
    QVERIFY(w->txtFilter->text().isEmpty());
    QVERIFY(w->filterLines().isEmpty());

    // Enter now closes; the window is hidden, not destroyed.
    QTest::keyClick(w, Qt::Key_Return);
    QVERIFY(!w->isVisible());

    // Closing in filter mode leaves filter mode.
    w->OpenInFilterMode();
    QVERIFY(w->isVisible() && w->filterMode());
    w->close();
    QVERIFY(!w->isVisible());
    QVERIFY(!w->filterMode());
    QCOMPARE(w->twipsHeight(), 7200);
    QVERIFY(w->cmdEdit->isEnabled());
}

void TestFangUebersicht::filterExamples_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<QStringList>("anglers"); // of the lines listed, in list order
    QTest::newRow("text, case ignored")
        << u"hecht"_s << u"hecht"_s << QStringList { u"Cleo"_s, u"Anna"_s };
    QTest::newRow("photo") << u"*"_s << u"*"_s << QStringList { u"Bert"_s };
    QTest::newRow("weight") << u"kg>5"_s << u"kg>5"_s << QStringList { u"Cleo"_s, u"Bert"_s };
    QTest::newRow("plus removed") << u"+hecht"_s << u"hecht"_s
                                  << QStringList { u"Cleo"_s, u"Anna"_s };
    QTest::newRow("empty keeps all")
        << u""_s << u""_s << QStringList { u"Cleo"_s, u"Bert"_s, u"Anna"_s };
    QTest::newRow("nothing") << u"barsch"_s << u"barsch"_s << QStringList {};
}

void TestFangUebersicht::filterExamples()
{
    QFETCH(QString, expression);
    QFETCH(QString, boxAfter);
    QFETCH(QStringList, anglers);
    open({ rec(u"2004/05/01"_s, u"Anna"_s, u"06:45"_s, u"Hecht"_s, u"2,00"_s),
        rec(u"2004/05/02"_s, u"Bert"_s, u"06:45"_s, u"Karpfen*"_s, u"7,50"_s),
        rec(u"2004/05/03"_s, u"Cleo"_s, u"06:45"_s, u"HECHT"_s, u"5,01"_s) });
    w->show();
    w->chkFilter_Click();
    w->txtFilter->setText(expression);
    QTest::mouseClick(w->cmdFilter, Qt::LeftButton);
    QCOMPARE(w->txtFilter->text(), boxAfter);
    const QStringList lines = w->filterLines();
    QCOMPARE(lines.mid(0, 2), w->fängeLines().mid(0, 2));
    QStringList got;
    for (const QString& line : lines.mid(2))
        got.append(line.section(u'\t', 2, 2));
    QCOMPARE(got, anglers);
    QCOMPARE(w->labÜberschrift->text(),
        u"Übersicht über alle eingetragenen Fänge {gefiltert} ("_s + QString::number(anglers.size())
            + u"):"_s);
}

void TestFangUebersicht::filterNeedsTwoCatches()
{
    open({ rec(u"2004/05/01"_s, u"Anna"_s, u"06:45"_s, u"Hecht"_s) });
    w->show();
    w->chkFilter_Click();
    const QStringList before = w->filterLines();
    w->txtFilter->setText(u"+barsch"_s);
    w->cmdFilter_Click();
    // Fewer than four lines: nothing happens, not even to the box.
    QCOMPARE(w->txtFilter->text(), u"+barsch"_s);
    QCOMPARE(w->filterLines(), before);
    QCOMPARE(w->labÜberschrift->text(), u"Übersicht über alle eingetragenen Fänge (1):"_s);
}

void TestFangUebersicht::selectFindsPhoto_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected"); // file name, empty = none
    QTest::newRow("jpg") << QStringList { u"17.05.2004_06-45-00.jpg"_s }
                         << u"17.05.2004_06-45-00.jpg"_s;
    QTest::newRow("bmp wins over jpg") << QStringList { u"17.05.2004_06-45-00.jpg"_s,
        u"17.05.2004_06-45-00.bmp"_s } << u"17.05.2004_06-45-00.bmp"_s;
    QTest::newRow("gif wins over jpeg") << QStringList { u"17.05.2004_06-45-00.jpeg"_s,
        u"17.05.2004_06-45-00.gif"_s } << u"17.05.2004_06-45-00.gif"_s;
    QTest::newRow("letter case ignored")
        << QStringList { u"17.05.2004_06-45-00.JPG"_s } << u"17.05.2004_06-45-00.JPG"_s;
    QTest::newRow("other minute") << QStringList { u"17.05.2004_06-46-00.jpg"_s } << QString();
    QTest::newRow("other extension") << QStringList { u"17.05.2004_06-45-00.png"_s } << QString();
}

void TestFangUebersicht::selectFindsPhoto()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    for (const QString& f : files)
        t->write(u"db\\bilder\\"_s + f, "x");
    open({ rec(u"2004/05/17"_s, u"Max"_s, u"06:45"_s, u"Karpfen*"_s),
        rec(u"2004/05/16"_s, u"Max"_s, u"06:45"_s, u"Hecht"_s) });
    select(2);
    QCOMPARE(QFileInfo(w->photoPath).fileName(), expected);
    QCOMPARE(w->cmdShowPic->isEnabled(), !expected.isEmpty());
    // Another line without a photo disables the button again.
    select(3);
    QVERIFY(!w->cmdShowPic->isEnabled());
}

void TestFangUebersicht::showPicture()
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    QDir().mkpath(t->path(u"db\\bilder"_s));
    QVERIFY(image.save(t->path(u"db\\bilder"_s) + u"/17.05.2004_06-45-00.bmp"_s));
    open({ rec(u"2004/05/17"_s, u"Max"_s, u"06:45"_s, u"Karpfen*"_s) });
    select(2);
    QVERIFY(w->cmdShowPic->isEnabled());
    w->cmdShowPic->click();
    QVERIFY(w->pic);
    QCOMPARE(w->pic->windowTitle(), u"Bild zu einem Fang anzeigen"_s);
    QCOMPARE(w->pic->cmdClose->text(), u"Schließen"_s);
    QVERIFY(w->pic->isVisible());
    // Scaled into the window with the aspect ratio kept: twice as wide as high.
    const QPixmap shown = w->pic->Picture1->pixmap();
    QVERIFY(!shown.isNull());
    QVERIFY(shown.width() > 40);
    QVERIFY(qAbs(shown.width() - 2 * shown.height()) <= 2);
    QVERIFY(
        shown.width() <= w->pic->Picture1->width() && shown.height() <= w->pic->Picture1->height());
    w->pic->cmdClose->click();
    QTRY_VERIFY(!w->pic);
}

void TestFangUebersicht::unreadablePictureIsReported()
{
    t->write(u"db\\bilder\\17.05.2004_06-45-00.jpg"_s, "no picture");
    open({ rec(u"2004/05/17"_s, u"Max"_s, u"06:45"_s, u"Karpfen*"_s) });
    select(2);
    t->dialogs.expectMessage();
    w->cmdShowPic->click();
    QVERIFY(!w->pic);
    QCOMPARE(t->dialogs.shown().size(), 1);
    QVERIFY(
        t->dialogs.shown().first().text.startsWith(u"Das Bild konnte nicht angezeigt werden:"_s));
    QCOMPARE(t->dialogs.shown().first().icon, MsgIcon::Warning);
}

void TestFangUebersicht::deleteRow_data()
{
    QTest::addColumn<QString>("species");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("photosBefore");
    QTest::addColumn<QStringList>("photosAfter");
    QTest::addColumn<QStringList>("log");
    const QStringList both = { u"DUMMY.txt"_s, u"17.05.2004_06-45-00.JPG"_s,
        u"17.05.2004_06-45-00.bmp"_s, u"17.05.2004_06-46-00.jpg"_s };
    QTest::newRow("yes, photos of every extension go")
        << u"Karpfen*"_s << true << both
        << QStringList { u"17.05.2004_06-46-00.jpg"_s, u"DUMMY.txt"_s } << QStringList {};
    QTest::newRow("no keeps all") << u"Karpfen*"_s << false << both << both << QStringList {};
    QTest::newRow("no photo mark keeps files")
        << u"Karpfen"_s << true << both << both << QStringList {};
    QTest::newRow("photo missing is logged")
        << u"Karpfen*"_s << true << QStringList { u"DUMMY.txt"_s } << QStringList { u"DUMMY.txt"_s }
        << QStringList { u"Sub frmFangÜbersicht.cmdDelete_Click\tError (53)"_s };
}

void TestFangUebersicht::deleteRow()
{
    QFETCH(QString, species);
    QFETCH(bool, yes);
    QFETCH(QStringList, photosBefore);
    QFETCH(QStringList, photosAfter);
    QFETCH(QStringList, log);
    for (const QString& f : photosBefore)
        t->write(u"db\\bilder\\"_s + f, "x");
    const QString keep1 = rec(u"2004/05/18"_s, u"Anna"_s, u"06:45"_s, u"Hecht"_s);
    const QString gone = rec(u"2004/05/17"_s, u"Max"_s, u"06:45"_s, species);
    const QString keep2 = rec(u"2004/05/16"_s, u"Max"_s, u"06:45"_s, u"Zander"_s);
    open({ keep2, gone, keep1 });
    select(3);
    t->dialogs.answer(yes ? MsgResult::Yes : MsgResult::No);
    w->cmdDelete->click();

    const auto& q = t->dialogs.shown().first();
    QCOMPARE(q.text, u"Wollen Sie den Eintrag wirklich löschen?"_s);
    QCOMPARE(q.icon, MsgIcon::Question);
    QCOMPARE(q.buttons, MsgButtons::YesNo);
    QCOMPARE(q.title, u"Uferwacht Digitales Kescherheft"_s);
    if (yes) {
        // Rewritten in list order, the deleted line left out.
        QCOMPARE(t->read(kCatchFile), fileOf({ keep1, keep2 }));
        QCOMPARE(w->labÜberschrift->text(), u"Übersicht über alle eingetragenen Fänge (2):"_s);
    } else {
        QCOMPARE(t->read(kCatchFile), fileOf({ keep2, gone, keep1 }));
    }
    QStringList left = QDir(t->path(u"db\\bilder"_s)).entryList(QDir::Files, QDir::Name);
    photosAfter.sort();
    left.sort();
    QCOMPARE(left, photosAfter);
    QCOMPARE(t->logEntries(), log);
    if (yes)
        QVERIFY(!w->cmdShowPic->isEnabled());
}

void TestFangUebersicht::deleteKeepsLinesTheListCannotShow()
{
    // A date without its leading zero, a line too short to parse, an empty
    // item and a line that is not quoted: none has a list form that turns
    // back into the same stored text.
    const QString shortDate = rec(u"2004/5/17"_s, u"Max"_s, u"06:45"_s, u"Hecht"_s);
    const QString fewTabs = u"2004/05/10\tMax\t06:00"_s;
    const QString gone = rec(u"2004/05/12"_s, u"Anna"_s, u"06:45"_s, u"Karpfen"_s);
    const QString normal = rec(u"2004/05/11"_s, u"Bert"_s, u"06:45"_s, u"Aal"_s);
    QByteArray bytes = fileOf({ shortDate, fewTabs, gone, u""_s, normal });
    bytes += encode1252(u"2004/05/13\tohne Anführungszeichen\r\n"_s);
    t->write(kCatchFile, bytes);
    app = std::make_unique<App>(t->env, [] {});
    app->uebersicht = w = new frmFangÜbersicht(*app);

    const int row = w->fängeLines().indexOf(listLineOf(gone, u' '));
    QVERIFY(row >= 2);
    select(row);
    t->dialogs.answer(MsgResult::Yes);
    w->cmdDelete_Click();
    // Every other item is back unchanged, in descending order, the empty
    // item last.
    QCOMPARE(t->read(kCatchFile),
        fileOf({ shortDate, u"2004/05/13\tohne Anführungszeichen"_s, normal, fewTabs, u""_s }));
}

void TestFangUebersicht::deleteLastCatchLeavesEmptyFile()
{
    open({ rec(u"2004/05/17"_s, u"Max"_s, u"06:45"_s, u"Hecht"_s) });
    select(2);
    t->dialogs.answer(MsgResult::Yes);
    w->cmdDelete_Click();
    QCOMPARE(t->read(kCatchFile), QByteArray());
    QCOMPARE(w->fängeLines().size(), 2);
    QCOMPARE(w->labÜberschrift->text(), u"Übersicht über alle eingetragenen Fänge (0):"_s);
}

void TestFangUebersicht::editEndToEnd()
{
    t->write(u"db\\bilder\\17.05.2004_06-45-00.jpg"_s, "photo");
    const QString other = rec(u"2004/05/18"_s, u"Anna"_s, u"06:45"_s, u"Hecht"_s);
    const QString edited = rec(u"2004/05/17"_s, u"Max"_s, u"06:45"_s, u"Karpfen*"_s);
    open({ other, edited });
    select(3);
    w->cmdEdit->click();

    QVERIFY(app->editFlag);
    QCOMPARE(app->editRecord, listLineOf(edited, u'X').mid(2));
    QVERIFY(app->addFish);
    QCOMPARE(app->addFish->txtFischArt->text(), u"Karpfen"_s);
    // The old line left the file at once; the photo stays for the save.
    QCOMPARE(t->read(kCatchFile), fileOf({ other }));
    QCOMPARE(w->fängeLines().size(), 3);
    QVERIFY(QFileInfo::exists(t->path(u"db\\bilder\\17.05.2004_06-45-00.jpg"_s)));

    app->addFish->txtFang->setText(u"07:10"_s);
    t->dialogs.expectMessage(); // "Eintrag gespeichert!"
    app->addFish->cmdSave->click();
    QVERIFY(!app->editFlag);

    const QStringList items = decode1252(t->read(kCatchFile)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(0), u'"' + other + u'"');
    const QStringList saved = items.at(1).mid(1).chopped(1).split(u'\t');
    QCOMPARE(saved.size(), 17);
    QCOMPARE(saved.at(0), u"2004/05/17"_s);
    QCOMPARE(saved.at(3), u"07:10"_s);
    QCOMPARE(saved.at(5), u"Karpfen*"_s);
    QVERIFY(QFileInfo::exists(t->path(u"db\\bilder\\17.05.2004_07-10-00.jpg"_s)));
    QVERIFY(!QFileInfo::exists(t->path(u"db\\bilder\\17.05.2004_06-45-00.jpg"_s)));
    // The overview was refreshed by the save.
    QCOMPARE(w->fängeLines().size(), 4);
}

void TestFangUebersicht::pendingEditWrittenBackAtEnd_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("ordinary") << rec(u"2004/05/17"_s, u"Max"_s, u"06:45"_s, u"Hecht"_s);
    // Its list form does not convert back: the exact stored text returns.
    QTest::newRow("short date") << rec(u"2004/5/17"_s, u"Max"_s, u"06:45"_s, u"Hecht"_s);
}

void TestFangUebersicht::pendingEditWrittenBackAtEnd()
{
    QFETCH(QString, item);
    const QString other = rec(u"2004/05/18"_s, u"Anna"_s, u"06:45"_s, u"Hecht"_s);
    open({ other, item });
    select(w->fängeLines().indexOf(listLineOf(item, u' ')));
    w->cmdEdit_Click();
    QCOMPARE(t->read(kCatchFile), fileOf({ other }));
    // The entry window is closed by its close box: neither saved nor cancelled.
    app->addFish->close();
    QVERIFY(app->editFlag);
    app->EndProgram();
    QCOMPARE(t->read(kCatchFile), fileOf({ other, item }));
    QVERIFY(!app->editFlag);
}

void TestFangUebersicht::editWhilePendingKeepsBoth()
{
    const QString a = rec(u"2004/05/18"_s, u"Anna"_s, u"06:45"_s, u"Hecht"_s);
    const QString b = rec(u"2004/05/17"_s, u"Bert"_s, u"06:45"_s, u"Aal"_s);
    open({ a, b });
    select(2);
    w->cmdEdit_Click();
    QCOMPARE(app->editRecord, listLineOf(a, u' ').mid(2));
    // While the entry window is open, a second edit is refused.
    select(2);
    t->dialogs.expectMessage();
    w->cmdEdit_Click();
    QCOMPARE(t->dialogs.shown().last().icon, MsgIcon::Information);
    QCOMPARE(app->editRecord, listLineOf(a, u' ').mid(2));
    QCOMPARE(t->read(kCatchFile), fileOf({ b }));

    // Closed by its close box, the pending catch goes back before the next
    // one is taken out.
    app->addFish->close();
    QTRY_VERIFY(!app->addFish);
    select(2);
    w->cmdEdit_Click();
    QCOMPARE(app->editRecord, listLineOf(b, u' ').mid(2));
    QCOMPARE(t->read(kCatchFile), fileOf({ a }));
}

void TestFangUebersicht::resizeRules_data()
{
    QTest::addColumn<bool>("filter");
    QTest::addColumn<QSize>("wanted"); // twips
    QTest::addColumn<QSize>("expected"); // twips
    QTest::addColumn<bool>("stored");
    QTest::newRow("normal taller snaps")
        << false << QSize(13020, 9000) << QSize(13020, 7200) << true;
    QTest::newRow("narrow widened") << false << QSize(9000, 7200) << QSize(12360, 7200) << true;
    QTest::newRow("lower raised") << false << QSize(14025, 5000) << QSize(14025, 7200) << true;
    QTest::newRow("initial width not stored")
        << false << QSize(13665, 7200) << QSize(13665, 7200) << false;
    QTest::newRow("filter up to 8100") << true << QSize(13020, 7500) << QSize(13020, 7500) << true;
    QTest::newRow("filter above 8100") << true << QSize(13020, 9000) << QSize(13020, 8100) << true;
    QTest::newRow("filter lower raised")
        << true << QSize(13020, 6000) << QSize(13020, 7200) << true;
}

void TestFangUebersicht::resizeRules()
{
    QFETCH(bool, filter);
    QFETCH(QSize, wanted);
    QFETCH(QSize, expected);
    QFETCH(bool, stored);
    open({ rec(u"2004/05/17"_s, u"Max"_s, u"06:45"_s, u"Hecht"_s) });
    w->show();
    if (filter)
        w->chkFilter_Click();
    w->resize(1000, w->height()); // start from a width no row asks for
    app->settings.OverviewWidth = 1;
    app->settings.OverviewHeight = 1;
    // As a drag would: the window is resized and the rules follow.
    w->resize((wanted.width() - 120) / 15, (wanted.height() - 510) / 15);
    QCOMPARE(QSize(w->twipsWidth(), w->twipsHeight()), expected);
    if (stored) {
        QCOMPARE(app->settings.OverviewWidth, expected.width());
        QCOMPARE(app->settings.OverviewHeight, expected.height());
    } else {
        QCOMPARE(app->settings.OverviewWidth, 1);
    }
    // List width and the right-aligned close button follow the width.
    QCOMPARE(w->lstFänge->width(), (expected.width() - 350) / 15);
    QCOMPARE(w->cmdOK->x() + w->cmdOK->width(), (expected.width() - 175) / 15);
}

void TestFangUebersicht::mainWindowEntryPoints()
{
    t->dialogs.answer(MsgResult::No); // first-start question
    t->write(u"db\\db.ver"_s, "102\r\n"); // the catch file is already current
    t->write(u"db\\bilder\\17.05.2004_06-45-00.jpg"_s, "x");
    t->write(kCatchFile,
        fileOf({ rec(u"2004/05/17"_s, u"Max"_s, u"06:45"_s, u"Karpfen*"_s),
            rec(u"2004/05/16"_s, u"Max"_s, u"06:45"_s, u"Hecht"_s) }));
    app = std::make_unique<App>(t->env, [] {});
    app->Main();
    w = app->uebersicht;
    QVERIFY(w);
    QVERIFY(!w->isVisible());
    QCOMPARE(w->fängeLines().size(), 4);

    app->haupt->cmdPics->click();
    QVERIFY(w->isVisible() && w->filterMode());
    QCOMPARE(w->txtFilter->text(), u"*"_s);
    QCOMPARE(w->filterLines().size(), 3);
    QVERIFY(w->cmdFilter->isDefault());
    w->cmdOK_Click();
    QVERIFY(!w->isVisible() && !w->filterMode());

    w->txtFilter->setText(u"hecht"_s);
    app->haupt->mnuFilterFänge->trigger();
    QVERIFY(w->isVisible() && w->filterMode());
    QCOMPARE(w->filterLines().size(), 3);
    QVERIFY(!w->cmdDelete->isEnabled());
    w->cmdOK_Click();

    // A catch stored meanwhile shows when the overview is opened.
    t->write(kCatchFile,
        t->read(kCatchFile) + fileOf({ rec(u"2004/05/15"_s, u"Max"_s, u"06:45"_s, u"Aal"_s) }));
    app->haupt->mnuFangÜbersicht->trigger();
    QVERIFY(w->isVisible() && !w->filterMode());
    QCOMPARE(w->fängeLines().size(), 5);
}

QTEST_MAIN(TestFangUebersicht)
#include "tst_frmFangUebersicht.moc"
