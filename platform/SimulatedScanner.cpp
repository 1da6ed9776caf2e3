#include "platform/SimulatedScanner.h"

#include "platform/FolderListing.h"
#include "platform/TextFiles.h"

#include <QFile>
#include <QMetaObject>

#include <algorithm>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace trv::scanner {

namespace {

constexpr qint32 kHandle = 1;

QByteArray readFile(const fs::path& p) {
    auto bytes = TextFiles::readBytes(p); // by the path's own bytes, whatever the cheque folder's name holds
    return bytes.ok() ? bytes.value() : QByteArray();
}

QList<QByteArray> lines(const QByteArray& bytes) {
    QList<QByteArray> out;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            out.append(line);
    }
    return out;
}

void fill(MicrField& field, const QByteArray& text) {
    field.fill(0);
    std::memcpy(field.data(), text.constData(), std::min<size_t>(text.size(), field.size()));
}

QString hex(int code) {
    return QStringLiteral("0x%1").arg(code, 2, 16, QChar(u'0'));
}

} // namespace

SimulatedScanner::SimulatedScanner(fs::path folder, QObject* parent)
    : ScannerDriver(parent), m_folder(std::move(folder)) {}

void SimulatedScanner::setBarcodes(qint32 transaction, int face, std::vector<QByteArray> codes) {
    m_barcodes[{transaction, face}] = std::move(codes);
}

int SimulatedScanner::enter(const QString& function, const QString& args, qint32 handle, bool needsHandle) {
    m_calls.append(function + u'(' + args + u')');
    if (const auto it = m_failures.constFind(function); it != m_failures.constEnd())
        return it.value();
    if (needsHandle && (!m_open || handle != kHandle))
        return kErrHandle;
    return kSuccess;
}

std::vector<SimulatedScanner::Cheque> SimulatedScanner::cheques() const {
    std::vector<Cheque> out;
    auto folders = FolderListing::list(m_folder, QStringLiteral("*"), {}, FolderListing::Kind::Folders);
    if (!folders.ok())
        return out;
    qint32 position = 0;
    for (auto& f : folders.value()) {
        ++position;
        bool digits = false;
        const qint32 n = f.name.toInt(&digits);
        out.push_back({digits ? n : position, f.path()});
    }
    return out;
}

std::optional<fs::path> SimulatedScanner::chequeFolder(qint32 transaction) const {
    for (const auto& c : cheques()) {
        if (c.transaction == transaction)
            return c.folder;
    }
    return std::nullopt;
}

qint32 SimulatedScanner::deviceStatus() const {
    return m_nearFull ? 0 : (kStatusNotNearFullA | kStatusNotNearFullB);
}

int SimulatedScanner::BiESCNEnable(int mode) {
    return enter(QStringLiteral("BiESCNEnable"), QString::number(mode), 0, false);
}

qint32 SimulatedScanner::BiOpenMonPrinter(int type, const QString& name) {
    if (const int r = enter(QStringLiteral("BiOpenMonPrinter"), QString::number(type) + u',' + name, 0, false))
        return r;
    std::error_code ec;
    if (!fs::is_directory(m_folder, ec))
        return kErrNoPrinter;
    m_open = true;
    return kHandle;
}

int SimulatedScanner::BiCloseMonPrinter(qint32 handle) {
    const int r = enter(QStringLiteral("BiCloseMonPrinter"), QString::number(handle), handle);
    if (r == kSuccess)
        m_open = false;
    return r;
}

int SimulatedScanner::BiSetPrintStation(qint32 handle, int station) {
    return enter(QStringLiteral("BiSetPrintStation"), QString::number(station), handle);
}

int SimulatedScanner::BiBufferedPrint(qint32 handle, int mode) {
    return enter(QStringLiteral("BiBufferedPrint"), QString::number(mode), handle);
}

