#include "ui/frmAddFish.h"

#include "ui/App.h"

frmAddFish::frmAddFish(App& app) : m_app(app)
{
    setObjectName(QStringLiteral("frmAddFish"));
    setWindowTitle(QStringLiteral("Fang eintragen"));
}
