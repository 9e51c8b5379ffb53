#include "ui/frmAuswertung.h"

#include "app/Version.h"
#include "calc/BarChart.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "reports/BarChartSvg.h"
#include "reports/EvaluationPage.h"
#include "store/Logbook.h"
#include "store/Numbers.h"
#include "ui/AccessibleIds.h"
#include "ui/BarChartView.h"
#include "ui/ExportActions.h"
#include "ui/Twips.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString kPlace = u"Sub frmAuswertung"_s;
const QString kAllYears = u"Alle Jahre"_s;
const QString kAllAnglers = u"Alle Fänger"_s;
const QString kNoCatches = u"Keine Fänge für diese Auswahl."_s;
const QString kPageFile = u"auswertung.html"_s;
// The picture saved of a chart, in pixels.
const QSize kImageSize(1200, 700);

qint16 twips16(int pixels)
{
    const qint64 t = qint64(pixels) * kTwipsPerPixel;
    return qint16(std::clamp<qint64>(
        t, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

QTableWidget* makeTable(const QString& name, const QString& accessibleName, QWidget* parent)
{
    auto* t = new QTableWidget(parent);
    t->setObjectName(name);
    t->setAccessibleName(accessibleName);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setTabKeyNavigation(false);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->horizontalHeader()->setStretchLastSection(false);
    t->setFocusPolicy(Qt::StrongFocus);
    return t;
}

void fillTable(QTableWidget* t, const EvaluationTable& table)
{
    t->setUpdatesEnabled(false);
    t->clear();
    t->setColumnCount(int(table.columns.size()));
    t->setHorizontalHeaderLabels(table.columns);
    t->setRowCount(int(table.cells.size()));
    for (int r = 0; r < int(table.cells.size()); ++r) {
        const QStringList& row = table.cells[r];
        for (int c = 0; c < int(row.size()); ++c) {
            auto* item = new QTableWidgetItem(row[c]);
            // Figures stand right, as in the other lists of figures.
            if (table.figures.value(c))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            t->setItem(r, c, item);
        }
    }
    t->resizeColumnsToContents();
    // The whole table fits beside the chart without a scroll bar across.
    int width = 2 * t->frameWidth() + t->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < t->columnCount(); ++c)
        width += t->columnWidth(c);
    t->setMinimumWidth(width);
    t->setUpdatesEnabled(true);
}

} // namespace

frmAuswertung::frmAuswertung(AppState& app, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_evaluation(app.env)
{
    setObjectName(u"frmAuswertung"_s);
    setWindowTitle(u"Auswertungen"_s);
    setWindowFlags(Qt::Window);
    buildWidgets();
    setAccessibleIdentifiers(this);
    placeWindow();
}

void frmAuswertung::buildWidgets()
{
    lstAnsicht = new QListWidget(this);
    lstAnsicht->setObjectName(u"lstAnsicht"_s);
    lstAnsicht->setAccessibleName(u"Auswertung"_s);
    for (int v = 0; v < kEvaluationViews; ++v)
        lstAnsicht->addItem(EvaluationViewName(EvaluationView(v)));
    lstAnsicht->setFixedWidth(lstAnsicht->sizeHintForColumn(0) + 2 * lstAnsicht->frameWidth() + 12);

    cboJahr = new QComboBox(this);
    cboJahr->setObjectName(u"cboJahr"_s);
    cboJahr->setAccessibleName(u"Jahr"_s);
    cboJahr->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboFänger = new QComboBox(this);
    cboFänger->setObjectName(u"cboFänger"_s);
    cboFänger->setAccessibleName(u"Fänger"_s);
    cboFänger->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    txtFilter = new QLineEdit(this);
    txtFilter->setObjectName(u"txtFilter"_s);
    txtFilter->setAccessibleName(u"Filter"_s);
    txtFilter->setAccessibleDescription(
        u"Filterausdruck wie in der Fangübersicht; wirkt mit der Eingabetaste"_s);
    txtFilter->setClearButtonEnabled(true);

    auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    auto* choices = new QHBoxLayout;
    choices->addWidget(label(u"&Jahr:"_s, cboJahr));
    choices->addWidget(cboJahr);
    choices->addSpacing(12);
    choices->addWidget(label(u"F&änger:"_s, cboFänger));
    choices->addWidget(cboFänger);
    choices->addSpacing(12);
    choices->addWidget(label(u"F&ilter:"_s, txtFilter));
    choices->addWidget(txtFilter, 1);

    labHinweis = new QLabel(this);
    labHinweis->setObjectName(u"labHinweis"_s);
    labHinweis->setWordWrap(true);
    labLeer = new QLabel(kNoCatches, this);
    labLeer->setObjectName(u"labLeer"_s);
    QFont bold = labLeer->font();
    bold.setBold(true);
    labLeer->setFont(bold);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    picDiagramm = new BarChartView(splitter);
    picDiagramm->setObjectName(u"picDiagramm"_s);
    auto* tables = new QWidget(splitter);
    auto* tableLayout = new QVBoxLayout(tables);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    labTabelle = new QLabel(tables);
    labTabelle->setObjectName(u"labTabelle"_s);
    grdZahlen = makeTable(u"grdZahlen"_s, u"Zahlen"_s, tables);
    labTabelle->setBuddy(grdZahlen);
    labTabelle2 = new QLabel(tables);
    labTabelle2->setObjectName(u"labTabelle2"_s);
    grdRekorde = makeTable(u"grdRekorde"_s, u"Rekorde je Fänger"_s, tables);
    labTabelle2->setBuddy(grdRekorde);
    tableLayout->addWidget(labTabelle);
    tableLayout->addWidget(grdZahlen, 1);
    tableLayout->addWidget(labTabelle2);
    tableLayout->addWidget(grdRekorde, 1);
    splitter->addWidget(picDiagramm);
    splitter->addWidget(tables);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    cmdPrint = new QPushButton(u"Drucken"_s, this);
    cmdPrint->setObjectName(u"cmdPrint"_s);
    cmdSaveImage = new QPushButton(u"Als Bild speichern..."_s, this);
    cmdSaveImage->setObjectName(u"cmdSaveImage"_s);
    cmdOK = new QPushButton(u"Schließen"_s, this);
    cmdOK->setObjectName(u"cmdOK"_s);
    for (QPushButton* b : { cmdPrint, cmdSaveImage, cmdOK })
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdSaveImage);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);

    auto* right = new QVBoxLayout;
    right->addWidget(labHinweis);
    right->addWidget(labLeer);
    right->addWidget(splitter, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(lstAnsicht);
    body->addLayout(right, 1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(choices);
    all->addLayout(body, 1);
    all->addLayout(buttons);

    setTabOrder(cboJahr, cboFänger);
    setTabOrder(cboFänger, txtFilter);
    setTabOrder(txtFilter, lstAnsicht);
    setTabOrder(lstAnsicht, grdZahlen);
    setTabOrder(grdZahlen, grdRekorde);
    setTabOrder(grdRekorde, cmdPrint);
    setTabOrder(cmdPrint, cmdSaveImage);
    setTabOrder(cmdSaveImage, cmdOK);

    lstAnsicht->setCurrentRow(0);
    connect(lstAnsicht, &QListWidget::currentRowChanged, this, [this] { showFigures(); });
    connect(cboJahr, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_evaluation.setYear(index > 0 ? cboJahr->itemData(index).toInt() : 0);
        showFigures();
    });
    connect(cboFänger, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_evaluation.setAngler(index - 1);
        showFigures();
    });
    // The filter applies when Enter is pressed or the box is left.
    connect(txtFilter, &QLineEdit::editingFinished, this, [this] { txtFilter_Apply(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdSaveImage, &QPushButton::clicked, this, [this] { cmdSaveImage_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { close(); });
}

void frmAuswertung::Form_Load()
{
    ErrorTrap trap(m_app.env, kPlace + u".Form_Load"_s);
    trap.step([&] {
        const quint64 before = m_evaluation.generation();
        m_evaluation.load(*m_app.log);
        if (before != m_evaluation.generation() || cboJahr->count() == 0)
            fillChoices();
        showFigures();
    });
}

void frmAuswertung::fillChoices()
{
    // The choice made stays where its year or angler is still there.
    const int year = cboJahr->currentIndex() > 0 ? cboJahr->currentData().toInt() : 0;
    const QString angler = cboFänger->currentIndex() > 0 ? cboFänger->currentText() : QString();
    const QSignalBlocker yearBlock(cboJahr);
    const QSignalBlocker anglerBlock(cboFänger);
    cboJahr->clear();
    cboJahr->addItem(kAllYears, 0);
    for (int y : m_evaluation.years())
        cboJahr->addItem(QString::number(y), y);
    const int yearIndex = year ? cboJahr->findData(year) : 0;
    cboJahr->setCurrentIndex(qMax(0, yearIndex));
    m_evaluation.setYear(yearIndex > 0 ? year : 0);

    cboFänger->clear();
    cboFänger->addItem(kAllAnglers);
    cboFänger->addItems(m_evaluation.anglers());
    const int anglerIndex = angler.isEmpty() ? 0 : cboFänger->findText(angler);
    cboFänger->setCurrentIndex(qMax(0, anglerIndex));
    m_evaluation.setAngler(anglerIndex - 1);
}

EvaluationView frmAuswertung::view() const
{
    return EvaluationView(qBound(0, lstAnsicht->currentRow(), kEvaluationViews - 1));
}

void frmAuswertung::showView(EvaluationView view)
{
    lstAnsicht->setCurrentRow(int(view));
}

void frmAuswertung::txtFilter_Apply()
{
    if (txtFilter->text() == m_applied)
        return;
    m_applied = m_evaluation.setFilter(txtFilter->text());
    // As in the catch overview, a leading "+" leaves the box.
    if (txtFilter->text() != m_applied)
        txtFilter->setText(m_applied);
    showFigures();
}

void frmAuswertung::showFigures()
{
    const EvaluationView v = view();
    const bool records = v == EvaluationView::Records;
    const bool none = m_evaluation.catches() == 0;
    const QString name = EvaluationViewName(v);

    labHinweis->setText(m_evaluation.unreadableNote());
    labHinweis->setVisible(!labHinweis->text().isEmpty());
    labLeer->setVisible(none);

    // With no catch in the choice the tables keep their columns, without rows.
    labTabelle2->setVisible(records);
    grdRekorde->setVisible(records);
    picDiagramm->setVisible(!records);
    if (records) {
        const QList<EvaluationTable> tables = m_evaluation.tables(v);
        fillTable(grdZahlen, tables.value(0));
        fillTable(grdRekorde, tables.value(1));
        labTabelle->setText(tables.value(0).title);
        labTabelle2->setText(tables.value(1).title);
        grdZahlen->setAccessibleName(tables.value(0).title);
    } else {
        const EvaluationFigures f = m_evaluation.figures(v);
        fillTable(grdZahlen, FiguresTable(v, f));
        labTabelle->setText(name);
        grdZahlen->setAccessibleName(u"Zahlen: "_s + name);
        QStringList labels;
        QList<qint64> counts;
        for (const EvaluationRow& r : f.rows) {
            labels.append(r.category);
            counts.append(r.count);
        }
        picDiagramm->setChart(MakeBarChart(name, labels, counts));
        picDiagramm->setAccessibleName(u"Diagramm: "_s + name);
        picDiagramm->setAccessibleDescription(none
                ? kNoCatches
                : u"Balkendiagramm der Anzahl der Fänge, %1 Fänge in %2 Balken; die genauen "
                  u"Zahlen stehen in der Tabelle daneben."_s.arg(f.catches)
                      .arg(f.rows.size()));
    }
    cmdSaveImage->setEnabled(!records && !none);
}

QStringList frmAuswertung::choiceTexts() const
{
    return { u"Jahr: "_s + cboJahr->currentText(), u"Fänger: "_s + cboFänger->currentText(),
        u"Filter: "_s + (m_applied.isEmpty() ? u"(kein Filter)"_s : m_applied) };
}

void frmAuswertung::cmdPrint_Click()
{
    ErrorTrap trap(m_app.env, kPlace + u".cmdPrint_Click"_s);
    const EvaluationView v = view();
    EvaluationPrint print;
    print.view = EvaluationViewName(v);
    print.choices = choiceTexts();
    print.note = m_evaluation.unreadableNote();
    if (m_evaluation.catches() == 0)
        print.empty = kNoCatches;
    if (v != EvaluationView::Records)
        print.svg = BarChartSvg(picDiagramm->chart());
    print.tables = m_evaluation.tables(v);
    print.date = TodayText(*m_app.env.clock);
    print.version = QString::fromLatin1(Version::Text);
    WriteAndOpenPage(m_app, trap, kPageFile, EvaluationPageLines(print), u"Die Auswertung"_s);
}

void frmAuswertung::cmdSaveImage_Click()
{
    Env& env = m_app.env;
    ErrorTrap trap(env, kPlace + u".cmdSaveImage_Click"_s);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString suggested = QDir(folder).filePath(
        u"Auswertung_"_s + env.clock->now().date().toString(u"yyyy-MM-dd"_s) + u".png"_s);
    QString path = env.dialogs->saveFile(
        u"Diagramm als Bild speichern"_s, suggested, u"PNG-Bild|*.png|SVG-Grafik|*.svg"_s);
    if (path.isEmpty())
        return;
    QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty()) {
        path += u".png"_s;
        suffix = u"png"_s;
    }
    QByteArray bytes;
    if (suffix == u"svg") {
        bytes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            + BarChartSvg(picDiagramm->chart()).toUtf8() + '\n';
    } else if (suffix == u"png") {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        BarChartImage(picDiagramm->chart(), kImageSize).save(&buffer, "PNG");
    } else {
        env.dialogs->message(u"Bitte wählen Sie einen Dateinamen mit der Endung .png oder .svg."_s,
            MsgIcon::Warning);
        return;
    }
    if (const int error = writeAtomically(path, bytes)) {
        trap.log(error);
        env.dialogs->message(
            u"Das Bild konnte nicht gespeichert werden:\r\n"_s + QDir::toNativeSeparators(path),
            MsgIcon::Warning);
    }
}

void frmAuswertung::placeWindow()
{
    const SettingsRecord& s = m_app.settings;
    if (s.EvaluationWidth <= 0 || s.EvaluationHeight <= 0) {
        resize(920, 580);
        return;
    }
    QSize size(px(s.EvaluationWidth), px(s.EvaluationHeight));
    const QPoint at(px(s.EvaluationLeft), px(s.EvaluationTop));
    // A place on a screen that is no longer there is not taken.
    if (const QScreen* screen = QGuiApplication::screenAt(at)) {
        size = size.boundedTo(screen->availableGeometry().size());
        move(at);
    }
    resize(size);
}

void frmAuswertung::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    Form_Load();
}

void frmAuswertung::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    keepGeometry();
}

void frmAuswertung::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    keepGeometry();
}

void frmAuswertung::keepGeometry()
{
    if (!isVisible() || isMinimized() || isMaximized())
        return;
    SettingsRecord& s = m_app.settings;
    s.EvaluationLeft = twips16(x());
    s.EvaluationTop = twips16(y());
    s.EvaluationWidth = twips16(width());
    s.EvaluationHeight = twips16(height());
}

void frmAuswertung::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}
