#include "ui/frmCsvImport.h"

#include "app/CsvImportRun.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "store/Logbook.h"
#include "ui/AccessibleIds.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QList<QChar> kSeparators { u';', u',', u'\t' };
const QList<CsvEncoding> kEncodings { CsvEncoding::Utf8, CsvEncoding::Windows1252 };

QString placeOf(CsvLog log)
{
    return log == CsvLog::Catches ? u"Sub frmHaupt.mnuImportFänge_Click"_s
                                  : u"Sub frmHaupt.mnuImportKosten_Click"_s;
}

QStringList logItems(const Logbook& log, CsvLog which)
{
    QStringList items;
    const int n = which == CsvLog::Catches ? log.catchCount() : log.costCount();
    items.reserve(n);
    for (int row = 0; row < n; ++row)
        items.append(which == CsvLog::Catches ? log.catchItem(row) : log.costItem(row));
    return items;
}

} // namespace

frmCsvImport::frmCsvImport(
    AppState& app, CsvLog log, const QString& path, const QByteArray& bytes, QWidget* parent)
    : QDialog(parent, Qt::Window)
    , m_app(app)
    , m_log(log)
    , m_bytes(bytes)
{
    setObjectName(u"frmCsvImport"_s);
    setWindowTitle(u"CSV-Import"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(720, 560);

    txtDatei = new QLineEdit(QDir::toNativeSeparators(path), this);
    txtDatei->setObjectName(u"txtDatei"_s);
    txtDatei->setReadOnly(true);
    txtDatei->setAccessibleName(u"Datei"_s);
    cboTrennzeichen = new QComboBox(this);
    cboTrennzeichen->setObjectName(u"cboTrennzeichen"_s);
    cboTrennzeichen->addItems({ u"Semikolon (;)"_s, u"Komma (,)"_s, u"Tabulator"_s });
    cboTrennzeichen->setAccessibleName(u"Trennzeichen"_s);
    cboZeichensatz = new QComboBox(this);
    cboZeichensatz->setObjectName(u"cboZeichensatz"_s);
    cboZeichensatz->addItems({ u"UTF-8"_s, u"Windows-1252"_s });
    cboZeichensatz->setAccessibleName(u"Zeichensatz"_s);

    tblSpalten = new QTableWidget(0, 2, this);
    tblSpalten->setObjectName(u"tblSpalten"_s);
    tblSpalten->setHorizontalHeaderLabels({ u"Spalte der Datei"_s, u"Feld"_s });
    tblSpalten->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tblSpalten->verticalHeader()->hide();
    tblSpalten->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblSpalten->setAccessibleName(u"Zuordnung der Spalten"_s);

    lblAnzahl = new QLabel(this);
    lblAnzahl->setObjectName(u"lblAnzahl"_s);
    lblAnzahl->setWordWrap(true);
    lblNichtUebernommen = new QLabel(this);
    lblNichtUebernommen->setObjectName(u"lblNichtUebernommen"_s);
    lblNichtUebernommen->setWordWrap(true);
    txtFehler = new QPlainTextEdit(this);
    txtFehler->setObjectName(u"txtFehler"_s);
    txtFehler->setReadOnly(true);
    txtFehler->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtFehler->setAccessibleName(u"Fehlerliste"_s);
    cmdKopieren = new QPushButton(u"Fehler &kopieren"_s, this);
    cmdKopieren->setObjectName(u"cmdKopieren"_s);
    cmdKopieren->setAutoDefault(false);
    chkDoppelte = new QCheckBox(u"&Doppelte trotzdem übernehmen"_s, this);
    chkDoppelte->setObjectName(u"chkDoppelte"_s);
    cmdImport = new QPushButton(u"&Importieren"_s, this);
    cmdImport->setObjectName(u"cmdImport"_s);
    cmdImport->setDefault(true);
    cmdAbort = new QPushButton(u"Abbrechen"_s, this);
    cmdAbort->setObjectName(u"cmdAbort"_s);
    cmdAbort->setAutoDefault(false);

    auto* form = new QFormLayout;
    const auto labelled = [&](const QString& text, QWidget* w) {
        auto* l = new QLabel(text, this);
        l->setBuddy(w);
        form->addRow(l, w);
    };
    labelled(u"&Datei:"_s, txtDatei);
    labelled(u"&Trennzeichen:"_s, cboTrennzeichen);
    labelled(u"&Zeichensatz:"_s, cboZeichensatz);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkDoppelte);
    buttons->addStretch();
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdAbort);
    auto* errors = new QHBoxLayout;
    auto* errorLabel = new QLabel(u"F&ehler:"_s, this);
    errorLabel->setBuddy(txtFehler);
    errors->addWidget(errorLabel);
    errors->addStretch();
    errors->addWidget(cmdKopieren);
    auto* columnsLabel = new QLabel(u"&Spalten:"_s, this);
    columnsLabel->setBuddy(tblSpalten);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(columnsLabel);
    layout->addWidget(tblSpalten, 2);
    layout->addWidget(lblNichtUebernommen);
    layout->addWidget(lblAnzahl);
    layout->addLayout(errors);
    layout->addWidget(txtFehler, 1);
    layout->addLayout(buttons);

    connect(cboTrennzeichen, &QComboBox::currentIndexChanged, this, [this] { readSheet(false); });
    connect(cboZeichensatz, &QComboBox::currentIndexChanged, this, [this] { readSheet(false); });
    connect(chkDoppelte, &QCheckBox::toggled, this, [this] { showCounts(); });
    connect(cmdKopieren, &QPushButton::clicked, this,
        [this] { QApplication::clipboard()->setText(m_check.errors.join(u'\n')); });
    connect(cmdImport, &QPushButton::clicked, this, [this] { cmdImport_Click(); });
    connect(cmdAbort, &QPushButton::clicked, this, &QDialog::close);

    readSheet(true);
    setAccessibleIdentifiers(this);
}

