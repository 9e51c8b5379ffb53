#include "ui/frmHaupt.h"

#include "app/Links.h"
#include "app/Version.h"
#include "calc/Dashboard.h"

#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/Paths.h"
#include "ui/AccessibleIds.h"
#include "ui/Banner.h"
#include "ui/TabListView.h"
#include "ui/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QColor>
#include <QEvent>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>

#include <array>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Sizes are remembered as signed 16-bit twips.
qint16 toTwips16(int pixels)
{
    const qint64 twips = qint64(pixels) * kTwipsPerPixel;
    const qint64 lo = std::numeric_limits<qint16>::min();
    const qint64 hi = std::numeric_limits<qint16>::max();
    return static_cast<qint16>(qBound(lo, twips, hi));
}

// Smallest window in the normal state.
constexpr int kMinWidthTwips = 14760;
constexpr int kMinHeightTwips = 11500;

// Dashboard buttons: design widths, the gap between them and their row.
constexpr int kButtonTop = 120;
constexpr int kButtonHeight = 495;
constexpr int kButtonGap = 345;
constexpr std::array<int, 4> ButtonWidths { 3615, 3015, 3135, 3135 };

// Frame and its contents (frame coordinates).
constexpr int kFrameLeft = 120;
constexpr int kFrameTop = 720;
constexpr int kFrameHeight = 8055;
constexpr int kFrameMargin = 350; // window width minus frame width
constexpr int kListMargin = 300; // frame width minus list width
constexpr int kListTop = 840;
constexpr int kListHeight = 4660;
constexpr int kFigureTop = 5520;
constexpr int kFigureRowStep = 360;
constexpr int kFigureHeight = 300;
// Left edges of the four figure columns relative to the frame's middle,
// and the widths that keep each column clear of the next one.
constexpr std::array<int, 4> ColumnOffsets { -6755, -1250, 500, 5855 };
constexpr std::array<int, 3> ColumnWidths { 5400, 1650, 5250 };
constexpr int kLastColumnRightMargin = 120;

// Banners. The middle one is a little narrower than the design's 6000
// so that it stays clear of the other two at the smallest window width.
// They stand just below the frame.
constexpr int kBannerTop = kFrameTop + kFrameHeight + kTwipsPerPixel;
constexpr int kImage1Width = 4500;
constexpr int kImage1Height = 1725;
constexpr int kImage2Width = 5700;
constexpr int kImage2Height = 1725;
constexpr int kImage3Width = 4500;
constexpr int kImage3Height = 2250;

const QList<int> LstFängeTabStops { 20, 65, 110, 140, 170, 200, 280, 315, 345, 420, 505, 570, 650,
    710, 750, 800, 860 };

const QColor WindowColour(230, 240, 255);

QString buttonStyle(const QColor& c)
{
    const QColor pressed = c.darker(118);
    return u"QPushButton { background-color: %1; border: 1px solid rgb(90, 90, 90);"
           " border-radius: 3px; padding: 2px; }"
           " QPushButton:hover { border-color: rgb(20, 60, 140); }"
           " QPushButton:focus { border: 2px solid rgb(20, 60, 140); }"
           " QPushButton:pressed { background-color: %2; }"_s.arg(c.name(), pressed.name());
}

} // namespace

frmHaupt::frmHaupt(AppState& app, Action endProgram, Action openAddFish)
    : m_app(app)
    , m_endProgram(std::move(endProgram))
    , m_openAddFish(std::move(openAddFish))
{
    setObjectName(u"frmHaupt"_s);
    createWidgets();
    createMenus();
    setAccessibleIdentifiers(this);
    applyStoredSizeAndState();
    Form_Load();
}

