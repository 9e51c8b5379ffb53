#include "ui/TextFilters.h"

#include "platform/Cp1252.h"

#include <QEvent>
#include <QValidator>

bool isRecordSafe(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7F || u == u'"')
        return false;
    return isRepresentable1252(c);
}

QString filterInput(InputKind kind, const QString& typed)
{
    QString out;
    out.reserve(typed.size());
    for (QChar c : typed) {
        switch (kind) {
        case InputKind::RecordText:
            if (isRecordSafe(c))
                out += c;
            break;
        case InputKind::Number:
        case InputKind::SignedNumber:
            if ((c >= u'0' && c <= u'9') || c == u',')
                out += c;
            else if (c == u'.')
                out += u',';
            else if (c == u'-' && kind == InputKind::SignedNumber)
                out += c;
            break;
        }
    }
    return out;
}

// Runs inside QLineEdit before the new text is taken. During an input event
// of the user it filters the characters that event inserted: the part of the
// new text that differs from the text before the edit. Outside such events
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

bool FilteredLineEdit::event(QEvent* e)
{
    // Keys, input methods, drops, the context menu's paste and the middle
    // mouse button's paste all arrive as events of this box.
    m_settled = text();
    ++m_userInput;
    const bool handled = QLineEdit::event(e);
    --m_userInput;
    return handled;
}
