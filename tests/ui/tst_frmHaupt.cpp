// The main window: captions and menus, size and state from the settings,
// the resize rules, the exit, the links and the list's scroll range.
#include "ui/AppFixture.h"
#include "ui/Banner.h"
#include "ui/ListTabDelegate.h"
#include "ui/TabListView.h"
#include "ui/frmAddFish.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <cmath>
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
    void cleanup()
    {
        f->t->dialogs.verifyDone();
        f.reset();
    }

    void captionsAndMenus()
    {
        frmHaupt w(f->app->state);
        QCOMPARE(w.windowTitle(), u"Uferwacht Digitales Kescherheft v1.0.0.2"_s);
        for (const QString& line : { u"cmdZeit: Angelzeit: XX std  XX min"_s,
                 u"cmdFangÜbersicht: Gefangene Fische: XXXXX"_s,
                 u"cmdKostenÜbersicht: Angelkosten: XX €"_s, u"cmdPics: Anzahl der Bilder: XX"_s,
                 u"Label1: Die letzten 20 gefangenen Fische:"_s, u"fraStatistik: Statistiken:"_s,
                 u"Label7: Schwerster Fisch:"_s, u"Label12: Leichtester Fisch:"_s,
                 u"Label17: Durchschnittsgewicht:"_s, u"Label13: Gesamtgewicht:"_s,
                 u"Label14: Kleinster Fisch:"_s, u"Label6: Längster Fisch:"_s,
                 u"Label3: Durchschnittliche Angelzeit pro Fisch:"_s,
                 u"labZeitProFisch: 0 Std  0 min"_s, u"Label8: Minimale Wassertemperatur:"_s,
                 u"Label11: Maximale Wassertemperatur:"_s, u"Label5: Minimale Lufttemperatur:"_s,
                 u"Label9: Maximale Lufttemperatur:"_s, u"Label10: Minimale Angeltiefe:"_s,
                 u"Label4: Durchschnittsangeltiefe:"_s, u"Label2: Maximale Angeltiefe:"_s }) {
            const QString name = line.section(u": "_s, 0, 0);
            QCOMPARE(name + u": "_s + caption(w.findChild<QWidget*>(name)), line);
        }
        QStringList menus;
        walkMenu(w.menuBar()->actions(), QString(), menus);
        QCOMPARE(menus,
            (QStringList { u"mnuDatei: Datei"_s, u"  mnuBackup: Backup"_s,
                u"    mnuCreateBackup: Erstellen [F11]"_s, u"    mnuReadBackup: Einlesen [F12]"_s,
                u"  mnuDB: Datenbanken"_s, u"    mnuSortDB: Sortieren"_s,
                u"    mnusrichXDSFJLD: -"_s, u"    mnuResetFänge: Fänge zurücksetzen [Shift+F11]"_s,
                u"    mnuResetKosten: Kosten zurücksetzen [Shift+F12]"_s, u"    mnuStrichX: -"_s,
                u"    mnuResetDB: alle zurücksetzen [Ctrl+F12]"_s, u"  mnuExport: Exportieren"_s,
                u"    mnuExportFänge: Fänge als CSV..."_s,
                u"    mnuExportKosten: Kosten als CSV..."_s, u"  mnuStrich1: -"_s,
                u"  mnuEnde: Beenden [Ctrl+Q]"_s, u"mnuFang: Fang"_s,
                u"  mnuAddFish: Hinzufügen [F2]"_s, u"  mnuStrich2: -"_s,
                u"  mnuFangÜbersicht: Übersicht / Bearbeiten [F4]"_s, u"mnuKosten: Angelkosten"_s,
                u"  mnuAddKosten: Hinzufügen [F3]"_s, u"  mnuStrich4: -"_s,
                u"  mnuKostenÜbersicht: Übersicht / Bearbeiten [F5]"_s, u"mnuPrint: Drucken"_s,
                u"  mnuPrintFront: Deckseite [Ctrl+F1]"_s, u"  mnuStrichSADJ: -"_s,
                u"  mnuPrintFänge: Fangdatenbank [Ctrl+F2]"_s,
                u"  mnuPrintKosten: Kostendatenbank [Ctrl+F3]"_s, u"  mnuStrichXfjkdsajfk: -"_s,
                u"  mnuPrintEmptyTable: Leere Tabelle [Ctrl+F4]"_s, u"  mnuStrichJahr: -"_s,
                u"  mnuPrintJahr: Jahresbericht..."_s, u"mnuFilter: Filtern"_s,
                u"  mnuFilterKosten: Kosten [F8]"_s, u"  mnuFilterFänge: Fänge [F9]"_s,
                u"mnuHilfe: ?"_s, u"  mnuShowHelp: Hilfe anzeigen [F1]"_s,
                u"  mnuShowHelpOnline: Onlinehilfe anzeigen [Shift+F1]"_s,
                u"  mnuUpdate: Update starten [F7]"_s, u"  mnuStrichb: -"_s,
                u"  mnuAbout: Über..."_s }));
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
        QTest::newRow("resized") << saved << 0 << QSize(1000, 800) << QSize(1000, 800)
                                 << QStringList();
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
        const QSize stored = size.isValid() ? size * 15 : w->size() * 15;
        QCOMPARE(QSize(f->app->state.settings.MainWidth, f->app->state.settings.MainHeight),
            stored.boundedTo(QSize(32767, 32767)));
        QCOMPARE(int(f->app->state.settings.MainWindowState), size.isValid() ? 0 : 2);
        QCOMPARE(w->lstFänge->tabStops(),
            (QList<int> { 20, 65, 110, 140, 170, 200, 280, 315, 345, 420, 505, 570, 650, 710, 750,
                800, 860 }));
        if (!size.isValid())
            return;
        QCOMPARE(w->size(), size);
        QCOMPARE(w->Image3->x() + w->Image3->width(), w->width());
        QVERIFY(std::abs(w->Image2->x() * 2 + w->Image2->width() - w->width()) <= 2);
        // Maximised, the banners stay where the last normal-state resize put them.
        const QPoint image2 = w->Image2->pos();
        const QPoint image3 = w->Image3->pos();
        w->showMaximized();
        QApplication::processEvents();
        QCOMPARE(w->Image2->pos(), image2);
        QCOMPARE(w->Image3->pos(), image3);
    }

    // A refresh reloads the main window's lists and figures; its size,
    // place and state stay as the user left them, also beyond what the
    // settings can hold (16-bit twips, 2184 pixels).
    void refreshKeepsSizeAndPlace_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QSize>("resizeTo");
        QTest::newRow("normal") << 0 << QSize(1100, 850);
        QTest::newRow("wider than 16 bits") << 0 << QSize(2500, 900);
        QTest::newRow("taller than 16 bits") << 0 << QSize(1100, 2300);
        QTest::newRow("maximised") << 2 << QSize();
    }
    void refreshKeepsSizeAndPlace()
    {
        QFETCH(int, state);
        QFETCH(QSize, resizeTo);
        auto w = openWindow(18000, 13500, state, resizeTo);
        if (state == 0)
            w->move(40, 30);
        QApplication::processEvents();
        const QRect before = w->geometry();
        const Qt::WindowStates stateBefore = w->windowState();
        f->app->haupt = w.get();
        f->app->Änderung();
        f->app->haupt = nullptr;
        QApplication::processEvents();
        QCOMPARE(w->geometry(), before);
        QCOMPARE(w->windowState(), stateBefore);
    }

    // Maximised at start, the window still has its saved normal size to go
    // back to, so it is usable where no window manager maximises it.
    void maximisedHasSavedNormalSize_data()
    {
        QTest::addColumn<QSize>("twips");
        QTest::addColumn<QSize>("normal");
        QTest::newRow("saved size") << QSize(18000, 13500) << QSize(1200, 900);
        QTest::newRow("1000 x 1000: minimum") << QSize(1000, 1000) << QSize(984, 767);
    }
    void maximisedHasSavedNormalSize()
    {
        QFETCH(QSize, twips);
        QFETCH(QSize, normal);
        auto w = openWindow(twips.width(), twips.height(), 2);
        QVERIFY(w->isMaximized());
        // The size the window had when it was maximised: what a window
        // system without window manager keeps, and what "restore" returns to.
        QCOMPARE(w->normalGeometry().size(), normal);
    }

    void layoutFollowsWidth_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("minimum") << 984;
        QTest::newRow("1333") << 1333;
        QTest::newRow("1597") << 1597;
    }
    void layoutFollowsWidth()
    {
        QFETCH(int, width);
        auto w = openWindow(1000, 1000, 0, QSize(width, 800));
        const int frameTwips = width * 15 - 350;
        QVERIFY(std::abs(w->fraStatistik->width() * 15 - frameTwips) < 15);
        QVERIFY(std::abs(w->lstFänge->width() * 15 - (frameTwips - 300)) < 15);
        // Four label columns at fixed offsets from the frame's middle.
        const QList<std::pair<int, QString>> columns {
            { -6755, u"Label7 Label12 Label17 Label13 Label14 Label6 Label3"_s },
            { -1250,
                u"labLeichtesterFisch labDurchschnittsGewicht labSchwersterFisch "
                "labKleinsterFisch labLängsterFisch labGesamtGewicht labZeitProFisch"_s },
            { 500, u"Label8 Label11 Label5 Label9 Label10 Label4 Label2"_s },
            { 5855,
                u"labMinTempWasser labMaxTempWasser labMinTempLuft labMaxTempLuft "
                "labMinAngeltiefe labAngelTiefe labMaxAngeltiefe"_s },
        };
        for (const auto& [offset, names] : columns) {
            for (const QString& name : names.split(u' ')) {
                const auto* l = w->findChild<QLabel*>(name);
                QVERIFY2(l && std::abs(l->x() * 15 - (frameTwips / 2.0 + offset)) <= 8,
                    qPrintable(name));
            }
        }
        QCOMPARE(w->Label3->y(), w->labZeitProFisch->y());
        QCOMPARE(w->Label12->y(), 5520 / 15);
        QCOMPARE(w->Label3->y(), 7680 / 15);
        // The button row: fixed widths, 345 twips apart, centred in the window.
        const QList<QPushButton*> row { w->cmdZeit, w->cmdFangÜbersicht, w->cmdKostenÜbersicht,
            w->cmdPics };
        const QList<int> widths { 3615 / 15, 3015 / 15, 3135 / 15, 3135 / 15 };
        for (int i = 0; i < row.size(); ++i) {
            QCOMPARE(row[i]->width(), widths[i]);
            QCOMPARE(row[i]->y(), 8);
            if (i > 0)
                QVERIFY(std::abs(row[i]->x() - row[i - 1]->geometry().right() - 1 - 23) <= 1);
        }
        const int rightGap = w->width() - row.last()->geometry().right() - 1;
        QVERIFY(std::abs(row.first()->x() - rightGap) <= 2);
    }

    // At the smallest size, with the longest possible figures, widgets
    // neither overlap nor stick out of their parent, and every text fits.
    void nothingOverlapsAtMinimum()
    {
        auto w = openWindow(1000, 1000, 0);
        w->cmdZeit->setText(u"Angelzeit: 365 T  23 Std  59 Min"_s);
        w->cmdFangÜbersicht->setText(u"Gefangene Fische: 32767"_s);
        w->cmdKostenÜbersicht->setText(u"Angelkosten: 99999,99 €"_s);
        w->cmdPics->setText(u"Anzahl der Bilder: 32766"_s);
        for (QLabel* l : { w->labSchwersterFisch, w->labLeichtesterFisch,
                 w->labDurchschnittsGewicht, w->labGesamtGewicht })
            l->setText(u"9999,99 kg"_s);
        w->labZeitProFisch->setText(u"999 Std 59 Min"_s);
        w->labLängsterFisch->setText(u"9999 cm"_s);
        for (QLabel* l :
            { w->labMinTempWasser, w->labMaxTempWasser, w->labMinTempLuft, w->labMaxTempLuft })
            l->setText(u"+ 45 °C"_s);
        for (QLabel* l : { w->labMinAngeltiefe, w->labAngelTiefe, w->labMaxAngeltiefe })
            l->setText(u"999,99 m"_s);
        QApplication::processEvents();
        for (QWidget* parent : { w->centralWidget(), static_cast<QWidget*>(w->fraStatistik) }) {
            const QList<QWidget*> kids = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            for (QWidget* a : kids) {
                QVERIFY2(parent->rect().contains(a->geometry()), qPrintable(a->objectName()));
                for (QWidget* b : kids)
                    QVERIFY2(a == b || !a->geometry().intersects(b->geometry()),
                        qPrintable(a->objectName() + u" / "_s + b->objectName()));
                const bool hasText = qobject_cast<QLabel*>(a) || qobject_cast<QPushButton*>(a);
                QVERIFY2(
                    !hasText || a->sizeHint().width() <= a->width(), qPrintable(a->objectName()));
            }
        }
        QVERIFY(w->centralWidget()->geometry().bottom() < w->height());
    }

    void programEnd_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("ends");
        QTest::newRow("Beenden, Ja") << u"Ja"_s << true;
        QTest::newRow("Beenden, Nein") << u"Nein"_s << false;
        QTest::newRow("close box: no question") << u"close"_s << true;
    }
    void programEnd()
    {
        QFETCH(QString, how);
        QFETCH(bool, ends);
        auto w = openWindow(18000, 13500, 0);
        if (how == u"close") {
            w->close();
        } else {
            f->t->dialogs.answer(how == u"Ja" ? MsgResult::Yes : MsgResult::No);
            w->mnuEnde->trigger();
            const auto& q = f->t->dialogs.shown().first();
            QCOMPARE(q.text, u"Wollen Sie das Programm wirklich beenden?"_s);
            QCOMPARE(q.icon, MsgIcon::Question);
            QCOMPARE(q.buttons, MsgButtons::YesNo);
            QVERIFY(q.title.isEmpty() || q.title == u"Uferwacht Digitales Kescherheft"_s);
        }
        QCOMPARE(f->t->dialogs.shown().size(), how == u"close" ? 0 : 1);
        QCOMPARE(f->quits == 1, ends);
        QCOMPARE(f->t->logEntries(), ends ? QStringList { u"PROGRAMM\tEnde"_s } : QStringList());
        const QList<QByteArray> settings = f->t->read(u"settings.ini"_s).split('\n');
        const QList<QByteArray> sizes { " 13500 \r", " 18000 \r", " 0 \r" };
        QCOMPARE(settings.mid(4, 3), ends ? sizes : QList<QByteArray>());
    }

    void links_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("helpFolderOnDisk");
        QTest::addColumn<QString>("opened");
        auto row = [](const char* name, const QString& trigger, const QString& opened,
                       const QString& folder = {}) {
            QTest::newRow(name) << trigger << folder << opened;
        };
        row("local help", u"mnuShowHelp"_s, u"<dir>/help/index.html"_s);
        row("local help, other spelling", u"mnuShowHelp"_s, u"<dir>/Help/index.html"_s, u"Help"_s);
        row("online help", u"mnuShowHelpOnline"_s,
            u"https://www.uferwacht.example/kescherheft_help/index.html"_s);
        row("Image1", u"Image1"_s, u"https://www.angelgeraete-nordufer.example/"_s);
        row("Image2", u"Image2"_s, u"https://www.uferwacht.example/"_s);
        row("Image3", u"Image3"_s, u"https://www.koederwerk.example/"_s);
        row("Image2, released outside", u"Image2 dragged"_s, QString());
    }
    void links()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, helpFolderOnDisk);
        QFETCH(QString, opened);
        if (!helpFolderOnDisk.isEmpty())
            f->t->write(helpFolderOnDisk + u"\\index.html"_s, "<html></html>");
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

    void f2OpensCatchEntry()
    {
        auto w = openWindow();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_F2);
        QVERIFY(f->app->addFish && f->app->addFish->isVisible());
        f->app->addFish->close();
    }

    void createBarScrollRange_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("empty list") << QStringList {} << false;
        QTest::newRow("short row") << QStringList { u"B\tDatum"_s } << false;
        QStringList wide(22, u"\t17.05.2004\tPeter\t06:00"_s);
        wide[7] = QStringList(18, u"Ein recht langer Eintrag"_s).join(u'\t');
        QTest::newRow("widest in the middle") << wide << true;
    }
    void createBarScrollRange()
    {
        QFETCH(QStringList, rows);
        QFETCH(bool, scrolls);
        auto w = openWindow();
        TabListView* list = w->lstFänge;
        QScrollBar* bar = list->horizontalScrollBar();
        list->setItems(rows);
        QApplication::processEvents(); // laid out with the old range first
        w->CreateBar();
        QApplication::processEvents();
        QVERIFY(bar->isVisible() && list->verticalScrollBar()->isVisible());
        const TabLayout layout(list->font(), list->tabStops());
        qreal widest = 0;
        for (const QString& r : rows)
            widest = qMax(widest, layout.textWidth(r));
        // Text width rounded to whole twips, then whole pixels.
        const int extent = int(std::lround(widest * 15)) / 15;
        QCOMPARE(list->horizontalExtent(), extent);
        const int overflow = extent + 2 * ListTabDelegate::TextMargin - list->viewport()->width();
        QVERIFY(scrolls ? std::abs(bar->maximum() - overflow) <= 1 : bar->maximum() == 0);
        // Emptying the list and fitting again takes the range back.
        list->clear();
        w->CreateBar();
        QApplication::processEvents();
        QCOMPARE(bar->maximum(), 0);
        QVERIFY(bar->isVisible());
    }
};

QTEST_MAIN(TestFrmHaupt)
#include "tst_frmHaupt.moc"
