#include "ui/AccessibleIds.h"

#include <QWidget>
#include <QtGlobal>

void setAccessibleIdentifiers(QWidget* window)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 9, 0)
    if (!window)
        return;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : std::as_const(widgets)) {
        if (!w->objectName().isEmpty())
            w->setAccessibleIdentifier(w->objectName());
    }
#else
    Q_UNUSED(window);
#endif
}
