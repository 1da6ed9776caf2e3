#pragma once

#include "platform/ScannerDriver.h"

#include <QHash>
#include <QStringList>

#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace trv::scanner {

/// A cheque scanner that serves cheques from a folder, so that every scanner step runs without the device.
/// Each subfolder (sorted by name) is one cheque; a subfolder named by digits gives its transaction number,
/// any other the cheque's position (1, 2, ...). A cheque folder may hold:
///   front.bmp, back.bmp   the images for display (8-bit gray with 256 palette entries, or 1-bit with 2)
///   front.jpg, back.jpg   the gray images for saving; front.tif, back.tif the black-and-white ones
///   micr.txt              lines key=value: raw, account, amount, bank, serial, epc, transit, type, country,
///                         result (the MICR line shown is `raw`)
///   ocr.txt               the OCR line (every character recognised at 90 %)
///   barcode.txt, barcode-back.txt  the bar codes of the face, one per line
/// A face without its image file is served with no image (empty, with success), as a device hands over a
/// face it did not scan.
/// Each cheque is served once per run, as a real device takes each cheque once: the device remembers the
/// cheques it served and leaves the folder as it is. A scan that serves no cheque ends, as a device with an
/// empty feeder does, with the detail kErrPaperInsertTimeout. A folder that does not exist is a device that is
/// not connected. Tests tell the device to fail a call,
/// to end the scan with an error detail (a paper jam) or to report that it is nearly full.
class SimulatedScanner final : public ScannerDriver {
    Q_OBJECT
public:
    explicit SimulatedScanner(std::filesystem::path folder, QObject* parent = nullptr);

    // --- What the tests set
    /// Every later call of that function (its name, "BiSetPrintStation") returns the code.
    void failCall(const QString& function, int code) { m_failures.insert(function, code); }
    void clearFailures() { m_failures.clear(); }
    /// The detail of the "function ended" notification of the next scans (kErrPaperJam: a jam); 0 leaves it
    /// to the device: none after a scan that served a cheque, kErrPaperInsertTimeout after one that served none.
    void setEndDetail(qint16 detail) { m_endDetail = detail; }
    void setNearFull(bool nearFull) { m_nearFull = nearFull; }
    /// Bar codes served for a transaction and face, in place of the folder's (raw bytes, zero bytes allowed).
    void setBarcodes(qint32 transaction, int face, std::vector<QByteArray> codes);

    // --- What the tests read
    /// Every call in order, as "Name(arguments)".
    const QStringList& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    /// The last block sent with a set (or clear) code, by function code.
    const BaseBlock& base() const { return m_base; }
    const MicrBlock& micr() const { return m_micr; }
    const ScanBlock& scanFront() const { return m_scanFront; }
    const ScanBlock& scanBack() const { return m_scanBack; }
    const PrintBlock& print() const { return m_print; }
    const ProcessBlock& process() const { return m_process; }
    const IqaBlock& iqa() const { return m_iqa; }
    const BarcodeBlock& barcodeFront() const { return m_barcodeFront; }
    const BarcodeBlock& barcodeBack() const { return m_barcodeBack; }
    bool isOpen() const { return m_open; }

    // Defaults the device hands out, distinct from every value the options can write.
    static constexpr quint8 kDefaultMicrFont = 9;
    static constexpr quint8 kDefaultNearFull = 7;

    int BiESCNEnable(int mode) override;
    qint32 BiOpenMonPrinter(int type, const QString& name) override;
    int BiCloseMonPrinter(qint32 handle) override;
    int BiSetPrintStation(qint32 handle, int station) override;
    int BiBufferedPrint(qint32 handle, int mode) override;
    int BiSCNMICRFunction(Family family, qint32 handle, Block block, int code) override;
    int BiSCNMICRCancelFunction(qint32 handle, int mode) override;
    int BiSCNMICRSetStatusBackWnd(qint32 handle) override;
    int BiSetStatusBackWnd(qint32 handle) override;
    int BiSCNMICRCancelStatusBack(qint32 handle) override;
    int BiCancelStatusBack(qint32 handle) override;
    int BiGetTransactionNumber(qint32 handle, qint32& number) override;
    int BiGetMicrText(qint32 handle, qint32 transaction, MicrBlock& block) override;
    int BiGetOcrABText(qint32 handle, qint32 transaction, int mode, const QString& text, OcrBlock& block) override;
    int BiGetBarcodeData(qint32 handle, qint32 transaction, BarcodeBlock& block) override;
    int BiGetIqaResult(qint32 handle, qint32 transaction, IqaResult& block) override;
    int BiSCNSelectScanFace(qint32 handle, int face) override;
    int BiSCNSetImageQuality(qint32 handle, int depth, int a, int b, int c) override;
    int BiSCNSetImageFormat(qint32 handle, int format) override;
    int BiGetScanImage(qint32 handle, qint32 transaction, ScanBlock& block) override;
    int BiSetBehaviorToScnResult(qint32 handle, int eject, int stamp, int next) override;
    int BiGetStatus(qint32 handle, qint32& status) override;
    int BiRingBuzzer(qint32 handle, int a, int b, int c, int d) override;
    int BiCancelError(qint32 handle) override;
    int BiMICRCleaning(qint32 handle) override;
    int BiSetPrintPosition(qint32 handle, int x, int y) override;
    int BiSetPrintSize(qint32 handle, int width, int height) override;
    int BiPrintImage(qint32 handle, const QByteArray& file) override;
    int BiPrintTextToVB(qint32 handle, const QByteArray& text, const Decoration& decoration) override;

private:
    struct Cheque {
        qint32 transaction = 0;
        std::filesystem::path folder;
    };
    // Records the call; the code a test asked for, a handle error, or 0.
    int enter(const QString& function, const QString& args, qint32 handle, bool needsHandle = true);
    std::vector<Cheque> cheques() const;
    std::optional<std::filesystem::path> chequeFolder(qint32 transaction) const;
    qint32 deviceStatus() const;
    void runScan();

    std::filesystem::path m_folder;
    QStringList m_calls;
    QHash<QString, int> m_failures;
    std::map<std::pair<qint32, int>, std::vector<QByteArray>> m_barcodes;
    std::set<std::filesystem::path> m_served;
    qint16 m_endDetail = 0;
    bool m_nearFull = false;
    bool m_open = false;
    bool m_statusBack = false;
    int m_face = 0;
    int m_format = kFormatBmp;
    qint32 m_lastTransaction = 0;
    BaseBlock m_base;
    MicrBlock m_micr;
    ScanBlock m_scanFront, m_scanBack;
    PrintBlock m_print;
    ProcessBlock m_process;
    IqaBlock m_iqa;
    BarcodeBlock m_barcodeFront, m_barcodeBack;
};

} // namespace trv::scanner
