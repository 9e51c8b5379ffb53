#pragma once

#include "ui/AppState.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class FilterSwitch;
class FilteredListModel;
class LogListModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TabListView;
class frmPic;

// The catch overview: every stored catch as one tab-aligned line, newest
// first, with a filter, editing, deleting and the catch's photo. Created
// hidden at start-up and only shown and hidden afterwards; its list of
// catches is what the main window's statistics read.
class frmFangÜbersicht : public QWidget {
public:
    // openEntry opens the catch entry window (or raises the open one);
    // entryShown tells whether it is shown; raiseMain brings the main
    // window to the front.
    explicit frmFangÜbersicht(AppState& app, Action openEntry = {},
        std::function<bool()> entryShown = {}, Action raiseMain = {});
    ~frmFangÜbersicht() override;

    // Window sizes in twips (15 twips to the pixel); the height and width
    // include the title bar and the border of the window.
    static constexpr int kNormalHeight = 7200;
    static constexpr int kFilterHeight = 8100;
    static constexpr int kMinWidth = 12360;
    static constexpr int kInitialWidth = 13665;

    // Rebuilds the list of all catches from the catch file.
    void Form_Load();
    void cmdFilter_Click();
    void cmdReset_Click();
    void chkFilter_Click();
    // Shows the window directly in filter mode, filtered by what the
    // filter box holds.
    void OpenInFilterMode();
    // Filter mode listing only the catches that have a photo.
    void ShowCatchesWithPhoto();
    // A click on line `row` of the visible list.
    void lst_Click(int row);
    void cmdShowPic_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();
    void cmdOK_Click();
    // Prints the visible list, also while the window is hidden.
    void cmdPrint_Click();
    void CreateBar();

    bool filterMode() const;
    // The lines of the list of all catches and of the filtered list,
    // header lines included, built for the call.
    QStringList fängeLines() const;
    QStringList filterLines() const;
    // The list of all catches, and its rows that match the filter.
    LogListModel* allModel() const { return m_all; }
    FilteredListModel* filterModel() const { return m_filtered; }
    int twipsWidth() const;
    int twipsHeight() const;
    // Applies the size rules to the wanted size and resizes the window.
    void setTwipsSize(int width, int height);

    // The photo found by the last click on a list line.
    QString photoPath;
    QPointer<frmPic> pic; // the open picture window, if any

    QLabel* labÜberschrift = nullptr;
    // Shows the list of all catches, or in filter mode the filtered list.
    TabListView* lstFänge = nullptr;
    FilterSwitch* chkFilter = nullptr;
    QLabel* imgFilterFalse = nullptr;
    QLabel* imgFilterTrue = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdShowPic = nullptr;
    QPushButton* cmdOK = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* txtFilter = nullptr;
    QPushButton* cmdFilter = nullptr;
    QPushButton* cmdReset = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void buildWidgets();
    void layoutWidgets();
    void setHeading(const QString& text);
    void setDefaultButton(QPushButton* button);
    void setEditButtonsEnabled(bool on);
    void showFilterList(bool on);
    void showFilterPictures(bool on);
    void updateSizeLimits();
    // The log's row of the selected catch, or -1.
    int selectedCatchRow() const;
    void showWriteFailure();

    AppState& m_app;
    Action m_openEntry;
    std::function<bool()> m_entryShown;
    Action m_raiseMain;
    LogListModel* m_all = nullptr;
    FilteredListModel* m_filtered = nullptr;
    bool m_loadedOnce = false;
    bool m_applyingSize = false;
    quint64 m_shownGeneration = 0; // the log's catch list last shown
    // Widest line of each list in pixels; negative when not yet measured.
    qreal m_fängeWidest = -1;
    qreal m_filterWidest = -1;
};
