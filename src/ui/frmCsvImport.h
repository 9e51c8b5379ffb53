#pragma once

#include "export/CsvImport.h"
#include "ui/AppState.h"

#include <QByteArray>
#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// "CSV-Import": the preview of a CSV file before its lines go into the
// catch or cost log. Shows the file, the separator and encoding found, the
// field each column goes to (changeable), the counts and the errors; the
// lines are written only on "Importieren". Destroyed on closing.
class frmCsvImport : public QDialog {
public:
    frmCsvImport(AppState& app, CsvLog log, const QString& path, const QByteArray& bytes,
        QWidget* parent = nullptr);

    // "Fänge aus CSV..." / "Kosten aus CSV...": asks for the file and shows
    // its preview; null when the dialog was cancelled or the file could not
    // be read (the user is told).
    static frmCsvImport* Open(AppState& app, CsvLog log, QWidget* parent);

    void cmdImport_Click();

    QLineEdit* txtDatei;
    QComboBox* cboTrennzeichen;
    QComboBox* cboZeichensatz;
    QTableWidget* tblSpalten;
    QLabel* lblAnzahl;
    QLabel* lblNichtUebernommen;
    QPlainTextEdit* txtFehler;
    QPushButton* cmdKopieren;
    QCheckBox* chkDoppelte;
    QPushButton* cmdImport;
    QPushButton* cmdAbort;

private:
    // Reads the file anew with the separator and encoding chosen (or found,
    // when `detect`), matches the columns and checks the lines.
    void readSheet(bool detect);
    void fillColumns();
    void check();
    void showCounts();

    AppState& m_app;
    CsvLog m_log;
    QByteArray m_bytes;
    CsvSheet m_sheet;
    QList<int> m_columns;
    CsvCheck m_check;
};
