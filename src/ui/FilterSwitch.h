#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QString>

#include <functional>

class QLabel;

// The filter-mode switch of the catch overview and the cost window: the
// caption "  Filter verwenden" beside two pictures at one place, an empty
// and a ticked box, of which the window shows exactly one. The caption is a
// checkable button underneath, so that the keyboard (Tab, Space) and
// assistive technology can use it like a check box. It is checked while the
// ticked picture shows. A click on it or on either picture, Space and the
// toggle action of assistive technology all ask the window to switch; the
// window swaps the pictures, and the switch follows them.
class FilterSwitch : public QAbstractButton {
public:
    // Puts the box pictures into ticked and unticked and takes their clicks.
    FilterSwitch(const QString& caption, QLabel* ticked, QLabel* unticked, QWidget* parent);

    // Runs on every request to switch.
    std::function<void()> onSwitch;

    // The empty or the ticked box, as the style draws a check box's box.
    static QPixmap boxPicture(const QWidget* w, bool ticked);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    // A click asks the window instead of ticking the box itself.
    void nextCheckState() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void requestSwitch();
    // Makes the checked state that of the pictures.
    void follow();
    int alignment() const;

    QLabel* m_ticked;
    QLabel* m_unticked;
    QObject* m_pressedPicture = nullptr; // compared only: may be mid-destruction
    bool m_following = false;
};
