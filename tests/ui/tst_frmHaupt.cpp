#include "platform/Paths.h"
#include "support/TestEnv.h"
#include "ui/App.h"
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
#include <QSet>
#include <QTest>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct MenuRow {
    QString name;
    QString parent; // objectName of the menu that holds it; "" for the menu bar
    QString caption; // "-" for a separator
    QString shortcut;
};

// The whole menu tree, depth first, in menu order.
const QList<MenuRow>& menuTree()
{
    static const QList<MenuRow> rows {
        { u"mnuDatei"_s, u""_s, u"Datei"_s, u""_s },
        { u"mnuBackup"_s, u"mnuDatei"_s, u"Backup"_s, u""_s },
        { u"mnuCreateBackup"_s, u"mnuBackup"_s, u"Erstellen"_s, u"F11"_s },
        { u"mnuReadBackup"_s, u"mnuBackup"_s, u"Einlesen"_s, u"F12"_s },
        { u"mnuDB"_s, u"mnuDatei"_s, u"Datenbanken"_s, u""_s },
        { u"mnuSortDB"_s, u"mnuDB"_s, u"Sortieren"_s, u""_s },
        { u"mnusrichXDSFJLD"_s, u"mnuDB"_s, u"-"_s, u""_s },
        { u"mnuResetFänge"_s, u"mnuDB"_s, u"Fänge zurücksetzen"_s, u"Shift+F11"_s },
        { u"mnuResetKosten"_s, u"mnuDB"_s, u"Kosten zurücksetzen"_s, u"Shift+F12"_s },
        { u"mnuStrichX"_s, u"mnuDB"_s, u"-"_s, u""_s },
        { u"mnuResetDB"_s, u"mnuDB"_s, u"alle zurücksetzen"_s, u"Ctrl+F12"_s },
        { u"mnuStrich1"_s, u"mnuDatei"_s, u"-"_s, u""_s },
        { u"mnuEnde"_s, u"mnuDatei"_s, u"Beenden"_s, u"Ctrl+Q"_s },
        { u"mnuFang"_s, u""_s, u"Fang"_s, u""_s },
        { u"mnuAddFish"_s, u"mnuFang"_s, u"Hinzufügen"_s, u"F2"_s },
        { u"mnuStrich2"_s, u"mnuFang"_s, u"-"_s, u""_s },
        { u"mnuFangÜbersicht"_s, u"mnuFang"_s, u"Übersicht / Bearbeiten"_s, u"F4"_s },
        { u"mnuKosten"_s, u""_s, u"Angelkosten"_s, u""_s },
        { u"mnuAddKosten"_s, u"mnuKosten"_s, u"Hinzufügen"_s, u"F3"_s },
        { u"mnuStrich4"_s, u"mnuKosten"_s, u"-"_s, u""_s },
        { u"mnuKostenÜbersicht"_s, u"mnuKosten"_s, u"Übersicht / Bearbeiten"_s, u"F5"_s },
        { u"mnuPrint"_s, u""_s, u"Drucken"_s, u""_s },
        { u"mnuPrintFront"_s, u"mnuPrint"_s, u"Deckseite"_s, u"Ctrl+F1"_s },
        { u"mnuStrichSADJ"_s, u"mnuPrint"_s, u"-"_s, u""_s },
        { u"mnuPrintFänge"_s, u"mnuPrint"_s, u"Fangdatenbank"_s, u"Ctrl+F2"_s },
        { u"mnuPrintKosten"_s, u"mnuPrint"_s, u"Kostendatenbank"_s, u"Ctrl+F3"_s },
        { u"mnuStrichXfjkdsajfk"_s, u"mnuPrint"_s, u"-"_s, u""_s },
        { u"mnuPrintEmptyTable"_s, u"mnuPrint"_s, u"Leere Tabelle"_s, u"Ctrl+F4"_s },
        { u"mnuFilter"_s, u""_s, u"Filtern"_s, u""_s },
        { u"mnuFilterKosten"_s, u"mnuFilter"_s, u"Kosten"_s, u"F8"_s },
        { u"mnuFilterFänge"_s, u"mnuFilter"_s, u"Fänge"_s, u"F9"_s },
        { u"mnuHilfe"_s, u""_s, u"?"_s, u""_s },
        { u"mnuShowHelp"_s, u"mnuHilfe"_s, u"Hilfe anzeigen"_s, u"F1"_s },
        { u"mnuShowHelpOnline"_s, u"mnuHilfe"_s, u"Onlinehilfe anzeigen"_s, u"Shift+F1"_s },
        { u"mnuUpdate"_s, u"mnuHilfe"_s, u"Update starten"_s, u"F7"_s },
        { u"mnuStrichb"_s, u"mnuHilfe"_s, u"-"_s, u""_s },
        { u"mnuAbout"_s, u"mnuHilfe"_s, u"Über..."_s, u""_s },
    };
    return rows;
}

