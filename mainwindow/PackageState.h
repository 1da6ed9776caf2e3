#pragma once

#include "platform/Currency.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

namespace trv {

// An ordered list of code texts in reading order, without keys (a code may stand twice), that answers
// "is this code in it" without walking the list.
class PackageCodes {
public:
    void append(const QString& code);
    bool contains(const QString& code) const { return m_count.contains(code); }
    void clear();
    const QStringList& codes() const { return m_codes; }
    qsizetype size() const { return m_codes.size(); }
    bool isEmpty() const { return m_codes.isEmpty(); }

private:
    QStringList m_codes;
    QHash<QString, qsizetype> m_count;
};

// The package state of package mode (customer switch 25): the value of the current package and of all
// packages of the receipt, the codes of the current package and of the package written last. The package
// number is AppState::gCisloBaliku. The receipt start and end reset it; the package counter window shows it
// on changed().
class PackageState final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PackageState)

public:
    explicit PackageState(QObject* parent = nullptr);
    ~PackageState() override;

    Currency gSumaBalik;
    Currency gSumaVse;
    PackageCodes gColKodyBaliku;
    PackageCodes gColKodyPoslBaliku;

    // Storno balíku: the current package's value leaves the total and its code list empties. The codes
    // themselves are the caller's to take out of memory.
    void dropCurrent();

    // Tells the package counter window to show the sums (and, with `withNumber`, the package number).
    void notifyChanged(bool withNumber = true) { Q_EMIT changed(withNumber); }

Q_SIGNALS:
    void changed(bool withNumber);
};

} // namespace trv
