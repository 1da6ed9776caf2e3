#include "summaries/PeriodLoader.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "core/SettingsLoader.h"
#include "core/StatementLine.h"
#include "platform/Conventions.h"
#include "platform/FolderListing.h"
#include "platform/Progress.h"
#include "platform/TextFiles.h"
#include "summaries/PeriodFileOps.h"
#include "summaries/PeriodResult.h"
#include "summaries/StoredCodeBooking.h"

#include <map>

#include <algorithm>

namespace trv {

Status readStoredFile(const std::filesystem::path& file, PeriodFile::Kind kind, const QString& separator, int codeField,
                      const std::function<void(std::string_view)>& book, const std::function<bool()>& going) {
    const QByteArray sep = separator.toUtf8();
    const std::string_view sepView(sep.constData(), size_t(sep.size()));
    const auto bookLines = [&](std::string_view text) {
        if (kind == PeriodFile::Kind::Statement) {
            StatementLine::forEachLine(text, [&](std::string_view line) {
                if (const auto code = StatementLine::fieldAt(line, sepView, codeField))
                    book(*code);
            });
        } else {
            StatementLine::forEachLine(text, [&](std::string_view line) {
                const std::string_view code = StatementLine::trimmed(line);
                if (!code.empty())
                    book(code);
            });
        }
    };
    std::error_code ec;
    if (going && qint64(std::filesystem::file_size(file, ec)) > StatementLine::kPieceSize && !ec) {
        return StatementLine::forEachPiece(
            file,
            [&](std::string_view text) {
                bookLines(text);
                return true;
            },
            StatementLine::kPieceSize, going);
    }
    // A file of one piece is read at once: a month holds thousands of them.
    const auto bytes = StatementLine::readUtf8(file);
    if (!bytes.ok())
        return bytes.error();
    bookLines(std::string_view(bytes.value().constData(), size_t(bytes.value().size())));
    return Status::success();
}

PeriodLoader::PeriodLoader(const PeriodServices& services) : m_services(services) {}

Result<PeriodCollection> PeriodLoader::novaKolekce(bool groups) const {
    PeriodCollection c;
    c.types = std::make_shared<CColStrav>(m_services.state, m_services.prompts, m_services.clock);
    const Status loaded = groups ? c.types->NactiINIGroup() : c.types->NactiINI();
    if (!loaded.ok())
        return loaded.error();
    c.codes = std::make_shared<StoredCodes>(c.types->count());
    return c;
}

Status PeriodLoader::start(PeriodState& state, const PeriodChoice& choice) {
    auto col = novaKolekce(m_services.state.sw.gFSkupiny);
    if (!col.ok())
        return col.error();
    state.m_col = std::move(col).value();
    state.m_datumOd = choice.datumOd;
    state.m_datumDo = choice.datumDo;
    return Status::success();
}

bool PeriodLoader::Steps::next(Progress* progress) {
    const bool going = !progress || progress->step(done, total);
    ++done;
    return going;
}

std::function<bool()> PeriodLoader::Steps::again(Progress* progress, qint64 at) const {
    if (!progress)
        return {};
    return [progress, at, total = total] { return progress->step(at, total); };
}

std::function<bool()> PeriodLoader::naming() const {
    Progress* progress = m_services.progress;
    if (!progress)
        return {};
    return [progress] { return progress->step(0, 0); };
}

Status PeriodLoader::nacti(PeriodCollection& into, const std::vector<PeriodFile>& files, const PeriodChoice& choice,
                           bool packageDigit) {
    Steps steps{0, qint64(files.size())};
    if (const Status read = nactiSoubory(into, files, choice, packageDigit, steps); !read.ok())
        return read;
    return konec(steps);
}

Status PeriodLoader::konec(const Steps& steps) const {
    if (m_services.progress && !m_services.progress->step(steps.total, steps.total))
        return Status::fail(Progress::cancelledText());
    return Status::success();
}

Status PeriodLoader::nactiSoubory(PeriodCollection& into, const std::vector<PeriodFile>& files,
                                  const PeriodChoice& choice, bool packageDigit, Steps& steps) {
    AppState& app = m_services.state;
    StoredCodeBooking booking(app, *into.types, m_services.prompts, m_services.reader, *into.codes);
    const QString separator = DejOddelovacExportu(app.config);
    const int codeField = statementCodeField(app);
    qint64 bytes = 0;
    // The sizes of a year's files take a while to ask for: told as the listing is, before the files are counted.
    const auto naming = this->naming();
    size_t sized = 0;
    for (const PeriodFile& f : files) {
        if (naming && ++sized % FolderListing::kGoingEvery == 0 && !naming())
            return Status::fail(Progress::cancelledText());
        std::error_code ec;
        const auto size = std::filesystem::file_size(f.path, ec);
        bytes += ec ? 0 : qint64(size);
    }
    into.codes->reserve(bytes);
    for (const PeriodFile& f : files) {
        if (!steps.next(m_services.progress))
            return Status::fail(Progress::cancelledText());
        const quint32 file = into.codes->addFile(f.name);
        const bool byDigit = packageDigit && f.kind == PeriodFile::Kind::PackageDay;
        // A large file tells its file again after each piece: the window keeps answering and a cancel is heard
        // within the file.
        const Status read = readStoredFile(
            f.path, f.kind, separator, codeField,
            [&](std::string_view code) {
                if (byDigit)
                    booking.bookToPackage(code, file, f.packageText, choice.txtBalik);
                else
                    booking.book(code, file);
            },
            steps.again(m_services.progress, steps.done - 1));
        if (!read.ok())
            return read;
    }
    return Status::success();
}

Status PeriodLoader::vyhodNoread(PeriodCollection& collection, const std::function<bool()>& going) const {
    if (m_services.state.gAutoDupl.toUpper() == QLatin1String("FALSE"))
        return Status::success();
    if (!collection.codes->keepFirstReadings(going))
        return Status::fail(Progress::cancelledText());
    return Status::success();
}

QString PeriodLoader::soucty(PeriodCollection& collection) const {
    int i = 0;
    for (const auto& t : *collection.types) {
        Currency sum;
        for (const auto& [value, count] : nominalTable(*collection.codes, i))
            sum += value * count;
        t->sumaStravenek = sum;
        ++i;
    }
    return collection.types->GetStrSum();
}

void PeriodLoader::zverejniBaliky(const PeriodCollection& packages) const {
    auto& published = m_services.state.gBalikyObdobi;
    published.clear();
    for (int i = 0; i < packages.codes->typeCount(); ++i) {
        std::map<QString, qint64> counts;
        for (const auto& c : packages.codes->codes(i)) {
            if (!packages.codes->isNoRead(c))
                ++counts[plainText(packages.codes->value(c))];
        }
        auto& perType = published[i + 1];
        for (const auto& [nominal, count] : counts)
            perType.emplace_back(nominal, count);
    }
}

Status PeriodLoader::nactiBaliky(PeriodState& state, const std::vector<PeriodFile>& files, Steps& steps) {
    auto col = novaKolekce(false);
    if (!col.ok())
        return col.error();
    state.gColStrav2 = std::move(col).value();
    PeriodCollection& into = state.gColStrav2;
    StoredCodeBooking booking(m_services.state, *into.types, m_services.prompts, m_services.reader, *into.codes);
    for (const PeriodFile& f : files) {
        if (!steps.next(m_services.progress))
            return Status::fail(Progress::cancelledText());
        const quint32 file = into.codes->addFile(f.name);
        const auto bytes = StatementLine::readUtf8(f.path);
        if (!bytes.ok())
            return bytes.error();
        // Package files are read line by line as they stand; "#" lines open packages.
        StatementLine::forEachLine(std::string_view(bytes.value().constData(), size_t(bytes.value().size())),
                                   [&](std::string_view line) {
                                       if (line.empty() || line.front() != '#')
                                           booking.book(line, file);
                                   });
    }
    if (const Status filtered = vyhodNoread(into, steps.again(m_services.progress, steps.done)); !filtered.ok())
        return filtered;
    zverejniBaliky(into);
    return Status::success();
}

Status PeriodLoader::startAndRead(PeriodState& state, const PeriodChoice& choice, PeriodOperation operation,
                                  Steps& steps) {
    if (const Status started = start(state, choice); !started.ok())
        return started;
    const auto files = souboryObdobi(m_services.state, choice, operation, naming());
    if (!files.ok())
        return files.error();
    steps = Steps{0, qint64(files.value().size())};
    return nactiSoubory(state.m_col, files.value(), choice, false, steps);
}

Status PeriodLoader::oznac(PeriodState& state, const Status& done) {
    // A period whose amounts add up past the money type's range is not loaded: nothing that sums it may run.
    const Status loaded = done.ok() ? sumsFit(state.m_col, state.gColStrav2) : done;
    state.m_obdobiNacteno = loaded.ok();
    state.m_chybaNacteni = loaded.ok() ? QString() : loaded.message();
    return loaded;
}

Status PeriodLoader::vypocet(PeriodState& state, const PeriodChoice& choice, QString* sums) {
    state.m_obdobiNacteno = false;
    return oznac(state, vypocetObdobi(state, choice, sums));
}

Status PeriodLoader::duplicity(PeriodState& state, const PeriodChoice& choice, QString* sums, QString* logProblem) {
    state.m_obdobiNacteno = false;
    return oznac(state, kontrolaDuplicit(state, choice, sums, logProblem));
}

Status PeriodLoader::stravenky(PeriodState& state, const PeriodChoice& choice) {
    state.m_obdobiNacteno = false;
    return oznac(state, nactiStravenky(state, choice));
}

Status PeriodLoader::vypocetObdobi(PeriodState& state, const PeriodChoice& choice, QString* sums) {
    if (const Status started = start(state, choice); !started.ok())
        return started;
    const auto files = souboryObdobi(m_services.state, choice, PeriodOperation::Vypocet, naming());
    if (!files.ok())
        return files.error();
    // The package files of package mode are read in the same progress as the period's files: the operator sees
    // them counted and can cancel them too.
    std::vector<PeriodFile> packageFiles;
    if (m_services.state.sw.gFBalicky) {
        auto listed = balikySouboryObdobi(m_services.state, choice, naming());
        if (!listed.ok())
            return listed.error();
        packageFiles = std::move(listed).value();
    }
    Steps steps{0, qint64(files.value().size() + packageFiles.size())};
    if (const Status read = nactiSoubory(state.m_col, files.value(), choice, true, steps); !read.ok())
        return read;
    // The repeat filter runs within the progress, as long as a few files: it tells the files read again.
    if (const Status filtered = vyhodNoread(state.m_col, steps.again(m_services.progress, steps.done)); !filtered.ok())
        return filtered;
    if (m_services.state.sw.gFBalikyTyden && sums)
        *sums = soucty(state.m_col);
    if (m_services.state.sw.gFBalicky) {
        if (const Status read = nactiBaliky(state, packageFiles, steps); !read.ok())
            return read;
    }
    return konec(steps);
}

Status PeriodLoader::kontrolaDuplicit(PeriodState& state, const PeriodChoice& choice, QString* sums,
                                      QString* logProblem) {
    Steps steps;
    if (const Status read = startAndRead(state, choice, PeriodOperation::Duplicity, steps); !read.ok())
        return read;

    // The later readings are set aside for the listing and the log: what is counted after the check (the status
    // bar, the print, the exports) counts each code once.
    StoredCodes& codes = *state.m_col.codes;
    if (!codes.setAsideRepeats(steps.again(m_services.progress, steps.done)))
        return Status::fail(Progress::cancelledText());
    if (const Status last = konec(steps); !last.ok())
        return last;
    // Duplicity.log: one line per later reading, in reading order (the order the codes were booked in).
    std::vector<StoredCodes::Code> again;
    for (int t = 0; t < codes.typeCount(); ++t) {
        for (const auto& r : codes.setAside(t))
            again.push_back(r.again);
    }
    std::sort(again.begin(), again.end(),
              [](const StoredCodes::Code& a, const StoredCodes::Code& b) { return a.offset < b.offset; });
    Status logged;
    if (!again.empty()) {
        // Appended at once, as the booking appends its line: a failed write leaves no part of the lines behind.
        QStringList lines;
        for (const auto& c : again)
            lines.append(codes.kod(c) + QStringLiteral("/t/t") + codes.fileName(c.file));
        logged = TextFiles::appendLine(state.m_col.types->duplicityLog(), lines.join(QStringLiteral("\r\n")));
    }
    if (m_services.state.sw.gFBalikyTyden && sums)
        *sums = soucty(state.m_col);
    if (!logged.ok() && logProblem)
        *logProblem = logged.message();
    return Status::success();
}

Status PeriodLoader::nactiStravenky(PeriodState& state, const PeriodChoice& choice) {
    Steps steps;
    if (const Status read = startAndRead(state, choice, PeriodOperation::Stravenky, steps); !read.ok())
        return read;
    if (const Status filtered = vyhodNoread(state.m_col, steps.again(m_services.progress, steps.done)); !filtered.ok())
        return filtered;
    return konec(steps);
}

Result<qint64> PeriodLoader::zapisStravenky(PeriodState& state, const TypeChoice& types,
                                            const std::filesystem::path& file) {
    const auto written = ulozStravenky(state.m_col, types, file, m_services.progress);
    if (!written.ok() && zruseno(written.error()))
        (void)oznac(state, Status(written.error()));
    return written;
}

} // namespace trv
