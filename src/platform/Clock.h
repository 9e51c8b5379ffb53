#pragma once

#include <QDateTime>

// Source of "today" and "now". Production reads the system time; tests fix it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime t = QDateTime(QDate(2004, 5, 17), QTime(14, 30)))
        : m_now(std::move(t))
    {
    }
    QDateTime now() const override { return m_now; }
    void set(QDateTime t) { m_now = std::move(t); }

private:
    QDateTime m_now;
};
