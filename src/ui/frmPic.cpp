#include "ui/frmPic.h"

#include "ui/AccessibleIds.h"
#include "ui/Twips.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>

frmPic::frmPic(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmPic"));
    setWindowTitle(QStringLiteral("Bild zu einem Fang anzeigen"));
    setAttribute(Qt::WA_DeleteOnClose);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setMinimumSize(1, 1);

    cmdClose = new QPushButton(QStringLiteral("Schließen"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->resize(px(1335), px(375));
    connect(cmdClose, &QPushButton::clicked, this, [this] { close(); });
    Picture1->setAccessibleName(QStringLiteral("Bild des Fangs"));
    setAccessibleIdentifiers(this);

    // As large as the desktop allows, less a small margin on each side.
    QScreen* screen = QGuiApplication::primaryScreen();
    const QSize avail = screen ? screen->availableGeometry().size() : QSize(800, 600);
    const int margin = px(100);
    resize(qMax(1, avail.width() - margin), qMax(1, avail.height() - margin));
}

bool frmPic::loadPicture(const QString& path)
{
    QImageReader reader(path);
    // Many cameras store the picture rotated and say so in the file.
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        m_picture = QPixmap();
        Picture1->clear();
        return false;
    }
    m_picture = QPixmap::fromImage(image);
    showScaled();
    return true;
}

void frmPic::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Picture1->setGeometry(0, 0, width(), height());
    cmdClose->move(width() - cmdClose->width() - 8, height() - cmdClose->height() - 8);
    cmdClose->raise();
    showScaled();
}

void frmPic::showScaled()
{
    if (m_picture.isNull())
        return;
    Picture1->setPixmap(
        m_picture.scaled(Picture1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}
