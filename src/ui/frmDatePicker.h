#pragma once

#include <QDialog>

#include <functional>

struct Env;
class QCalendarWidget;
class QDate;
class QPushButton;

// Lets the user pick a date from a calendar and hands it back to the
// window that opened it, which shows it in its own date box. Created when
// opened and destroyed when closed.
class frmDatePicker : public QDialog {
public:
    using Picked = std::function<void(const QDate&)>;
    // picked receives the chosen date when it is taken over.
    frmDatePicker(const Env& env, Picked picked, QWidget* parent = nullptr);

    QCalendarWidget* DTPicker1 = nullptr;
    QPushButton* cmdSave = nullptr;

    void cmdSave_Click();

private:
    Picked m_picked;
};
