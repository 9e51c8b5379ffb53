#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;
class QPushButton;

// Shows the photo of one catch, scaled to fill the window with its aspect
// ratio kept. Created when opened and destroyed when closed.
class frmPic : public QWidget {
public:
    explicit frmPic(QWidget* parent = nullptr);

    // Loads the picture file. False when the file cannot be read as a
    // picture; the window then shows nothing and the caller tells the user.
    bool loadPicture(const QString& path);

    QLabel* Picture1 = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void showScaled();

    QPixmap m_picture;
};
