#pragma once

#include "summaries/StoredCodes.h"

#include <QDate>
#include <QString>

#include <memory>
#include <vector>

namespace trv {

struct AppState;
class Clock;
class CColStrav;
class Progress;
class Prompts;
class ReaderControl;

// What a period operation needs of the program around it.
struct PeriodServices {
    AppState& state;
    Prompts& prompts;
    const Clock& clock;
    ReaderControl& reader; // stopped when a stored code is not recognised
    // Told of every file a load reads (and of the codes a ticket list writes); a load the operator cancels
    // through it fails. None without a window.
    Progress* progress = nullptr;
};

// A voucher-type collection of a summary's own, loaded from the definitions, with the codes of its run held
// compactly beside it (codes().codes(i) are the codes of the type at position i + 1).
struct PeriodCollection {
    std::shared_ptr<CColStrav> types;
    std::shared_ptr<StoredCodes> codes;
};

// The codes of the collection as code objects in their types' Polozky (Kod, reading kind 1, the file as
// dataFile), for operations written against the code collections (the per-company export). The types' earlier
// codes are replaced.
void naplnPolozky(const PeriodCollection& collection);

// The state of the period window that its operations and the reports per SM share: the period's collection
// `m_col`, whether a period has been loaded, the dates the last operation took and the period date of the
// exports; and the package collection of package mode, built by the computation. A period counts as loaded only
// when the operation that loaded it read every file: after a failed or cancelled load `m_chybaNacteni` says what
// failed, and nothing may be printed or exported from the half-loaded collection.
struct PeriodState {
    PeriodCollection m_col;
    bool m_obdobiNacteno = false;
    QString m_chybaNacteni;
    QDate m_datumOd;
    QDate m_datumDo;
    QString m_datumDek;
    PeriodCollection gColStrav2;
};

// One entry of a voucher-type combo box: item data 0 stands for all types (and for the only type when there is
// just one), the types follow with 1, 2, ...
struct TypeEntry {
    QString text;
    int itemData = 0;
};
// naplnCmbStrav / naplnTypyStrav: the all entry (text `allText`) unless the collection holds exactly one type,
// then the types in collection order.
std::vector<TypeEntry> typeEntries(const CColStrav& types, const QString& allText);

// The types a choice in the combo shows: all for item data 0, else every type of that name.
struct TypeChoice {
    bool all = true;
    QString name;
    bool shows(const QString& typeName) const { return all || typeName == name; }
};

// VypocitejPerioduDelvity: the end of the last completed half-month before `today` (the 15th of this month
// after the 15th, else the last day of the previous month).
QDate vypocitejPerioduDelvity(const QDate& today);

} // namespace trv
