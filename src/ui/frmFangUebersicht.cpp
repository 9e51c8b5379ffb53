#include "ui/frmFangUebersicht.h"

#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "store/CatchList.h"
#include "store/Logbook.h"
#include "ui/AccessibleIds.h"
#include "ui/AppState.h"
#include "ui/FilterSwitch.h"
#include "ui/FilteredListModel.h"
#include "ui/LogListModel.h"
#include "ui/TabListView.h"
#include "ui/Twips.h"
#include "ui/frmPic.h"

#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// What the title bar and the border add to the client area, in twips.
constexpr int kFrameWidth = 120;
constexpr int kFrameHeight = 510;

const QList<int> kTabStops
    = { 20, 65, 110, 140, 170, 200, 280, 315, 345, 420, 505, 570, 650, 710, 750, 800, 860 };

const QString kHeading = u"Übersicht über alle eingetragenen Fänge ("_s;
const QString kHeadingFiltered = u"Übersicht über alle eingetragenen Fänge {gefiltert} ("_s;
const QString kAllName = u"Alle eingetragenen Fänge"_s;
const QString kFilteredName = u"Gefilterte Fänge"_s;

} // namespace

frmFangÜbersicht::frmFangÜbersicht(
    AppState& app, Action openEntry, std::function<bool()> entryShown, Action raiseMain)
    : m_app(app)
    , m_openEntry(std::move(openEntry))
    , m_entryShown(std::move(entryShown))
    , m_raiseMain(std::move(raiseMain))
{
    setObjectName(u"frmFangÜbersicht"_s);
    setWindowTitle(u"Alle eingetragenen Fänge"_s);
    // Sizable, but without minimise and maximise buttons.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    buildWidgets();
    setTwipsSize(kInitialWidth, kNormalHeight);
    Form_Load();
}

frmFangÜbersicht::~frmFangÜbersicht()
{
    delete pic.data();
}

