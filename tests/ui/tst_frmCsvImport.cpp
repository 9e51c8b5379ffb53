// The CSV import's preview: counts, the import button, a changed column
// field, and the import from the menu with its safety copy and closing note.
#include "ui/AppFixture.h"
#include "ui/frmCsvImport.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestFrmCsvImport : public QObject, AppFixture {
    Q_OBJECT

private slots:
    void cleanup() { closeApp(); }

    void previewThenImport()
    {
        startApp();
        t->write(u"db\\fänge\\db"_s, recordFileBytes({ sampleCatchLine() }));
        app->Änderung();
        t->dialogs.clear();
        // The sample catch again, a new one, and a line with a wrong date.
        t->write(u"neu.csv"_s,
            "Datum;Fischart;Gewicht (kg);L\xC3\xA4nge (cm);Fangzeit;Wind\r\n"
            "17.05.2004;Karpfen;12,40;84;06:45;NW\r\n18.05.2004;Hecht;3;70;07:00;O\r\n"
            "31.02.2004;Aal;1;60;08:00;S\r\n");
        t->dialogs.answerOpenFile(t->dir() + u"/neu.csv"_s);
        app->haupt->mnuImportFänge->trigger();
        frmCsvImport* w = app->csvImport;
        QVERIFY(w);
        QCOMPARE(w->cboTrennzeichen->currentText(), u"Semikolon (;)"_s);
        QCOMPARE(w->lblNichtUebernommen->text(), u"Nicht übernommen: Wind"_s);
        QCOMPARE(w->lblAnzahl->text(), u"Lesbar: 1    Mit Fehlern: 1    Bereits vorhanden: 1"_s);
        QCOMPARE(w->txtFehler->toPlainText(), u"Zeile 4: Datum „31.02.2004“ ungültig"_s);
        w->chkDoppelte->setChecked(true);
        QVERIFY(w->lblAnzahl->text().startsWith(u"Lesbar: 2 "_s));

        // Without a date column nothing can be taken.
        auto* dateField = w->findChild<QComboBox*>(u"cboFeld0"_s);
        dateField->setCurrentText(u"nicht übernehmen"_s);
        QVERIFY(!w->cmdImport->isEnabled());
        QCOMPARE(w->lblAnzahl->text(), u"Keine Spalte ist dem Feld „Datum“ zugeordnet."_s);
        dateField->setCurrentText(u"Datum"_s);
        QVERIFY(w->cmdImport->isEnabled());

        t->dialogs.expectMessage();
        w->cmdImport->click();
        QCOMPARE(t->dialogs.messageTexts(),
            QStringList { u"2 Zeilen wurden importiert.\r\nAls Doppelte übersprungen: 0\r\n"
                          "Wegen Fehlern ausgelassen: 1"_s });
        QCOMPARE(app->state.log->catchCount(), 3);
        QCOMPARE(QDir(t->path(u"db\\Sicherungen"_s)).count(), 3u); // one safety copy, . and ..
        QTRY_VERIFY(!app->csvImport);
    }

    // With every line already in the log there is nothing to import.
    void nothingLeft()
    {
        startApp();
        t->write(u"db\\kosten\\db"_s, recordFileBytes({ sampleCostLine() }));
        app->Änderung();
        auto w = std::make_unique<frmCsvImport>(app->state, CsvLog::Costs, u"k.csv"_s,
            "Kaufdatum,Artikelbezeichnung,Menge,Einzelpreis,Versandkosten\n"
            "05.03.2006,Haken Gr. 8,3,1.5,4.9\n");
        QCOMPARE(w->cboTrennzeichen->currentText(), u"Komma (,)"_s);
        QVERIFY(!w->cmdImport->isEnabled());
        QVERIFY(w->lblAnzahl->text().endsWith(u"alle lesbaren Zeilen sind bereits vorhanden."_s));
    }
};

QTEST_MAIN(TestFrmCsvImport)
#include "tst_frmCsvImport.moc"