int SimulatedScanner::BiSCNMICRFunction(Family family, qint32 handle, Block block, int code) {
    const QString name = family == Family::Continuously ? QStringLiteral("BiSCNMICRFunctionContinuously")
                                                        : QStringLiteral("BiSCNMICRFunctionPostPrint");
    if (const int r = enter(name, hex(code), handle))
        return r;
    if (code == MF_EXEC) {
        if (!std::holds_alternative<std::monostate>(block))
            return kErrParam;
        QMetaObject::invokeMethod(this, &SimulatedScanner::runScan, Qt::QueuedConnection);
        return kSuccess;
    }
    const bool getDefault = code >= 0x30;
    const bool clear = code == MF_CLEAR_SCAN_FRONT_PARAM || code == MF_CLEAR_SCAN_BACK_PARAM;
    auto keepHeader = [](auto& target, const auto& defaults) {
        const BlockHeader h = target.header;
        target = defaults;
        target.header = h;
    };
    if (auto* b = std::get_if<BaseBlock*>(&block)) {
        if (getDefault)
            keepHeader(**b, BaseBlock{});
        else
            m_base = **b;
    } else if (auto* m = std::get_if<MicrBlock*>(&block)) {
        if (getDefault) {
            MicrBlock d;
            d.font = kDefaultMicrFont;
            keepHeader(**m, d);
        } else {
            m_micr = **m;
        }
    } else if (auto* s = std::get_if<ScanBlock*>(&block)) {
        const bool front =
            code == MF_GET_SCAN_FRONT_DEFAULT || code == MF_SET_SCAN_FRONT_PARAM || code == MF_CLEAR_SCAN_FRONT_PARAM;
        if (getDefault) {
            keepHeader(**s, ScanBlock{});
        } else {
            ScanBlock copy = **s;
            copy.cleared = clear;
            (front ? m_scanFront : m_scanBack) = copy;
        }
    } else if (auto* p = std::get_if<PrintBlock*>(&block)) {
        if (getDefault)
            keepHeader(**p, PrintBlock{});
        else
            m_print = **p;
    } else if (auto* pr = std::get_if<ProcessBlock*>(&block)) {
        if (getDefault) {
            ProcessBlock d;
            d.nearFull = kDefaultNearFull;
            d.startWaitTime = 7000;
            keepHeader(**pr, d);
        } else {
            m_process = **pr;
        }
    } else if (auto* q = std::get_if<IqaBlock*>(&block)) {
        if (getDefault)
            keepHeader(**q, IqaBlock{});
        else
            m_iqa = **q;
    } else if (auto* bc = std::get_if<BarcodeBlock*>(&block)) {
        const bool front = code == MF_GET_BARCODE_FRONT_DEFAULT || code == MF_SET_BARCODE_FRONT_PARAM;
        if (getDefault)
            keepHeader(**bc, BarcodeBlock{});
        else
            (front ? m_barcodeFront : m_barcodeBack) = **bc;
    } else {
        return kErrParam;
    }
    return kSuccess;
}

void SimulatedScanner::runScan() {
    const auto all = cheques();
    qint32 last = m_lastTransaction;
    bool served = false;
    for (const auto& c : all) {
        // A real scanner takes each cheque once: a cheque served in this run is not fed again.
        if (!m_served.insert(c.folder).second)
            continue;
        served = true;
        last = c.transaction;
        if (!m_statusBack)
            continue;
        emit micrStatusBack(c.transaction, kStatusDocumentReady, 0);
        emit statusBack(deviceStatus());
        emit micrStatusBack(c.transaction, kStatusDevice, 0);
    }
    m_lastTransaction = last;
    // A device with an empty feeder waits for a cheque and gives up.
    const qint16 detail = m_endDetail != 0 ? m_endDetail : served ? qint16(0) : qint16(kErrPaperInsertTimeout);
    if (m_statusBack)
        emit micrStatusBack(last, kStatusFunctionEnded, detail);
}

int SimulatedScanner::BiSCNMICRCancelFunction(qint32 handle, int mode) {
    return enter(QStringLiteral("BiSCNMICRCancelFunction"), QString::number(mode), handle);
}

int SimulatedScanner::BiSCNMICRSetStatusBackWnd(qint32 handle) {
    const int r = enter(QStringLiteral("BiSCNMICRSetStatusBackWnd"), QString(), handle);
    if (r == kSuccess)
        m_statusBack = true;
    return r;
}