void walkMenu(const QList<QAction*>& actions, const QString& parent, QList<MenuRow>& out)
{
    for (QAction* a : actions) {
        const QString caption = a->isSeparator() ? u"-"_s : a->text();
        out.append({ a->objectName(), parent, caption,
            a->shortcut().toString(QKeySequence::PortableText) });
        if (QMenu* sub = a->menu())
            walkMenu(sub->actions(), sub->objectName(), out);
    }
}

QString caption(QObject* o)
{
    if (auto* b = qobject_cast<QPushButton*>(o))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(o))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(o))
        return g->title();
    return u"<no caption>"_s;
}

// Text width as the list box measures it: twips rounded, then whole pixels.
int extentOf(qreal widthPx)
{
    return int(std::lround(widthPx * 15)) / 15;
}

const QList<int> MainTabStops { 20, 65, 110, 140, 170, 200, 280, 315, 345, 420, 505, 570, 650, 710,
    750, 800, 860 };

} // namespace

class tst_frmHaupt : public QObject {
    Q_OBJECT

    struct Fixture {
        TestEnv t;
        bool quitCalled = false;
        App app { t.env, [this] { quitCalled = true; } };
    };
    std::unique_ptr<Fixture> f;

    // A window with the given saved size and state, shown and laid out.
    std::unique_ptr<frmHaupt> openWindow(
        int widthTwips = 1000, int heightTwips = 1000, int state = 0)
    {
        f->app.settings.MainWidth = qint16(widthTwips);
        f->app.settings.MainHeight = qint16(heightTwips);
        f->app.settings.MainWindowState = qint16(state);
        auto w = std::make_unique<frmHaupt>(f->app);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        QApplication::processEvents();
        return w;
    }

private slots:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup()
    {
        f->t.dialogs.verifyDone();
        f.reset();
    }

    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const QList<std::pair<QString, QString>> rows {
            { u"cmdZeit"_s, u"Angelzeit: XX std  XX min"_s },
            { u"cmdFangÜbersicht"_s, u"Gefangene Fische: XXXXX"_s },
            { u"cmdKostenÜbersicht"_s, u"Angelkosten: XX €"_s },
            { u"cmdPics"_s, u"Anzahl der Bilder: XX"_s },
            { u"Label1"_s, u"Die letzten 20 gefangenen Fische:"_s },
            { u"fraStatistik"_s, u"Statistiken:"_s },
            { u"Label7"_s, u"Schwerster Fisch:"_s },
            { u"Label12"_s, u"Leichtester Fisch:"_s },
            { u"Label17"_s, u"Durchschnittsgewicht:"_s },
            { u"Label13"_s, u"Gesamtgewicht:"_s },
            { u"Label14"_s, u"Kleinster Fisch:"_s },
            { u"Label6"_s, u"Längster Fisch:"_s },
            { u"Label3"_s, u"Durchschnittliche Angelzeit pro Fisch:"_s },
            { u"labZeitProFisch"_s, u"0 Std  0 min"_s },
            { u"Label8"_s, u"Minimale Wassertemperatur:"_s },
            { u"Label11"_s, u"Maximale Wassertemperatur:"_s },
            { u"Label5"_s, u"Minimale Lufttemperatur:"_s },
            { u"Label9"_s, u"Maximale Lufttemperatur:"_s },
            { u"Label10"_s, u"Minimale Angeltiefe:"_s },
            { u"Label4"_s, u"Durchschnittsangeltiefe:"_s },
            { u"Label2"_s, u"Maximale Angeltiefe:"_s },
        };
        for (const auto& [name, text] : rows)
            QTest::newRow(name.toUtf8()) << name << text;
    }
    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        frmHaupt w(f->app);
        QCOMPARE(w.windowTitle(), u"Uferwacht Digitales Kescherheft v1.0.0.2"_s);
        QObject* o = w.findChild<QWidget*>(name);
        QVERIFY2(o, qPrintable(name));
        QCOMPARE(caption(o), text);
    }

    // Later code reaches the widgets through the members; tests and the
    // front page through their names. Both must lead to the same widget.
    void membersCarryTheirNames()
    {
        frmHaupt w(f->app);
        const QList<std::pair<QObject*, QString>> members {
            { w.cmdFangÜbersicht, u"cmdFangÜbersicht"_s },
            { w.cmdKostenÜbersicht, u"cmdKostenÜbersicht"_s },
            { w.lstFänge, u"lstFänge"_s },
            { w.labLängsterFisch, u"labLängsterFisch"_s },
            { w.labSchwersterFisch, u"labSchwersterFisch"_s },
            { w.labMaxAngeltiefe, u"labMaxAngeltiefe"_s },
            { w.labAngelTiefe, u"labAngelTiefe"_s },
            { w.Image1, u"Image1"_s },
            { w.Image2, u"Image2"_s },
            { w.Image3, u"Image3"_s },
            { w.mnuResetFänge, u"mnuResetFänge"_s },
            { w.mnuFangÜbersicht, u"mnuFangÜbersicht"_s },
            { w.mnuKostenÜbersicht, u"mnuKostenÜbersicht"_s },
            { w.mnuPrintFänge, u"mnuPrintFänge"_s },
            { w.mnuFilterFänge, u"mnuFilterFänge"_s },
        };
        for (const auto& [member, name] : members)
            QCOMPARE(member->objectName(), name);
        // 14 captions and 14 figures beside Label1 in the frame.
        QCOMPARE(w.fraStatistik->findChildren<QLabel*>(Qt::FindDirectChildrenOnly).size(), 29);
    }

    void menuEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        for (const MenuRow& r : menuTree())
            QTest::newRow(r.name.toUtf8()) << r.name << r.parent << r.caption << r.shortcut;
    }
    void menuEntries()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        frmHaupt w(f->app);
        QAction* a = w.findChild<QAction*>(name);
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(a->isSeparator() ? u"-"_s : a->text(), caption);
        QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), shortcut);
        const QList<QAction*> siblings
            = parent.isEmpty() ? w.menuBar()->actions() : w.findChild<QMenu*>(parent)->actions();
        QVERIFY(siblings.contains(a));
    }

    // The order of the table is the order of the menus, and nothing else is in them.
    void menuOrder()
    {
        frmHaupt w(f->app);
        QList<MenuRow> seen;
        walkMenu(w.menuBar()->actions(), QString(), seen);
        QCOMPARE(seen.size(), menuTree().size());
        for (qsizetype i = 0; i < seen.size(); ++i) {
            QCOMPARE(seen[i].name, menuTree()[i].name);
            QCOMPARE(seen[i].parent, menuTree()[i].parent);
        }
    }

    void smallSettingsOpenAtMinimum()
    {
        auto w = openWindow(1000, 1000, 0);
        QCOMPARE(w->windowState() & Qt::WindowMaximized, Qt::WindowStates());
        QVERIFY(w->width() * 15 >= 14760);
        QVERIFY(w->height() * 15 >= 11500);
        QCOMPARE(w->size(), QSize(984, 767));
        QCOMPARE(f->app.settings.MainWidth, qint16(14760));
        QCOMPARE(f->app.settings.MainHeight, qint16(767 * 15));
    }

    void savedNormalSize()
    {
        auto w = openWindow(18000, 13500, 0);
        QCOMPARE(w->size(), QSize(1200, 900));
        // The refresh runs the load step again: the size stays.
        w->Form_Load();
        QApplication::processEvents();
        QCOMPARE(w->size(), QSize(1200, 900));
    }

    void maximisedState()
    {
        auto w = openWindow(18000, 13500, 2);
        QVERIFY(w->isMaximized());
        QCOMPARE(f->app.settings.MainWindowState, qint16(2));
        QCOMPARE(f->app.settings.MainWidth, qint16(w->width() * 15));
        w->Form_Load();
        QVERIFY(w->isMaximized());
    }

    // The banners keep the place of the last resize in the normal state.
    void maximisedKeepsBanners()
    {
        auto w = openWindow(18000, 13500, 0);
        QCOMPARE(w->Image3->x(), 1200 - w->Image3->width());
        const QPoint image2 = w->Image2->pos();
        const QPoint image3 = w->Image3->pos();
        w->showMaximized();
        QApplication::processEvents();
        QVERIFY(w->isMaximized());
        QCOMPARE(w->Image2->pos(), image2);
        QCOMPARE(w->Image3->pos(), image3);
        QCOMPARE(w->Image1->pos(), QPoint(0, w->Image1->y()));
    }

    void resizeStoresSettings_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("widthTwips");
        QTest::addColumn<int>("heightTwips");
        QTest::newRow("larger") << QSize(1200, 900) << 18000 << 13500;
        QTest::newRow("below minimum") << QSize(500, 400) << 14760 << 767 * 15;
        QTest::newRow("beyond 16 bits") << QSize(2500, 2300) << 32767 << 32767;
    }
    void resizeStoresSettings()
    {
        QFETCH(QSize, size);
        QFETCH(int, widthTwips);
        QFETCH(int, heightTwips);
        auto w = openWindow();
        w->resize(size);
        QApplication::processEvents();
        QCOMPARE(int(f->app.settings.MainWidth), widthTwips);
        QCOMPARE(int(f->app.settings.MainHeight), heightTwips);
        QCOMPARE(int(f->app.settings.MainWindowState), 0);
        QCOMPARE(w->Image3->x() + w->Image3->width(), w->width());
        QVERIFY(std::abs(w->Image2->x() * 2 + w->Image2->width() - w->width()) <= 2);
    }

    void columnsFollowFrameMiddle_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("minimum") << 984;
        QTest::newRow("1200") << 1200;
        QTest::newRow("1597") << 1597;
    }
    void columnsFollowFrameMiddle()
    {
        QFETCH(int, width);
        auto w = openWindow();
        w->resize(width, 800);
        QApplication::processEvents();
        const int frameTwips = width * 15 - 350;
        QVERIFY(std::abs(w->fraStatistik->width() * 15 - frameTwips) < 15);
        QVERIFY(std::abs(w->lstFänge->width() * 15 - (frameTwips - 300)) < 15);
        const double middle = frameTwips / 2.0;
        const QList<std::pair<int, QList<QLabel*>>> columns {
            { -6755,
                { w->Label7, w->Label12, w->Label17, w->Label13, w->Label14, w->Label6,
                    w->Label3 } },
            { -1250,
                { w->labLeichtesterFisch, w->labDurchschnittsGewicht, w->labSchwersterFisch,
                    w->labKleinsterFisch, w->labLängsterFisch, w->labGesamtGewicht,
                    w->labZeitProFisch } },
            { 500,
                { w->Label8, w->Label11, w->Label5, w->Label9, w->Label10, w->Label4, w->Label2 } },
            { 5855,
                { w->labMinTempWasser, w->labMaxTempWasser, w->labMinTempLuft, w->labMaxTempLuft,
                    w->labMinAngeltiefe, w->labAngelTiefe, w->labMaxAngeltiefe } },
        };
        for (const auto& [offset, labels] : columns) {
            for (QLabel* l : labels) {
                QVERIFY2(std::abs(l->x() * 15 - (middle + offset)) <= 8,
                    qPrintable(l->objectName() + u" at "_s + QString::number(l->x())));
            }
        }
        // Rows: the caption and its figure share a line.
        QCOMPARE(w->Label3->y(), w->labZeitProFisch->y());
        QCOMPARE(w->Label2->y(), w->labMaxAngeltiefe->y());
        QCOMPARE(w->Label12->y(), 5520 / 15);
        QCOMPARE(w->Label3->y(), 7680 / 15);
    }

    void buttonRowCentred_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("minimum") << 984;
        QTest::newRow("1333") << 1333;
        QTest::newRow("1600") << 1600;
    }
    void buttonRowCentred()
    {
        QFETCH(int, width);
        auto w = openWindow();
        w->resize(width, 800);
        QApplication::processEvents();
        const QList<QPushButton*> row { w->cmdZeit, w->cmdFangÜbersicht, w->cmdKostenÜbersicht,
            w->cmdPics };
        const QList<int> widths { 3615 / 15, 3015 / 15, 3135 / 15, 3135 / 15 };
        for (int i = 0; i < row.size(); ++i) {
            QCOMPARE(row[i]->width(), widths[i]);
            QCOMPARE(row[i]->y(), 8);
            if (i > 0)
                QVERIFY(std::abs(row[i]->x() - (row[i - 1]->x() + row[i - 1]->width()) - 23) <= 1);
        }
        const int leftGap = row.first()->x();
        const int rightGap = w->width() - (row.last()->x() + row.last()->width());
        QVERIFY2(std::abs(leftGap - rightGap) <= 2,
            qPrintable(u"%1 vs %2"_s.arg(leftGap).arg(rightGap)));
    }

    // At the smallest size and above, widgets neither overlap nor stick
    // out of their parent, and the longest texts fit into their widgets.
    void nothingOverlaps_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum") << QSize(984, 767);
        QTest::newRow("1200x900") << QSize(1200, 900);
    }
    void nothingOverlaps()
    {
        QFETCH(QSize, size);
        auto w = openWindow();
        w->resize(size);
        // Long but possible figures.
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
                for (QWidget* b : kids) {
                    if (a != b)
                        QVERIFY2(!a->geometry().intersects(b->geometry()),
                            qPrintable(a->objectName() + u" / "_s + b->objectName()));
                }
                if (auto* l = qobject_cast<QLabel*>(a))
                    QVERIFY2(l->sizeHint().width() <= l->width(), qPrintable(l->objectName()));
                if (auto* b = qobject_cast<QPushButton*>(a))
                    QVERIFY2(b->sizeHint().width() <= b->width(), qPrintable(b->objectName()));
            }
        }
        QVERIFY(w->centralWidget()->geometry().bottom() < w->height());
    }

    void colours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("colour");
        const QColor window(230, 240, 255);
        QTest::newRow("cmdZeit") << u"cmdZeit"_s << QColor(255, 255, 128);
        QTest::newRow("cmdFangÜbersicht") << u"cmdFangÜbersicht"_s << QColor(128, 255, 128);
        QTest::newRow("cmdKostenÜbersicht") << u"cmdKostenÜbersicht"_s << QColor(255, 0, 0);
        QTest::newRow("cmdPics") << u"cmdPics"_s << QColor(128, 128, 255);
        QTest::newRow("fraStatistik") << u"fraStatistik"_s << window;
        QTest::newRow("Label1") << u"Label1"_s << window;
        QTest::newRow("Label3") << u"Label3"_s << window;
        QTest::newRow("labMaxAngeltiefe") << u"labMaxAngeltiefe"_s << window;
        QTest::newRow("window") << u"frmHauptClient"_s << window;
    }
    void colours()
    {
        QFETCH(QString, name);
        QFETCH(QColor, colour);
        auto w = openWindow();
        auto* widget = w->findChild<QWidget*>(name);
        QVERIFY(widget);
        const QImage img = widget->grab().toImage();
        // A point clear of borders, text and child widgets.
        const QPoint probe = qobject_cast<QGroupBox*>(widget) ? QPoint(img.width() - 6, 40)
            : qobject_cast<QPushButton*>(widget)              ? QPoint(6, img.height() / 2)
                                                              : QPoint(2, 2);
        QCOMPARE(QColor(img.pixel(probe)), colour);
    }

    void endAsks_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Ja") << true;
        QTest::newRow("Nein") << false;
    }
    void endAsks()
    {
        QFETCH(bool, yes);
        auto w = openWindow();
        f->t.dialogs.answer(yes ? MsgResult::Yes : MsgResult::No);
        w->mnuEnde->trigger();
        QCOMPARE(f->t.dialogs.shown().size(), 1);
        const auto& shown = f->t.dialogs.shown().first();
        QCOMPARE(shown.text, u"Wollen Sie das Programm wirklich beenden?"_s);
        QCOMPARE(shown.icon, MsgIcon::Question);
        QCOMPARE(shown.buttons, MsgButtons::YesNo);
        QVERIFY(shown.title.isEmpty() || shown.title == u"Uferwacht Digitales Kescherheft"_s);
        QCOMPARE(f->quitCalled, yes);
        QCOMPARE(f->t.logEntries().contains(u"PROGRAMM\tEnde"_s), yes);
        QCOMPARE(QFileInfo::exists(f->t.path(u"settings.ini"_s)), yes);
    }

    void closeBoxEndsWithoutQuestion()
    {
        auto w = openWindow(18000, 13500, 0);
        w->close();
        QVERIFY(f->quitCalled);
        QVERIFY(f->t.dialogs.shown().isEmpty());
        QCOMPARE(f->t.logEntries(), QStringList { u"PROGRAMM\tEnde"_s });
        const QList<QByteArray> lines = f->t.read(u"settings.ini"_s).split('\n');
        QVERIFY(lines.size() >= 9);
        QCOMPARE(lines[4], QByteArray(" 13500 \r"));
        QCOMPARE(lines[5], QByteArray(" 18000 \r"));
        QCOMPARE(lines[6], QByteArray(" 0 \r"));
    }

    void links_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("helpFolderOnDisk");
        QTest::addColumn<QString>("expected");
        QTest::newRow("local help") << u"mnuShowHelp"_s << u""_s << u"<dir>/help/index.html"_s;
        QTest::newRow("local help, other spelling")
            << u"mnuShowHelp"_s << u"Help"_s << u"<dir>/Help/index.html"_s;
        QTest::newRow("online help")
            << u"mnuShowHelpOnline"_s << u""_s
            << u"https://www.uferwacht.example/kescherheft_help/index.html"_s;
        QTest::newRow("Image1") << u"Image1"_s << u""_s
                                << u"https://www.angelgeraete-nordufer.example/"_s;
        QTest::newRow("Image2") << u"Image2"_s << u""_s << u"https://www.uferwacht.example/"_s;
        QTest::newRow("Image3") << u"Image3"_s << u""_s << u"https://www.koederwerk.example/"_s;
    }
    void links()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, helpFolderOnDisk);
        QFETCH(QString, expected);
        if (!helpFolderOnDisk.isEmpty())
            f->t.write(helpFolderOnDisk + u"\\index.html"_s, "<html></html>");
        auto w = openWindow();
        if (auto* a = w->findChild<QAction*>(trigger))
            a->trigger();
        else
            QTest::mouseClick(w->findChild<QWidget*>(trigger), Qt::LeftButton);
        QCOMPARE(
            f->t.shell.opened, QStringList { QString(expected).replace(u"<dir>"_s, f->t.dir()) });
    }

    // A press that is dragged off the picture is no click.
    void imageReleasedOutside()
    {
        auto w = openWindow();
        QTest::mousePress(w->Image2, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(w->Image2, Qt::LeftButton, {}, QPoint(-20, 5));
        QVERIFY(f->t.shell.opened.isEmpty());
    }

    void shortcuts()
    {
        auto w = openWindow();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_F2);
        QVERIFY(f->app.addFish);
        QVERIFY(f->app.addFish->isVisible());
        f->app.addFish->close();

        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        f->t.dialogs.answer(MsgResult::No);
        QTest::keyClick(w.get(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(f->t.dialogs.messageTexts(),
            QStringList { u"Wollen Sie das Programm wirklich beenden?"_s });
        QVERIFY(!f->quitCalled);
    }

    void formLoadLogsBadState()
    {
        auto w = openWindow(18000, 13500, 7);
        QVERIFY(f->t.logEntries().contains(u"Sub frmHaupt.Form_Load\tError (5)"_s));
        // The steps after the failing one still ran.
        QCOMPARE(w->size(), QSize(1200, 900));
        QCOMPARE(w->lstFänge->tabStops(), MainTabStops);
        QCOMPARE(w->lstFänge->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    void tabStopPositions_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QList<int>>("stops");
        // Expected left edges; "s<n>" is the stop at n dialog units,
        // "d<n>" the n-th multiple of the 32-unit default beyond the last stop.
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one segment")
            << u"Hecht"_s << QList<int> { 20, 65 } << QStringList { u"0"_s };
        QTest::newRow("short segments")
            << u"a\tb\tc"_s << QList<int> { 20, 65 } << QStringList { u"0"_s, u"s20"_s, u"s65"_s };
        QTest::newRow("empty segments")
            << u"\t\t"_s << QList<int> { 20, 65 } << QStringList { u"0"_s, u"s20"_s, u"s65"_s };
        QTest::newRow("segment beyond a stop skips it")
            << u"WWWWWWWWWWWW\tx"_s << QList<int> { 4, 200 } << QStringList { u"0"_s, u"s200"_s };
        QTest::newRow("past the last stop")
            << u"a\tb\tc"_s << QList<int> { 20 } << QStringList { u"0"_s, u"s20"_s, u"d1"_s };
        QTest::newRow("no stops") << u"a\tb"_s << QList<int> {} << QStringList { u"0"_s, u"d1"_s };
    }
    void tabStopPositions()
    {
        QFETCH(QString, row);
        QFETCH(QList<int>, stops);
        QFETCH(QStringList, expected);
        QFont font(u"DejaVu Sans"_s);
        font.setPixelSize(12);
        const TabLayout layout(font, stops);
        const int avg = TabLayout::averageCharWidth(font);
        QVERIFY(avg >= 5 && avg <= 9);
        auto stopPx = [&](int du) { return int(std::lround(du * avg / 4.0)); };
        QList<qreal> want;
        for (const QString& e : expected) {
            if (e.startsWith(u's'))
                want.append(stopPx(e.mid(1).toInt()));
            else if (e.startsWith(u'd'))
                want.append(e.mid(1).toInt() * stopPx(32));
            else
                want.append(e.toInt());
        }
        QCOMPARE(layout.segmentPositions(row), want);
        const QString last = row.section(u'\t', -1);
        QCOMPARE(layout.textWidth(row), want.last() + QFontMetricsF(font).horizontalAdvance(last));
    }

    // The main list's 17 stops give 18 columns, left to right.
    void mainListStopsIncrease()
    {
        frmHaupt w(f->app);
        QCOMPARE(w.lstFänge->tabStops(), MainTabStops);
        QStringList fields;
        for (int i = 0; i < 18; ++i)
            fields.append(u"x"_s);
        const TabLayout layout(w.lstFänge->font(), w.lstFänge->tabStops());
        const QList<qreal> xs = layout.segmentPositions(fields.join(u'\t'));
        QCOMPARE(xs.size(), 18);
        for (int i = 1; i < xs.size(); ++i) {
            QVERIFY(xs[i] > xs[i - 1]);
            QCOMPARE(int(xs[i]), layout.stopsPx()[i - 1]);
        }
    }

    // What is drawn stands where the measurement says.
    void rowsDrawnAtTabStops()
    {
        auto w = openWindow();
        w->lstFänge->setItems({ u"\t\t\u2588"_s, u"\u2588"_s });
        w->CreateBar();
        QApplication::processEvents();
        const QImage img = w->lstFänge->viewport()->grab().toImage();
        const TabLayout layout(w->lstFänge->font(), w->lstFänge->tabStops());
        auto firstInk = [&](int row) {
            const QRect r = w->lstFänge->visualRect(w->lstFänge->model()->index(row, 0));
            const int y = r.center().y();
            for (int x = 0; x < img.width(); ++x) {
                if (qGray(img.pixel(x, y)) < 80)
                    return x - r.left();
            }
            return -1;
        };
        const int margin = ListTabDelegate::TextMargin;
        QVERIFY(std::abs(firstInk(0) - (layout.stopsPx()[1] + margin)) <= 1);
        QVERIFY(std::abs(firstInk(1) - margin) <= 1);
    }

    void createBarScrollRange_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("empty list") << QStringList {} << false;
        QTest::newRow("short row") << QStringList { u"B\tDatum"_s } << false;
        QStringList wide;
        for (int i = 0; i < 22; ++i)
            wide.append(u"\t17.05.2004\tPeter\t06:00"_s);
        wide[7] = QStringList(18, u"Ein recht langer Eintrag"_s).join(u'\t');
        QTest::newRow("widest in the middle") << wide << true;
    }
    void createBarScrollRange()
    {
        QFETCH(QStringList, rows);
        QFETCH(bool, scrolls);
        auto w = openWindow();
        TabListView* list = w->lstFänge;
        list->setItems(rows);
        QApplication::processEvents(); // laid out with the old range first
        w->CreateBar();
        QApplication::processEvents();

        QVERIFY(list->horizontalScrollBar()->isVisible());
        QVERIFY(list->verticalScrollBar()->isVisible());
        const TabLayout layout(list->font(), list->tabStops());
        qreal widest = 0;
        for (const QString& r : rows)
            widest = qMax(widest, layout.textWidth(r));
        QCOMPARE(list->horizontalExtent(), extentOf(widest));
        QScrollBar* bar = list->horizontalScrollBar();
        if (scrolls) {
            const int content = extentOf(widest) + 2 * ListTabDelegate::TextMargin;
            QVERIFY(std::abs(bar->maximum() - (content - list->viewport()->width())) <= 1);
        } else {
            QCOMPARE(bar->maximum(), 0);
        }
        // Emptying the list and fitting again takes the range back.
        list->clear();
        w->CreateBar();
        QApplication::processEvents();
        QCOMPARE(bar->maximum(), 0);
        QVERIFY(bar->isVisible());
    }

    void bannersArePainted()
    {
        const QImage img = paintBanner(BannerKind::Brand, QSize(380, 115));
        QCOMPARE(img.size(), QSize(380, 115));
        QSet<QRgb> colours;
        for (int x = 0; x < img.width(); x += 7)
            colours.insert(img.pixel(x, img.height() / 3));
        QVERIFY(colours.size() > 3);
    }
};

QTEST_MAIN(tst_frmHaupt)
#include "tst_frmHaupt.moc"
