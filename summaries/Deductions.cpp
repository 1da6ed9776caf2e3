#include "summaries/Deductions.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"
#include "summaries/PeriodLoader.h"

namespace trv {

Deductions::Deductions(const PeriodServices& services, Shell& shell) : m_services(services), m_shell(shell) {}

std::filesystem::path Deductions::ticketsFile() const {
    return m_services.state.programFolder / kTickets;
}

Status Deductions::pripravOdvody(const PeriodChoice& period, const TypeChoice& type, bool overeni) {
    const AppState& app = m_services.state;
    PeriodLoader loader(m_services);
    auto col = loader.novaKolekce(app.sw.gFSkupiny);
    if (!col.ok())
        return col.error();
    m_col = std::move(col).value();

    // Package/week mode always selects by package and week here (the window has no check box for it).
    PeriodChoice choice = period;
    choice.balik = app.sw.gFBalikyTyden;
    choice.datumVyc = false;
    const auto files = souboryObdobi(app, choice, PeriodOperation::Stravenky);
    if (!files.ok())
        return files.error();
    if (const Status read = loader.nacti(m_col, files.value(), choice, false); !read.ok())
        return read;

    QStringList lines;
    const StoredCodes& codes = *m_col.codes;
    int index = 0;
    for (const auto& t : *m_col.types) {
        if (type.shows(t->Nazev)) {
            for (const auto& c : codes.codes(index)) {
                if (!codes.isNoRead(c))
                    lines.append(codes.kod(c));
            }
        }
        ++index;
    }
    if (const Status written = TextFiles::writeLines(ticketsFile(), lines, TextEncoding::Windows1250); !written.ok()) {
        return Status::fail(QStringLiteral("Program odvodů nebyl spuštěn: %1").arg(written.message()));
    }
    QStringList arguments{QString::fromLatin1(kTickets)};
    if (!overeni)
        arguments.append(QStringLiteral("1"));
    const Status started = m_shell.startProgram(kProgram, arguments, app.programFolder);
    if (!started.ok())
        return Status::fail(QStringLiteral("Program odvodů %1 se nepodařilo spustit: %2")
                                .arg(QString::fromLatin1(kProgram), started.message()));
    return Status::success();
}

} // namespace trv
