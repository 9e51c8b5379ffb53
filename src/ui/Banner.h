#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QPixmap>
#include <QSize>

#include <functional>

// The three banner pictures of the main window, drawn by the program so
// that no picture file has to be installed for them.
enum class BannerKind { Partner1, Brand, Partner2 };

QImage paintBanner(BannerKind kind, QSize size);

// A picture that acts as a link: a left click, Space while it has the
// keyboard focus, or the press action of assistive technology runs onClick.
// A button underneath, so that it is reached by Tab and read out as one.
class ClickableImage : public QAbstractButton {
public:
    explicit ClickableImage(QWidget* parent = nullptr);
    std::function<void()> onClick;

    void setPixmap(const QPixmap& pixmap);
    QPixmap pixmap() const { return m_pixmap; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap m_pixmap;
};
