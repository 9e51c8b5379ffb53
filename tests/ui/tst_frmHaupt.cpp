// The main window: captions, menus, size and state, exit, links.
#include "ui/AppFixture.h"
#include "ui/Banner.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// One line per menu entry, indented by depth: "name: caption [shortcut]".
void walkMenu(const QList<QAction*>& actions, const QString& indent, QStringList& out)
{
    for (QAction* a : actions) {
        const QString keys = a->shortcut().toString(QKeySequence::PortableText);
        out.append(indent + a->objectName() + u": "_s + (a->isSeparator() ? u"-"_s : a->text())
            + (keys.isEmpty() ? QString() : u" ["_s + keys + u']'));
        if (QMenu* sub = a->menu())
            walkMenu(sub->actions(), indent + u"  "_s, out);
    }
}

QString caption(const QObject* o)
{
    return o ? o->property(o->inherits("QGroupBox") ? "title" : "text").toString() : u"<missing>"_s;
}

} // namespace

class TestFrmHaupt : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> f;

    // A window with the given saved size and state, shown and laid out.
    std::unique_ptr<frmHaupt> openWindow(
        int widthTwips = 1000, int heightTwips = 1000, int state = 0, QSize resizeTo = {})
    {
        f->app->state.settings.MainWidth = qint16(widthTwips);
        f->app->state.settings.MainHeight = qint16(heightTwips);
        f->app->state.settings.MainWindowState = qint16(state);
        auto w = std::unique_ptr<frmHaupt>(f->app->createMain());
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        if (resizeTo.isValid())
            w->resize(resizeTo);
        QApplication::processEvents();
        return w;
    }

