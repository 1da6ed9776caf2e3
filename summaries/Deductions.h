#pragma once

#include "platform/Result.h"
#include "summaries/PeriodFiles.h"
#include "summaries/PeriodState.h"

#include <filesystem>
#include <functional>

namespace trv {

class Shell;

// The deductions (frmOdvody): the codes of a date range (or, in package/week mode, of a package and week) are
// booked into a collection of the window's own, the codes of the chosen type or of all types are written into
// tickets.txt, and the outside deduction program is started on it, for verifying (no second argument) or
// deducting ("1") the vouchers. tickets.txt lies in the program folder, the working folder the program is started
// in.
class Deductions {
public:
    static constexpr const char* kProgram = "TRVOdvody.exe";
    static constexpr const char* kTickets = "tickets.txt";

    Deductions(const PeriodServices& services, Shell& shell);

    std::filesystem::path ticketsFile() const;

    // pripravOdvody: collects, writes tickets.txt whole (codes read twice are written twice, NOREAD readings
    // never) and starts the program. When tickets.txt cannot be written the program is not started (it would
    // work on an old list); a failed start is an error too. The load and the write are told to the services'
    // progress: a cancel in either leaves tickets.txt as it was, starts nothing and fails with
    // Progress::cancelledText(). `writing`, when given, is called between the load and the write.
    Status pripravOdvody(const PeriodChoice& choice, const TypeChoice& type, bool overeni,
                         const std::function<void()>& writing = {});

    const PeriodCollection& kolekce() const { return m_col; }

private:
    PeriodServices m_services;
    Shell& m_shell;
    PeriodCollection m_col;
};

} // namespace trv
