// The About window: its fields after the load step and its menu entry.
#include "ui/AppFixture.h"
#include "ui/frmAbout.h"
#include "ui/frmHaupt.h"
#include "ui/frmUpdater.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestFrmAbout : public QObject {
    Q_OBJECT

private slots:
    void fieldsAfterLoad()
    {
        // No program file: the build time the program carries, 1 March 2024,
        // 12:00 UTC.
        TestEnv t;
        AppState app(t.env);
        app.build = { t.path(u"kescherheft"_s), 1709294400 };
        frmAbout w(app);
        QCOMPARE(QStringList({ w.windowTitle(), w.txtProgrammName->text(), w.txtVersion->text(),
                     w.txtReleaseDate->text() }),
            QStringList({ u"Über das Uferwacht Digitales Kescherheft"_s,
                u"Uferwacht Digitales Kescherheft"_s, u"1.0.0.2"_s, u"01.03.2024"_s }));
        QVERIFY(w.txtCopyright->text().startsWith(u"Copyright © "_s));
        QCOMPARE(w.txtBetaTester->toPlainText().split(u'\n').size(), 2);
        QCOMPARE(w.txtDataFolder->text(), t.dir());
        QVERIFY(t.logEntries().isEmpty());
    }

    // Not modal, raised rather than opened twice, destroyed when closed.
    void helpMenuOpensTheWindowOnce()
    {
        AppFixture f;
        App& app = f.startApp();
        app.haupt->mnuAbout->trigger();
        QPointer<frmAbout> about = app.about;
        QVERIFY(about && about->isVisible() && app.haupt->isEnabled());
        app.haupt->mnuAbout->trigger();
        QCOMPARE(app.about.data(), about.data());
        about->cmdOK->click();
        QTRY_VERIFY(about.isNull());
    }

    void withoutUpdaterNothingIsFetched()
    {
        // A package's updates come from the system: "Update starten" says so
        // and creates no updater, which alone fetches from the network.
        AppFixture f;
        App& app = f.startApp();
        app.state.updater = false;
        f.t->dialogs.expectMessage();
        app.haupt->mnuUpdate->trigger();
        QVERIFY(!app.updater);
        QCOMPARE(f.t->dialogs.shown().last().text, kUpdatesFromPackages);
        QCOMPARE(f.t->dialogs.shown().last().icon, MsgIcon::Information);
        QVERIFY(app.haupt->menuBar()->isEnabled());
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmAbout.moc"
