#pragma once

#include <QDateTime>

namespace trv {

/// The source of the current date and time. File names carry the day, so tests fix it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

/// The machine's local time.
class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

/// A clock that shows a set time until told otherwise.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime at) : m_at(std::move(at)) {}
    QDateTime now() const override { return m_at; }
    void set(QDateTime at) { m_at = std::move(at); }
    void advanceSeconds(qint64 s) { m_at = m_at.addSecs(s); }

private:
    QDateTime m_at;
};

} // namespace trv
