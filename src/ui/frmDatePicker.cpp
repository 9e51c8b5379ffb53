#include "ui/frmDatePicker.h"

#include "platform/Clock.h"
#include "platform/Env.h"
#include "ui/AccessibleIds.h"

#include <QCalendarWidget>
#include <QDate>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmDatePicker::frmDatePicker(const Env& env, Picked picked, QWidget* parent)
    : QDialog(parent)
    , m_picked(std::move(picked))
{
    setObjectName(u"frmDatePicker"_s);
    setWindowTitle(u"Datum auswählen"_s);

    // The calendar speaks the program's language through the default locale.
    DTPicker1 = new QCalendarWidget(this);
    DTPicker1->setObjectName(u"DTPicker1"_s);
    DTPicker1->setLocale(QLocale());
    DTPicker1->setSelectedDate(env.clock->now().date());
    DTPicker1->setAccessibleName(u"Kalender"_s);

    cmdSave = new QPushButton(u"&Übernehmen"_s, this);
    cmdSave->setObjectName(u"cmdSave"_s);
    cmdSave->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(DTPicker1);
    outer->addLayout(buttons);

    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    setAccessibleIdentifiers(this);
}

void frmDatePicker::cmdSave_Click()
{
    if (m_picked)
        m_picked(DTPicker1->selectedDate());
    close();
}