void frmHaupt::createWidgets()
{
    m_client = new QWidget(this);
    m_client->setObjectName(u"frmHauptClient"_s);
    setCentralWidget(m_client);

    auto button = [&](const QString& name, const QString& caption, const QColor& colour) {
        auto* b = new QPushButton(caption, m_client);
        b->setObjectName(name);
        b->setStyleSheet(buttonStyle(colour));
        return b;
    };
    cmdZeit = button(u"cmdZeit"_s, u"Angelzeit: XX std  XX min"_s, QColor(255, 255, 128));
    cmdFangÜbersicht
        = button(u"cmdFangÜbersicht"_s, u"Gefangene Fische: XXXXX"_s, QColor(128, 255, 128));
    cmdKostenÜbersicht = button(u"cmdKostenÜbersicht"_s, u"Angelkosten: XX €"_s, QColor(255, 0, 0));
    cmdPics = button(u"cmdPics"_s, u"Anzahl der Bilder: XX"_s, QColor(128, 128, 255));

    fraStatistik = new QGroupBox(u"Statistiken:"_s, m_client);
    fraStatistik->setObjectName(u"fraStatistik"_s);

    auto label = [&](const QString& name, const QString& caption) {
        auto* l = new QLabel(caption, fraStatistik);
        l->setObjectName(name);
        return l;
    };
    Label1 = label(u"Label1"_s, u"Die letzten 20 gefangenen Fische:"_s);
    Label1->setGeometry(px(120), px(360), px(4800), px(360));

    lstFänge = new TabListView(fraStatistik);
    lstFänge->setObjectName(u"lstFänge"_s);
    lstFänge->setAccessibleName(u"Die letzten 20 gefangenen Fische"_s);

    Label12 = label(u"Label12"_s, u"Leichtester Fisch:"_s);
    Label17 = label(u"Label17"_s, u"Durchschnittsgewicht:"_s);
    Label7 = label(u"Label7"_s, u"Schwerster Fisch:"_s);
    Label13 = label(u"Label13"_s, u"Gesamtgewicht:"_s);
    Label14 = label(u"Label14"_s, u"Kleinster Fisch:"_s);
    Label6 = label(u"Label6"_s, u"Längster Fisch:"_s);
    Label3 = label(u"Label3"_s, u"Durchschnittliche Angelzeit pro Fisch:"_s);

    labLeichtesterFisch = label(u"labLeichtesterFisch"_s, QString());
    labDurchschnittsGewicht = label(u"labDurchschnittsGewicht"_s, QString());
    labSchwersterFisch = label(u"labSchwersterFisch"_s, QString());
    labGesamtGewicht = label(u"labGesamtGewicht"_s, QString());
    labKleinsterFisch = label(u"labKleinsterFisch"_s, QString());
    labLängsterFisch = label(u"labLängsterFisch"_s, QString());
    labZeitProFisch = label(u"labZeitProFisch"_s, u"0 Std  0 min"_s);

    Label8 = label(u"Label8"_s, u"Minimale Wassertemperatur:"_s);
    Label11 = label(u"Label11"_s, u"Maximale Wassertemperatur:"_s);
    Label5 = label(u"Label5"_s, u"Minimale Lufttemperatur:"_s);
    Label9 = label(u"Label9"_s, u"Maximale Lufttemperatur:"_s);
    Label10 = label(u"Label10"_s, u"Minimale Angeltiefe:"_s);
    Label4 = label(u"Label4"_s, u"Durchschnittsangeltiefe:"_s);
    Label2 = label(u"Label2"_s, u"Maximale Angeltiefe:"_s);

    labMinTempWasser = label(u"labMinTempWasser"_s, QString());
    labMaxTempWasser = label(u"labMaxTempWasser"_s, QString());
    labMinTempLuft = label(u"labMinTempLuft"_s, QString());
    labMaxTempLuft = label(u"labMaxTempLuft"_s, QString());
    labMinAngeltiefe = label(u"labMinAngeltiefe"_s, QString());
    labAngelTiefe = label(u"labAngelTiefe"_s, QString());
    labMaxAngeltiefe = label(u"labMaxAngeltiefe"_s, QString());

    auto image = [&](const QString& name, BannerKind kind, int left, int w, int h,
                     const QString& link, void (frmHaupt::*handler)()) {
        auto* img = new ClickableImage(m_client);
        img->setObjectName(name);
        img->setGeometry(px(left), px(kBannerTop), px(w), px(h));
        img->setPixmap(QPixmap::fromImage(paintBanner(kind, img->size())));
        img->setToolTip(link);
        img->setAccessibleName(link);
        img->onClick = [this, handler] { (this->*handler)(); };
        return img;
    };
    // Image2 and Image3 move with the window width; these are their design places.
    Image1 = image(u"Image1"_s, BannerKind::Partner1, 0, kImage1Width, kImage1Height,
        Links::PartnerSite1, &frmHaupt::Image1_Click);
    Image2 = image(u"Image2"_s, BannerKind::Brand, 0, kImage2Width, kImage2Height, Links::BrandSite,
        &frmHaupt::Image2_Click);
    Image3 = image(u"Image3"_s, BannerKind::Partner2, 0, kImage3Width, kImage3Height,
        Links::PartnerSite2, &frmHaupt::Image3_Click);
}

