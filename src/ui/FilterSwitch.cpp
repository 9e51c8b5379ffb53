#include "ui/FilterSwitch.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

FilterSwitch::FilterSwitch(
    const QString& caption, QLabel* ticked, QLabel* unticked, QWidget* parent)
    : QAbstractButton(parent)
    , m_ticked(ticked)
    , m_unticked(unticked)
{
    setText(caption);
    // Spoken without the blanks that set the caption off from the picture.
    setAccessibleName(caption.trimmed());
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    // Drawn like the label it replaces, not like a button.
    setForegroundRole(QPalette::WindowText);
    setBackgroundRole(QPalette::Window);
    setCursor(Qt::PointingHandCursor);
    for (QLabel* picture : { m_ticked, m_unticked }) {
        picture->setPixmap(boxPicture(this, picture == m_ticked));
        picture->setCursor(Qt::PointingHandCursor);
        picture->installEventFilter(this);
    }
    // Assistive technology toggles the button directly.
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (!m_following && on == m_ticked->isHidden())
            requestSwitch();
    });
    follow();
}

QPixmap FilterSwitch::boxPicture(const QWidget* w, bool ticked)
{
    QStyleOptionButton opt;
    opt.initFrom(w);
    const int side = w->style()->pixelMetric(QStyle::PM_IndicatorWidth, &opt, w);
    opt.rect = QRect(0, 0, side, side);
    opt.state = QStyle::State_Enabled | (ticked ? QStyle::State_On : QStyle::State_Off);
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    w->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, &p, w);
    return pm;
}

QSize FilterSwitch::sizeHint() const
{
    return fontMetrics().size(Qt::TextShowMnemonic, text()) + QSize(4, 4);
}

int FilterSwitch::alignment() const
{
    return Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
}

void FilterSwitch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = contentsRect();
    style()->drawItemText(&p, r, alignment(), palette(), isEnabled(), text(), foregroundRole());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        // Around the words, not the blanks before them.
        const QString words = text().trimmed();
        const int skipped = fontMetrics().horizontalAdvance(text().left(text().indexOf(words)));
        QRect around = style()->itemTextRect(fontMetrics(), r, alignment(), isEnabled(), words);
        around.translate(skipped, 0);
        focus.rect = around.adjusted(-1, 0, 1, 0) & r;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void FilterSwitch::nextCheckState()
{
    requestSwitch();
}

void FilterSwitch::requestSwitch()
{
    if (onSwitch)
        onSwitch();
    follow();
}

void FilterSwitch::follow()
{
    m_following = true;
    setChecked(!m_ticked->isHidden());
    m_following = false;
}

bool FilterSwitch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_ticked && watched != m_unticked)
        return QAbstractButton::eventFilter(watched, event);
    // Compared only, never cast: the filter also sees a picture being destroyed.
    QObject* picture = watched;
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        // The window shows and hides the pictures itself; the switch
        // reports what they show.
        if (watched == m_ticked)
            follow();
        break;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_pressedPicture = picture;
            return true;
        }
        break;
    case QEvent::MouseButtonRelease: {
        // A click on a picture is a click on the switch: pressed and
        // released on the same picture.
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        const bool click = m_pressedPicture == picture
            && static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
        m_pressedPicture = nullptr;
        if (click && isEnabled())
            requestSwitch();
        return true;
    }
    default:
        break;
    }
    return QAbstractButton::eventFilter(watched, event);
}
