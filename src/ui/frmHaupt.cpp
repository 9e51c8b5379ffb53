#include "ui/frmHaupt.h"

#include "ui/App.h"

#include <QCloseEvent>

frmHaupt::frmHaupt(App& app) : m_app(app)
{
    setObjectName(QStringLiteral("frmHaupt"));
    Form_Load();
}

void frmHaupt::Form_Load()
{
    setWindowTitle(QStringLiteral("Uferwacht Digitales Kescherheft v1.0.0.2"));
}

void frmHaupt::closeEvent(QCloseEvent* e)
{
    // Closing the main window by any means ends the program without a question.
    e->accept();
    m_app.EndProgram();
}
