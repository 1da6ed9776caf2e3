#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace trv {

/// An error travelling as a value: the system's own error number (60000 to 60003, or 0 when the
/// error has none) and a sentence naming the operation, the file and the reason.
struct Error {
    int number = 0;
    QString message;
    /// The database's own code of the failure ("1" from SQLite, the SQLSTATE "42P07" from PostgreSQL), when the
    /// error came from a database and it gave one.
    QString nativeCode = {};
};

/// The outcome of an operation that yields a T: either the value or an Error.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Error error) : m_error(std::move(error)) {}

    static Result fail(QString message, int number = 0) { return Result(Error{number, std::move(message)}); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return *m_value; }
    T& value() & { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    T valueOr(T fallback) const { return m_value ? *m_value : std::move(fallback); }

    const Error& error() const { return m_error; }
    const QString& message() const { return m_error.message; }

private:
    std::optional<T> m_value;
    Error m_error;
};

/// The outcome of an operation that yields nothing: success or an Error.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error) : m_failed(true), m_error(std::move(error)) {}

    static Status success() { return {}; }
    static Status fail(QString message, int number = 0) { return Status(Error{number, std::move(message)}); }
    template <typename T>
    static Status from(const Result<T>& r) { return r.ok() ? Status() : Status(r.error()); }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return m_error; }
    const QString& message() const { return m_error.message; }

private:
    bool m_failed = false;
    Error m_error;
};

} // namespace trv
