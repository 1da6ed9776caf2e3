#pragma once

#include <QString>

namespace trv {

/// How far a long load has come (files read of files to read), and whether the operator has cancelled it. The
/// window side shows a progress window with a cancel button and keeps the program painting; logic run without
/// a window is given none.
class Progress {
public:
    virtual ~Progress() = default;

    /// `done` of `total` steps are behind; false once the operator has cancelled, and the caller then stops and
    /// fails with cancelledText().
    virtual bool step(qint64 done, qint64 total) = 0;

    /// What a load stopped by the operator fails with.
    static QString cancelledText() { return QStringLiteral("Načítání bylo přerušeno obsluhou."); }
};

} // namespace trv
