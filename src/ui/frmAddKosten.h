#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

struct AppState;
class ErrorTrap;
class FilterSwitch;
class FilteredListModel;
class LogListModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TabListView;
class frmDatePicker;

// The cost window: entry of one purchase, the list of all purchases with
// their sums, and the filter area below, uncovered in filter mode. Lives
// for the whole run; closing only hides it.
class frmAddKosten : public QWidget {
public:
    explicit frmAddKosten(AppState& app);

    // Shows the cost log's list, newest first, with the three sums.
    void Form_Load();
    // Stores the entry as a new purchase.
    void cmdSave_Click();
    // Hides the window (after asking when an edit is pending) and returns
    // to entry mode.
    void cmdAbort_Click();
    // Opens the date picker for txtDate.
    void cmdDatePicker_Click();
    // Switches filter mode on or off.
    void chkFilter_Click();
    // Shows the window directly in filter mode.
    void OpenFilterMode();
    // Shows only the purchases that match txtFilter, with their sums.
    void cmdFilter_Click();
    // Empties txtFilter and searches again.
    void cmdReset_Click();
    // Takes the selected purchase out of the log into the entry boxes.
    void cmdEdit_Click();
    // Removes the selected purchase from the log, after asking.
    void cmdDelete_Click();
    // Prints the visible list, also while the window is hidden.
    void cmdPrint_Click();
    // Makes the window visible and active (the main window's open entries).
    void ShowWindow();

    bool filterMode() const;
    // The list of all purchases, and its rows that match the filter.
    LogListModel* allModel() const { return m_all; }
    FilteredListModel* filterModel() const { return m_filtered; }

    // Entry area
    QLabel* lblDate;
    QLineEdit* txtDate;
    QPushButton* cmdDatePicker;
    QLabel* lblMenge;
    QLineEdit* txtMenge;
    QLabel* lblEinzelpreis;
    QLineEdit* txtEinzelpreis;
    QLabel* lblGeschäft;
    QLineEdit* txtGeschäft;
    QLabel* lblBezeichnung;
    QLineEdit* txtBezeichnung;
    QLabel* lblVersandkosten;
    QLineEdit* txtVersandkosten;

    QPushButton* cmdSave;
    QPushButton* cmdAbort;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QPushButton* cmdPrint;

    QLabel* imgFilterTrue;
    QLabel* imgFilterFalse;
    FilterSwitch* chkFilter;

    // List area
    QGroupBox* fraVorschau;
    QList<QLabel*> lblKopf; // the eight column headers, lblKopf1..lblKopf8
    // Shows the list of all purchases, or in filter mode the filtered list.
    TabListView* lstKosten;
    QLineEdit* txtPreisG;
    QLineEdit* txtVersandG;
    QLineEdit* txtGesamt;
    QLineEdit* txtPreisG2;
    QLineEdit* txtVersandG2;
    QLineEdit* txtGesamt2;

    // Filter area
    QGroupBox* Frame1;
    QLineEdit* txtFilter;
    QPushButton* cmdFilter;
    QPushButton* cmdReset;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void createWidgets();
    void placeColumns();
    void setDefaultButton(QPushButton* b);
    void setWindowHeight(int outerTwips);
    // Close steps 1 to 4; false when the user chose to keep the window open.
    bool closeSteps();
    void enterMode();
    // Removes row `row` of the log's list, or with forEdit takes it out for
    // editing; says so when the log could not be written.
    bool removeAndRewrite(int row, bool forEdit, ErrorTrap& trap);
    // The log's row of the selected purchase, or -1.
    int selectedRow() const;
    // Shows the filtered list (or the list of all purchases).
    void showFilterList(bool on);
    void setFrameCaption(int n);

    AppState& m_app;
    QPushButton* m_default = nullptr;
    QPointer<frmDatePicker> m_picker;
    LogListModel* m_all = nullptr;
    FilteredListModel* m_filtered = nullptr;
};
