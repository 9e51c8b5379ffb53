// Keyboard and assistive technology: every input named, every control with
// an action and a Tab stop, the filter switch a check box every way works.
#include "ui/AppFixture.h"
#include "ui/FilterSwitch.h"
#include "ui/frmAddFish.h"
#include "ui/frmAddKosten.h"
#include "ui/frmAuswertung.h"
#include "ui/frmCsvImport.h"
#include "ui/frmDatePicker.h"
#include "ui/frmFangUebersicht.h"
#include "ui/frmHaupt.h"
#include "ui/frmPic.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Findings {
    QStringList problems; // unnamed inputs, controls without action or Tab stop
    QStringList seen; // object names met on the way
};

QString describe(QAccessibleInterface* iface)
{
    const QObject* o = iface->object();
    const QString name = o ? o->objectName() : QString();
    return (name.isEmpty() && o ? QString::fromLatin1(o->metaObject()->className()) : name)
        + u" ("_s + QString::number(int(iface->role()), 16) + u')';
}

using R = QAccessible::Role;
const QList<R> kInputs { R::EditableText, R::SpinBox, R::ComboBox, R::List, R::Table, R::Tree,
    R::Slider };
const QList<R> kControls { R::PushButton, R::CheckBox, R::RadioButton, R::ButtonMenu,
    R::ButtonDropDown, R::MenuItem, R::Link };

// Walks the visible part of the tree below iface. Lists are not entered
// (their children are their lines), nor Qt's own calendar.
void walk(QAccessibleInterface* iface, Findings& f)
{
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (!child || child->state().invisible)
            continue;
        const QAccessible::Role role = child->role();
        QObject* object = child->object();
        if (object && !object->objectName().isEmpty())
            f.seen.append(object->objectName());
        if (kInputs.contains(role) && child->text(QAccessible::Name).trimmed().isEmpty())
            f.problems.append(u"unnamed "_s + describe(child));
        // A disabled control offers no action until it is enabled.
        if (kControls.contains(role) && !child->state().disabled) {
            const QStringList actions = child->actionInterface()
                ? child->actionInterface()->actionNames()
                : QStringList();
            if (!actions.contains(QAccessibleActionInterface::pressAction())
                && !actions.contains(QAccessibleActionInterface::toggleAction())
                && !actions.contains(QAccessibleActionInterface::showMenuAction()))
                f.problems.append(u"no action "_s + describe(child));
            auto* widget = qobject_cast<QWidget*>(object);
            if (widget && !(widget->focusPolicy() & Qt::TabFocus))
                f.problems.append(u"no Tab stop "_s + describe(child));
        }
        if (role == R::List || role == R::Table || role == R::Tree
            || qobject_cast<QCalendarWidget*>(object))
            continue;
        walk(child, f);
    }
}

QAccessibleInterface* accessible(QObject* o)
{
    return QAccessible::queryAccessibleInterface(o);
}

} // namespace

class TestAccessibility : public QObject, AppFixture {
    Q_OBJECT

    std::function<bool()> filterMode; // of the overview or the cost window

    // Opens the named window, with " filter" after the name in filter mode.
    std::unique_ptr<QWidget> open(const QString& window)
    {
        t->write(u"db\\fänge\\db"_s, QByteArray());
        t->write(u"db\\kosten\\db"_s, QByteArray());
        makeApp();
        std::unique_ptr<QWidget> w;
        if (window.startsWith(u"frmHaupt")) {
            w = std::unique_ptr<frmHaupt>(app->createMain());
        } else if (window.startsWith(u"frmAddFish")) {
            w = std::make_unique<frmAddFish>(app->state);
        } else if (window.startsWith(u"frmFangÜbersicht")) {
            auto* o = app->createOverview();
            w.reset(o);
            o->show();
            filterMode = [o] { return o->filterMode(); };
        } else if (window.startsWith(u"frmAddKosten")) {
            auto* k = app->createCosts();
            w.reset(k);
            filterMode = [k] { return k->filterMode(); };
        } else if (window.startsWith(u"frmCsvImport")) {
            w = std::make_unique<frmCsvImport>(app->state, CsvLog::Catches, u"a.csv"_s,
                "Datum;Fischart;Notiz\r\n17.05.2004;Hecht;x\r\n31.02.2004;Aal;y\r\n");
        } else if (window.startsWith(u"frmAuswertung")) {
            w = std::make_unique<frmAuswertung>(app->state);
        } else if (window.startsWith(u"frmDatePicker")) {
            w = std::make_unique<frmDatePicker>(app->state.env, nullptr);
        } else {
            w = std::make_unique<frmPic>();
        }
        if (window.endsWith(u" filter"))
            w->findChild<FilterSwitch*>(u"chkFilter"_s)->click();
        w->show();
        return w;
    }

private Q_SLOTS:
    void cleanup() { closeApp(); }

