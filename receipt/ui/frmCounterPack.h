#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace trv {

namespace Ui {
class frmCounterPack;
}

// The read counters of package mode: those of the plain counter window plus the package number,
// the value of the current package and the value of all packages (whole units). Its captions are
// fixed texts; it reads nothing from the language file.
class frmCounterPack final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmCounterPack)

public:
    explicit frmCounterPack(std::function<void()> resetCounters = {}, QWidget* parent = nullptr);
    ~frmCounterPack() override;

    void setResetHandler(std::function<void()> resetCounters);

    void setReadCount(qint64 reads);               // fwlCount
    void setReadsWithoutNoRead(qint64 reads);      // fwlNOREAD
    void setReceiveEvents(qint64 events);          // FWOdomet
    void setPackageNumber(qint64 number);          // FWLedPackageCount
    void setCurrentPackageValue(qint64 value);     // FWLedSumActualPackage
    void setAllPackagesValue(qint64 value);        // FWLedSumPackage

private:
    void cmdReset_Click();

    std::unique_ptr<Ui::frmCounterPack> m_ui;
    std::function<void()> m_resetCounters;
};

} // namespace trv
