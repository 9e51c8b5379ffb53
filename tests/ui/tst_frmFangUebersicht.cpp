// The catch overview: loading, the filter modes, photo lookup, deleting and
// editing through the list, the pending-edit write-back and the size rules.
#include "platform/Cp1252.h"
#include "store/RecordFile.h"
#include "ui/AppFixture.h"
#include "ui/FilterSwitch.h"
#include "ui/TabListView.h"
#include "ui/TextFilters.h"
#include "ui/frmAddFish.h"
#include "ui/frmFangUebersicht.h"
#include "ui/frmHaupt.h"
#include "ui/frmPic.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <optional>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kCatchFile = u"db\\fänge\\db"_s;
const QString kHeading = u"Übersicht über alle eingetragenen Fänge "_s;
const QString kPhoto = u"db\\bilder\\17.05.2004_06-45-00"_s;

// One stored catch (caught at 06:45) as the text between the quotes.
QString rec(const QString& date, const QString& angler, const QString& species = u"Hecht"_s,
    const QString& weight = u"2,50"_s)
{
    return sampleCatch({ { 1, date }, { 2, angler }, { 6, species }, { 7, weight } }).join(u'\t');
}

// The list line the window makes of it, taking the date apart by position.
QString listLineOf(const QString& stored, QChar mark = u' ')
{
    return overviewRow(
        { stored.mid(8, 2) + u'.' + stored.mid(5, 2) + u'.' + stored.left(4), stored.mid(11) },
        mark);
}

QStringList bilder(const TestEnv& t)
{
    return QDir(t.path(u"db\\bilder"_s)).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

} // namespace

class TestFangUebersicht : public QObject, AppFixture {
    Q_OBJECT

    frmFangÜbersicht* w = nullptr;

    void open(const QStringList& items, const QByteArray& more = {})
    {
        t->write(kCatchFile, recordFileBytes(items) + more);
        makeApp();
        app->uebersicht = w = app->createOverview();
    }
    void select(int row) { w->lstFänge->setCurrentIndex(w->lstFänge->model()->index(row, 0)); }

    // Everything that follows the mode: lists, pictures, buttons and height.
    void checkMode(bool filter)
    {
        QCOMPARE(w->filterMode(), filter);
        QCOMPARE(w->chkFilter->isChecked(), filter);
        QCOMPARE(w->lstFänge->accessibleName(),
            filter ? u"Gefilterte Fänge"_s : u"Alle eingetragenen Fänge"_s);
        QCOMPARE(w->imgFilterTrue->isVisible(), filter);
        QCOMPARE(w->imgFilterFalse->isVisible(), !filter);
        QCOMPARE(w->cmdEdit->isEnabled(), !filter);
        QCOMPARE(w->cmdDelete->isEnabled(), !filter);
        QCOMPARE(w->cmdFilter->isDefault(), filter);
        QCOMPARE(w->cmdOK->isDefault(), !filter);
        QCOMPARE(w->twipsHeight(), filter ? 8100 : 7200);
    }

private Q_SLOTS:
    void init() { t = std::make_unique<TestEnv>(); }
    void cleanup()
    {
        QVERIFY(t->dialogs.verifyDone());
        app.reset();
        t.reset();
    }

    void loadNewestFirstWithPhotoColumn()
    {
        const QString a = rec(u"2003/12/01"_s, u"Max"_s);
        const QString b = rec(u"2004/05/17"_s, u"Anna"_s, u"Karpfen*"_s);
        QString c = rec(u"2004/05/17"_s, u"Max"_s);
        c.replace(u"Baggersee"_s, u"See*"_s); // a star in any field marks a photo
        open({ a, b, c });
        // Whole lines descending: on the same day "Max" before "Anna".
        QCOMPARE(w->fängeLines(),
            overviewList({ listLineOf(c, u'X'), listLineOf(b, u'X'), listLineOf(a) }));
        QCOMPARE(w->labÜberschrift->text(), kHeading + u"(3):"_s);
        QVERIFY(!w->cmdShowPic->isEnabled());
        // The scroll range is measured once the window shows.
        w->show();
        QVERIFY(w->lstFänge->horizontalExtent() > 0);
    }

