#include "ui/frmAddKosten.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/Paths.h"
#include "store/ConvertToArray.h"
#include "store/CostLine.h"
#include "store/CostList.h"
#include "store/Logbook.h"
#include "store/Numbers.h"
#include "ui/AccessibleIds.h"
#include "ui/AppState.h"
#include "ui/FilterSwitch.h"
#include "ui/FilteredListModel.h"
#include "ui/ListTabDelegate.h"
#include "ui/LogListModel.h"
#include "ui/TabListView.h"
#include "ui/TextFilters.h"
#include "ui/Twips.h"
#include "ui/frmDatePicker.h"

#include <QCloseEvent>
#include <QDate>
#include <QFontMetrics>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QRect twips(int x, int y, int w, int h)
{
    return QRect(px(x), px(y), px(w), px(h));
}

constexpr int kClientWidthTwips = 12960;
// Outer heights of the two modes; title bar and borders take 480 twips.
constexpr int kEntryHeightTwips = 7200;
constexpr int kFilterHeightTwips = 8250;
constexpr int kFrameTwips = 480;

// Field text is cut at this length: the record reader needs a TAB within
// 255 characters of a field's start.
constexpr int kMaxFieldLength = int(kFieldScanLimit) - 1;

const QList<int> kTabStops = { 40, 140, 160, 275, 305, 345, 373 };

const QString kAllName = u"Alle Einkäufe"_s;
const QString kFilteredName = u"Gefilterte Einkäufe"_s;

const QString kPendingQuestion
    = u"Es liegen ungespeicherte Änderungen vor!\r\n"
      u"Wenn Sie das Fenster jetzt schließen, ohne zu speichern, geht der Eintrag verloren.\r\n"
      u"Vorgang fortsetzen?"_s;

QString chopAmountSign(const QString& field)
{
    return field.size() >= 2 ? field.chopped(2) : QString();
}

} // namespace

frmAddKosten::frmAddKosten(AppState& app)
    : QWidget(nullptr, Qt::Window)
    , m_app(app)
{
    setObjectName(u"frmAddKosten"_s);
    setWindowTitle(u"Angelkosten hinzufügen"_s);
    createWidgets();
    enterMode();
    Form_Load();
}