frmCsvImport* frmCsvImport::Open(AppState& app, CsvLog log, QWidget* parent)
{
    Env& env = app.env;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString path = env.dialogs->openFile(
        log == CsvLog::Catches ? u"Fänge aus CSV importieren"_s : u"Kosten aus CSV importieren"_s,
        folder, u"CSV-Dateien (*.csv, *.txt)|*.csv;*.txt"_s);
    if (path.isEmpty())
        return nullptr;
    QByteArray bytes;
    if (!ReadCsvFile(path, bytes)) {
        WriteLog(env, placeOf(log), u"Die Datei konnte nicht gelesen werden: "_s + path);
        env.dialogs->message(
            u"Die Datei konnte nicht gelesen werden:\r\n"_s + QDir::toNativeSeparators(path),
            MsgIcon::Warning);
        return nullptr;
    }
    auto* w = new frmCsvImport(app, log, path, bytes, parent);
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void frmCsvImport::readSheet(bool detect)
{
    if (detect) {
        m_sheet = ReadCsvSheet(m_bytes);
        const QSignalBlocker a(cboTrennzeichen), b(cboZeichensatz);
        cboTrennzeichen->setCurrentIndex(int(kSeparators.indexOf(m_sheet.separator)));
        cboZeichensatz->setCurrentIndex(int(kEncodings.indexOf(m_sheet.encoding)));
    } else {
        m_sheet = ReadCsvSheet(m_bytes, kSeparators.value(cboTrennzeichen->currentIndex()),
            kEncodings.value(cboZeichensatz->currentIndex()));
    }
    // The detected encoding is named as found (with or without byte order mark).
    cboZeichensatz->setItemText(0, m_sheet.byteOrderMark ? u"UTF-8 mit BOM"_s : u"UTF-8"_s);
    m_columns = MatchCsvColumns(m_log, m_sheet.header);
    fillColumns();
    check();
}

void frmCsvImport::fillColumns()
{
    const QStringList names = CsvFieldNames(m_log);
    tblSpalten->setRowCount(int(m_sheet.header.size()));
    for (int c = 0; c < m_sheet.header.size(); ++c) {
        auto* caption = new QTableWidgetItem(m_sheet.header[c]);
        tblSpalten->setItem(c, 0, caption);
        auto* field = new QComboBox(tblSpalten);
        field->setObjectName(u"cboFeld%1"_s.arg(c));
        field->addItem(u"nicht übernehmen"_s);
        field->addItems(names);
        field->setCurrentIndex(m_columns[c] + 1);
        field->setAccessibleName(u"Feld für Spalte „%1“"_s.arg(m_sheet.header[c]));
        connect(field, &QComboBox::currentIndexChanged, this, [this, c](int index) {
            m_columns[c] = index - 1;
            check();
        });
        tblSpalten->setCellWidget(c, 1, field);
    }
}

void frmCsvImport::check()
{
    m_check = CheckCsvSheet(m_app.env, m_log, m_sheet, m_columns, logItems(*m_app.log, m_log));
    txtFehler->setPlainText(m_check.errors.join(u'\n'));
    cmdKopieren->setEnabled(!m_check.errors.isEmpty());
    lblNichtUebernommen->setText(m_check.unusedColumns.isEmpty()
            ? QString()
            : u"Nicht übernommen: "_s + m_check.unusedColumns.join(u", "_s));
    showCounts();
}

void frmCsvImport::showCounts()
{
    const bool duplicates = chkDoppelte->isChecked();
    const int take = int(m_check.importItems(duplicates).size());
    const Logbook& log = *m_app.log;
    const QString full = CsvCapacityProblem(
        m_log, m_log == CsvLog::Catches ? log.catchFileLines() : log.costFileLines(), take);
    lblAnzahl->setText(CsvCountsText(m_check, duplicates, full));
    cmdImport->setEnabled(take > 0 && full.isEmpty() && m_check.problem.isEmpty());
}

void frmCsvImport::cmdImport_Click()
{
    Env& env = m_app.env;
    const bool duplicates = chkDoppelte->isChecked();
    ErrorTrap trap(env, placeOf(m_log));
    const CsvImportResult result
        = ImportCsvItems(env, *m_app.log, m_log, m_check.importItems(duplicates), trap);
    if (!result.ok()) {
        env.dialogs->message(result.problem, MsgIcon::Warning);
        check();
        return;
    }
    env.dialogs->message(
        CsvImportedText(m_check, duplicates, result.imported), MsgIcon::Information);
    close();
}