int SimulatedScanner::BiSetStatusBackWnd(qint32 handle) {
    const int r = enter(QStringLiteral("BiSetStatusBackWnd"), QString(), handle);
    if (r == kSuccess)
        emit statusBack(deviceStatus());
    return r;
}

int SimulatedScanner::BiSCNMICRCancelStatusBack(qint32 handle) {
    const int r = enter(QStringLiteral("BiSCNMICRCancelStatusBack"), QString(), handle);
    if (r == kSuccess)
        m_statusBack = false;
    return r;
}

int SimulatedScanner::BiCancelStatusBack(qint32 handle) {
    return enter(QStringLiteral("BiCancelStatusBack"), QString(), handle);
}

int SimulatedScanner::BiGetTransactionNumber(qint32 handle, qint32& number) {
    const int r = enter(QStringLiteral("BiGetTransactionNumber"), QString(), handle);
    if (r == kSuccess)
        number = m_lastTransaction;
    return r;
}

int SimulatedScanner::BiGetMicrText(qint32 handle, qint32 transaction, MicrBlock& block) {
    if (const int r = enter(QStringLiteral("BiGetMicrText"), QString::number(transaction), handle))
        return r;
    const auto folder = chequeFolder(transaction);
    if (!folder)
        return kErrParam;
    QHash<QByteArray, QByteArray> values;
    for (const QByteArray& line : lines(readFile(*folder / "micr.txt"))) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            values.insert(line.left(eq).trimmed(), line.mid(eq + 1));
    }
    fill(block.text, values.value("raw"));
    fill(block.raw, values.value("raw"));
    fill(block.account, values.value("account"));
    fill(block.amount, values.value("amount"));
    fill(block.bank, values.value("bank"));
    fill(block.serial, values.value("serial"));
    fill(block.epc, values.value("epc"));
    fill(block.transit, values.value("transit"));
    block.checkType = values.value("type", "99").toInt();
    block.countryCode = values.value("country", "99").toInt();
    block.result = values.contains("raw") ? values.value("result", "0").toInt() : -1040;
    block.status = 0;
    block.detail = 0;
    return kSuccess;
}

int SimulatedScanner::BiGetOcrABText(qint32 handle, qint32 transaction, int mode, const QString& text,
                                     OcrBlock& block) {
    if (const int r = enter(QStringLiteral("BiGetOcrABText"),
                            QString::number(transaction) + u',' + QString::number(mode) + u',' + text, handle))
        return r;
    const auto folder = chequeFolder(transaction);
    if (!folder)
        return kErrParam;
    const auto ocr = lines(readFile(*folder / "ocr.txt"));
    const QByteArray line = ocr.isEmpty() ? QByteArray() : ocr.first();
    block.text.fill(0);
    block.entries = {};
    for (qsizetype i = 0; i < line.size() && i < 128; ++i) {
        block.text[size_t(i)] = line[i];
        block.entries[size_t(i)] = OcrEntry{qint32(i + 1), quint8(line[i]), 90, 0, 0};
    }
    return line.isEmpty() ? -1040 : kSuccess;
}

int SimulatedScanner::BiGetBarcodeData(qint32 handle, qint32 transaction, BarcodeBlock& block) {
    if (const int r = enter(QStringLiteral("BiGetBarcodeData"), QString::number(transaction), handle))
        return r;
    block.codes.clear();
    if (const auto it = m_barcodes.find({transaction, m_face}); it != m_barcodes.end()) {
        block.codes = it->second;
    } else if (const auto folder = chequeFolder(transaction)) {
        for (const QByteArray& line : lines(readFile(*folder / (m_face == 0 ? "barcode.txt" : "barcode-back.txt"))))
            block.codes.push_back(line);
    }
    block.result = block.codes.empty() ? kErrBarcodeNoData : kSuccess;
    return kSuccess;
}

int SimulatedScanner::BiGetIqaResult(qint32 handle, qint32 transaction, IqaResult& block) {
    if (const int r = enter(QStringLiteral("BiGetIqaResult"), QString::number(transaction), handle))
        return r;
    block.rest = QByteArray(180, '\0');
    return kSuccess;
}

