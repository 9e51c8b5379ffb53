#pragma once

// The set-up of the window tests: a temporary program folder and the
// program object over it, created the way the program creates it.

#include "store/Logbook.h"
#include "support/TestEnv.h"
#include "ui/App.h"

#include <memory>

struct AppFixture {
    std::unique_ptr<TestEnv> t = std::make_unique<TestEnv>();
    std::unique_ptr<App> app;
    int quits = 0; // how often the program asked the process to end

    // The program object over t; its windows come later.
    App& makeApp()
    {
        quits = 0;
        app = std::make_unique<App>(t->env, [this] { ++quits; });
        return *app;
    }
    // The program started for the first time, its first-start question
    // answered "No".
    App& startApp()
    {
        t->dialogs.answer(MsgResult::No);
        makeApp().Main();
        return *app;
    }
    // The program goes before its folder; the next test gets a new folder.
    void closeApp()
    {
        app.reset();
        t = std::make_unique<TestEnv>();
    }
};
