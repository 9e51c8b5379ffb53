// The evaluation window: choices, an empty choice, log changes, print, save.
#include "platform/ErrorLog.h"
#include "ui/AppFixture.h"
#include "ui/frmAuswertung.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

class TestFrmAuswertung : public QObject, AppFixture {
    Q_OBJECT

    frmAuswertung* w = nullptr;

private slots:
    void init()
    {
        t->write(u"db\\fänge\\db"_s,
            recordFileBytes({ catchOn(u"2004/05/01"_s, u"Anna"_s, u"Hecht"_s),
                catchOn(u"2005/07/03"_s, u"Jörg"_s, u"Zander*"_s),
                catchOn(u"2005/05/02"_s, u"Anna"_s, u"Hecht"_s) }));
        t->write(u"db\\db.ver"_s, "102\r\n");
        startApp();
        app->haupt->mnuAuswertung->trigger();
        w = app->auswertung;
        QVERIFY(w && w->isVisible() && w->windowTitle() == u"Auswertungen"_s);
    }
    void cleanup() { closeApp(); }

    void choices_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("year"); // index in the year list
        QTest::addColumn<int>("angler");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("first");
        QTest::newRow("newest year first") << 5 << 1 << 0 << QString() << u"Hecht 1"_s;
        QTest::newRow("angler") << 3 << 0 << 2 << QString() << u"Boilie 1"_s;
        QTest::newRow("records") << 7 << 0 << 0 << QString() << u"Hecht 12,40"_s;
        QTest::newRow("nothing chosen") << 6 << 0 << 0 << u"Wels"_s << QString();
    }
    void choices()
    {
        QFETCH(int, view);
        QFETCH(int, year);
        QFETCH(int, angler);
        QFETCH(QString, filter);
        w->lstAnsicht->setCurrentRow(view);
        w->cboJahr->setCurrentIndex(year);
        w->cboFänger->setCurrentIndex(angler);
        QTest::keyClicks(w->txtFilter, filter);
        QTest::keyClick(w->txtFilter, Qt::Key_Return);
        const QTableWidget* g = w->grdZahlen;
        QTEST(g->rowCount() ? g->item(0, 0)->text() + u' ' + g->item(0, 1)->text() : QString(),
            "first");
        QCOMPARE(w->labLeer->isVisibleTo(w), !filter.isEmpty());
        QCOMPARE(w->labLeer->text(), u"Keine Fänge für diese Auswahl."_s);
        QCOMPARE(w->grdRekorde->isVisibleTo(w), view == 7);
    }

    // A catch saved elsewhere shows in the open window at once.
    void followsTheLogPrintSaveAndSize()
    {
        w->lstAnsicht->setCurrentRow(6);
        ErrorTrap trap(t->env, u"Test"_s);
        QVERIFY(app->state.log->appendCatch(catchOn(u"2006/01/01"_s, u"Eva"_s, u"Aal"_s), trap));
        QCOMPARE(w->grdZahlen->rowCount(), 3);
        QCOMPARE(w->cboJahr->itemText(1), u"2006"_s);
        w->resize(1000, 640); // kept in twips for the settings file
        QCOMPARE(app->state.settings.EvaluationWidth, 1000 * 15);
        w->cmdPrint->click();
        QCOMPARE(t->shell.opened, QStringList { t->path(u"auswertung.html"_s) });
        t->dialogs.answerSaveFile(t->path(u"bild.svg"_s));
        w->cmdSaveImage->click();
        QVERIFY(t->read(u"bild.svg"_s).startsWith("<?xml"));
        t->dialogs.answerSaveFile(t->path(u"bild"_s));
        w->cmdSaveImage->click();
        QCOMPARE(QImage(t->path(u"bild.png"_s)).size(), QSize(1200, 700));
    }
};

QTEST_MAIN(TestFrmAuswertung)
#include "tst_frmAuswertung.moc"