int SimulatedScanner::BiSCNSelectScanFace(qint32 handle, int face) {
    const int r = enter(QStringLiteral("BiSCNSelectScanFace"), QString::number(face), handle);
    if (r == kSuccess)
        m_face = face;
    return r;
}

int SimulatedScanner::BiSCNSetImageQuality(qint32 handle, int depth, int a, int b, int c) {
    return enter(QStringLiteral("BiSCNSetImageQuality"), QStringLiteral("%1,%2,%3,%4").arg(depth).arg(a).arg(b).arg(c),
                 handle);
}

int SimulatedScanner::BiSCNSetImageFormat(qint32 handle, int format) {
    const int r = enter(QStringLiteral("BiSCNSetImageFormat"), QString::number(format), handle);
    if (r == kSuccess)
        m_format = format;
    return r;
}

int SimulatedScanner::BiGetScanImage(qint32 handle, qint32 transaction, ScanBlock& block) {
    if (const int r = enter(QStringLiteral("BiGetScanImage"), QString::number(transaction), handle))
        return r;
    const auto folder = chequeFolder(transaction);
    if (!folder)
        return kErrParam;
    const char* ext = m_format == kFormatJpeg ? ".jpg" : m_format == kFormatTiff ? ".tif" : ".bmp";
    const fs::path file = *folder / (std::string(m_face == 0 ? "front" : "back") + ext);
    block.image.clear();
    std::error_code ec;
    if (!fs::exists(file, ec))
        return kSuccess; // a face the device did not scan: no image, which clears the face shown before
    block.image = readFile(file);
    return block.image.isEmpty() ? kErrNoImage : kSuccess;
}

int SimulatedScanner::BiSetBehaviorToScnResult(qint32 handle, int eject, int stamp, int next) {
    return enter(QStringLiteral("BiSetBehaviorToScnResult"), QStringLiteral("%1,%2,%3").arg(eject).arg(stamp).arg(next),
                 handle);
}

int SimulatedScanner::BiGetStatus(qint32 handle, qint32& status) {
    const int r = enter(QStringLiteral("BiGetStatus"), QString(), handle);
    if (r == kSuccess)
        status = deviceStatus();
    return r;
}

int SimulatedScanner::BiRingBuzzer(qint32 handle, int a, int b, int c, int d) {
    return enter(QStringLiteral("BiRingBuzzer"), QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d), handle);
}

int SimulatedScanner::BiCancelError(qint32 handle) {
    return enter(QStringLiteral("BiCancelError"), QString(), handle);
}

int SimulatedScanner::BiMICRCleaning(qint32 handle) {
    return enter(QStringLiteral("BiMICRCleaning"), QString(), handle);
}

int SimulatedScanner::BiSetPrintPosition(qint32 handle, int x, int y) {
    return enter(QStringLiteral("BiSetPrintPosition"), QStringLiteral("%1,%2").arg(x).arg(y), handle);
}

int SimulatedScanner::BiSetPrintSize(qint32 handle, int width, int height) {
    return enter(QStringLiteral("BiSetPrintSize"), QStringLiteral("%1,%2").arg(width).arg(height), handle);
}

int SimulatedScanner::BiPrintImage(qint32 handle, const QByteArray& file) {
    if (const int r = enter(QStringLiteral("BiPrintImage"), QString::fromLocal8Bit(file), handle))
        return r;
    QFile f(QString::fromLocal8Bit(file));
    return f.exists() ? kSuccess : kErrImageFileOpen;
}

int SimulatedScanner::BiPrintTextToVB(qint32 handle, const QByteArray& text, const Decoration& decoration) {
    return enter(QStringLiteral("BiPrintTextToVB"),
                 QString::fromLatin1(text) + QStringLiteral(",%1,%2,%3,%4,%5")
                                                 .arg(decoration.flags)
                                                 .arg(decoration.values[0])
                                                 .arg(decoration.values[1])
                                                 .arg(decoration.values[2])
                                                 .arg(decoration.values[3]),
                 handle);
}

} // namespace trv::scanner
