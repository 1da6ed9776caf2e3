#include "summaries/PeriodFiles.h"

#include "core/AppState.h"
#include "core/DayDataFiles.h"
#include "core/DayFileName.h"
#include "core/SettingsLoader.h"
#include "core/SmList.h"
#include "platform/Conventions.h"
#include "platform/FolderListing.h"
#include "platform/Progress.h"
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

// The SM and operator of a statement file: the parts the day-file name of the receipt carries, as DayFileName
// reads them.
std::pair<QString, QString> smAndOperatorOf(const QString& name) {
    const QString asDayFile = name.left(name.size() - 4) + QStringLiteral(".txt");
    const DayFileName::Keys keys = DayFileName::keys(asDayFile);
    return {keys.sm.value_or(QString()), keys.operator_.value_or(QString())};
}

// Package selection: the package and week of a day file name with at least four "_" (a name ending at the
// package has week "1"; of a longer week part its first character counts).
struct PackageWeek {
    QString datum;
    QString balik;
    QString tyden;
};
std::optional<PackageWeek> packageWeek(const QString& name) {
    if (name.size() <= 10 || !name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive) || name.count(u'_') < 4)
        return std::nullopt;
    const DayFileName::Keys keys = DayFileName::keys(name);
    return PackageWeek{keys.datum.value_or(QString()), keys.balik.value_or(QString()),
                       keys.tyden.value_or(QString()).left(1)};
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
                                              PeriodOperation operation, const FolderListing::Going& going) {
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
            return name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
        if (sw.gFVycetky)
            return name.endsWith(QStringLiteral(".vyc")) && (byHandOver || inPeriod(name.left(6).toString(), od, doDne));
        return name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive) && inPeriod(name.left(6).toString(), od, doDne);
    }, FolderListing::Kind::Files, going);
    if (!listed.ok())
        return listed.error();

    std::vector<PeriodFile> files;
    // The hand-over date is tested before the period, on every statement file: one without it stops the
    // operation whatever its date; the message names the first in name order.
    std::optional<QString> withoutHandOver;
    const SmList::Filter smFilter(choice.sm);
    size_t tested = 0;
    for (const Listed& f : listed.value()) {
        if (going && ++tested % FolderListing::kGoingEvery == 0 && !going())
            return Result<std::vector<PeriodFile>>::fail(Progress::cancelledText());
        if (safeBag) {
            if (f.name.size() > 10 && f.name.endsWith(QStringLiteral(".sfb")) && inPeriod(f.name.left(6), od, doDne))
                files.push_back({f.path(), f.name, PeriodFile::Kind::SafeBag, {}});
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
            if (!DayDataFiles::isDayDataFile(f.path()))
                continue;
            files.push_back({f.path(), name, PeriodFile::Kind::PackageDay, pw->balik});
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
            if (!smFilter.accepts(sm))
                continue;
            if (!choice.oper.isEmpty() && oper.compare(choice.oper, Qt::CaseInsensitive) != 0)
                continue;
            files.push_back({f.path(), name, PeriodFile::Kind::Statement, {}});
            continue;
        }
        // Day data files are what DayDataFiles takes for one: the AS400 nominal summary (".TXT") never counts,
        // a lone ".TXT" file of codes does.
        if (name.size() <= 10 || !name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive) ||
            !inPeriod(name.left(6), od, doDne))
            continue;
        if (!choice.oper.isEmpty() && name.mid(6, 3).compare(choice.oper, Qt::CaseInsensitive) != 0)
            continue;
        if (!DayDataFiles::isDayDataFile(f.path()))
            continue;
        files.push_back({f.path(), name, PeriodFile::Kind::Day, {}});
    }
    if (withoutHandOver) {
        return Result<std::vector<PeriodFile>>::fail(state.config.DejText(kSection, QStringLiteral("Soubor")) +
                                                     *withoutHandOver +
                                                     state.config.DejText(kSection, QStringLiteral("NeobsDatum")));
    }
    return files; // in the listing's order: by name, case-insensitively
}

Result<std::vector<PeriodFile>> balikySouboryObdobi(const AppState& state, const PeriodChoice& choice,
                                                    const FolderListing::Going& going) {
    const QString od = periodBound(choice.datumOd);
    const QString doDne = periodBound(choice.datumDo);
    auto listed = FolderListing::list(
        state.gDatovyAdresar, QStringLiteral("*"),
        [&](const QString& listedName) {
            const QString name = state.sw.gFZakaznik ? listedName.mid(2) : listedName;
            return name.size() == 10 && name.endsWith(QStringLiteral(".bal")) && inPeriod(name.left(6), od, doDne);
        },
        FolderListing::Kind::Files, going);
    if (!listed.ok())
        return listed.error();
    std::vector<PeriodFile> files;
    for (const Listed& f : listed.value()) {
        const QString name = state.sw.gFZakaznik ? f.name.mid(2) : f.name;
        files.push_back({f.path(), name, PeriodFile::Kind::Day, {}});
    }
    return files; // in the listing's order: by name, case-insensitively
}

} // namespace trv