    // The rule line names no catch: delete and edit leave it alone.
    void ruleLineNamesNoCatch()
    {
        open({ rec(u"2004/05/01"_s, u"Anna"_s) });
        const QByteArray stored = t->read(kCatchFile);
        select(1);
        w->cmdDelete_Click();
        w->cmdEdit_Click();
        QVERIFY(app->state.log->catchOutForEdit().isEmpty());
        QCOMPARE(t->read(kCatchFile), stored);
        // Fewer than two catches: the filter changes nothing, not even the box.
        w->show();
        w->chkFilter_Click();
        w->txtFilter->setText(u"+barsch"_s);
        w->cmdFilter_Click();
        QCOMPARE(w->txtFilter->text(), u"+barsch"_s);
        QCOMPARE(w->filterLines().size(), 3);
    }

    void filterModeSwitching()
    {
        open({ rec(u"2004/05/17"_s, u"Max"_s), rec(u"2004/05/18"_s, u"Max"_s, u"Karpfen"_s) });
        w->show();
        checkMode(false);
        w->chkFilter_Click();
        checkMode(true);
        QCOMPARE(w->filterLines(), w->fängeLines());
        w->txtFilter->setText(u"+hecht"_s); // a leading "+" leaves the expression
        QTest::keyClick(w, Qt::Key_Return); // Enter filters
        QCOMPARE(w->filterLines().size(), 3);
        QCOMPARE(w->txtFilter->text(), u"hecht"_s);
        QCOMPARE(w->labÜberschrift->text(), kHeading + u"{gefiltert} (1):"_s);
        QTest::mouseClick(w->imgFilterTrue, Qt::LeftButton); // the tick switches back
        checkMode(false);
        QVERIFY(w->txtFilter->text().isEmpty() && w->filterLines().isEmpty());
        QTest::keyClick(w, Qt::Key_Return); // Enter now closes
        QVERIFY(!w->isVisible());
        w->OpenInFilterMode(); // as the main window's menu does
        checkMode(true);
        w->close(); // hidden, and out of filter mode
        QVERIFY(!w->isVisible());
        w->show();
        checkMode(false);
    }

    // Enter presses the focused button; elsewhere it presses the default
    // button of the mode ("Schließen" or "Suchen...").
    void enterPressesFocusedButton_data()
    {
        QTest::addColumn<bool>("filter");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("asked"); // "Wollen Sie den Eintrag wirklich löschen?"
        QTest::addColumn<bool>("visible");
        QTest::addColumn<int>("filterLines"); // after Enter, -1: not looked at
        QTest::newRow("Löschen") << false << u"cmdDelete"_s << true << true << -1;
        QTest::newRow("Schließen") << false << u"cmdOK"_s << false << false << -1;
        QTest::newRow("list: default Schließen") << false << u"lstFänge"_s << false << false << -1;
        QTest::newRow("Reset in filter mode") << true << u"cmdReset"_s << false << true << 4;
        QTest::newRow("filter box: default Suchen...")
            << true << u"txtFilter"_s << false << true << 3;
    }
    void enterPressesFocusedButton()
    {
        QFETCH(bool, filter);
        QFETCH(QString, focus);
        QFETCH(bool, asked);
        QFETCH(int, filterLines);
        open({ rec(u"2004/05/17"_s, u"Max"_s), rec(u"2004/05/18"_s, u"Max"_s, u"Karpfen"_s) });
        w->show();
        if (filter) {
            w->chkFilter_Click();
            w->txtFilter->setText(u"hecht"_s);
        }
        select(2);
        auto* target = w->findChild<QWidget*>(focus);
        QVERIFY(target);
        target->setFocus();
        if (asked)
            t->dialogs.answer(MsgResult::No);
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(t->dialogs.shown().size(), asked ? 1 : 0);
        QTEST(w->isVisible(), "visible");
        if (filterLines >= 0)
            QCOMPARE(w->filterLines().size(), filterLines);
    }

