#pragma once

#include <QImage>
#include <QLabel>
#include <QSize>

#include <functional>

// The three banner pictures of the main window, drawn by the program so
// that no picture file has to be installed for them.
enum class BannerKind { Partner1, Brand, Partner2 };

QImage paintBanner(BannerKind kind, QSize size);

// A picture that acts as a link: a left click runs onClick.
class ClickableImage : public QLabel {
public:
    explicit ClickableImage(QWidget* parent = nullptr);
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool m_pressed = false;
};
