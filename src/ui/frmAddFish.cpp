#include "ui/frmAddFish.h"

#include "calc/MondPhase.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/Paths.h"
#include "store/CatchList.h"
#include "store/ConvertDate.h"
#include "store/ConvertToArray.h"
#include "store/Logbook.h"
#include "store/Numbers.h"
#include "ui/AccessibleIds.h"
#include "ui/AppState.h"
#include "ui/TextFilters.h"
#include "ui/ValidityPictures.h"
#include "ui/frmDatePicker.h"

#include <QDate>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kSavePlace = u"Sub frmAddFish.cmdSave_Click"_s;
const QString kAbortPlace = u"Sub frmAddFish.cmdAbort_Click"_s;
const QString kLoadPlace = u"Sub frmAddFish.Form_Load"_s;

// Longest texts the boxes take. A record field of 255 characters or more
// cannot be read back (and stops the reading of every later line), so the
// boxes leave room for what the save adds: the photo mark after the
// species, "+ " before a temperature, up to ",00" after the weight.
constexpr int kFieldMax = int(kFieldScanLimit) - 1;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

frmAddFish::frmAddFish(AppState& app)
    : m_app(app)
{
    setObjectName(u"frmAddFish"_s);
    setWindowTitle(u"Fang eintragen"_s);
    buildWidgets();
    connectRules();
    Form_Load();
}

