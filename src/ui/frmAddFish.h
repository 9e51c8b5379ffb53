#pragma once

#include <QWidget>

class App;

// The catch entry window.
class frmAddFish : public QWidget {
public:
    explicit frmAddFish(App& app);

private:
    App& m_app;
};
