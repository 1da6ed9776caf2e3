#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>
#include <variant>
#include <vector>

namespace trv::scanner {

/// Result codes of the cheque-scanner driver: 0 is success, a negative value an error (see ErrorCode).
inline constexpr int kSuccess = 0;
inline constexpr int kErrNoPrinter = -30;
inline constexpr int kErrHandle = -60;
inline constexpr int kErrParam = -90;
inline constexpr int kErrNoImage = -180;
inline constexpr int kErrImageFileOpen = -230;
inline constexpr int kErrPaperInsertTimeout = -300;
inline constexpr int kErrPaperJam = -1020;
inline constexpr int kErrBarcodeNoData = -1130;

/// Function codes of the scan functions.
enum FunctionCode : int {
    MF_EXEC = 0,
    MF_SET_BASE_PARAM = 0x10,
    MF_SET_MICR_PARAM = 0x11,
    MF_SET_SCAN_FRONT_PARAM = 0x12,
    MF_SET_SCAN_BACK_PARAM = 0x13,
    MF_SET_PRINT_PARAM = 0x14,
    MF_SET_PROCESS_PARAM = 0x15,
    MF_SET_IQA_PARAM = 0x16,
    MF_SET_BARCODE_FRONT_PARAM = 0x17,
    MF_SET_BARCODE_BACK_PARAM = 0x18,
    MF_CLEAR_SCAN_FRONT_PARAM = 0x22,
    MF_CLEAR_SCAN_BACK_PARAM = 0x23,
    MF_GET_BASE_DEFAULT = 0x30,
    MF_GET_MICR_DEFAULT = 0x31,
    MF_GET_SCAN_FRONT_DEFAULT = 0x32,
    MF_GET_SCAN_BACK_DEFAULT = 0x33,
    MF_GET_PRINT_DEFAULT = 0x34,
    MF_GET_PROCESS_DEFAULT = 0x35,
    MF_GET_IQA_DEFAULT = 0x36,
    MF_GET_BARCODE_FRONT_DEFAULT = 0x37,
    MF_GET_BARCODE_BACK_DEFAULT = 0x38,
};
inline constexpr int MF_ST_E_ENDORSEMENT = 4;
inline constexpr int MF_PRT_BUFFERING = 1;
inline constexpr int MF_PRT_EXEC = 2;
inline constexpr int MF_PRT_CLEAR = 3;
inline constexpr int MF_EJECT_DISCHARGE = 0;

/// Notification codes of the scan function.
inline constexpr qint16 kStatusDocumentReady = 0xCB;
inline constexpr qint16 kStatusDevice = 0xCC;
inline constexpr qint16 kStatusFunctionEnded = 0xCD;

/// Device status bits that are set while the stacker is not near full.
inline constexpr qint32 kStatusNotNearFullA = 0x20000;
inline constexpr qint32 kStatusNotNearFullB = 0x80000;

/// Image formats of BiSCNSetImageFormat.
inline constexpr int kFormatTiff = 1;
inline constexpr int kFormatBmp = 3;
inline constexpr int kFormatJpeg = 6;

/// Every parameter block starts with its size in bytes and a version word.
struct BlockHeader {
    qint32 size = 0;
    qint32 version = 0;
};

/// The four behaviours the options set for one kind of error (detect, eject type, stamp, cancel).
struct Behaviour {
    quint8 detect = 0;
    quint8 eject = 0;
    quint8 stamp = 0;
    quint8 cancel = 0;
    bool operator==(const Behaviour&) const = default;
};

struct BaseBlock {
    BlockHeader header;
    quint8 successHz = 0, successCount = 0, errorHz = 0, errorCount = 0, wfeedHz = 0, wfeedCount = 0;
};

/// A MICR text field: 81 bytes, zero-padded.
using MicrField = std::array<char, 81>;

struct MicrBlock {
    BlockHeader header;
    qint32 result = 0;    // result code of the reading
    quint8 font = 0;      // MICR font
    quint8 request = 0;   // set to 1 before reading
    qint32 requestEx = 0; // set before reading
    quint8 status = 0;
    quint8 detail = 0;
    MicrField text{}; // the MICR line as shown
    MicrField raw{}, account{}, amount{}, bank{}, serial{}, epc{}, transit{};
    qint32 checkType = 0;
    qint32 countryCode = 0;
};

/// A scan block; `image` stands for the image memory the driver hands over (its address and size).
struct ScanBlock {
    BlockHeader header;
    bool cleared = false;
    QByteArray image;
};

struct PrintBlock {
    BlockHeader header;
    QByteArray text;
};

struct ProcessBlock {
    BlockHeader header;
    quint8 confirmation = 0;
    Behaviour paperMisInsert, noise, doubleFeed, badData, noData;
    quint8 badDataCount = 0;
    quint8 nearFull = 0;
    quint8 successStamp = 0;
    qint32 startWaitTime = 0;
};

struct IqaBlock {
    BlockHeader header;
    Behaviour behaviour;
    quint8 imageA = 0, imageB = 0;
    std::array<quint8, 16> tests{};
};

struct BarcodeBlock {
    BlockHeader header;
    Behaviour behaviour;
    qint32 cancelCopy = 0; // the cancel option copied behind the behaviour fields
    qint32 result = 0;
    std::vector<QByteArray> codes; // the result records' data, as the driver hands them over
};

struct OcrEntry {
    qint32 position = 0;
    quint8 primary = 0;
    qint32 primaryPercent = 0;
    quint8 secondary = 0;
    qint32 secondaryPercent = 0;
};

struct OcrBlock {
    BlockHeader header{1943, 0x100};
    quint8 font = 3;
    quint8 flag = 1;
    std::array<qint16, 4> area{30, 56, 110, 70};
    quint8 flag2 = 1;
    std::array<char, 128> text{};
    std::array<OcrEntry, 128> entries{};
};

struct IqaResult {
    BlockHeader header{188, 0};
    QByteArray rest;
};

/// The decoration of a printed endorsement text.
struct Decoration {
    qint32 flags = 512;
    std::array<qint16, 4> values{3, 0, 0, 30};
};

using Block = std::variant<std::monostate, BaseBlock*, MicrBlock*, ScanBlock*, PrintBlock*, ProcessBlock*, IqaBlock*,
                           BarcodeBlock*>;

/// The cheque-scanner driver: every call the program makes, each returning the driver's result code.
/// After BiSCNMICRSetStatusBackWnd the driver reports each step of the scan function through
/// micrStatusBack (transaction number, notification code, detail) and the device status through statusBack;
/// the program connects to both with queued connections.
class ScannerDriver : public QObject {
    Q_OBJECT
public:
    enum class Family { Continuously, PostPrint };

