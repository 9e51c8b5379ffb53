#include "ui/App.h"

#include "app/CheckFiles.h"
#include "platform/ErrorLog.h"
#include "ui/frmAddFish.h"
#include "ui/frmHaupt.h"

App::App(Env e, std::function<void()> quit) : env(std::move(e)), m_quit(std::move(quit)) {}

App::~App()
{
    delete addFish.data();
    delete haupt;
}

void App::Main()
{
    ErrorTrap trap(env, QStringLiteral("Sub Main"));
    trap.step([&] { CheckFiles(env, settings); });
    // The cost window and the catch overview are loaded here, hidden, once
    // they exist: the statistics read the overview's list.
    editFlag = false;
    trap.step([&] {
        haupt = new frmHaupt(*this);
        haupt->show();
    });
    trap.step([&] { Änderung(); });
}

void App::EndProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    SaveSettings(env, settings);
    WriteLog(env, QStringLiteral("PROGRAMM"), QStringLiteral("Ende"));
    if (m_quit)
        m_quit();
}

void App::Änderung()
{
    if (haupt)
        haupt->Form_Load();
}

void App::openAddFish()
{
    if (!addFish) {
        addFish = new frmAddFish(*this);
        addFish->setAttribute(Qt::WA_DeleteOnClose);
    }
    addFish->show();
    addFish->raise();
    addFish->activateWindow();
    addFish->setFocus();
}
