#pragma once

#include <QLineEdit>
#include <QString>

class QContextMenuEvent;

// What a text box lets the user put into it.
enum class InputKind {
    // Free text that ends up in a record line: no double quote, no TAB, no
    // line break or other control character, nothing Windows-1252 cannot hold.
    RecordText,
    // Digits and the decimal comma; a "." becomes ",".
    Number,
    // As Number, and the minus sign (temperatures).
    SignedNumber,
    // Digits only (quantities).
    Digits,
    // Digits and the date point; a "," becomes "." (dates typed TT.MM.JJJJ).
    Date,
};

// The part of typed or pasted text that a box of this kind accepts, with
// the characters it replaces already replaced.
QString filterInput(InputKind kind, const QString& typed);

// A single-line text box that filters what the user types, pastes or drops
// into it. Text set by the program (setText) is taken as it is, so a loaded
// record such as "+ 18" in a temperature box stays intact.
class FilteredLineEdit : public QLineEdit {
public:
    explicit FilteredLineEdit(InputKind kind, QWidget* parent = nullptr);

    InputKind kind() const { return m_kind; }

protected:
    bool event(QEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    friend class InputFilterValidator;

    // Runs an edit as the user's input, so that its new characters pass the
    // filter.
    template <typename Edit> void asUserInput(Edit edit);

    InputKind m_kind;
    int m_userInput = 0; // > 0 while an input of the user is handled
    QString m_settled; // the text before the edit being validated
};
