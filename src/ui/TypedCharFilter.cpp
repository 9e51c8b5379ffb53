#include "ui/TypedCharFilter.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

namespace {

bool isControlText(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
            return false;
    }
    return true;
}

} // namespace

TypedCharFilter::TypedCharFilter(QLineEdit* box, CharRule rule)
    : QObject(box)
    , m_box(box)
    , m_rule(std::move(rule))
{
}

TypedCharFilter* TypedCharFilter::install(QLineEdit* box, CharRule rule)
{
    auto* f = new TypedCharFilter(box, std::move(rule));
    box->installEventFilter(f);
    box->setAcceptDrops(false);
    return f;
}

QString TypedCharFilter::filtered(const QString& text) const
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (const std::optional<QChar> r = m_rule(c))
            out += *r;
    }
    return out;
}

void TypedCharFilter::insertFiltered(const QString& text)
{
    if (m_box->isReadOnly())
        return;
    const QString f = filtered(text);
    if (!f.isEmpty())
        m_box->insert(f);
}

bool TypedCharFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_box)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->matches(QKeySequence::Paste)) {
            insertFiltered(QGuiApplication::clipboard()->text());
            return true;
        }
        const QString text = e->text();
        if (text.isEmpty() || isControlText(text))
            return false; // Backspace, Enter, cursor keys, shortcuts
        const QString f = filtered(text);
        if (f == text)
            return false;
        insertFiltered(text);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
            m_box->setCursorPosition(m_box->cursorPositionAt(e->position().toPoint()));
            insertFiltered(QGuiApplication::clipboard()->text(QClipboard::Selection));
            return true;
        }
        return false;
    }
    case QEvent::ContextMenu: {
        auto* e = static_cast<QContextMenuEvent*>(event);
        QMenu* menu = m_box->createStandardContextMenu();
        // The menu's own "Paste" would bypass the rule: route it through it.
        if (auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
            QObject::disconnect(paste, nullptr, m_box, nullptr);
            QObject::connect(paste, &QAction::triggered, this,
                [this] { insertFiltered(QGuiApplication::clipboard()->text()); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(e->globalPos());
        return true;
    }
    default:
        return false;
    }
}
