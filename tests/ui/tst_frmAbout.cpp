// The About window: its fields after the load step, the release date for
// a Windows program file and for any other, and the two "?" menu entries.
#include "app/BuildDate.h"
#include "ui/AppFixture.h"
#include "ui/frmAbout.h"
#include "ui/frmHaupt.h"
#include "ui/frmUpdater.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;

namespace {

// A Windows program file whose header stamp is 5 May 2009, 08:59:44 UTC.
QByteArray windowsProgram()
{
    QByteArray b(1024, '\0');
    b.replace(0, 2, "MZ");
    b.replace(0x80, 12, QByteArray("PE\0\0\x4c\x01\x03\x00\x00\x00\x00\x4a", 12));
    return b;
}

} // namespace

class TestFrmAbout : public QObject {
    Q_OBJECT

    QByteArray m_oldTz;

private slots:
    void initTestCase()
    {
        m_oldTz = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
    void cleanupTestCase()
    {
        qputenv("TZ", m_oldTz);
        tzset();
    }

    void fieldsAfterLoad_data()
    {
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<QString>("release");
        QTest::newRow("Windows program: header date") << windowsProgram() << u"05.05.2009"_s;
        // Built 1 March 2024, 23:30 UTC: already 2 March in Berlin.
        QTest::newRow("other program: recorded build date") << QByteArray("\x7f"
                                                                          "ELF\x02\x01\x01\x00")
                                                            << u"02.03.2024"_s;
    }

    void fieldsAfterLoad()
    {
        QFETCH(QByteArray, program);
        QFETCH(QString, release);
        TestEnv t;
        t.write(u"kescherheft"_s, program);
        AppState app(t.env);
        app.build = { t.path(u"kescherheft"_s), 1709335800 };
        frmAbout w(app);
        QCOMPARE(w.windowTitle(), u"Über das Uferwacht Digitales Kescherheft"_s);
        QCOMPARE(w.txtProgrammName->text(), u"Uferwacht Digitales Kescherheft"_s);
        QCOMPARE(w.txtVersion->text(), u"1.0.0.2"_s);
        QCOMPARE(w.txtReleaseDate->text(), release);
        QVERIFY(w.txtCopyright->text().startsWith(u"Copyright © "_s));
        QVERIFY(!w.txtCoder->text().isEmpty());
        QCOMPARE(w.txtBetaTester->toPlainText().split(u'\n').size(), 2);
        for (QWidget* field :
            { static_cast<QWidget*>(w.txtProgrammName), static_cast<QWidget*>(w.txtVersion),
                static_cast<QWidget*>(w.txtReleaseDate), static_cast<QWidget*>(w.txtCopyright),
                static_cast<QWidget*>(w.txtCoder), static_cast<QWidget*>(w.txtBetaTester) })
            QVERIFY(field->property("readOnly").toBool());
        // Each field is named by its caption.
        QStringList captions;
        for (QLabel* l : w.findChildren<QLabel*>())
            if (l->buddy())
                captions.append(l->buddy()->objectName() + u'=' + l->text());
        captions.sort();
        QCOMPARE(captions,
            (QStringList { u"txtBetaTester=Beta-Tester:"_s, u"txtCoder=Programmierer:"_s,
                u"txtCopyright=Copyright:"_s, u"txtProgrammName=Programmname:"_s,
                u"txtReleaseDate=Release:"_s, u"txtVersion=Version:"_s }));
        QVERIFY(!w.Image1->pixmap().isNull());
        QVERIFY(t.logEntries().isEmpty());
    }

    void helpMenuOpensBothWindows()
    {
        AppFixture f;
        App& app = f.startApp();
        TestEnv& t = *f.t;
        QVERIFY(app.haupt);

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
        QVERIFY(t.dialogs.verifyDone());
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmAbout.moc"