    void everyInputNamedEveryControlUsable_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("expected"); // some of the objects the walk must meet
        QTest::newRow("main window") << u"frmHaupt"_s << u"cmdPics Image2 mnuDatei"_s;
        QTest::newRow("catch entry") << u"frmAddFish"_s << u"txtDate cmdDatePicker cmdBrowse"_s;
        QTest::newRow("catch overview") << u"frmFangÜbersicht"_s << u"chkFilter cmdEdit"_s;
        QTest::newRow("catch overview, filter mode")
            << u"frmFangÜbersicht filter"_s << u"txtFilter cmdReset"_s;
        QTest::newRow("cost window") << u"frmAddKosten"_s << u"txtVersandkosten txtGesamt"_s;
        QTest::newRow("cost window, filter mode")
            << u"frmAddKosten filter"_s << u"txtGesamt2 txtFilter"_s;
        QTest::newRow("CSV import") << u"frmCsvImport"_s << u"cboZeichensatz chkDoppelte"_s;
        QTest::newRow("evaluations")
            << u"frmAuswertung"_s << u"cboJahr cboFänger txtFilter lstAnsicht grdZahlen cmdPrint"_s;
        QTest::newRow("date picker") << u"frmDatePicker"_s << u"DTPicker1 cmdSave"_s;
        QTest::newRow("picture window") << u"frmPic"_s << u"cmdClose"_s;
    }
    void everyInputNamedEveryControlUsable()
    {
        QFETCH(QString, window);
        QFETCH(QString, expected);
        const std::unique_ptr<QWidget> w = open(window);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        Findings f;
        walk(accessible(w.get()), f);
        QVERIFY2(f.problems.isEmpty(), qPrintable(f.problems.join(u", "_s)));
        for (const QString& name : expected.split(u' '))
            QVERIFY2(f.seen.contains(name), qPrintable(name));
        w->hide(); // the overview is only hidden while the program runs
    }

    // The filter switch reads as a check box, checked exactly in filter mode;
    // every way of using it switches the mode.
    void filterSwitchAllWays_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("way");
        for (const QString& window : { u"frmFangÜbersicht"_s, u"frmAddKosten"_s }) {
            for (const QString& way : { u"toggle action"_s, u"press action"_s, u"Space"_s,
                     u"click on caption"_s, u"click on picture"_s }) {
                QTest::addRow("%s, %s", qPrintable(window), qPrintable(way)) << window << way;
            }
        }
    }
    void filterSwitchAllWays()
    {
        QFETCH(QString, window);
        QFETCH(QString, way);
        const std::unique_ptr<QWidget> w = open(window);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        auto* sw = w->findChild<FilterSwitch*>(u"chkFilter"_s);
        auto* ticked = w->findChild<QLabel*>(u"imgFilterTrue"_s);
        auto* unticked = w->findChild<QLabel*>(u"imgFilterFalse"_s);
        QVERIFY(sw && ticked && unticked);
        QAccessibleInterface* iface = accessible(sw);
        QCOMPARE(iface->role(), QAccessible::CheckBox);
        QCOMPARE(iface->text(QAccessible::Name), u"Filter verwenden"_s);

        auto use = [&] {
            if (way == u"toggle action") {
                iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            } else if (way == u"press action") {
                const bool before = filterMode();
                iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                QTRY_VERIFY(filterMode() != before); // a press is animated
            } else if (way == u"Space") {
                QTest::keyClick(sw, Qt::Key_Space);
            } else if (way == u"click on caption") {
                QTest::mouseClick(sw, Qt::LeftButton);
            } else {
                QTest::mouseClick(ticked->isHidden() ? unticked : ticked, Qt::LeftButton);
            }
        };
        for (bool on : { true, false }) {
            use();
            QCOMPARE((QList<bool> { filterMode(), !ticked->isHidden(), unticked->isHidden(),
                         sw->isChecked(), bool(iface->state().checked) }),
                QList<bool>(5, on));
        }
        w->hide();
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