void frmAddFish::buildWidgets()
{
    auto* grid = new QGridLayout;
    int row = 0;

    auto caption = [&](const QString& name, const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setBuddy(buddy);
        grid->addWidget(l, row, 0);
        return l;
    };
    auto box = [&](const QString& name, InputKind kind, int maxLength, const QString& text) {
        auto* b = new FilteredLineEdit(kind, this);
        b->setObjectName(name);
        b->setMaxLength(maxLength);
        b->setText(text);
        return b;
    };
    auto line = [&](FilteredLineEdit* b, const QString& labelName, const QString& text) {
        caption(labelName, text, b);
        grid->addWidget(b, row, 1, 1, 2);
        ++row;
    };

    txtDate = box(u"txtDate"_s, InputKind::RecordText, 10, QString());
    cmdDatePicker = new QPushButton(u"..."_s, this);
    cmdDatePicker->setObjectName(u"cmdDatePicker"_s);
    cmdDatePicker->setFixedWidth(32);
    caption(u"lblDate"_s, u"Fangdatum:"_s, txtDate);
    grid->addWidget(txtDate, row, 1);
    grid->addWidget(cmdDatePicker, row, 2);
    auto* lblPhase = new QLabel(u"Mondphase:"_s, this);
    lblPhase->setObjectName(u"lblPhase"_s);
    labPhase = new QLabel(this);
    labPhase->setObjectName(u"labPhase"_s);
    labPhase->setMinimumWidth(110);
    grid->addWidget(lblPhase, row, 3);
    grid->addWidget(labPhase, row, 4);
    ++row;

    txtFänger = box(u"txtFänger"_s, InputKind::RecordText, kFieldMax, QString());
    line(txtFänger, u"lblFänger"_s, u"Fänger:"_s);

    const int timeRow = row;
    txtBeginn = box(u"txtBeginn"_s, InputKind::RecordText, 5, u"00:00"_s);
    line(txtBeginn, u"lblBeginn"_s, u"Angelbeginn:"_s);
    txtFang = box(u"txtFang"_s, InputKind::RecordText, 5, u"00:00"_s);
    line(txtFang, u"lblFang"_s, u"Fangzeit:"_s);
    txtEnde = box(u"txtEnde"_s, InputKind::RecordText, 5, u"00:00"_s);
    line(txtEnde, u"lblEnde"_s, u"Angelende:"_s);

    // Both pictures share one place; the check lies on top until the first
    // time check decides which of them stays.
    imgFalse = new QLabel(this);
    imgFalse->setObjectName(u"imgFalse"_s);
    imgFalse->setPixmap(invalidPicture());
    imgTrue = new QLabel(this);
    imgTrue->setObjectName(u"imgTrue"_s);
    imgTrue->setPixmap(validPicture());
    grid->addWidget(imgFalse, timeRow, 3, 3, 1, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(imgTrue, timeRow, 3, 3, 1, Qt::AlignLeft | Qt::AlignVCenter);
    // Both pictures show while the window opens, imgTrue on top: it must
    // cover the other one, not let its cross shine through.
    imgTrue->setAutoFillBackground(true);
    imgTrue->raise();

    txtFischArt = box(u"txtFischArt"_s, InputKind::RecordText, kFieldMax - 1, QString());
    line(txtFischArt, u"lblFischArt"_s, u"Fischart:"_s);
    txtGewicht = box(u"txtGewicht"_s, InputKind::Number, kFieldMax - 4, u"0,00"_s);
    line(txtGewicht, u"lblGewicht"_s, u"Gewicht (kg):"_s);
    txtLänge = box(u"txtLänge"_s, InputKind::Number, kFieldMax, u"0"_s);
    line(txtLänge, u"lblLänge"_s, u"Länge (cm):"_s);
    txtGewässer = box(u"txtGewässer"_s, InputKind::RecordText, kFieldMax, QString());
    line(txtGewässer, u"lblGewässer"_s, u"Gewässer:"_s);
    txtStelle = box(u"txtStelle"_s, InputKind::RecordText, kFieldMax, QString());
    line(txtStelle, u"lblStelle"_s, u"Angelplatz:"_s);
    txtMethode = box(u"txtMethode"_s, InputKind::RecordText, kFieldMax, QString());
    line(txtMethode, u"lblMethode"_s, u"Montage/Rig.:"_s);
    txtKöder = box(u"txtKöder"_s, InputKind::RecordText, kFieldMax, QString());
    line(txtKöder, u"lblKöder"_s, u"Köder:"_s);
    txtWetter = box(u"txtWetter"_s, InputKind::RecordText, kFieldMax, QString());
    line(txtWetter, u"lblWetter"_s, u"Wetter:"_s);
    txtTempLuft = box(u"txtTempLuft"_s, InputKind::SignedNumber, kFieldMax - 2, u"0"_s);
    line(txtTempLuft, u"lblTempLuft"_s, u"Lufttemperatur:"_s);
    txtTempWasser = box(u"txtTempWasser"_s, InputKind::SignedNumber, kFieldMax - 2, u"0"_s);
    line(txtTempWasser, u"lblTempWasser"_s, u"Wassertemp.:"_s);
    txtAngeltiefe = box(u"txtAngeltiefe"_s, InputKind::Number, kFieldMax, u"0"_s);
    line(txtAngeltiefe, u"lblAngeltiefe"_s, u"Angeltiefe (m):"_s);

    // The photo path is a path of this computer, not a record field.
    txtBild = new QLineEdit(this);
    txtBild->setObjectName(u"txtBild"_s);
    cmdBrowse = new QPushButton(u"..."_s, this);
    cmdBrowse->setObjectName(u"cmdBrowse"_s);
    cmdBrowse->setFixedWidth(32);
    caption(u"lblBild"_s, u"Bild:"_s, txtBild);
    grid->addWidget(txtBild, row, 1, 1, 4);
    grid->addWidget(cmdBrowse, row, 5);
    ++row;
    grid->setColumnStretch(1, 1);

    cmdSave = new QPushButton(u"Speichern"_s, this);
    cmdSave->setObjectName(u"cmdSave"_s);
    cmdSave->setDefault(true);
    cmdSave->setEnabled(false);
    cmdAbort = new QPushButton(u"Abbrechen"_s, this);
    cmdAbort->setObjectName(u"cmdAbort"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdAbort);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addSpacing(8);
    outer->addLayout(buttons);

    QWidget* order[] = { txtDate, cmdDatePicker, txtFänger, txtBeginn, txtFang, txtEnde,
        txtFischArt, txtGewicht, txtLänge, txtGewässer, txtStelle, txtMethode, txtKöder, txtWetter,
        txtTempLuft, txtTempWasser, txtAngeltiefe, txtBild, cmdBrowse, cmdSave, cmdAbort };
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // The text standing for "not entered": cleared on entering the box,
    // put back when the box is left empty.
    const QString blank = u" "_s;
    m_placeholders = {
        { txtFänger, blank, true, true },
        { txtBeginn, u"00:00"_s, true, true },
        { txtFang, u"00:00"_s, true, true },
        { txtEnde, u"00:00"_s, true, true },
        { txtFischArt, blank, false, true },
        { txtGewicht, u"0,00"_s, true, true },
        { txtLänge, u"0"_s, true, true },
        { txtGewässer, blank, true, true },
        { txtStelle, blank, true, true },
        { txtMethode, blank, true, true },
        { txtKöder, blank, true, true },
        { txtWetter, blank, true, false },
        { txtTempLuft, u"0"_s, true, true },
        { txtTempWasser, u"0"_s, true, true },
        { txtAngeltiefe, u"0"_s, true, true },
    };
    for (const Placeholder& p : m_placeholders)
        p.box->installEventFilter(this);

    // Names for assistive technology where the caption says too little or
    // a picture says it all.
    cmdDatePicker->setAccessibleName(u"Fangdatum auswählen"_s);
    cmdBrowse->setAccessibleName(u"Bild auswählen"_s);
    imgTrue->setAccessibleName(u"Zeiten gültig"_s);
    imgFalse->setAccessibleName(u"Zeiten ungültig"_s);
    setAccessibleIdentifiers(this);
}

void frmAddFish::connectRules()
{
    connect(txtDate, &QLineEdit::textChanged, this, [this] { txtDate_Change(); });
    for (FilteredLineEdit* b : { txtBeginn, txtFang, txtEnde })
        connect(b, &QLineEdit::textChanged, this, [this, b] { timeBox_Change(b); });
    connect(cmdDatePicker, &QPushButton::clicked, this, [this] { cmdDatePicker_Click(); });
    connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdAbort, &QPushButton::clicked, this, [this] { cmdAbort_Click(); });
}

