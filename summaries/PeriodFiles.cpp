#include "summaries/PeriodFiles.h"

#include "core/AppState.h"
#include "core/DayDataFiles.h"
#include "core/DayFileName.h"
#include "core/SettingsLoader.h"
#include "core/SmList.h"
#include "platform/Conventions.h"
#include "platform/FolderListing.h"
#include "platform/TextFiles.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmSoucVycObd");

using Listed = FolderListing::Entry;

bool inPeriod(const QString& date, const QString& od, const QString& doDne) {
    return !(date < od) && !(date > doDne);
}

// The parts of a name split at "_" (the name's extension stays on the last part).
QString namePart(const QString& name, int index) {
    const QStringList parts = name.split(u'_');
    return index < parts.size() ? parts[index] : QString();
}

// The SM and operator of a statement file: the parts the day-file name of the receipt carries, read with the one
// name parser where the name has one of its forms, else parts 2 and 3 of the name split at "_".
std::pair<QString, QString> smAndOperatorOf(const QString& name) {
    const QString asDayFile = name.left(name.size() - 4) + QStringLiteral(".txt");
    if (const auto parsed = DayFileName::parse(asDayFile); parsed && parsed->form != DayFileName::Form::CashDesk)
        return {parsed->sm, parsed->operator_};
    return {namePart(name, 1), namePart(name, 2)};
}

// Package selection: the package and week of a day file name with at least four "_", read as the receipt with
// SM writes them (part 5 the package, part 6 from its first character the week; a name ending at the package
// has week "1").
struct PackageWeek {
    QString datum;
    QString balik;
    QString tyden;
};
std::optional<PackageWeek> packageWeek(const QString& name) {
    if (name.size() <= 10 || !name.endsWith(QStringLiteral(".txt")) || name.count(u'_') < 4)
        return std::nullopt;
    if (const auto parsed = DayFileName::parse(name); parsed && parsed->form == DayFileName::Form::PackageWeek)
        return PackageWeek{parsed->datum, parsed->balik, parsed->tyden.left(1)};
    const QStringList parts = name.split(u'_');
    PackageWeek pw;
    pw.datum = parts[0];
    if (parts[4].contains(u'.')) {
        pw.balik = left(parts[4], parts[4].size() - 4);
        pw.tyden = QStringLiteral("1");
    } else {
        pw.balik = parts[4];
        pw.tyden = parts.size() > 5 ? parts[5].left(1) : QString();
    }
    return pw;
}

} // namespace

std::pair<QString, QString> smAndOperator(const QString& name) {
    return smAndOperatorOf(name);
}

QString periodBound(const QDate& d) {
    return dateYYMMDD(d);
}

fs::path slozkaSafeBag(const AppState& state) {
    const auto folder = DejCestuSFB(state.config);
    return folder.ok() ? folder.value() : state.programFolder;
}

