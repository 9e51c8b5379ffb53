#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>

#include "store/CatchList.h"

struct AppState;
class FilteredLineEdit;
class frmDatePicker;
class QLabel;
class QLineEdit;
class QPushButton;

// The catch entry window: types in a new catch or edits one handed over
// by the catch overview through the edit flag and the edit record.
class frmAddFish : public QDialog {
public:
    explicit frmAddFish(AppState& app);

    FilteredLineEdit* txtDate = nullptr;
    QPushButton* cmdDatePicker = nullptr;
    FilteredLineEdit* txtFänger = nullptr;
    FilteredLineEdit* txtBeginn = nullptr;
    FilteredLineEdit* txtFang = nullptr;
    FilteredLineEdit* txtEnde = nullptr;
    FilteredLineEdit* txtFischArt = nullptr;
    FilteredLineEdit* txtGewicht = nullptr;
    FilteredLineEdit* txtLänge = nullptr;
    FilteredLineEdit* txtGewässer = nullptr;
    FilteredLineEdit* txtStelle = nullptr;
    FilteredLineEdit* txtMethode = nullptr;
    FilteredLineEdit* txtKöder = nullptr;
    FilteredLineEdit* txtWetter = nullptr;
    FilteredLineEdit* txtTempLuft = nullptr;
    FilteredLineEdit* txtTempWasser = nullptr;
    FilteredLineEdit* txtAngeltiefe = nullptr;
    QLineEdit* txtBild = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLabel* labPhase = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdAbort = nullptr;
    QLabel* imgTrue = nullptr;
    QLabel* imgFalse = nullptr;

    // What a catch opened for editing had when it was loaded: the path of
    // its photo, its catch time and its date. All empty for a new catch and
    // for a catch without photo.
    QString loadedPhotoPath;
    QString loadedCatchTime;
    QString loadedDate;

    void Form_Load();
    void cmdSave_Click();
    void cmdAbort_Click();
    void cmdDatePicker_Click();
    void cmdBrowse_Click();
    // Checks the three times; shows the result and enables "Speichern".
    void CheckTime();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    struct Placeholder {
        QLineEdit* box;
        QString text;
        bool clearOnEnter;
        bool restoreOnLeave;
    };

    void buildWidgets();
    void connectRules();
    void txtDate_Change();
    void timeBox_Change(FilteredLineEdit* box);
    bool timesValid() const;
    // The save; true when the catch was written (the window may be closed).
    bool saveCatch();
    bool refuse(const QString& message);
    void resetWidgets();
    // The boxes' values as typed.
    CatchEntry entry() const;

    AppState& m_app;
    QList<Placeholder> m_placeholders;
    QPointer<frmDatePicker> m_picker;
};