void frmAddKosten::createWidgets()
{
    auto named = [](auto* w, const QString& name) {
        w->setObjectName(name);
        return w;
    };
    auto label = [&](QWidget* parent, const QString& name, const QString& text, QRect r) {
        auto* l = named(new QLabel(text, parent), name);
        l->setGeometry(r);
        return l;
    };
    auto box = [&](QWidget* parent, const QString& name, QRect r) {
        auto* t = named(new QLineEdit(parent), name);
        t->setGeometry(r);
        return t;
    };
    auto entryBox = [&](const QString& name, InputKind kind, QRect r) {
        auto* t = named(new FilteredLineEdit(kind, this), name);
        t->setGeometry(r);
        return t;
    };
    auto button = [&](QWidget* parent, const QString& name, const QString& text, QRect r) {
        auto* b = named(new QPushButton(text, parent), name);
        b->setGeometry(r);
        // Enter on a focused button presses that button, as in dialogs.
        b->setAutoDefault(true);
        return b;
    };

    // Entry area: two columns of three fields.
    lblDate = label(this, u"lblDate"_s, u"Kaufdatum:"_s, twips(240, 240, 1500, 315));
    txtDate = entryBox(u"txtDate"_s, InputKind::Date, twips(1800, 240, 2055, 315));
    cmdDatePicker = button(this, u"cmdDatePicker"_s, u"..."_s, twips(3900, 240, 360, 315));
    lblMenge = label(this, u"lblMenge"_s, u"Menge:"_s, twips(240, 660, 1500, 315));
    txtMenge = entryBox(u"txtMenge"_s, InputKind::Digits, twips(1800, 660, 2460, 315));
    lblEinzelpreis
        = label(this, u"lblEinzelpreis"_s, u"Einzelpreis:"_s, twips(240, 1080, 1500, 315));
    txtEinzelpreis = entryBox(u"txtEinzelpreis"_s, InputKind::Number, twips(1800, 1080, 2460, 315));
    lblGeschäft = label(this, u"lblGeschäft"_s, u"Geschäft:"_s, twips(5040, 240, 1800, 315));
    txtGeschäft = entryBox(u"txtGeschäft"_s, InputKind::RecordText, twips(6960, 240, 5760, 315));
    lblBezeichnung
        = label(this, u"lblBezeichnung"_s, u"Artikelbezeichnung:"_s, twips(5040, 660, 1800, 315));
    txtBezeichnung
        = entryBox(u"txtBezeichnung"_s, InputKind::RecordText, twips(6960, 660, 5760, 315));
    lblVersandkosten
        = label(this, u"lblVersandkosten"_s, u"Versandkosten:"_s, twips(5040, 1080, 1800, 315));
    txtVersandkosten
        = entryBox(u"txtVersandkosten"_s, InputKind::Number, twips(6960, 1080, 5760, 315));

    // Each label names its box for assistive technology.
    lblDate->setBuddy(txtDate);
    lblMenge->setBuddy(txtMenge);
    lblEinzelpreis->setBuddy(txtEinzelpreis);
    lblGeschäft->setBuddy(txtGeschäft);
    lblBezeichnung->setBuddy(txtBezeichnung);
    lblVersandkosten->setBuddy(txtVersandkosten);
    cmdDatePicker->setAccessibleName(u"Kaufdatum auswählen"_s);

    txtDate->setMaxLength(10);
    for (QLineEdit* t : { txtMenge, txtEinzelpreis, txtGeschäft, txtBezeichnung, txtVersandkosten })
        t->setMaxLength(kMaxFieldLength);

    // Filter switch and buttons.
    imgFilterTrue = named(new QLabel(this), u"imgFilterTrue"_s);
    imgFilterFalse = named(new QLabel(this), u"imgFilterFalse"_s);
    for (QLabel* img : { imgFilterTrue, imgFilterFalse }) {
        img->setGeometry(twips(240, 1620, 270, 270));
        img->setAlignment(Qt::AlignCenter);
    }
    chkFilter
        = named(new FilterSwitch(u"  Filter verwenden"_s, imgFilterTrue, imgFilterFalse, this),
            u"chkFilter"_s);
    chkFilter->setGeometry(twips(510, 1620, 2000, 270));
    chkFilter->onSwitch = [this] { chkFilter_Click(); };

    cmdSave = button(this, u"cmdSave"_s, u"Speichern"_s, twips(5400, 1560, 1365, 375));
    cmdAbort = button(this, u"cmdAbort"_s, u"Schließen"_s, twips(6870, 1560, 1365, 375));
    cmdEdit = button(this, u"cmdEdit"_s, u"Bearbeiten"_s, twips(8340, 1560, 1365, 375));
    cmdDelete = button(this, u"cmdDelete"_s, u"Löschen"_s, twips(9810, 1560, 1365, 375));
    cmdPrint = button(this, u"cmdPrint"_s, u"Drucken"_s, twips(11280, 1560, 1365, 375));

    // List area: headers, the two lists on one place, the sums below.
    fraVorschau = named(new QGroupBox(this), u"fraVorschau"_s);
    fraVorschau->setGeometry(twips(120, 2040, 12720, 4560));
    const QStringList headers = { u"Kaufdatum:"_s, u"Geschäft:"_s, u"Menge:"_s,
        u"Artikelbezeichnung:"_s, u"Einzelpreis:"_s, u"Preis:"_s, u"Versand"_s, u"Gesamt:"_s };
    for (int i = 0; i < headers.size(); ++i)
        lblKopf.append(label(fraVorschau, u"lblKopf%1"_s.arg(i + 1), headers[i], QRect()));
    m_all = new LogListModel(*m_app.log, LogListModel::Log::Costs, this);
    m_filtered = new FilteredListModel(m_app.env, m_all, this);
    m_filtered->clear();
    lstKosten = named(new TabListView(fraVorschau), u"lstKosten"_s);
    lstKosten->setModel(m_all);
    lstKosten->setGeometry(twips(120, 570, 12480, 3480));
    lstKosten->setTabStops(kTabStops);
    lstKosten->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstKosten->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtPreisG = box(fraVorschau, u"txtPreisG"_s, QRect());
    txtVersandG = box(fraVorschau, u"txtVersandG"_s, QRect());
    txtGesamt = box(fraVorschau, u"txtGesamt"_s, QRect());
    txtPreisG2 = box(fraVorschau, u"txtPreisG2"_s, QRect());
    txtVersandG2 = box(fraVorschau, u"txtVersandG2"_s, QRect());
    txtGesamt2 = box(fraVorschau, u"txtGesamt2"_s, QRect());
    for (QLineEdit* t :
        { txtPreisG, txtVersandG, txtGesamt, txtPreisG2, txtVersandG2, txtGesamt2 }) {
        t->setReadOnly(true);
        t->setFocusPolicy(Qt::ClickFocus);
    }
    lstKosten->setAccessibleName(kAllName);
    txtPreisG->setAccessibleName(u"Summe der Preise"_s);
    txtVersandG->setAccessibleName(u"Summe der Versandkosten"_s);
    txtGesamt->setAccessibleName(u"Gesamtsumme"_s);
    txtPreisG2->setAccessibleName(u"Summe der Preise, gefiltert"_s);
    txtVersandG2->setAccessibleName(u"Summe der Versandkosten, gefiltert"_s);
    txtGesamt2->setAccessibleName(u"Gesamtsumme, gefiltert"_s);
    placeColumns();

    // Filter area, below the client area of entry mode.
    Frame1 = named(new QGroupBox(u"Filtereinstellungen"_s, this), u"Frame1"_s);
    Frame1->setGeometry(twips(120, 6840, 12720, 840));
    txtFilter = box(Frame1, u"txtFilter"_s, twips(120, 330, 8400, 315));
    cmdFilter = button(Frame1, u"cmdFilter"_s, u"Suchen..."_s, twips(8640, 300, 1935, 375));
    cmdReset = button(Frame1, u"cmdReset"_s, u"Reset"_s, twips(10680, 300, 1935, 375));
    txtFilter->setAccessibleName(u"Filterausdruck"_s);
    setAccessibleIdentifiers(this);

    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdAbort, &QPushButton::clicked, this, [this] { cmdAbort_Click(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdDatePicker, &QPushButton::clicked, this, [this] { cmdDatePicker_Click(); });
    connect(cmdFilter, &QPushButton::clicked, this, [this] { cmdFilter_Click(); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
}

void frmAddKosten::placeColumns()
{
    // The headers stand where the list draws its columns: at the tab stops,
    // measured from the left of the row text.
    const TabLayout layout(lstKosten->font(), kTabStops);
    const QList<int>& stops = layout.stopsPx();
    const int textLeft = lstKosten->x() + lstKosten->frameWidth() + ListTabDelegate::TextMargin;
    const int avg = TabLayout::averageCharWidth(lstKosten->font());
    const int headerTop = px(300);
    const int headerHeight = px(255);
    // "Menge:" and "Einzelpreis:" are wider than their columns in many
    // fonts. Such a header ends where its column ends and reaches left into
    // the unused end of the header before it, so the header after it keeps
    // its place. Where there is no room to the left either, the header
    // starts just past the one before it, as the list does with its fields.
    const int gap = qRound(layout.gapPx());
    int usedRight = -gap; // right end of the header text before
    for (int i = 0; i < lblKopf.size(); ++i) {
        QLabel* header = lblKopf[i];
        const int stop = i == 0 ? 0 : stops[i - 1];
        const int end = i + 1 < lblKopf.size() ? stops[i] - gap : stop + 24 * avg;
        const int width = QFontMetrics(header->font()).horizontalAdvance(header->text());
        const int left = qMax(usedRight + gap, qMin(stop, end - width));
        header->setGeometry(textLeft + left, headerTop, width, headerHeight);
        usedRight = left + width;
    }
    // Every row is at least as wide as the last column's end, and as wide
    // as the widest line, so that a long article still shows whole.
    lstKosten->fitExtentToLines(stops.last() + 24 * avg);

    // The sums stand under "Preis:", "Versand" and "Gesamt:"; each filter sum
    // lies exactly on its full sum.
    const int sumTop = px(4110);
    const int sumHeight = px(315);
    const QList<QLineEdit*> full = { txtPreisG, txtVersandG, txtGesamt };
    const QList<QLineEdit*> filtered = { txtPreisG2, txtVersandG2, txtGesamt2 };
    for (int k = 0; k < 3; ++k) {
        const int col = 5 + k; // columns 6, 7, 8
        const int left = stops[col - 1];
        const int right = col < stops.size() ? stops[col] - 2 : left + 24 * avg;
        const QRect r(textLeft + left, sumTop, right - left, sumHeight);
        full[k]->setGeometry(r);
        filtered[k]->setGeometry(r);
        filtered[k]->raise();
    }
}

bool frmAddKosten::filterMode() const
{
    return imgFilterFalse->isHidden();
}

void frmAddKosten::setFrameCaption(int n)
{
    fraVorschau->setTitle(u"Aktuelle Posten (%1):"_s.arg(n));
}

void frmAddKosten::setDefaultButton(QPushButton* b)
{
    if (m_default)
        m_default->setDefault(false);
    m_default = b;
    b->setDefault(true);
}

void frmAddKosten::setWindowHeight(int outerTwips)
{
    setFixedSize(px(kClientWidthTwips), px(outerTwips - kFrameTwips));
}

void frmAddKosten::ShowWindow()
{
    show();
    raise();
    activateWindow();
}

// ---------------------------------------------------------------- Load

void frmAddKosten::Form_Load()
{
    ErrorTrap trap(m_app.env, u"Sub frmAddKosten.Form_Load"_s);
    for (QLineEdit* t : { txtPreisG, txtVersandG, txtGesamt })
        t->setText(u"0"_s);
    if (txtDate->text().isEmpty())
        trap.step([&] { txtDate->setText(TodayText(*m_app.env.clock)); });

    Logbook& log = *m_app.log;
    log.refresh(u"Sub frmAddKosten.Form_Load"_s);
    m_filtered->clear();

    const CostSums& sums = log.costSums();
    trap.step([&] { txtPreisG->setText(CostSumText(sums.price)); });
    trap.step([&] { txtVersandG->setText(CostSumText(sums.shipping)); });
    trap.step([&] { txtGesamt->setText(CostSumText(sums.total)); });
    setFrameCaption(m_all->rowCount());

    // A reload in filter mode (the refresh after a change elsewhere) has just
    // emptied the filter list under the user's eyes: search the new list.
    if (filterMode()) {
        m_filtered->showAll();
        cmdFilter_Click();
    }
}

// ---------------------------------------------------------------- Save

void frmAddKosten::cmdSave_Click()
{
    const Env& env = m_app.env;
    ErrorTrap trap(env, u"Sub frmAddKosten.cmdSave_Click"_s);
    Logbook::Batch batch(*m_app.log); // shown anew once the save is complete
    auto refuse = [&](const QString& text, MsgIcon icon = MsgIcon::Information) {
        env.dialogs->message(text, icon);
    };

    const CostEntry entry { txtDate->text(), txtGeschäft->text(), txtMenge->text(),
        txtBezeichnung->text(), txtEinzelpreis->text(), txtVersandkosten->text() };
    if (const auto refusal = CheckCostEntry(entry, env.clock->now().date()))
        return refuse(refusal->text, refusal->icon);
    QString item;
    try {
        item = CostItem(env, entry);
    } catch (const RuntimeError& e) {
        trap.log(e.number);
        return refuse(u"Die Beträge sind zu groß, um gespeichert zu werden!"_s);
    }

    if (!m_app.log->appendCost(item, trap)) {
        return refuse(
            u"Der Datensatz konnte nicht gespeichert werden!\r\n"
            u"Die Kostendatenbank ist nicht beschreibbar; Ihre Eingaben bleiben erhalten."_s,
            MsgIcon::Warning);
    }

    m_app.log->clearCostEdit();
    env.dialogs->message(u"Datensatz gespeichert!"_s, MsgIcon::Information);
    trap.step([&] { txtDate->setText(TodayText(*env.clock)); });
    for (QLineEdit* t : { txtMenge, txtEinzelpreis, txtGeschäft, txtBezeichnung, txtVersandkosten })
        t->clear();
}

// ---------------------------------------------------------------- Close

bool frmAddKosten::closeSteps()
{
    ErrorTrap trap(m_app.env, u"Sub frmAddKosten.cmdAbort_Click"_s);
    if (!m_app.log->costOutForEdit().isEmpty()
        && m_app.env.dialogs->message(kPendingQuestion, MsgIcon::Question, MsgButtons::YesNo)
            == MsgResult::No)
        return false;
    hide();
    trap.step([&] { txtDate->setText(TodayText(*m_app.env.clock)); });
    enterMode();
    txtFilter->clear();
    return true;
}

void frmAddKosten::cmdAbort_Click()
{
    closeSteps();
}

void frmAddKosten::closeEvent(QCloseEvent* e)
{
    if (!closeSteps()) {
        e->ignore();
        return;
    }
    e->accept();
    // The close box ends this window's state as if it were created anew:
    // the typed values are gone. A purchase taken out for editing would be
    // gone with them, so it goes back into the log unchanged.
    const bool putBack = !m_app.log->costOutForEdit().isEmpty();
    {
        ErrorTrap trap(m_app.env, u"Sub frmAddKosten.cmdAbort_Click"_s);
        m_app.log->putBackCost(trap);
    }
    for (QLineEdit* t : { txtMenge, txtEinzelpreis, txtGeschäft, txtBezeichnung, txtVersandkosten })
        t->clear();
    // A purchase put back has refreshed every window already.
    if (!putBack)
        Form_Load();
}

void frmAddKosten::enterMode()
{
    imgFilterFalse->show();
    imgFilterTrue->hide();
    showFilterList(false);
    for (QLineEdit* t : { txtPreisG2, txtVersandG2, txtGesamt2 })
        t->hide();
    // Opened in filter mode the full sums were hidden: back in entry mode
    // they belong under the full list again.
    for (QLineEdit* t : { txtPreisG, txtVersandG, txtGesamt })
        t->show();
    for (QPushButton* b : { cmdSave, cmdEdit, cmdDelete })
        b->setEnabled(true);
    setDefaultButton(cmdSave);
    setWindowHeight(kEntryHeightTwips);
    setFrameCaption(m_all->rowCount());
}

// ---------------------------------------------------------------- Date picker

void frmAddKosten::cmdDatePicker_Click()
{
    // Modeless: the chosen date goes into txtDate when taken over.
    if (!m_picker) {
        m_picker = new frmDatePicker(
            m_app.env, [this](const QDate& d) { txtDate->setText(DisplayDate(d)); }, this);
        m_picker->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_picker->show();
    m_picker->raise();
    m_picker->activateWindow();
}

// ---------------------------------------------------------------- Filter

void frmAddKosten::chkFilter_Click()
{
    if (!filterMode()) {
        imgFilterTrue->show();
        imgFilterFalse->hide();
        setWindowHeight(kFilterHeightTwips);
        for (QPushButton* b : { cmdEdit, cmdDelete, cmdSave })
            b->setEnabled(false);
        m_filtered->clear();
        showFilterList(true);
        for (QLineEdit* t : { txtPreisG2, txtVersandG2, txtGesamt2 }) {
            t->clear();
            t->show();
        }
        setDefaultButton(cmdFilter);
        m_filtered->showAll();
        txtFilter->setFocus();
    } else {
        imgFilterFalse->show();
        imgFilterTrue->hide();
        setWindowHeight(kEntryHeightTwips);
        Form_Load();
        for (QPushButton* b : { cmdEdit, cmdDelete, cmdSave })
            b->setEnabled(true);
        showFilterList(false);
        m_filtered->clear();
        for (QLineEdit* t : { txtPreisG2, txtVersandG2, txtGesamt2 })
            t->hide();
        for (QLineEdit* t : { txtPreisG, txtVersandG, txtGesamt })
            t->show();
        txtFilter->clear();
        setDefaultButton(cmdSave);
    }
}

void frmAddKosten::OpenFilterMode()
{
    ShowWindow();
    imgFilterTrue->show();
    imgFilterFalse->hide();
    setWindowHeight(kFilterHeightTwips);
    showFilterList(true);
    cmdFilter_Click();
    setDefaultButton(cmdFilter);
    txtFilter->setFocus();
    for (QPushButton* b : { cmdDelete, cmdEdit, cmdSave })
        b->setEnabled(false);
    for (QLineEdit* t : { txtPreisG, txtVersandG, txtGesamt })
        t->hide();
    for (QLineEdit* t : { txtPreisG2, txtVersandG2, txtGesamt2 })
        t->show();
}

void frmAddKosten::cmdFilter_Click()
{
    const Env& env = m_app.env;
    ErrorTrap trap(env, u"Sub frmAddKosten.cmdFilter_Click"_s);
    if (m_all->rowCount() < 2)
        return;
    for (QLineEdit* t : { txtPreisG2, txtVersandG2, txtGesamt2 })
        t->setText(u"0"_s);
    m_filtered->filter(txtFilter->text());
    if (m_filtered->rowCount() == 0)
        return;
    const QStringList matches = m_filtered->lines();

    const CostSums sums = SumCostLines(matches, trap);
    trap.step([&] { txtPreisG2->setText(CostSumText(sums.price)); });
    trap.step([&] { txtVersandG2->setText(CostSumText(sums.shipping)); });
    trap.step([&] { txtGesamt2->setText(CostSumText(sums.total)); });
    setFrameCaption(m_filtered->rowCount());
}

void frmAddKosten::cmdReset_Click()
{
    txtFilter->clear();
    cmdFilter_Click();
    txtFilter->setFocus();
}

// ---------------------------------------------------------------- Edit and delete

int frmAddKosten::selectedRow() const
{
    const QModelIndexList rows = lstKosten->selectionModel()->selectedRows();
    if (rows.isEmpty() || !rows.first().isValid())
        return -1;
    int row = rows.first().row();
    if (lstKosten->model() == m_filtered)
        row = m_filtered->sourceRow(row);
    return m_all->logRow(row);
}

void frmAddKosten::showFilterList(bool on)
{
    lstKosten->setModel(on ? static_cast<QAbstractItemModel*>(m_filtered) : m_all);
    lstKosten->setAccessibleName(on ? kFilteredName : kAllName);
}

bool frmAddKosten::removeAndRewrite(int row, bool forEdit, ErrorTrap& trap)
{
    Logbook& log = *m_app.log;
    if (row >= 0
        && (forEdit ? log.takeCostForEdit(row, trap) : log.removeCost(row, QString(), trap)))
        return true;
    m_app.env.dialogs->message(u"Die Kostendatenbank konnte nicht geschrieben werden!\r\n"
                               u"Es wurde nichts geändert."_s,
        MsgIcon::Warning);
    return false;
}

void frmAddKosten::cmdEdit_Click()
{
    const Env& env = m_app.env;
    ErrorTrap trap(env, u"Sub frmAddKosten.cmdEdit_Click"_s);
    Logbook::Batch batch(*m_app.log); // shown anew with the purchase in the boxes
    if (filterMode())
        return;
    const int row = selectedRow();
    if (row < 0)
        return;
    // Another purchase is still out for editing: its typed changes would be
    // replaced, so ask first; the purchase itself goes back unchanged.
    Logbook& log = *m_app.log;
    if (!log.costOutForEdit().isEmpty()
        && env.dialogs->message(
               u"Der Einkauf, der gerade bearbeitet wird, wird unverändert "
               u"zurückgeschrieben.\r\nTrotzdem einen anderen Einkauf bearbeiten?"_s,
               MsgIcon::Question, MsgButtons::YesNo)
            == MsgResult::No)
        return;

    const RecordTable table = ConvertToArray(env, { log.costLine(row) }, u"kosten"_s);
    if (table.isEmpty())
        return;
    const QStringList& f = table.first();
    // The purchase leaves the log first; only then is it in the entry boxes.
    if (!removeAndRewrite(row, true, trap))
        return;

    txtDate->setText(f[0]);
    txtGeschäft->setText(f[1]);
    txtMenge->setText(f[2]);
    txtBezeichnung->setText(f[3]);
    txtEinzelpreis->setText(chopAmountSign(f[4]));
    txtVersandkosten->setText(chopAmountSign(f[6]));
}

void frmAddKosten::cmdDelete_Click()
{
    const Env& env = m_app.env;
    ErrorTrap trap(env, u"Sub frmAddKosten.cmdDelete_Click"_s);
    if (filterMode())
        return;
    const int row = selectedRow();
    if (row < 0)
        return;
    if (env.dialogs->message(
            u"Wollen Sie den Eintrag wirklich löschen?"_s, MsgIcon::Question, MsgButtons::YesNo)
        == MsgResult::No)
        return;
    removeAndRewrite(row, false, trap);
}

// ---------------------------------------------------------------- Keys

void frmAddKosten::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_default && m_default->isEnabled())
            m_default->click();
        return;
    case Qt::Key_Escape:
        cmdAbort->click();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}