void frmAddFish::Form_Load()
{
    const Env& env = m_app.env;
    ErrorTrap trap(env, kLoadPlace);
    trap.step([&] { txtDate->setText(TodayText(*env.clock)); });
    loadedPhotoPath.clear();
    if (m_app.log->catchOutForEdit().isEmpty())
        return;

    QStringList f;
    trap.step(
        [&] { f = ConvertToArray(env, { m_app.log->catchOutForEdit() }, u"fisch"_s).value(0); });
    auto field = [&](int k) { return f.value(k - 1); };

    txtDate->setText(field(1));
    txtFänger->setText(field(2));
    txtBeginn->setText(field(3));
    txtFang->setText(field(4));
    txtEnde->setText(field(5));
    txtFischArt->setText(field(6));
    txtTempLuft->setText(field(14));
    txtTempWasser->setText(field(15));
    txtAngeltiefe->setText(field(16));

    const QString species = txtFischArt->text();
    const bool hasPhoto = species.endsWith(u'*');
    if (hasPhoto)
        txtFischArt->setText(species.chopped(1));

    txtGewicht->setText(field(7));
    txtLänge->setText(field(8));
    txtGewässer->setText(field(9));
    txtStelle->setText(field(10));
    txtMethode->setText(field(11));
    txtKöder->setText(field(12));
    txtWetter->setText(field(13));

    if (!hasPhoto)
        return;
    // The photo is found again by the catch's date and catch time. A record
    // whose date or time is not in its proper form names no file at all.
    const QString date = field(1);
    const QString time = field(4);
    if (TypedDate(date).isValid() && TimeMinutes(time) >= 0) {
        const QString found = FindPhoto(env, date, time);
        if (!found.isEmpty())
            txtBild->setText(found);
    }
    if (txtBild->text().isEmpty()) {
        env.dialogs->message(
            u"Fehler: In der Datenbank ist zwar ein Verweis auf ein Bild, jedoch "
            u"konnte das Bild nicht gefunden werden!\r\nDer Verweis wird gelöscht."_s,
            MsgIcon::Warning);
    }
    loadedPhotoPath = txtBild->text();
    loadedCatchTime = txtFang->text();
    loadedDate = txtDate->text();
}

