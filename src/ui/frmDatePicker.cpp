#include "ui/frmDatePicker.h"

#include "platform/Clock.h"
#include "store/Numbers.h"
#include "ui/AccessibleIds.h"
#include "ui/App.h"
#include "ui/TextFilters.h"
#include "ui/frmAddFish.h"
#include "ui/frmAddKosten.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmDatePicker::frmDatePicker(App& app, QWidget* parent)
    : QDialog(parent)
    , m_app(app)
{
    setObjectName(u"frmDatePicker"_s);
    setWindowTitle(u"Datum auswählen"_s);

    // The calendar speaks the program's language through the default locale.
    DTPicker1 = new QCalendarWidget(this);
    DTPicker1->setObjectName(u"DTPicker1"_s);
    DTPicker1->setLocale(QLocale());
    DTPicker1->setSelectedDate(m_app.env.clock->now().date());
    DTPicker1->setAccessibleName(u"Kalender"_s);

    txtForm = new QLineEdit(this);
    txtForm->setObjectName(u"txtForm"_s);
    txtForm->hide();

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
    const QString picked = DisplayDate(DTPicker1->selectedDate());
    const QString form = txtForm->text();
    if (form == u"kosten") {
        if (m_app.kosten)
            m_app.kosten->txtDate->setText(picked);
    } else if (form == u"fisch") {
        frmAddFish* target = fishWindow ? fishWindow.data() : m_app.addFish.data();
        if (target)
            target->txtDate->setText(picked); // runs the date rule and the moon phase
    }
    close();
}
