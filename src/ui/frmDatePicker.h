#pragma once

#include <QDialog>
#include <QPointer>

class App;
class frmAddFish;
class QCalendarWidget;
class QLineEdit;
class QPushButton;

// Lets the user pick a date from a calendar and hands it to the window
// named in txtForm: "fisch" for the catch entry window, "kosten" for the
// cost window. Created when opened and destroyed when closed.
class frmDatePicker : public QDialog {
public:
    explicit frmDatePicker(App& app, QWidget* parent = nullptr);

    QCalendarWidget* DTPicker1 = nullptr;
    QLineEdit* txtForm = nullptr; // hidden: which window receives the date
    QPushButton* cmdSave = nullptr;

    // The catch entry window that opened the picker; without one the
    // program's open catch entry window receives the date.
    QPointer<frmAddFish> fishWindow;

    void cmdSave_Click();

private:
    App& m_app;
};
