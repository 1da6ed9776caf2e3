#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace trv {

// The scanner's option table: named 16-bit values, in the order they were first set. Names compare exactly,
// letter case included; an option nobody set reads as 0.
class PropertiseClass {
public:
    // The table with the driver options and their defaults, in their order.
    PropertiseClass();

    void SetValue(const QString& name, qint16 value);
    qint16 GetValue(const QString& name) const;
    void SetValues(const PropertiseClass& source) { m_entries = source.m_entries; }

    const std::vector<std::pair<QString, qint16>>& entries() const { return m_entries; }

    // The values the main window's load sets over the defaults, in the order it sets them.
    static const std::vector<std::pair<const char*, qint16>>& mainWindowValues();
    // Sets mainWindowValues() on this table.
    void setMainWindowValues();

private:
    std::vector<std::pair<QString, qint16>> m_entries;
};

// The driver's result codes by name, for messages and the MICR report.
namespace ErrorCode {
QString ChangeErrorCode(qint32 code);
}

} // namespace trv
