#pragma once

#include "core/Booking.h"
#include "core/ReaderControl.h"
#include "platform/Currency.h"
#include "platform/Result.h"
#include "receipt/ReceiptPort.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

namespace trv {

// What the receipt start and the manual entry need of the main window: its reader and port (ReceiptPort), its
// receipt box (the text that becomes the day data file), the label with the receipt's file, the voucher type
// chosen on it and the package-sum panel of its second status bar. The main window implements it; the receipt windows
// receive it in their constructors.
class ReceiptHost : public ReceiptPort {
public:
    // The receipt runs into this file from now on: gDatovySoubor = fileName, the caption of lblSoubor = the
    // full path. Called only once the reader is receiving.
    virtual void setReceiptFile(const std::filesystem::path& folder, const QString& fileName) = 0;
    // A receipt runs without a file of its own (sorting mode): it runs, and ends, as any receipt does, while
    // gDatovySoubor and lblSoubor keep what they were. Called only once the reader is receiving.
    virtual void setReceiptWithoutFile() {}
    // Replaces the text of the receipt box (lines ended by CR LF) and moves its caret to the end.
    virtual void setReceiptText(const QString& text) = 0;
    // Adds text at the end of the receipt box and moves its caret to the end.
    virtual void appendReceiptText(const QString& text) = 0;

    // The index (0 for the first) of the voucher-type button chosen on the main window; -1 when none is.
    virtual int chosenTypeIndex() const = 0;
    // Panel 1 of the second status bar: the package sums of package/week mode.
    virtual void setPackageSumsText(const QString& text) = 0;

    // The reader stop and error log the checks and the booking report through.
    virtual ReaderControl& reader() = 0;

    // Package mode: the value of all packages and of the current one (gSumaVse, gSumaBalik), shown with the
    // package number AppState::gCisloBaliku on the package counter window.
    virtual void setPackageSums(Currency sumaVse, Currency sumaBalik) = 0;
    // gTrideni: the sorting mode; while on, the end of a receipt keeps the closing window hidden.
    virtual void setTrideni(bool on) = 0;
    // The main window's caption.
    virtual void setCaption(const QString& text) = 0;
    // Books a live code (typed, scanned) into the receipt: the main window also writes it to the receipt's
    // file as it is booked, so a crash loses nothing. Null when booking refused it (it has said why).
    virtual std::shared_ptr<CPolozka> PridejKod(Booking& booking, const QString& kod, qint32 druh) {
        return booking.PridejKod(kod, druh, false);
    }
};

// A host that only records what it was asked to do: for tests, and for running the receipt logic without a
// main window.
class RecordingReceiptHost final : public ReceiptHost {
public:
    bool PrepniSkener(bool on) override {
        m_calls.append(on ? QStringLiteral("PrepniSkener(True)") : QStringLiteral("PrepniSkener(False)"));
        if (m_readerSwitchFailure)
            return false;
        m_readerOn = on;
        return true;
    }
    std::optional<PortFailure> readerSwitchFailure() const override { return m_readerSwitchFailure; }
    bool NastavPrijem(bool open) override {
        m_calls.append(open ? QStringLiteral("NastavPrijem(True)") : QStringLiteral("NastavPrijem(False)"));
        m_receiving = open && m_portOpens;
        return !open || m_portOpens;
    }
    std::optional<PortFailure> portFailure() const override {
        if (m_portOpens)
            return std::nullopt;
        return m_portFailure;
    }
    void setReceiptFile(const std::filesystem::path& folder, const QString& fileName) override {
        m_calls.append(QStringLiteral("setReceiptFile"));
        m_folder = folder;
        m_fileName = fileName;
    }
    void setReceiptText(const QString& text) override { m_text = text; }
    void appendReceiptText(const QString& text) override { m_text += text; }
    int chosenTypeIndex() const override { return m_chosenType; }
    void setPackageSumsText(const QString& text) override { m_packageSums = text; }
    ReaderControl& reader() override { return m_reader; }
    void setPackageSums(Currency sumaVse, Currency sumaBalik) override {
        m_sumaVse = sumaVse;
        m_sumaBalik = sumaBalik;
    }
    void setTrideni(bool on) override { m_trideni = on; }
    void setCaption(const QString& text) override { m_caption = text; }

    // --- What a test sets
    void setPortOpens(bool opens) { m_portOpens = opens; }
    void setPortFailure(std::optional<PortFailure> failure) { m_portFailure = std::move(failure); }
    void setChosenTypeIndex(int index) { m_chosenType = index; }
    // The reader's switch-on command does not go out, for this reason.
    void setReaderSwitchFailure(std::optional<PortFailure> failure) { m_readerSwitchFailure = std::move(failure); }

    // --- What a test reads
    const QStringList& calls() const { return m_calls; }
    bool readerOn() const { return m_readerOn; }
    bool receiving() const { return m_receiving; }
    const std::filesystem::path& folder() const { return m_folder; }
    const QString& fileName() const { return m_fileName; }
    const QString& text() const { return m_text; }
    const QString& packageSums() const { return m_packageSums; }
    NullReaderControl& nullReader() { return m_reader; }
    Currency sumaVse() const { return m_sumaVse; }
    Currency sumaBalik() const { return m_sumaBalik; }
    bool trideni() const { return m_trideni; }
    const QString& caption() const { return m_caption; }

private:
    QStringList m_calls;
    bool m_portOpens = true;
    std::optional<PortFailure> m_portFailure;
    std::optional<PortFailure> m_readerSwitchFailure;
    bool m_readerOn = false;
    bool m_receiving = false;
    int m_chosenType = -1;
    std::filesystem::path m_folder;
    QString m_fileName;
    QString m_text;
    QString m_packageSums;
    NullReaderControl m_reader;
    Currency m_sumaVse;
    Currency m_sumaBalik;
    bool m_trideni = false;
    QString m_caption;
};

} // namespace trv