Result<std::vector<PeriodFile>> souboryObdobi(const AppState& state, const PeriodChoice& choice,
                                              PeriodOperation operation) {
    const CustomerSwitches& sw = state.sw;
    const QString od = periodBound(choice.datumOd);
    const QString doDne = periodBound(choice.datumDo);
    const bool safeBag = operation == PeriodOperation::Vypocet && state.gSafeBag;
    const fs::path folder = safeBag ? slozkaSafeBag(state) : state.gDatovyAdresar;
    const bool packages = choice.balik && sw.gFBalikyTyden;
    const bool byHandOver = sw.gFVycetky && sw.gFDatumOdvodu && choice.datumVyc;
    // The one listing, sorted by name; the whole history is passed over by its names before any path is made.
    // Each test here is one the selection below makes of every file it takes.
    auto listed = FolderListing::list(folder, QStringLiteral("*"), [&](const QString& listedName) {
        if (safeBag)
            return listedName.size() > 10 && listedName.endsWith(QStringLiteral(".sfb")) &&
                   inPeriod(listedName.left(6), od, doDne);
        const QStringView name = sw.gFZakaznik ? QStringView(listedName).mid(2) : QStringView(listedName);
        if (name.size() <= 10)
            return false;
        if (packages)
            return name.endsWith(QStringLiteral(".txt"));
        if (sw.gFVycetky)
            return name.endsWith(QStringLiteral(".vyc")) && (byHandOver || inPeriod(name.left(6).toString(), od, doDne));
        return name.endsWith(QStringLiteral(".txt")) && inPeriod(name.left(6).toString(), od, doDne);
    });
    if (!listed.ok())
        return listed.error();

    std::vector<PeriodFile> files;
    // The hand-over date is tested before the period, on every statement file: one without it stops the
    // operation whatever its date; the message names the first in name order.
    std::optional<QString> withoutHandOver;
    for (const Listed& f : listed.value()) {
        if (safeBag) {
            if (f.name.size() > 10 && f.name.endsWith(QStringLiteral(".sfb")) && inPeriod(f.name.left(6), od, doDne))
                files.push_back({f.path, f.name, PeriodFile::Kind::SafeBag, {}});
            continue;
        }
        const QString name = sw.gFZakaznik ? f.name.mid(2) : f.name;
        if (packages) {
            const auto pw = packageWeek(name);
            if (!pw)
                continue;
            if (pw->datum < state.gMaxVycetkaDatumBaliku1 || !pw->balik.contains(choice.txtBalik) ||
                pw->tyden != choice.txtTyden)
                continue;
            if (DayDataFiles::isNominalSummary(f.path))
                continue;
            files.push_back({f.path, name, PeriodFile::Kind::PackageDay, pw->balik});
            continue;
        }
        if (sw.gFVycetky) {
            if (name.size() <= 10 || !name.endsWith(QStringLiteral(".vyc")))
                continue;
            QString date = name.left(6);
            if (sw.gFDatumOdvodu && choice.datumVyc) {
                if (!name.contains(u'-')) {
                    if (!withoutHandOver || QString::compare(name, *withoutHandOver, Qt::CaseInsensitive) < 0)
                        withoutHandOver = name;
                    continue;
                }
                date = name.mid(7, 6);
            }
            if (!inPeriod(date, od, doDne))
                continue;
            const auto [sm, oper] = smAndOperatorOf(name);
            if (!SmList::Filter(choice.sm).accepts(sm))
                continue;
            if (!choice.oper.isEmpty() && oper.compare(choice.oper, Qt::CaseInsensitive) != 0)
                continue;
            files.push_back({f.path, name, PeriodFile::Kind::Statement, {}});
            continue;
        }
        // Day data files: the suffix in lower case only, so the AS400 nominal summary (".TXT") never counts.
        if (name.size() <= 10 || !name.endsWith(QStringLiteral(".txt")) || !inPeriod(name.left(6), od, doDne))
            continue;
        if (!choice.oper.isEmpty() && name.mid(6, 3).compare(choice.oper, Qt::CaseInsensitive) != 0)
            continue;
        if (DayDataFiles::isNominalSummary(f.path))
            continue;
        files.push_back({f.path, name, PeriodFile::Kind::Day, {}});
    }
    if (withoutHandOver) {
        return Result<std::vector<PeriodFile>>::fail(state.config.DejText(kSection, QStringLiteral("Soubor")) +
                                                     *withoutHandOver +
                                                     state.config.DejText(kSection, QStringLiteral("NeobsDatum")));
    }
    return files; // in the listing's order: by name, case-insensitively
}

Result<std::vector<PeriodFile>> balikySouboryObdobi(const AppState& state, const PeriodChoice& choice) {
    const QString od = periodBound(choice.datumOd);
    const QString doDne = periodBound(choice.datumDo);
    auto listed = FolderListing::list(state.gDatovyAdresar, QStringLiteral("*"), [&](const QString& listedName) {
        const QString name = state.sw.gFZakaznik ? listedName.mid(2) : listedName;
        return name.size() == 10 && name.endsWith(QStringLiteral(".bal")) && inPeriod(name.left(6), od, doDne);
    });
    if (!listed.ok())
        return listed.error();
    std::vector<PeriodFile> files;
    for (const Listed& f : listed.value()) {
        const QString name = state.sw.gFZakaznik ? f.name.mid(2) : f.name;
        files.push_back({f.path, name, PeriodFile::Kind::Day, {}});
    }
    return files; // in the listing's order: by name, case-insensitively
}

} // namespace trv
