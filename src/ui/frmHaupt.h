#pragma once

#include <QMainWindow>

class App;

// The main window: the dashboard of running statistics and the menu bar.
class frmHaupt : public QMainWindow {
public:
    explicit frmHaupt(App& app);
    void Form_Load();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    App& m_app;
};