    // A leading "+" leaves the expression; with fewer than two catches
    // nothing happens, not even to the box.
    void selectFindsPhoto_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("expected"); // empty = none
        QTest::newRow("found") << QStringList { u".jpg"_s, u".bmp"_s } << u".bmp"_s;
        QTest::newRow("other minute") << QStringList { u"-x.jpg"_s } << QString();
    }
    void selectFindsPhoto()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        for (const QString& f : files)
            t->write(kPhoto + f, "x");
        open({ rec(u"2004/05/17"_s, u"Max"_s, u"Karpfen*"_s), rec(u"2004/05/16"_s, u"Max"_s) });
        select(2);
        QCOMPARE(w->photoPath.section(u'/', -1),
            expected.isEmpty() ? QString() : u"17.05.2004_06-45-00"_s + expected);
        QCOMPARE(w->cmdShowPic->isEnabled(), !expected.isEmpty());
        select(3); // a line without a photo disables the button again
        QVERIFY(!w->cmdShowPic->isEnabled());
    }

    void showPicture()
    {
        t->write(kPhoto + u".jpg"_s, "no picture");
        open({ rec(u"2004/05/17"_s, u"Max"_s, u"Karpfen*"_s) });
        select(2);
        t->dialogs.expectMessage();
        w->cmdShowPic->click();
        QVERIFY(!w->pic);
        QVERIFY(t->dialogs.shown().first().text.startsWith(
            u"Das Bild konnte nicht angezeigt werden:"_s));

        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(t->path(kPhoto + u".bmp"_s), "BMP"));
        w->lst_Click(2);
        w->cmdShowPic->click();
        QVERIFY(w->pic && w->pic->isVisible());
        // Scaled up into the window with the aspect ratio kept.
        const QPixmap shown = w->pic->Picture1->pixmap();
        QVERIFY(shown.width() > 40 && qAbs(shown.width() - 2 * shown.height()) <= 2);
        QVERIFY(shown.width() <= w->pic->Picture1->width()
            && shown.height() <= w->pic->Picture1->height());
        w->pic->cmdClose->click();
        QTRY_VERIFY(!w->pic);
    }

    void deleteRow_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("photosAfter");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("diskFull");
        const QStringList all = { u"17.05.2004_06-45-00.jpg"_s, u"DUMMY.txt"_s };
        QTest::newRow("Yes: its photo goes") << true << all.mid(1) << QStringList {} << false;
        QTest::newRow("No keeps all") << false << all << QStringList {} << false;
        // The catch stays, with its photo, and the user is told.
        QTest::newRow("disk full")
            << true << all << QStringList { u"Sub frmFangÜbersicht.cmdDelete_Click\tError (75)"_s }
            << true;
    }
    void deleteRow()
    {
        QFETCH(bool, yes);
        for (const QString& f : { u"17.05.2004_06-45-00.jpg"_s, u"DUMMY.txt"_s })
            t->write(u"db\\bilder\\"_s + f, "x");
        const QString newer = rec(u"2004/05/18"_s, u"Anna"_s);
        const QString gone = rec(u"2004/05/17"_s, u"Max"_s, u"Karpfen*"_s);
        const QString older = rec(u"2004/05/16"_s, u"Max"_s);
        QFETCH(bool, diskFull);
        open({ older, gone, newer });
        select(3);
        t->dialogs.answer(yes ? MsgResult::Yes : MsgResult::No);
        if (diskFull)
            t->dialogs.expectMessage();
        {
            std::optional<FileSizeLimit> full;
            if (diskFull)
                full.emplace(t->read(kCatchFile).size() / 2);
            w->cmdDelete->click();
        }
        QCOMPARE(t->dialogs.shown().first().text, u"Wollen Sie den Eintrag wirklich löschen?"_s);
        QCOMPARE(t->dialogs.shown().first().buttons, MsgButtons::YesNo);
        if (diskFull) {
            QCOMPARE(t->dialogs.shown().last().text,
                u"Fehler: Die Fangdatenbank konnte nicht geschrieben werden!\r\nEs wurde nichts geändert."_s);
            QCOMPARE(t->dialogs.shown().last().icon, MsgIcon::Warning);
        }
        const bool removed = yes && !diskFull;
        // Rewritten in list order without the deleted line.
        QCOMPARE(t->read(kCatchFile),
            recordFileBytes(
                removed ? QStringList { newer, older } : QStringList { older, gone, newer }));
        QCOMPARE(w->labÜberschrift->text(), kHeading + (removed ? u"(2):"_s : u"(3):"_s));
        QTEST(bilder(*t), "photosAfter");
        QTEST(t->logEntries(), "log");
    }
    void editEndToEnd()
    {
        t->write(kPhoto + u".jpg"_s, "photo");
        const QString other = rec(u"2004/05/18"_s, u"Anna"_s);
        const QString edited = rec(u"2004/05/17"_s, u"Max"_s, u"Karpfen*"_s);
        open({ other, edited });
        select(3);
        w->cmdEdit->click();
        QVERIFY(!app->state.log->catchOutForEdit().isEmpty() && app->addFish);
        QCOMPARE(app->state.log->catchOutForEdit(), listLineOf(edited, u'X').mid(2));
        QCOMPARE(app->addFish->txtFischArt->text(), u"Karpfen"_s);
        // The old line leaves the file at once; the photo waits for the save.
        QCOMPARE(t->read(kCatchFile), recordFileBytes({ other }));
        QCOMPARE(bilder(*t), QStringList { u"17.05.2004_06-45-00.jpg"_s });

        app->addFish->txtFang->setText(u"07:10"_s);
        t->dialogs.expectMessage(); // "Eintrag gespeichert!"
        app->addFish->cmdSave->click();
        QVERIFY(app->state.log->catchOutForEdit().isEmpty());
        const QStringList items = ParseItems(t->read(kCatchFile));
        QCOMPARE(items.size(), 2);
        QCOMPARE(items.first(), other);
        QCOMPARE(items.last().split(u'\t').size(), 17);
        QCOMPARE(items.last().section(u'\t', 3, 5), u"07:10\t10:00\tKarpfen*"_s);
        QCOMPARE(bilder(*t), QStringList { u"17.05.2004_07-10-00.jpg"_s });
        QCOMPARE(w->fängeLines().size(), 4); // refreshed by the save
    }

    void pendingEditWrittenBackAtEnd_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("others");
        const QStringList other { rec(u"2004/05/18"_s, u"Anna"_s) };
        QTest::newRow("ordinary") << rec(u"2004/05/17"_s, u"Max"_s) << other;
        QTest::newRow("only catch") << rec(u"2004/05/17"_s, u"Max"_s) << QStringList {};
    }
    void pendingEditWrittenBackAtEnd()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, others);
        open(others + QStringList { item });
        select(w->fängeLines().indexOf(listLineOf(item)));
        w->cmdEdit_Click();
        QCOMPARE(t->read(kCatchFile), recordFileBytes(others));
        app->addFish->close(); // the close box neither saves nor cancels
        QVERIFY(!app->state.log->catchOutForEdit().isEmpty());
        app->EndProgram();
        QCOMPARE(t->read(kCatchFile), recordFileBytes(others + QStringList { item }));
        QVERIFY(app->state.log->catchOutForEdit().isEmpty());
    }

    void editWhilePendingKeepsBoth()
    {
        const QString a = rec(u"2004/05/18"_s, u"Anna"_s);
        const QString b = rec(u"2004/05/17"_s, u"Bert"_s);
        open({ a, b });
        select(2);
        w->cmdEdit_Click();
        select(2);
        t->dialogs.expectMessage(); // a second edit is refused while the window is open
        w->cmdEdit_Click();
        QCOMPARE(app->state.log->catchOutForEdit(), listLineOf(a).mid(2));
        QCOMPARE(t->read(kCatchFile), recordFileBytes({ b }));
        // Closed by its close box, the pending catch goes back first.
        app->addFish->close();
        QTRY_VERIFY(!app->addFish);
        select(2);
        w->cmdEdit_Click();
        QCOMPARE(app->state.log->catchOutForEdit(), listLineOf(b).mid(2));
        QCOMPARE(t->read(kCatchFile), recordFileBytes({ a }));
    }

    void resizeRules_data()
    {
        QTest::addColumn<bool>("filter");
        QTest::addColumn<QSize>("wanted"); // twips
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<bool>("stored");
        QTest::newRow("taller snaps") << false << QSize(13020, 9000) << QSize(13020, 7200) << true;
        QTest::newRow("narrow widened") << false << QSize(9000, 7200) << QSize(12360, 7200) << true;
        QTest::newRow("lower raised") << false << QSize(14025, 5000) << QSize(14025, 7200) << true;
        QTest::newRow("initial width not stored")
            << false << QSize(13665, 7200) << QSize(13665, 7200) << false;
        QTest::newRow("filter up to 8100")
            << true << QSize(13020, 7500) << QSize(13020, 7500) << true;
        QTest::newRow("filter above 8100")
            << true << QSize(13020, 9000) << QSize(13020, 8100) << true;
    }
    void resizeRules()
    {
        QFETCH(bool, filter);
        QFETCH(QSize, wanted);
        QFETCH(QSize, expected);
        QFETCH(bool, stored);
        open({ rec(u"2004/05/17"_s, u"Max"_s) });
        w->show();
        if (filter)
            w->chkFilter_Click();
        w->resize(1000, w->height()); // start from a width no row asks for
        app->state.settings.OverviewWidth = app->state.settings.OverviewHeight = 1;
        w->resize((wanted.width() - 120) / 15, (wanted.height() - 510) / 15); // as a drag would
        QCOMPARE(QSize(w->twipsWidth(), w->twipsHeight()), expected);
        QCOMPARE(QSize(app->state.settings.OverviewWidth, app->state.settings.OverviewHeight),
            stored ? expected : QSize(1, 1));
        QVERIFY(std::abs(w->lstFänge->width() * 15 - (expected.width() - 350)) < 15);
        QCOMPARE(w->cmdOK->x() + w->cmdOK->width(), (expected.width() - 175) / 15);
    }

    void mainWindowEntryPoints()
    {
        t->write(u"db\\db.ver"_s, "102\r\n");
        const QStringList items { rec(u"2004/05/17"_s, u"Max"_s, u"Karpfen*"_s),
            rec(u"2004/05/16"_s, u"Max"_s) };
        t->write(kCatchFile, recordFileBytes(items));
        startApp();
        w = app->uebersicht;
        QVERIFY(w && !w->isVisible());
        app->haupt->cmdPics->click(); // the catches with a photo
        QVERIFY(w->isVisible() && w->filterMode() && w->txtFilter->text() == u"*"_s);
        QCOMPARE(w->filterLines().size(), 3);
        w->cmdOK_Click();
        // A catch stored meanwhile shows when the overview is opened.
        t->write(
            kCatchFile, recordFileBytes(items + QStringList { rec(u"2004/05/15"_s, u"Max"_s) }));
        app->haupt->mnuFangÜbersicht->trigger();
        QVERIFY(w->isVisible() && !w->filterMode());
        QCOMPARE(w->fängeLines().size(), 5);
    }
};

QTEST_MAIN(TestFangUebersicht)
#include "tst_frmFangUebersicht.moc"
