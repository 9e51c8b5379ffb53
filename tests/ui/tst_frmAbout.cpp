// The About window: its fields after the load step and the two "?" menu
// entries.
#include "ui/AppFixture.h"
#include "ui/frmAbout.h"
#include "ui/frmHaupt.h"
#include "ui/frmUpdater.h"

#include <QAction>
#include <QLabel>
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
        // A Windows program file whose header stamp is 5 May 2009, 08:59:44 UTC.
        QByteArray program(1024, '\0');
        program.replace(0, 2, "MZ");
        program.replace(0x80, 12, QByteArray("PE\0\0\x4c\x01\x03\x00\x00\x00\x00\x4a", 12));
        TestEnv t;
        t.write(u"kescherheft"_s, program);
        AppState app(t.env);
        app.build = { t.path(u"kescherheft"_s), 1709335800 };
        frmAbout w(app);
        QCOMPARE(w.windowTitle(), u"Über das Uferwacht Digitales Kescherheft"_s);
        QCOMPARE(w.txtProgrammName->text(), u"Uferwacht Digitales Kescherheft"_s);
        QCOMPARE(w.txtVersion->text(), u"1.0.0.2"_s);
        QCOMPARE(w.txtReleaseDate->text(), u"05.05.2009"_s);
        QVERIFY(w.txtCopyright->text().startsWith(u"Copyright © "_s));
        QCOMPARE(w.txtBetaTester->toPlainText().split(u'\n').size(), 2);
        // Each field is read-only and named by its caption.
        QStringList captions;
        for (QLabel* l : w.findChildren<QLabel*>()) {
            if (l->buddy() && l->buddy()->property("readOnly").toBool())
                captions.append(l->buddy()->objectName() + u'=' + l->text());
        }
        captions.sort();
        QCOMPARE(captions,
            (QStringList { u"txtBetaTester=Beta-Tester:"_s, u"txtCoder=Programmierer:"_s,
                u"txtCopyright=Copyright:"_s, u"txtDataFolder=Datenordner:"_s,
                u"txtProgrammName=Programmname:"_s, u"txtReleaseDate=Release:"_s,
                u"txtVersion=Version:"_s }));
        QCOMPARE(w.txtDataFolder->text(), t.dir());
        QVERIFY(!w.Image1->pixmap().isNull());
        QVERIFY(t.logEntries().isEmpty());
    }

    void helpMenuOpensBothWindows()
    {
        AppFixture f;
        App& app = f.startApp();
        app.haupt->mnuAbout->trigger();
        QPointer<frmAbout> about = app.about;
        QVERIFY(about && about->isVisible());
        QVERIFY(app.haupt->isEnabled()); // not modal
        app.haupt->mnuAbout->trigger();
        QCOMPARE(app.about.data(), about.data()); // raised, not opened twice
        about->cmdOK->click();
        QTRY_VERIFY(about.isNull()); // destroyed when closed

        app.haupt->mnuUpdate->trigger();
        QVERIFY(app.updater && app.updater->isVisible());
        QVERIFY(!app.haupt->menuBar()->isEnabled());
        app.updater->cmdAbort->click();
        QVERIFY(app.updater->isHidden());
        QVERIFY(app.haupt->menuBar()->isEnabled());
        QVERIFY(f.t->dialogs.verifyDone());
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
        QVERIFY(f.t->dialogs.verifyDone());
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmAbout.moc"
