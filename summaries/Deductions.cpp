#include "summaries/Deductions.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "platform/Shell.h"
#include "summaries/PeriodFileOps.h"
#include "summaries/PeriodLoader.h"

namespace trv {

Deductions::Deductions(const PeriodServices& services, Shell& shell) : m_services(services), m_shell(shell) {}

std::filesystem::path Deductions::ticketsFile() const {
    return m_services.state.programFolder / kTickets;
}

Status Deductions::pripravOdvody(const PeriodChoice& period, const TypeChoice& type, bool overeni,
                                 const std::function<void()>& writing) {
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

    // Written as the ticket list is, inside the load's progress; a cancel there writes nothing and starts nothing.
    if (writing)
        writing();
    const auto written = ulozStravenky(m_col, type, ticketsFile(), m_services.progress);
    if (!written.ok()) {
        if (zruseno(written.error()))
            return Status(written.error());
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
