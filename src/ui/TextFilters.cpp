#include "ui/TextFilters.h"

#include "store/CostList.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QValidator>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The character c becomes in a box of this kind; a null QChar drops it.
QChar filterChar(InputKind kind, QChar c)
{
    switch (kind) {
    case InputKind::RecordText:
        // The rule the cost log checks before saving holds for every record
        // line: no quote, no control character, only Windows-1252.
        return IsStorableCostChar(c) ? c : QChar();
    case InputKind::Digits:
        return isDigit(c) ? c : QChar();
    case InputKind::Date:
        if (c == u',')
            return u'.';
        return isDigit(c) || c == u'.' ? c : QChar();
    case InputKind::SignedNumber:
        if (c == u'-')
            return c;
        [[fallthrough]];
    case InputKind::Number:
        if (c == u'.')
            return u',';
        return isDigit(c) || c == u',' ? c : QChar();
    }
    return QChar();
}

// Events through which the user puts new text into a box: keys (Ctrl+V
// included), input methods, drops and the middle mouse button's paste.
// Undo and redo only bring back text the box had, which may be text the
// program set ("+ 18"), so they are not filtered.
bool isInputEvent(QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(e);
        return !key->matches(QKeySequence::Undo) && !key->matches(QKeySequence::Redo);
    }
    case QEvent::InputMethod:
    case QEvent::Drop:
    case QEvent::MouseButtonRelease:
        return true;
    default:
        return false;
    }
}

} // namespace

QString filterInput(InputKind kind, const QString& typed)
{
    QString out;
    out.reserve(typed.size());
    for (QChar c : typed) {
        if (const QChar f = filterChar(kind, c); !f.isNull())
            out += f;
    }
    return out;
}

// Runs inside QLineEdit before the new text is taken. During an input of
// the user it filters the characters that input inserted: the part of the
// new text that differs from the text before the edit. Outside such input
// it accepts everything, so program-set text is never changed.
class InputFilterValidator final : public QValidator {
public:
    explicit InputFilterValidator(FilteredLineEdit* edit)
        : QValidator(edit)
        , m_edit(edit)
    {
    }

    State validate(QString& input, int& pos) const override
    {
        if (m_edit->m_userInput == 0)
            return Acceptable;
        const QString& old = m_edit->m_settled;
        const qsizetype limit = std::min(old.size(), input.size());
        qsizetype prefix = 0;
        while (prefix < limit && old[prefix] == input[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < limit - prefix
            && old[old.size() - 1 - suffix] == input[input.size() - 1 - suffix])
            ++suffix;
        const QString inserted = input.mid(prefix, input.size() - prefix - suffix);
        const QString kept = filterInput(m_edit->m_kind, inserted);
        if (kept == inserted)
            return Acceptable;
        if (kept.isEmpty()) {
            // Nothing of it is allowed: the box keeps its text as it was.
            return Invalid;
        }
        input = input.left(prefix) + kept + input.right(suffix);
        if (pos >= prefix + inserted.size())
            pos -= int(inserted.size() - kept.size());
        else if (pos > prefix)
            pos = int(prefix + std::min<qsizetype>(pos - prefix, kept.size()));
        return Acceptable;
    }

private:
    FilteredLineEdit* m_edit;
};

FilteredLineEdit::FilteredLineEdit(InputKind kind, QWidget* parent)
    : QLineEdit(parent)
    , m_kind(kind)
{
    setValidator(new InputFilterValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this] { m_settled = text(); });
}

template <typename Edit> void FilteredLineEdit::asUserInput(Edit edit)
{
    m_settled = text();
    ++m_userInput;
    edit();
    --m_userInput;
}

bool FilteredLineEdit::event(QEvent* e)
{
    if (!isInputEvent(e))
        return QLineEdit::event(e);
    bool handled = false;
    asUserInput([&] { handled = QLineEdit::event(e); });
    return handled;
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent* e)
{
    // The menu stays open after this event has been handled, so its "Paste"
    // would insert the clipboard unfiltered: route it through the filter.
    // Qt connects that entry to paste() by name in some versions and by
    // member pointer in others; whichever connection it has is undone.
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        const bool isPaste = disconnect(action, SIGNAL(triggered(bool)), this, SLOT(paste()))
            | disconnect(action, &QAction::triggered, this, &QLineEdit::paste);
        if (isPaste)
            connect(
                action, &QAction::triggered, this, [this] { asUserInput([this] { paste(); }); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}