private slots:
    void init()
    {
        f = std::make_unique<AppFixture>();
        f->makeApp();
    }
    void cleanup() { f.reset(); }

    void captionsAndMenus()
    {
        frmHaupt w(f->app->state);
        QCOMPARE(w.windowTitle(), u"Uferwacht Digitales Kescherheft v1.0.0.2"_s);
        for (const QString& line :
            { u"cmdZeit: Angelzeit: XX std  XX min"_s,
                u"cmdFangÜbersicht: Gefangene Fische: XXXXX"_s,
                u"cmdKostenÜbersicht: Angelkosten: XX €"_s, u"cmdPics: Anzahl der Bilder: XX"_s,
                u"Label1: Die letzten 20 gefangenen Fische:"_s, u"fraStatistik: Statistiken:"_s }) {
            const QString name = line.section(u": "_s, 0, 0);
            QCOMPARE(name + u": "_s + caption(w.findChild<QWidget*>(name)), line);
        }
        QStringList menus;
        walkMenu(w.menuBar()->actions(), QString(), menus);
        QCOMPARE(menus.join(u'|'),
            u"mnuDatei: Datei|  mnuBackup: Backup|    mnuCreateBackup: Erstellen [F11]"
            "|    mnuReadBackup: Einlesen [F12]|  mnuDB: Datenbanken|    mnuSortDB: Sortieren"
            "|    mnusrichXDSFJLD: -|    mnuResetFänge: Fänge zurücksetzen [Shift+F11]"
            "|    mnuResetKosten: Kosten zurücksetzen [Shift+F12]|    mnuStrichX: -"
            "|    mnuResetDB: alle zurücksetzen [Ctrl+F12]|  mnuExport: Exportieren"
            "|    mnuExportFänge: Fänge als CSV...|    mnuExportKosten: Kosten als CSV..."
            "|  mnuImport: Importieren|    mnuImportFänge: Fänge aus CSV..."
            "|    mnuImportKosten: Kosten aus CSV...|  mnuStrich1: -|  mnuEnde: Beenden [Ctrl+Q]"
            "|mnuFang: Fang|  mnuAddFish: Hinzufügen [F2]|  mnuStrich2: -"
            "|  mnuFangÜbersicht: Übersicht / Bearbeiten [F4]"
            "|  mnuAuswertung: Auswertungen... [F6]|mnuKosten: Angelkosten"
            "|  mnuAddKosten: Hinzufügen [F3]|  mnuStrich4: -"
            "|  mnuKostenÜbersicht: Übersicht / Bearbeiten [F5]|mnuPrint: Drucken"
            "|  mnuPrintFront: Deckseite [Ctrl+F1]|  mnuStrichSADJ: -"
            "|  mnuPrintFänge: Fangdatenbank [Ctrl+F2]"
            "|  mnuPrintKosten: Kostendatenbank [Ctrl+F3]|  mnuStrichXfjkdsajfk: -"
            "|  mnuPrintEmptyTable: Leere Tabelle [Ctrl+F4]|  mnuStrichJahr: -"
            "|  mnuPrintJahr: Jahresbericht...|mnuFilter: Filtern|  mnuFilterKosten: Kosten [F8]"
            "|  mnuFilterFänge: Fänge [F9]|mnuHilfe: ?|  mnuShowHelp: Hilfe anzeigen [F1]"
            "|  mnuShowHelpOnline: Onlinehilfe anzeigen [Shift+F1]"
            "|  mnuUpdate: Update starten [F7]|  mnuStrichb: -|  mnuAbout: Über..."_s);
    }

    void sizeAndState_data()
    {
        QTest::addColumn<QSize>("twips"); // saved size
        QTest::addColumn<int>("state"); // saved state
        QTest::addColumn<QSize>("resizeTo"); // by the user after opening
        QTest::addColumn<QSize>("size"); // invalid: maximised
        QTest::addColumn<QStringList>("log");
        const QSize saved(18000, 13500);
        const QSize minimum(984, 767);
        QTest::newRow("1000 x 1000: minimum")
            << QSize(1000, 1000) << 0 << QSize() << minimum << QStringList();
        QTest::newRow("saved size") << saved << 0 << QSize() << QSize(1200, 900) << QStringList();
        QTest::newRow("maximised") << saved << 2 << QSize() << QSize() << QStringList();
        QTest::newRow("unknown state: logged, the rest runs")
            << saved << 7 << QSize() << QSize(1200, 900)
            << QStringList { u"Sub frmHaupt.Form_Load\tError (5)"_s };
        QTest::newRow("resized below minimum")
            << saved << 0 << QSize(500, 400) << minimum << QStringList();
        QTest::newRow("resized beyond 16 bits")
            << saved << 0 << QSize(2500, 2300) << QSize(2500, 2300) << QStringList();
    }
    void sizeAndState()
    {
        QFETCH(QSize, twips);
        QFETCH(int, state);
        QFETCH(QSize, resizeTo);
        QFETCH(QSize, size);
        auto w = openWindow(twips.width(), twips.height(), state, resizeTo);
        QTEST(f->t->logEntries(), "log");
        QCOMPARE(w->isMaximized(), !size.isValid());
        // Maximised, the saved normal size stays to go back to.
        QCOMPARE(w->normalGeometry().size(), size.isValid() ? size : QSize(1200, 900));
        const QSize stored = size.isValid() ? size * 15 : w->size() * 15;
        QCOMPARE(QSize(f->app->state.settings.MainWidth, f->app->state.settings.MainHeight),
            stored.boundedTo(QSize(32767, 32767)));
        QCOMPARE(int(f->app->state.settings.MainWindowState), size.isValid() ? 0 : 2);
        // A refresh keeps size, place and state, also beyond 16-bit twips.
        const QRect before = w->geometry();
        f->app->haupt = w.get();
        f->app->Änderung();
        f->app->haupt = nullptr;
        QApplication::processEvents();
        QCOMPARE(w->geometry(), before);
        QCOMPARE(w->isMaximized(), !size.isValid());
        if (!size.isValid())
            return;
        QCOMPARE(w->size(), size);
    }

    void programEnd_data()
    {
        QTest::addColumn<bool>("ends");
        QTest::newRow("Beenden, Ja") << true;
        QTest::newRow("Beenden, Nein") << false;
    }
    void programEnd()
    {
        QFETCH(bool, ends);
        auto w = openWindow(18000, 13500, 0);
        f->t->dialogs.answer(ends ? MsgResult::Yes : MsgResult::No);
        w->mnuEnde->trigger();
        const auto& q = f->t->dialogs.shown().first();
        QVERIFY(q.text == u"Wollen Sie das Programm wirklich beenden?"_s
            && q.icon == MsgIcon::Question && q.buttons == MsgButtons::YesNo);
        QCOMPARE(f->quits == 1, ends);
        QCOMPARE(f->t->logEntries(), ends ? QStringList { u"PROGRAMM\tEnde"_s } : QStringList());
        const QList<QByteArray> sizes { " 13500 \r", " 18000 \r", " 0 \r" };
        QCOMPARE(f->t->read(u"settings.ini"_s).split('\n').mid(4, 3),
            ends ? sizes : QList<QByteArray>());
    }

    void links_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("opened");
        auto row = [](const char* name, const QString& trigger, const QString& opened) {
            QTest::newRow(name) << trigger << opened;
        };
        row("local help", u"mnuShowHelp"_s, u"<dir>/help/index.html"_s);
        row("online help", u"mnuShowHelpOnline"_s,
            u"https://www.uferwacht.example/kescherheft_help/index.html"_s);
        row("Image2", u"Image2"_s, u"https://www.uferwacht.example/"_s);
        row("Image3", u"Image3"_s, u"https://www.koederwerk.example/"_s);
        row("Image2, released outside", u"Image2 dragged"_s, QString());
    }
    void links()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, opened);
        auto w = openWindow();
        if (auto* a = w->findChild<QAction*>(trigger)) {
            a->trigger();
        } else if (trigger.endsWith(u" dragged")) {
            QTest::mousePress(w->Image2, Qt::LeftButton, {}, QPoint(5, 5));
            QTest::mouseRelease(w->Image2, Qt::LeftButton, {}, QPoint(-20, 5));
        } else {
            QTest::mouseClick(w->findChild<QWidget*>(trigger), Qt::LeftButton);
        }
        QCOMPARE(f->t->shell.opened.join(u'\n'), opened.replace(u"<dir>"_s, f->t->dir()));
    }
};

QTEST_MAIN(TestFrmHaupt)
#include "tst_frmHaupt.moc"
