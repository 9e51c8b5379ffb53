#pragma once

#include "ui/AppState.h"

#include <QList>
#include <QMainWindow>

struct DashboardTexts;
class ClickableImage;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class TabListView;

// The main window: the dashboard of running statistics and the program's
// only menu bar. The refresh fills the captions, the list and the figures;
// menu entries of other windows' work are public so their owners connect them.
class frmHaupt : public QMainWindow {
public:
    // endProgram ends the program (after a confirmed "Beenden" or when the
    // window closes); openAddFish opens the catch entry window.
    explicit frmHaupt(AppState& app, Action endProgram = {}, Action openAddFish = {});

    // Caption, list tab stops, colours, list scroll range; run at the start
    // and by every refresh. The saved size and state are applied once, by
    // the constructor.
    void Form_Load();
    // Fits the horizontal scroll range of lstFänge to its widest row and
    // keeps both of its scroll bars visible.
    void CreateBar();
    // Shows the figures of a refresh; a text left null keeps what is shown.
    void ShowDashboard(const DashboardTexts& t);
    // Places the widgets for the current width and remembers size and state.
    void Form_Resize();
    // Locks the menu bar (with its shortcuts) and the dashboard, or frees
    // them. The window itself stays enabled: the About and Backup windows
    // are its children and would be locked with it.
    void lockControls(bool locked);

    // Menu handlers wired here.
    void mnuEnde_Click();
    void mnuShowHelp_Click();
    void mnuShowHelpOnline_Click();
    // "Drucken" > "Deckseite" and "Leere Tabelle".
    void PrintFront();
    void mnuPrintEmptyTable_Click();
    void Image1_Click();
    void Image2_Click();
    void Image3_Click();

    // Dashboard
    QPushButton* cmdZeit;
    QPushButton* cmdFangÜbersicht;
    QPushButton* cmdKostenÜbersicht;
    QPushButton* cmdPics;
    QGroupBox* fraStatistik;
    QLabel* Label1;
    TabListView* lstFänge;

    // Captions of the fourteen figures
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label17;

    // The fourteen figures
    QLabel* labSchwersterFisch;
    QLabel* labLeichtesterFisch;
    QLabel* labDurchschnittsGewicht;
    QLabel* labGesamtGewicht;
    QLabel* labKleinsterFisch;
    QLabel* labLängsterFisch;
    QLabel* labZeitProFisch;
    QLabel* labMinTempWasser;
    QLabel* labMaxTempWasser;
    QLabel* labMinTempLuft;
    QLabel* labMaxTempLuft;
    QLabel* labMinAngeltiefe;
    QLabel* labAngelTiefe;
    QLabel* labMaxAngeltiefe;

    ClickableImage* Image1;
    ClickableImage* Image2;
    ClickableImage* Image3;

    // Menus
    QMenu* mnuDatei;
    QMenu* mnuBackup;
    QMenu* mnuDB;
    QMenu* mnuFang;
    QMenu* mnuKosten;
    QMenu* mnuPrint;
    QMenu* mnuFilter;
    QMenu* mnuHilfe;

    // Menu entries and separators, in menu order
    QAction* mnuCreateBackup;
    QAction* mnuReadBackup;
    QAction* mnuSortDB;
    QAction* mnusrichXDSFJLD;
    QAction* mnuResetFänge;
    QAction* mnuResetKosten;
    QAction* mnuStrichX;
    QAction* mnuResetDB;
    QAction* mnuStrich1;
    QAction* mnuEnde;
    QAction* mnuAddFish;
    QAction* mnuStrich2;
    QAction* mnuFangÜbersicht;
    QAction* mnuAuswertung; // the evaluations, after the overview
    QAction* mnuAddKosten;
    QAction* mnuStrich4;
    QAction* mnuKostenÜbersicht;
    QAction* mnuPrintFront;
    QAction* mnuStrichSADJ;
    QAction* mnuPrintFänge;
    QAction* mnuPrintKosten;
    QAction* mnuStrichXfjkdsajfk;
    QAction* mnuPrintEmptyTable;
    QAction* mnuFilterKosten;
    QAction* mnuFilterFänge;
    QAction* mnuShowHelp;
    QAction* mnuShowHelpOnline;
    QAction* mnuUpdate;
    QAction* mnuStrichb;
    QAction* mnuAbout;

    // Exports and the yearly report
    QMenu* mnuExport;
    QAction* mnuExportFänge;
    QAction* mnuExportKosten;
    // Imports of CSV files into either log
    QMenu* mnuImport;
    QAction* mnuImportFänge;
    QAction* mnuImportKosten;
    QAction* mnuStrichJahr;
    QAction* mnuPrintJahr;

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void createWidgets();
    void createMenus();
    void applyColours();
    void applyStoredSizeAndState();
    void applyWindowState();
    void updateMinimumSize();

    AppState& m_app;
    Action m_endProgram;
    Action m_openAddFish;
    QWidget* m_client;
};
