#pragma once

#include <QString>

namespace trv {

// The working window frmPracuji: a small modeless window with a message (gTextPracuji) that long operations
// show while they run, through ZobrazPracuji. The logic calls this; the window side implements it.
class WorkingIndicator {
public:
    virtual ~WorkingIndicator() = default;

    // Shows the window (creating it when needed) with the message and repaints it at once.
    virtual void show(const QString& gTextPracuji) = 0;
    // Closes the window.
    virtual void hide() = 0;
};

// For logic run without a window.
class NoWorkingIndicator final : public WorkingIndicator {
public:
    void show(const QString&) override {}
    void hide() override {}
};

} // namespace trv