void frmFangÜbersicht::buildWidgets()
{
    labÜberschrift = new QLabel(u"Übersicht über alle eingetragenen Fänge ():"_s, this);
    labÜberschrift->setObjectName(u"labÜberschrift"_s);
    QFont headingFont = labÜberschrift->font();
    headingFont.setBold(true);
    labÜberschrift->setFont(headingFont);
    labÜberschrift->setIndent(px(120));

    m_all = new LogListModel(*m_app.log, LogListModel::Log::Catches, this);
    m_filtered = new FilteredListModel(m_app.env, m_all, this);
    m_filtered->clear();
    lstFänge = new TabListView(this);
    lstFänge->setObjectName(u"lstFänge"_s);
    lstFänge->setTabStops(kTabStops);
    lstFänge->setGeometry(px(120), px(600), px(15015), px(5325));
    lstFänge->setModel(m_all);
    lstFänge->setAccessibleName(kAllName);

    auto makeButton
        = [this](const QString& name, const QString& caption, QWidget* parent, QRect twips) {
              auto* b = new QPushButton(caption, parent);
              b->setObjectName(name);
              b->setGeometry(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height()));
              b->setAutoDefault(false);
              return b;
          };
    cmdEdit = makeButton(u"cmdEdit"_s, u"Bearbeiten"_s, this, { 120, 6120, 1335, 375 });
    cmdDelete = makeButton(u"cmdDelete"_s, u"Löschen"_s, this, { 1575, 6120, 1335, 375 });
    cmdPrint = makeButton(u"cmdPrint"_s, u"Drucken"_s, this, { 3030, 6120, 1335, 375 });
    cmdShowPic = makeButton(u"cmdShowPic"_s, u"Bild anzeigen"_s, this, { 4485, 6120, 1575, 375 });
    cmdShowPic->setEnabled(false);
    cmdOK = makeButton(u"cmdOK"_s, u"Schließen"_s, this, { 12000, 6120, 1335, 375 });

    imgFilterFalse = new QLabel(this);
    imgFilterTrue = new QLabel(this);
    imgFilterFalse->setObjectName(u"imgFilterFalse"_s);
    imgFilterTrue->setObjectName(u"imgFilterTrue"_s);
    imgFilterFalse->setGeometry(px(6300), px(6180), px(255), px(255));
    imgFilterTrue->setGeometry(px(6300), px(6180), px(255), px(255));
    imgFilterTrue->hide();
    chkFilter = new FilterSwitch(u"  Filter verwenden"_s, imgFilterTrue, imgFilterFalse, this);
    chkFilter->setObjectName(u"chkFilter"_s);
    chkFilter->setGeometry(px(6555), px(6180), px(1800), px(255));
    chkFilter->onSwitch = [this] { chkFilter_Click(); };

    Frame1 = new QGroupBox(u"Filtereinstellungen"_s, this);
    Frame1->setObjectName(u"Frame1"_s);
    Frame1->setGeometry(px(120), px(6750), px(6015), px(735));
    txtFilter = new QLineEdit(Frame1);
    txtFilter->setObjectName(u"txtFilter"_s);
    txtFilter->setGeometry(px(120), px(300), px(3255), px(315));
    txtFilter->setAccessibleName(u"Filterausdruck"_s);
    cmdFilter = makeButton(u"cmdFilter"_s, u"Suchen..."_s, Frame1, { 3495, 270, 1095, 375 });
    cmdReset = makeButton(u"cmdReset"_s, u"Reset"_s, Frame1, { 4710, 270, 1095, 375 });

    setDefaultButton(cmdOK);
    setAccessibleIdentifiers(this);

    connect(cmdFilter, &QPushButton::clicked, this, [this] { cmdFilter_Click(); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    connect(cmdShowPic, &QPushButton::clicked, this, [this] { cmdShowPic_Click(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    // A new current line, by mouse or keyboard, is a click on it.
    lstFänge->onCurrentRowChanged = [this](int row) { lst_Click(row); };
}

// ---------------------------------------------------------------- Load

void frmFangÜbersicht::Form_Load()
{
    const Env& env = m_app.env;
    ErrorTrap trap(env, u"Sub frmFangÜbersicht.Form_Load"_s);
    trap.step([&] { lstFänge->setTabStops(kTabStops); });
    trap.step([&] {
        // A stored width larger than the desktop (the "fill the screen"
        // choice of the first start) becomes the desktop's width.
        int width = m_app.settings.OverviewWidth;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            width = qMin(width, screen->availableGeometry().width() * kTwipsPerPixel);
        setTwipsSize(width, m_app.settings.OverviewHeight);
    });

    Logbook& log = *m_app.log;
    log.refresh(u"Sub frmFangÜbersicht.Form_Load"_s);
    // The list follows the log by itself; its width is measured again only
    // when the log changed since: a refresh after a change elsewhere keeps
    // the measured width.
    if (m_shownGeneration != log.catchGeneration()) {
        m_shownGeneration = log.catchGeneration();
        m_fängeWidest = -1;
        m_filterWidest = -1;
    }
    if (log.catchFileSize() < 10) {
        // Only the header lines: the heading must not keep the count of
        // catches that are gone.
        if (m_loadedOnce)
            setHeading(kHeading + u"0):"_s);
        CreateBar();
        return;
    }
    m_loadedOnce = true;
    setHeading(kHeading + QString::number(log.catchCount()) + u"):"_s);
    CreateBar();
}

// ---------------------------------------------------------------- Filter

void frmFangÜbersicht::cmdFilter_Click()
{
    const Env& env = m_app.env;
    ErrorTrap trap(env, u"Sub frmFangÜbersicht.cmdFilter_Click"_s);
    // Fewer than two catches leave nothing to filter.
    if (m_all->rowCount() < 4)
        return;
    trap.step([&] {
        const QString text = txtFilter->text();
        if (text.startsWith(u'+'))
            txtFilter->setText(text.mid(1));
    });
    m_filtered->filter(txtFilter->text());
    m_filterWidest = m_filtered->rowCount() == m_all->rowCount() ? m_fängeWidest : -1;
    setHeading(kHeadingFiltered + QString::number(m_filtered->rowCount() - 2) + u"):"_s);
    CreateBar();
}

void frmFangÜbersicht::cmdReset_Click()
{
    txtFilter->clear();
    cmdFilter_Click();
    txtFilter->setFocus();
}

void frmFangÜbersicht::chkFilter_Click()
{
    const bool on = !filterMode();
    showFilterPictures(on);
    if (!isVisible()) {
        setTwipsSize(twipsWidth(), kNormalHeight);
        return;
    }
    if (!on) {
        setTwipsSize(twipsWidth(), kNormalHeight);
        Form_Load();
        setEditButtonsEnabled(true);
        showFilterList(false);
        m_filtered->clear();
        m_filterWidest = -1;
        setDefaultButton(cmdOK);
        txtFilter->clear();
    } else {
        setTwipsSize(twipsWidth(), kFilterHeight);
        setEditButtonsEnabled(false);
        m_filtered->showAll();
        m_filterWidest = m_fängeWidest;
        showFilterList(true);
        setDefaultButton(cmdFilter);
        txtFilter->setFocus();
    }
    CreateBar();
}

void frmFangÜbersicht::OpenInFilterMode()
{
    show();
    raise();
    activateWindow();
    showFilterPictures(true);
    setTwipsSize(twipsWidth(), kFilterHeight);
    showFilterList(true);
    cmdFilter_Click();
    setDefaultButton(cmdFilter);
    txtFilter->setFocus();
    setEditButtonsEnabled(false);
}

void frmFangÜbersicht::ShowCatchesWithPhoto()
{
    OpenInFilterMode();
    txtFilter->setText(u"*"_s);
    cmdFilter_Click();
}

// ---------------------------------------------------------------- Select and picture

void frmFangÜbersicht::lst_Click(int row)
{
    cmdShowPic->setEnabled(false);
    photoPath.clear();
    // The header and the rule line name no catch.
    if (row < 2 || row >= lstFänge->count())
        return;
    photoPath = FindPhotoOfRecord(m_app.env, lstFänge->item(row).mid(2));
    cmdShowPic->setEnabled(!photoPath.isEmpty());
}

void frmFangÜbersicht::cmdShowPic_Click()
{
    if (pic)
        pic->close();
    auto* window = new frmPic();
    if (!window->loadPicture(photoPath)) {
        delete window;
        if (m_app.env.dialogs)
            m_app.env.dialogs->message(u"Das Bild konnte nicht angezeigt werden:\r\n"_s
                    + QDir::toNativeSeparators(photoPath)
                    + u"\r\nDie Datei fehlt oder ist kein lesbares Bild."_s,
                MsgIcon::Warning);
        return;
    }
    pic = window;
    window->show();
    window->raise();
    window->activateWindow();
}

// ---------------------------------------------------------------- Edit and delete

int frmFangÜbersicht::selectedCatchRow() const
{
    const QModelIndex current = lstFänge->currentIndex();
    if (!current.isValid() || !lstFänge->selectionModel()->isSelected(current))
        return -1;
    int row = current.row();
    if (lstFänge->model() == m_filtered)
        row = m_filtered->sourceRow(row);
    return m_all->logRow(row);
}

void frmFangÜbersicht::cmdEdit_Click()
{
    const Env& env = m_app.env;
    ErrorTrap trap(env, u"Sub frmFangÜbersicht.cmdEdit_Click"_s);
    const int row = selectedCatchRow();
    if (row < 0)
        return;
    if (m_entryShown && m_entryShown()) {
        // The open entry window holds a catch of its own; handing it another
        // one now would lose one of the two.
        if (env.dialogs)
            env.dialogs->message(
                u"Das Fenster zum Eintragen eines Fangs ist noch geöffnet.\r\n"
                u"Bitte speichern oder schließen Sie es, bevor Sie einen anderen Fang bearbeiten."_s,
                MsgIcon::Information);
        runAction(m_openEntry); // raises it
        return;
    }
    {
        // Everything is shown anew once, before the entry window opens on top.
        Logbook& log = *m_app.log;
        Logbook::Batch batch(log);
        const QString line = log.catchLine(row);
        const quint64 generation = log.catchGeneration();
        // A catch taken out for editing whose entry window was closed without
        // saving or cancelling is still only in memory: it goes back first, so
        // handing over another catch cannot lose it.
        log.putBackCatch(trap);
        log.refresh(u"Sub frmFangÜbersicht.cmdEdit_Click"_s);
        // The catch put back or a change elsewhere moved the rows: the chosen
        // catch is found again by its line.
        int at = row;
        if (log.catchGeneration() != generation) {
            at = -1;
            for (int r = 0; r < log.catchCount() && at < 0; ++r) {
                if (log.catchLine(r) == line)
                    at = r;
            }
        }
        if (at < 0)
            return;
        if (!log.takeCatchForEdit(at, trap)) {
            showWriteFailure();
            return;
        }
    }
    trap.step([&] { runAction(m_openEntry); });
    cmdShowPic->setEnabled(false);
}

void frmFangÜbersicht::cmdDelete_Click()
{
    const Env& env = m_app.env;
    ErrorTrap trap(env, u"Sub frmFangÜbersicht.cmdDelete_Click"_s);
    const int selected = selectedCatchRow();
    if (selected < 0)
        return;
    const MsgResult answer = env.dialogs
        ? env.dialogs->message(u"Wollen Sie den Eintrag wirklich löschen?"_s, MsgIcon::Question,
            MsgButtons::YesNo, kAppTitle)
        : MsgResult::No;
    if (answer != MsgResult::Yes)
        return;
    Logbook& log = *m_app.log;
    {
        Logbook::Batch batch(log); // shown anew once the photos are gone too
        if (!log.removeCatchWithPhoto(selected, trap))
            showWriteFailure();
    }
    cmdShowPic->setEnabled(false);
}

void frmFangÜbersicht::showWriteFailure()
{
    if (m_app.env.dialogs)
        m_app.env.dialogs->message(u"Fehler: Die Fangdatenbank konnte nicht geschrieben werden!\r\n"
                                   u"Es wurde nichts geändert."_s,
            MsgIcon::Warning);
}

// ---------------------------------------------------------------- Close

void frmFangÜbersicht::cmdOK_Click()
{
    hide();
    runAction(m_raiseMain);
    showFilterPictures(false);
    txtFilter->clear();
    showFilterList(false);
    setTwipsSize(twipsWidth(), kNormalHeight);
    setEditButtonsEnabled(true);
    setDefaultButton(cmdOK);
}

void frmFangÜbersicht::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    CreateBar();
}

void frmFangÜbersicht::closeEvent(QCloseEvent* e)
{
    // The close box hides the window like "Schließen": it lives for the run.
    e->ignore();
    cmdOK_Click();
}

void frmFangÜbersicht::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Escape:
        cmdOK->click();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A focused button is pressed itself, as in the other windows;
        // elsewhere Enter presses the default button.
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget());
            focused && focused->isEnabled() && focused->isVisible()) {
            focused->click();
            return;
        }
        for (QPushButton* b : { cmdOK, cmdFilter }) {
            if (b->isDefault() && b->isEnabled()) {
                b->click();
                return;
            }
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(e);
}

// ---------------------------------------------------------------- Modes

bool frmFangÜbersicht::filterMode() const
{
    return !imgFilterTrue->isHidden();
}

QStringList frmFangÜbersicht::fängeLines() const
{
    return m_all->lines();
}

QStringList frmFangÜbersicht::filterLines() const
{
    return m_filtered->lines();
}

void frmFangÜbersicht::setHeading(const QString& text)
{
    labÜberschrift->setText(text);
}

void frmFangÜbersicht::setDefaultButton(QPushButton* button)
{
    cmdOK->setDefault(button == cmdOK);
    cmdFilter->setDefault(button == cmdFilter);
}

void frmFangÜbersicht::setEditButtonsEnabled(bool on)
{
    cmdEdit->setEnabled(on);
    cmdDelete->setEnabled(on);
}

void frmFangÜbersicht::showFilterList(bool on)
{
    lstFänge->setModel(on ? static_cast<QAbstractItemModel*>(m_filtered) : m_all);
    lstFänge->setAccessibleName(on ? kFilteredName : kAllName);
}

void frmFangÜbersicht::showFilterPictures(bool on)
{
    imgFilterTrue->setVisible(on);
    imgFilterFalse->setVisible(!on);
    updateSizeLimits();
}

// ---------------------------------------------------------------- Size

int frmFangÜbersicht::twipsWidth() const
{
    return width() * kTwipsPerPixel + kFrameWidth;
}

int frmFangÜbersicht::twipsHeight() const
{
    return height() * kTwipsPerPixel + kFrameHeight;
}

void frmFangÜbersicht::updateSizeLimits()
{
    // The same limits the size rules enforce, given to the window system so
    // that dragging stops at them.
    setMinimumSize(px(kMinWidth - kFrameWidth), px(kNormalHeight - kFrameHeight));
    setMaximumSize(
        QWIDGETSIZE_MAX, px((filterMode() ? kFilterHeight : kNormalHeight) - kFrameHeight));
}

void frmFangÜbersicht::setTwipsSize(int width, int height)
{
    width = qMax(width, kMinWidth);
    height = qBound(kNormalHeight, height, filterMode() ? kFilterHeight : kNormalHeight);
    updateSizeLimits();
    m_applyingSize = true;
    resize(px(width - kFrameWidth), px(height - kFrameHeight));
    m_applyingSize = false;

    const int w = twipsWidth();
    if (w != kInitialWidth) {
        m_app.settings.OverviewWidth = static_cast<qint16>(qMin(w, 32767));
        m_app.settings.OverviewHeight = static_cast<qint16>(qMin(twipsHeight(), 32767));
    }
    layoutWidgets();
    CreateBar();
}

void frmFangÜbersicht::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!m_applyingSize)
        setTwipsSize(twipsWidth(), twipsHeight());
}

void frmFangÜbersicht::layoutWidgets()
{
    const int w = twipsWidth();
    lstFänge->resize(px(w - 350), lstFänge->height());
    labÜberschrift->setGeometry(0, px(150), px(w), px(315));
    cmdOK->move(px(w - 175) - cmdOK->width(), cmdOK->y());
}

void frmFangÜbersicht::CreateBar()
{
    ErrorTrap trap(m_app.env, u"Sub frmFangÜbersicht.CreateBar"_s);
    trap.step([&] {
        lstFänge->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        lstFänge->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    });
    // The list in view is fitted to its own widest line; each list's width
    // is kept until its lines change.
    qreal& widest = lstFänge->model() == m_filtered ? m_filterWidest : m_fängeWidest;
    trap.step([&] {
        // A hidden window is measured when it is shown: a save or a
        // delete with the overview closed does not wait for it.
        if (widest < 0 && !isVisible())
            return;
        if (widest < 0)
            widest = lstFänge->widestLineWidth();
        const int extent = static_cast<int>(std::ceil(widest));
        if (lstFänge->horizontalExtent() != extent)
            lstFänge->setHorizontalExtent(extent);
    });
}