void frmHaupt::createMenus()
{
    QMenuBar* bar = menuBar();
    auto menu = [](auto* parent, const QString& name, const QString& caption) {
        QMenu* m = parent->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    auto entry = [](QMenu* m, const QString& name, const QString& caption,
                     const QKeySequence& key = QKeySequence()) {
        QAction* a = m->addAction(caption);
        a->setObjectName(name);
        a->setShortcut(key);
        return a;
    };
    auto separator = [](QMenu* m, const QString& name) {
        QAction* a = m->addSeparator();
        a->setObjectName(name);
        return a;
    };

    mnuDatei = menu(bar, u"mnuDatei"_s, u"Datei"_s);
    mnuBackup = menu(mnuDatei, u"mnuBackup"_s, u"Backup"_s);
    mnuCreateBackup = entry(mnuBackup, u"mnuCreateBackup"_s, u"Erstellen"_s, Qt::Key_F11);
    mnuReadBackup = entry(mnuBackup, u"mnuReadBackup"_s, u"Einlesen"_s, Qt::Key_F12);
    mnuDB = menu(mnuDatei, u"mnuDB"_s, u"Datenbanken"_s);
    mnuSortDB = entry(mnuDB, u"mnuSortDB"_s, u"Sortieren"_s);
    mnusrichXDSFJLD = separator(mnuDB, u"mnusrichXDSFJLD"_s);
    mnuResetFänge = entry(
        mnuDB, u"mnuResetFänge"_s, u"Fänge zurücksetzen"_s, QKeySequence(Qt::SHIFT | Qt::Key_F11));
    mnuResetKosten = entry(mnuDB, u"mnuResetKosten"_s, u"Kosten zurücksetzen"_s,
        QKeySequence(Qt::SHIFT | Qt::Key_F12));
    mnuStrichX = separator(mnuDB, u"mnuStrichX"_s);
    mnuResetDB = entry(
        mnuDB, u"mnuResetDB"_s, u"alle zurücksetzen"_s, QKeySequence(Qt::CTRL | Qt::Key_F12));
    mnuExport = menu(mnuDatei, u"mnuExport"_s, u"Exportieren"_s);
    mnuExportFänge = entry(mnuExport, u"mnuExportFänge"_s, u"Fänge als CSV..."_s);
    mnuExportKosten = entry(mnuExport, u"mnuExportKosten"_s, u"Kosten als CSV..."_s);
    mnuImport = menu(mnuDatei, u"mnuImport"_s, u"Importieren"_s);
    mnuImportFänge = entry(mnuImport, u"mnuImportFänge"_s, u"Fänge aus CSV..."_s);
    mnuImportKosten = entry(mnuImport, u"mnuImportKosten"_s, u"Kosten aus CSV..."_s);
    mnuStrich1 = separator(mnuDatei, u"mnuStrich1"_s);
    mnuEnde = entry(mnuDatei, u"mnuEnde"_s, u"Beenden"_s, QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuFang = menu(bar, u"mnuFang"_s, u"Fang"_s);
    mnuAddFish = entry(mnuFang, u"mnuAddFish"_s, u"Hinzufügen"_s, Qt::Key_F2);
    mnuStrich2 = separator(mnuFang, u"mnuStrich2"_s);
    mnuFangÜbersicht
        = entry(mnuFang, u"mnuFangÜbersicht"_s, u"Übersicht / Bearbeiten"_s, Qt::Key_F4);
    mnuAuswertung = entry(mnuFang, u"mnuAuswertung"_s, u"Auswertungen..."_s, Qt::Key_F6);

    mnuKosten = menu(bar, u"mnuKosten"_s, u"Angelkosten"_s);
    mnuAddKosten = entry(mnuKosten, u"mnuAddKosten"_s, u"Hinzufügen"_s, Qt::Key_F3);
    mnuStrich4 = separator(mnuKosten, u"mnuStrich4"_s);
    mnuKostenÜbersicht
        = entry(mnuKosten, u"mnuKostenÜbersicht"_s, u"Übersicht / Bearbeiten"_s, Qt::Key_F5);

    mnuPrint = menu(bar, u"mnuPrint"_s, u"Drucken"_s);
    mnuPrintFront
        = entry(mnuPrint, u"mnuPrintFront"_s, u"Deckseite"_s, QKeySequence(Qt::CTRL | Qt::Key_F1));
    mnuStrichSADJ = separator(mnuPrint, u"mnuStrichSADJ"_s);
    mnuPrintFänge = entry(
        mnuPrint, u"mnuPrintFänge"_s, u"Fangdatenbank"_s, QKeySequence(Qt::CTRL | Qt::Key_F2));
    mnuPrintKosten = entry(
        mnuPrint, u"mnuPrintKosten"_s, u"Kostendatenbank"_s, QKeySequence(Qt::CTRL | Qt::Key_F3));
    mnuStrichXfjkdsajfk = separator(mnuPrint, u"mnuStrichXfjkdsajfk"_s);
    mnuPrintEmptyTable = entry(
        mnuPrint, u"mnuPrintEmptyTable"_s, u"Leere Tabelle"_s, QKeySequence(Qt::CTRL | Qt::Key_F4));
    mnuStrichJahr = separator(mnuPrint, u"mnuStrichJahr"_s);
    mnuPrintJahr = entry(mnuPrint, u"mnuPrintJahr"_s, u"Jahresbericht..."_s);

    mnuFilter = menu(bar, u"mnuFilter"_s, u"Filtern"_s);
    mnuFilterKosten = entry(mnuFilter, u"mnuFilterKosten"_s, u"Kosten"_s, Qt::Key_F8);
    mnuFilterFänge = entry(mnuFilter, u"mnuFilterFänge"_s, u"Fänge"_s, Qt::Key_F9);

    mnuHilfe = menu(bar, u"mnuHilfe"_s, u"?"_s);
    mnuShowHelp = entry(mnuHilfe, u"mnuShowHelp"_s, u"Hilfe anzeigen"_s, Qt::Key_F1);
    mnuShowHelpOnline = entry(mnuHilfe, u"mnuShowHelpOnline"_s, u"Onlinehilfe anzeigen"_s,
        QKeySequence(Qt::SHIFT | Qt::Key_F1));
    mnuUpdate = entry(mnuHilfe, u"mnuUpdate"_s, u"Update starten"_s, Qt::Key_F7);
    mnuStrichb = separator(mnuHilfe, u"mnuStrichb"_s);
    mnuAbout = entry(mnuHilfe, u"mnuAbout"_s, u"Über..."_s);

    connect(mnuAddFish, &QAction::triggered, this, [this] { runAction(m_openAddFish); });
    connect(mnuEnde, &QAction::triggered, this, [this] { mnuEnde_Click(); });
    connect(mnuShowHelp, &QAction::triggered, this, [this] { mnuShowHelp_Click(); });
    connect(mnuShowHelpOnline, &QAction::triggered, this, [this] { mnuShowHelpOnline_Click(); });
    connect(mnuPrintFront, &QAction::triggered, this, [this] { PrintFront(); });
    connect(mnuPrintEmptyTable, &QAction::triggered, this, [this] { mnuPrintEmptyTable_Click(); });
}

void frmHaupt::Form_Load()
{
    ErrorTrap trap(m_app.env, u"Sub frmHaupt.Form_Load"_s);
    trap.step([&] {
        setWindowTitle(u"Uferwacht Digitales Kescherheft v%1.%2.0.%3"_s.arg(Version::Major)
                           .arg(Version::Minor)
                           .arg(Version::Tweak));
    });
    trap.step([&] { lstFänge->setTabStops(LstFängeTabStops); });
    trap.step([&] { applyColours(); });
    trap.step([&] { CreateBar(); });
}

void frmHaupt::applyStoredSizeAndState()
{
    // Only the start applies the stored size and state: a refresh leaves
    // the window as the user has it.
    ErrorTrap trap(m_app.env, u"Sub frmHaupt.Form_Load"_s);
    // The normal size comes first, also for a window that opens maximised:
    // it is the size the window returns to, and the size it keeps where
    // nothing maximises it.
    trap.step([&] {
        updateMinimumSize();
        resize(px(m_app.settings.MainWidth), px(m_app.settings.MainHeight));
    });
    trap.step([&] { applyWindowState(); });
}

void frmHaupt::applyWindowState()
{
    Qt::WindowStates state
        = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    switch (m_app.settings.MainWindowState) {
    case 0:
        break;
    case 1:
        state |= Qt::WindowMinimized;
        break;
    case 2:
        state |= Qt::WindowMaximized;
        break;
    default:
        throw RuntimeError { Err::InvalidArgument };
    }
    if (state != windowState())
        setWindowState(state);
    updateMinimumSize();
}

void frmHaupt::updateMinimumSize()
{
    // The smallest size holds for the normal state only: a maximised window
    // on a small screen must still fit the screen.
    const bool normal
        = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    if (normal)
        setMinimumSize(px(kMinWidthTwips), px(kMinHeightTwips));
    else
        setMinimumSize(0, 0);
}

void frmHaupt::applyColours()
{
    auto paint = [](QWidget* w) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, WindowColour);
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    };
    paint(m_client);
    paint(fraStatistik);
    // The style would shade the frame's inside; the frame keeps the window colour.
    fraStatistik->setStyleSheet(
        u"QGroupBox#fraStatistik { background-color: %1; border: 1px solid rgb(150, 165, 190);"
        " border-radius: 3px; margin-top: 7px; }"
        " QGroupBox#fraStatistik::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }"_s
            .arg(WindowColour.name()));
    for (QLabel* l : fraStatistik->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        paint(l);
}

void frmHaupt::CreateBar()
{
    ErrorTrap trap(m_app.env, u"Sub frmHaupt.CreateBar"_s);
    trap.step([&] {
        lstFänge->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        lstFänge->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    });
    qint64 widestTwips = 0;
    trap.step([&] { widestTwips = std::llround(lstFänge->widestLineWidth() * kTwipsPerPixel); });
    trap.step([&] {
        lstFänge->setHorizontalExtent(static_cast<int>(
            qMin<qint64>(widestTwips / kTwipsPerPixel, std::numeric_limits<int>::max() / 2)));
    });
}

void frmHaupt::Form_Resize()
{
    // W is the window's width; without a frame of its own this is the
    // widget's width, which is also what the saved sizes mean.
    const int W = width() * kTwipsPerPixel;
    const bool normal
        = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));

    const int frameWidth = qMax(0, W - kFrameMargin);
    const int listWidth = qMax(0, frameWidth - kListMargin);
    fraStatistik->setGeometry(px(kFrameLeft), px(kFrameTop), px(frameWidth), px(kFrameHeight));
    // The list is centred in the frame so that its right edge and scroll bar stay inside.
    lstFänge->setGeometry(
        px((frameWidth - listWidth) / 2.0), px(kListTop), px(listWidth), px(kListHeight));

    const double middle = frameWidth / 2.0;
    const std::array<std::array<QLabel*, 7>, 4> columns { {
        { Label12, Label17, Label7, Label13, Label14, Label6, Label3 },
        { labLeichtesterFisch, labDurchschnittsGewicht, labSchwersterFisch, labGesamtGewicht,
            labKleinsterFisch, labLängsterFisch, labZeitProFisch },
        { Label8, Label11, Label5, Label9, Label10, Label4, Label2 },
        { labMinTempWasser, labMaxTempWasser, labMinTempLuft, labMaxTempLuft, labMinAngeltiefe,
            labAngelTiefe, labMaxAngeltiefe },
    } };
    for (size_t c = 0; c < columns.size(); ++c) {
        const double left = middle + ColumnOffsets[c];
        const double width = c < ColumnWidths.size()
            ? ColumnWidths[c]
            : qMax(0.0, frameWidth - left - kLastColumnRightMargin);
        for (size_t r = 0; r < columns[c].size(); ++r) {
            const int top = kFigureTop + int(r) * kFigureRowStep;
            columns[c][r]->setGeometry(px(left), px(top), px(width), px(kFigureHeight));
        }
    }

    const std::array<QPushButton*, 4> buttons { cmdZeit, cmdFangÜbersicht, cmdKostenÜbersicht,
        cmdPics };
    int rowWidth = kButtonGap * int(buttons.size() - 1);
    for (int w : ButtonWidths)
        rowWidth += w;
    double x = (W - rowWidth) / 2.0;
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->setGeometry(px(x), px(kButtonTop), px(ButtonWidths[i]), px(kButtonHeight));
        x += ButtonWidths[i] + kButtonGap;
    }

    m_app.settings.MainHeight = toTwips16(height());
    m_app.settings.MainWidth = toTwips16(width());
    m_app.settings.MainWindowState = (windowState() & Qt::WindowMinimized) ? 1
        : (windowState() & Qt::WindowMaximized)                            ? 2
                                                                           : 0;

    if (normal) {
        // The smallest size itself is kept by the window's minimum size.
        Image3->move(px(W - kImage3Width), px(kBannerTop));
        Image2->move(px((W - kImage2Width) / 2.0), px(kBannerTop));
    }
}