void frmAddFish::txtDate_Change()
{
    const QString t = txtDate->text();
    if (!t.isEmpty() && !isAsciiDigit(t.back()) && t.back() != u'.') {
        // Setting the text again runs this rule once more with the shorter text.
        txtDate->setText(t.chopped(1));
        txtDate->setCursorPosition(int(txtDate->text().size()));
        return;
    }
    if (t.size() != 10)
        return;
    const QDate d = TypedDate(t);
    if (d.isValid())
        labPhase->setText(MondPhase(m_app.env, DayNumber(d)));
}

void frmAddFish::timeBox_Change(FilteredLineEdit* box)
{
    const QString t = box->text();
    if (!t.isEmpty() && !isAsciiDigit(t.back()) && t.back() != u':') {
        box->setText(t.chopped(1));
        box->setCursorPosition(int(box->text().size()));
        return;
    }
    CheckTime();
    // Move on only while the user types into the box; a box refilled with
    // its placeholder on leaving must not pull the focus back.
    if (!isVisible() || !box->hasFocus() || t.size() != 5)
        return;
    if (box == txtBeginn)
        txtFang->setFocus(Qt::OtherFocusReason);
    else if (box == txtFang && t != u"00:00")
        txtEnde->setFocus(Qt::OtherFocusReason);
}

CatchEntry frmAddFish::entry() const
{
    return { txtDate->text(), txtFänger->text(), txtBeginn->text(), txtFang->text(),
        txtEnde->text(), txtFischArt->text(), txtGewicht->text(), txtLänge->text(),
        txtGewässer->text(), txtStelle->text(), txtMethode->text(), txtKöder->text(),
        txtWetter->text(), txtTempLuft->text(), txtTempWasser->text(), txtAngeltiefe->text(),
        txtBild->text(), labPhase->text() };
}

bool frmAddFish::timesValid() const
{
    return CatchTimesValid(entry(), m_app.env.clock->now());
}

void frmAddFish::CheckTime()
{
    const bool valid = timesValid();
    imgTrue->setVisible(valid);
    imgFalse->setVisible(!valid);
    cmdSave->setEnabled(valid);
}

bool frmAddFish::eventFilter(QObject* watched, QEvent* e)
{
    const QEvent::Type type = e->type();
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        // A window losing or gaining activation and a context menu opening
        // are not the user entering or leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            for (const Placeholder& p : m_placeholders) {
                if (p.box != watched)
                    continue;
                if (type == QEvent::FocusIn && p.clearOnEnter && p.box->text() == p.text)
                    p.box->clear();
                else if (type == QEvent::FocusOut && p.restoreOnLeave && p.box->text().isEmpty())
                    p.box->setText(p.text);
            }
        }
    }
    return QDialog::eventFilter(watched, e);
}

