#pragma once

#include "receipt/ReceiptHost.h"

#include <functional>

namespace trv {

class MainWindowLogic;

// The main window as the receipt windows see it: its reader, its port, its receipt box and file label, the
// chosen voucher-type button and the package-sum panel. The two window-side answers (the checked type button
// and the package-sum panel) come from the window through callbacks, everything else from the logic.
class MainReceiptHost final : public ReceiptHost {
public:
    struct WindowSide {
        std::function<int()> chosenTypeIndex;
        std::function<void(const QString&)> setPackageSumsText;
        std::function<void(const QString&)> setCaption;
    };

    MainReceiptHost(MainWindowLogic& logic, WindowSide window);

    bool PrepniSkener(bool on) override;
    std::optional<PortFailure> readerSwitchFailure() const override;
    bool NastavPrijem(bool open) override;
    std::optional<PortFailure> portFailure() const override;
    void setReceiptFile(const std::filesystem::path& folder, const QString& fileName) override;
    void setReceiptWithoutFile() override;
    void setReceiptText(const QString& text) override;
    void appendReceiptText(const QString& text) override;
    int chosenTypeIndex() const override;
    void setPackageSumsText(const QString& text) override;
    ReaderControl& reader() override;
    void setPackageSums(Currency sumaVse, Currency sumaBalik) override;
    void setTrideni(bool on) override;
    void setCaption(const QString& text) override;
    std::shared_ptr<CPolozka> PridejKod(Booking& booking, const QString& kod, qint32 druh) override;

private:
    MainWindowLogic& m_logic;
    WindowSide m_window;
};

} // namespace trv