void frmHaupt::lockControls(bool locked)
{
    menuBar()->setEnabled(!locked);
    m_client->setEnabled(!locked);
}

void frmHaupt::mnuEnde_Click()
{
    const MsgResult answer
        = m_app.env.dialogs->message(u"Wollen Sie das Programm wirklich beenden?"_s,
            MsgIcon::Question, MsgButtons::YesNo, kAppTitle);
    if (answer == MsgResult::Yes)
        runAction(m_endProgram);
}

void frmHaupt::mnuShowHelp_Click()
{
    m_app.env.shell->open(hostPath(m_app.env.resourceFolder(), u"help\\index.html"_s));
}

void frmHaupt::mnuShowHelpOnline_Click()
{
    m_app.env.shell->open(Links::OnlineHelp);
}

void frmHaupt::Image1_Click()
{
    m_app.env.shell->open(Links::PartnerSite1);
}

void frmHaupt::Image2_Click()
{
    m_app.env.shell->open(Links::BrandSite);
}

void frmHaupt::Image3_Click()
{
    m_app.env.shell->open(Links::PartnerSite2);
}

void frmHaupt::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    Form_Resize();
}

void frmHaupt::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange) {
        updateMinimumSize();
        Form_Resize();
    }
}

void frmHaupt::closeEvent(QCloseEvent* e)
{
    // Closing the main window by any means ends the program without a question.
    e->accept();
    runAction(m_endProgram);
}