    using QObject::QObject;
    ~ScannerDriver() override = default;

    virtual int BiESCNEnable(int mode) = 0;
    virtual qint32 BiOpenMonPrinter(int type, const QString& name) = 0;
    virtual int BiCloseMonPrinter(qint32 handle) = 0;
    virtual int BiSetPrintStation(qint32 handle, int station) = 0;
    virtual int BiBufferedPrint(qint32 handle, int mode) = 0;
    virtual int BiSCNMICRFunction(Family family, qint32 handle, Block block, int code) = 0;
    virtual int BiSCNMICRCancelFunction(qint32 handle, int mode) = 0;
    virtual int BiSCNMICRSetStatusBackWnd(qint32 handle) = 0;
    virtual int BiSetStatusBackWnd(qint32 handle) = 0;
    virtual int BiSCNMICRCancelStatusBack(qint32 handle) = 0;
    virtual int BiCancelStatusBack(qint32 handle) = 0;
    virtual int BiGetTransactionNumber(qint32 handle, qint32& number) = 0;
    virtual int BiGetMicrText(qint32 handle, qint32 transaction, MicrBlock& block) = 0;
    virtual int BiGetOcrABText(qint32 handle, qint32 transaction, int mode, const QString& text, OcrBlock& block) = 0;
    virtual int BiGetBarcodeData(qint32 handle, qint32 transaction, BarcodeBlock& block) = 0;
    virtual int BiGetIqaResult(qint32 handle, qint32 transaction, IqaResult& block) = 0;
    virtual int BiSCNSelectScanFace(qint32 handle, int face) = 0;
    virtual int BiSCNSetImageQuality(qint32 handle, int depth, int a, int b, int c) = 0;
    virtual int BiSCNSetImageFormat(qint32 handle, int format) = 0;
    virtual int BiGetScanImage(qint32 handle, qint32 transaction, ScanBlock& block) = 0;
    virtual int BiSetBehaviorToScnResult(qint32 handle, int eject, int stamp, int next) = 0;
    virtual int BiGetStatus(qint32 handle, qint32& status) = 0;
    virtual int BiRingBuzzer(qint32 handle, int a, int b, int c, int d) = 0;
    virtual int BiCancelError(qint32 handle) = 0;
    virtual int BiMICRCleaning(qint32 handle) = 0;
    virtual int BiSetPrintPosition(qint32 handle, int x, int y) = 0;
    virtual int BiSetPrintSize(qint32 handle, int width, int height) = 0;
    virtual int BiPrintImage(qint32 handle, const QByteArray& file) = 0;
    virtual int BiPrintTextToVB(qint32 handle, const QByteArray& text, const Decoration& decoration) = 0;

signals:
    void micrStatusBack(qint32 transaction, qint16 status, qint16 detail);
    void statusBack(qint32 status);

private:
    Q_DISABLE_COPY_MOVE(ScannerDriver)
};

} // namespace trv::scanner
