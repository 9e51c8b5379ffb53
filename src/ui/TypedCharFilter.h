#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QLineEdit;

// What a character typed or pasted into a box becomes: itself, another
// character, or nothing (std::nullopt drops it).
using CharRule = std::function<std::optional<QChar>(QChar)>;

// Passes every character that reaches a line edit through a rule: typed
// keys, pasted text (keyboard, context menu, middle click) and dropped text
// (drops are refused). Backspace, Enter and the other control keys are left
// alone. Programmatic setText() is not filtered.
class TypedCharFilter : public QObject {
public:
    // The filter is owned by the box.
    static TypedCharFilter* install(QLineEdit* box, CharRule rule);

    // The text with the rule applied to each character.
    QString filtered(const QString& text) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TypedCharFilter(QLineEdit* box, CharRule rule);
    void insertFiltered(const QString& text);

    QLineEdit* m_box;
    CharRule m_rule;
};