void frmAddFish::keyPressEvent(QKeyEvent* e)
{
    // Escape is "Abbrechen", not a silent close of the window.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        cmdAbort->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool frmAddFish::refuse(const QString& message)
{
    m_app.env.dialogs->message(message, MsgIcon::Warning);
    return false;
}

void frmAddFish::cmdSave_Click()
{
    saveCatch();
}

bool frmAddFish::saveCatch()
{
    const Env& env = m_app.env;
    ErrorTrap trap(env, kSavePlace);
    Logbook::Batch batch(*m_app.log); // shown anew once the save is complete

    // Every check comes before anything is written, copied or deleted: a
    // refused save leaves the window, the catch file and the photos as
    // they were.
    const CatchEntry e = entry();
    // The date box does not run the time check: show its result now, so
    // the pictures agree with a refusal of the times.
    if (!CatchTimesValid(e, env.clock->now()))
        CheckTime();
    const QString refusal = CheckCatchEntry(e, env.clock->now());
    if (!refusal.isEmpty())
        return refuse(refusal);

    // The record is put together apart from the boxes, so that a failed
    // write leaves every typed value as it was.
    const Logbook::CatchSave saved
        = m_app.log->saveCatch(e, { loadedPhotoPath, loadedDate, loadedCatchTime }, trap);
    if (!saved.warning.isEmpty())
        env.dialogs->message(saved.warning, MsgIcon::Warning);
    if (!saved.written)
        return false;
    env.dialogs->message(u"Eintrag gespeichert!"_s, MsgIcon::Information);
    resetWidgets();
    loadedPhotoPath.clear();
    loadedCatchTime.clear();
    loadedDate.clear();
    const bool closing = !m_app.log->catchOutForEdit().isEmpty();
    if (closing)
        close();
    m_app.log->clearCatchEdit();
    if (!closing)
        txtDate->setFocus(Qt::OtherFocusReason);
    return true;
}

void frmAddFish::resetWidgets()
{
    txtDate->setText(TodayText(*m_app.env.clock));
    for (QLineEdit* b : { txtBeginn, txtFang, txtEnde })
        b->setText(u"00:00"_s);
    txtGewicht->setText(u"0,00"_s);
    for (QLineEdit* b : { txtLänge, txtTempLuft, txtTempWasser, txtAngeltiefe })
        b->setText(u"0"_s);
    for (QLineEdit* b : { static_cast<QLineEdit*>(txtFänger), static_cast<QLineEdit*>(txtFischArt),
             static_cast<QLineEdit*>(txtGewässer), static_cast<QLineEdit*>(txtStelle),
             static_cast<QLineEdit*>(txtMethode), static_cast<QLineEdit*>(txtKöder),
             static_cast<QLineEdit*>(txtWetter), txtBild })
        b->clear();
}

void frmAddFish::cmdAbort_Click()
{
    const Env& env = m_app.env;
    ErrorTrap trap(env, kAbortPlace);
    if (m_app.log->catchOutForEdit().isEmpty()) {
        txtDate->setText(TodayText(*env.clock));
        close();
        return;
    }
    const MsgResult answer = env.dialogs->message(
        u"Es liegen ungespeicherte Änderungen vor!\r\nWenn Sie den Vorgang jetzt abbrechen, geht "
        u"der Eintrag verloren!\r\nÄnderungen jetzt speichern?"_s,
        MsgIcon::Information, MsgButtons::YesNoCancel, u"Änderungen speichern?"_s);
    switch (answer) {
    case MsgResult::Yes:
        // A completed save of an edited catch closes the window itself; a
        // refused one keeps it open with the catch, which is not yet stored.
        saveCatch();
        return;
    case MsgResult::No:
        // The catch left the file when editing began; its photo goes too.
        m_app.log->dropCatchOutForEdit({ loadedPhotoPath, loadedDate, loadedCatchTime }, trap);
        close();
        return;
    case MsgResult::Cancel:
    case MsgResult::Ok:
        return;
    }
}

void frmAddFish::cmdDatePicker_Click()
{
    if (!m_picker) {
        // The date goes into txtDate, which runs the date rule and the moon phase.
        m_picker = new frmDatePicker(
            m_app.env, [this](const QDate& d) { txtDate->setText(DisplayDate(d)); }, this);
        m_picker->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_picker->show();
    m_picker->raise();
    m_picker->activateWindow();
}

void frmAddFish::cmdBrowse_Click()
{
    const QString file = m_app.env.dialogs->openFile(u"Bild zum Fang auswählen"_s, u"C:\\"_s,
        u"Bilddateien (jpg, jpeg, gif, bmp)|*.jpg;*.jpeg;*.gif;*.bmp"_s);
    if (!file.isEmpty())
        txtBild->setText(file);
}
