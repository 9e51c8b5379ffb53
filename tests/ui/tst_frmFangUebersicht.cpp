// The catch overview: its list and heading, the filter modes, keys, the
// photo, deleting and editing through the list.
#include "platform/Paths.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString kHeading = u"Übersicht über alle eingetragenen Fänge "_s;
const QString kPhoto = u"db\\bilder\\17.05.2004_06-45-00"_s;

// One stored catch, caught at 06:45.
QString rec(const QString& date, const QString& angler, const QString& species = u"Hecht"_s)
{
    return sampleCatchLine({ { 1, date }, { 2, angler }, { 6, species } });
}

QString listLineOf(const QString& stored, QChar mark = u' ')
{
    return overviewRow(
        { stored.mid(8, 2) + u'.' + stored.mid(5, 2) + u'.' + stored.left(4), stored.mid(11) },
        mark);
}

} // namespace

class TestFangUebersicht : public QObject, AppFixture {
    Q_OBJECT

    frmFangÜbersicht* w = nullptr;

    void open(const QStringList& items)
    {
        t->write(kCatchLogPath, recordFileBytes(items));
        makeApp();
        app->uebersicht = w = app->createOverview();
    }
    void select(int row) { w->lstFänge->setCurrentIndex(w->lstFänge->model()->index(row, 0)); }

    void checkMode(bool filter)
    {
        QCOMPARE((QList<bool> { w->filterMode(), w->chkFilter->isChecked(),
                     w->imgFilterTrue->isVisible(), !w->imgFilterFalse->isVisible(),
                     !w->cmdEdit->isEnabled(), !w->cmdDelete->isEnabled(),
                     w->cmdFilter->isDefault(), !w->cmdOK->isDefault() }),
            QList<bool>(8, filter));
        QCOMPARE(w->lstFänge->accessibleName(),
            filter ? u"Gefilterte Fänge"_s : u"Alle eingetragenen Fänge"_s);
        QCOMPARE(w->twipsHeight(), filter ? 8100 : 7200);
    }

private Q_SLOTS:
    void cleanup() { closeApp(); }

    // The rule line names no catch: delete and edit leave it alone.
    void ruleLineNamesNoCatch()
    {
        open({ rec(u"2004/05/01"_s, u"Anna"_s) });
        const QByteArray stored = t->read(kCatchLogPath);
        select(1);
        w->cmdDelete_Click();
        w->cmdEdit_Click();
        QVERIFY(app->state.log->catchOutForEdit().isEmpty());
        QCOMPARE(t->read(kCatchLogPath), stored);
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
        QCOMPARE(w->txtFilter->text(), u"hecht"_s);
        QCOMPARE(w->labÜberschrift->text(), kHeading + u"{gefiltert} (1):"_s);
        QTest::mouseClick(w->imgFilterTrue, Qt::LeftButton); // the tick switches back
        checkMode(false);
        QVERIFY(w->txtFilter->text().isEmpty() && w->filterLines().isEmpty());
        QTest::keyClick(w, Qt::Key_Return); // Enter now closes
        w->OpenInFilterMode(); // as the main window's menu does
        checkMode(true);
        w->close(); // hidden, and out of filter mode
        w->show();
        checkMode(false);
    }

    // Enter presses the focused button, elsewhere the mode's default button.
    void enterPressesFocusedButton_data()
    {
        QTest::addColumn<bool>("filter");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Löschen asks") << false << u"cmdDelete"_s;
        QTest::newRow("Reset in filter mode lists all") << true << u"cmdReset"_s;
    }
    void enterPressesFocusedButton()
    {
        QFETCH(bool, filter);
        QFETCH(QString, focus);
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
        if (!filter)
            t->dialogs.answer(MsgResult::No); // "Wollen Sie den Eintrag wirklich löschen?"
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(t->dialogs.shown().size(), filter ? 0 : 1);
        QVERIFY(w->isVisible());
        if (filter)
            QCOMPARE(w->filterLines().size(), 4);
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
        QPixmap image(40, 20);
        image.fill(Qt::red);
        QVERIFY(image.save(t->path(kPhoto + u".bmp"_s), "BMP"));
        w->lst_Click(2);
        w->cmdShowPic->click();
        QVERIFY(w->pic && w->pic->isVisible());
        w->pic->cmdClose->click();
        QTRY_VERIFY(!w->pic);
        select(1); // a line without a photo disables the button
        QVERIFY(!w->cmdShowPic->isEnabled());
    }

