#pragma once

#include "platform/Env.h"
#include "platform/RuntimeError.h"

#include <QString>

#include <exception>
#include <utility>

// Appends date TAB time TAB place TAB message CR LF to "kescherheft.log" in
// the program directory, opening and closing the file for this one line.
// A log that cannot be written is silently skipped. A log larger than
// kErrorLogLimit bytes is emptied before the line is written.
inline constexpr qint64 kErrorLogLimit = 1048576;
void WriteLog(const Env& env, const QString& place, const QString& message);

// "Log the error and go on with the next statement": each step that fails
// with a RuntimeError writes "Error (n)" under the procedure's place text.
class ErrorTrap {
public:
    ErrorTrap(const Env& env, QString place)
        : m_env(env)
        , m_place(std::move(place))
    {
    }

    // Runs f; returns true when it completed, false when it failed and was logged.
    template <class F> bool step(F&& f)
    {
        try {
            std::forward<F>(f)();
            return true;
        } catch (const RuntimeError& e) {
            log(e.number);
        } catch (const std::exception&) {
            log(Err::InvalidArgument);
        }
        return false;
    }

    void log(int number) const;
    const QString& place() const { return m_place; }

private:
    const Env& m_env;
    QString m_place;
};