void frmHaupt::ShowDashboard(const DashboardTexts& t)
{
    const auto set = [](auto* widget, const QString& text) {
        if (!text.isNull())
            widget->setText(text);
    };
    set(cmdKostenÜbersicht, t.cmdKostenÜbersicht);
    set(cmdFangÜbersicht, t.cmdFangÜbersicht);
    set(cmdZeit, t.cmdZeit);
    set(labZeitProFisch, t.labZeitProFisch);
    lstFänge->setItems(t.lstFänge);
    set(labSchwersterFisch, t.labSchwersterFisch);
    set(labLängsterFisch, t.labLängsterFisch);
    set(labKleinsterFisch, t.labKleinsterFisch);
    set(labLeichtesterFisch, t.labLeichtesterFisch);
    set(labDurchschnittsGewicht, t.labDurchschnittsGewicht);
    set(labGesamtGewicht, t.labGesamtGewicht);
    set(labMaxAngeltiefe, t.labMaxAngeltiefe);
    set(labMinAngeltiefe, t.labMinAngeltiefe);
    set(labMaxTempLuft, t.labMaxTempLuft);
    set(labMinTempLuft, t.labMinTempLuft);
    set(labMaxTempWasser, t.labMaxTempWasser);
    set(labMinTempWasser, t.labMinTempWasser);
    set(labAngelTiefe, t.labAngelTiefe);
    set(cmdPics, t.cmdPics);
}