    void deleteRow_data()
    {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("diskFull"); // the catch stays, and the user is told
        QTest::newRow("Yes") << MsgResult::Yes << false;
        QTest::newRow("No") << MsgResult::No << false;
        QTest::newRow("disk full") << MsgResult::Yes << true;
    }
    void deleteRow()
    {
        QFETCH(MsgResult, answer);
        QFETCH(bool, diskFull);
        const QString newer = rec(u"2004/05/18"_s, u"Anna"_s);
        const QString gone = rec(u"2004/05/17"_s, u"Max"_s);
        const QString older = rec(u"2004/05/16"_s, u"Max"_s);
        open({ older, gone, newer });
        select(3);
        t->dialogs.answer(answer);
        if (diskFull)
            t->dialogs.expectMessage();
        {
            std::optional<FileSizeLimit> full;
            if (diskFull)
                full.emplace(t->read(kCatchLogPath).size() / 2);
            w->cmdDelete->click();
        }
        const auto& q = t->dialogs.shown().first();
        QVERIFY(q.text == u"Wollen Sie den Eintrag wirklich löschen?"_s
            && q.buttons == MsgButtons::YesNo);
        QCOMPARE(t->dialogs.shown().last().text.startsWith(
                     u"Fehler: Die Fangdatenbank konnte nicht geschrieben werden!"_s),
            diskFull);
        const bool removed = answer == MsgResult::Yes && !diskFull;
        QCOMPARE(t->read(kCatchLogPath),
            recordFileBytes(
                removed ? QStringList { newer, older } : QStringList { older, gone, newer }));
        QCOMPARE(w->labÜberschrift->text(), kHeading + (removed ? u"(2):"_s : u"(3):"_s));
    }

    // An edit takes the catch out at once, a second is refused while the entry
    // window is open; closed by its close box, it leaves the catch out until the end.
    void editEndToEnd()
    {
        t->write(kPhoto + u".jpg"_s, "photo");
        const QString other = rec(u"2004/05/18"_s, u"Anna"_s);
        const QString edited = rec(u"2004/05/17"_s, u"Max"_s, u"Karpfen*"_s);
        open({ other, edited });
        select(3);
        w->cmdEdit->click();
        QVERIFY(app->addFish);
        QCOMPARE(app->addFish->txtFischArt->text(), u"Karpfen"_s);
        QCOMPARE(t->read(kCatchLogPath), recordFileBytes({ other })); // out of the file at once
        select(2);
        t->dialogs.expectMessage();
        w->cmdEdit_Click();
        QCOMPARE(app->state.log->catchOutForEdit(), listLineOf(edited, u'X').mid(2));

        app->addFish->txtFang->setText(u"07:10"_s);
        t->dialogs.expectMessage(); // "Eintrag gespeichert!"
        app->addFish->cmdSave->click();
        const QString saved = ParseItems(t->read(kCatchLogPath)).last();
        QCOMPARE(saved.section(u'\t', 3, 5), u"07:10\t10:00\tKarpfen*"_s);
        QCOMPARE(w->fängeLines().size(), 4); // refreshed by the save
        select(2);
        w->cmdEdit_Click();
        app->addFish->close();
        QCOMPARE(t->read(kCatchLogPath), recordFileBytes({ saved }));
        app->EndProgram();
        QCOMPARE(t->read(kCatchLogPath), recordFileBytes({ saved, other }));
    }

    void mainWindowEntryPoints()
    {
        t->write(u"db\\db.ver"_s, "102\r\n");
        const QStringList items { rec(u"2004/05/17"_s, u"Max"_s, u"Karpfen*"_s),
            rec(u"2004/05/16"_s, u"Max"_s) };
        t->write(kCatchLogPath, recordFileBytes(items));
        startApp();
        w = app->uebersicht;
        QVERIFY(w && !w->isVisible());
        app->haupt->cmdPics->click(); // the catches with a photo
        QVERIFY(w->isVisible() && w->filterMode() && w->txtFilter->text() == u"*"_s);
        w->cmdOK_Click();
        // A catch stored meanwhile shows when the overview is opened.
        t->write(
            kCatchLogPath, recordFileBytes(items + QStringList { rec(u"2004/05/15"_s, u"Max"_s) }));
        app->haupt->mnuFangÜbersicht->trigger();
        QVERIFY(w->isVisible() && !w->filterMode());
        QCOMPARE(w->fängeLines().size(), 5);
    }
};

QTEST_MAIN(TestFangUebersicht)
#include "tst_frmFangUebersicht.moc"
