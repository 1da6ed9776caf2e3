#include "mainwindow/scanner/ApiUsage.h"

#include "mainwindow/scanner/ScannerWindow.h"
#include "platform/Prompts.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"

#include <QObject>

#include <algorithm>

namespace trv {

using namespace scanner;
using Family = ScannerDriver::Family;

namespace ScannerMaps {
quint8 MapDetect(qint16 v) {
    return v == 0 ? 0 : 1;
}
quint8 MapEjectType(qint16 v) {
    switch (v) {
    case 1:
        return 36;
    case 2:
        return 40;
    default:
        return 34;
    }
}
quint8 MapStampCancel(qint16 v) {
    return v == 1 ? 1 : 0;
}
quint8 MapNextCheck(qint16 v) {
    switch (v) {
    case 1:
        return 2;
    case 2:
        return 3;
    default:
        return 1;
    }
}
quint8 MapBuzzerHz(qint16 v) {
    switch (v) {
    case 1:
        return 2;
    case 2:
        return 0;
    default:
        return 1;
    }
}
quint8 MapBuzzerCount(qint16 v) {
    return v >= 0 && v <= 3 ? quint8(v) : 0;
}
} // namespace ScannerMaps

namespace {

using namespace ScannerMaps;

// Option values end up in byte fields of the driver's blocks; a value outside 0..255 is held at the nearest end
// rather than wrapped into an unrelated code.
quint8 toByte(qint16 v) {
    return quint8(std::clamp<qint16>(v, 0, 255));
}

const char* codeName(int code) {
    switch (code) {
    case MF_EXEC:
        return "MF_EXEC";
    case MF_SET_BASE_PARAM:
        return "MF_SET_BASE_PARAM";
    case MF_SET_MICR_PARAM:
        return "MF_SET_MICR_PARAM";
    case MF_SET_SCAN_FRONT_PARAM:
        return "MF_SET_SCAN_FRONT_PARAM";
    case MF_SET_SCAN_BACK_PARAM:
        return "MF_SET_SCAN_BACK_PARAM";
    case MF_SET_PRINT_PARAM:
        return "MF_SET_PRINT_PARAM";
    case MF_SET_PROCESS_PARAM:
        return "MF_SET_PROCESS_PARAM";
    case MF_SET_IQA_PARAM:
        return "MF_SET_IQA_PARAM";
    case MF_SET_BARCODE_FRONT_PARAM:
        return "MF_SET_BARCODE_FRONT_PARAM";
    case MF_SET_BARCODE_BACK_PARAM:
        return "MF_SET_BARCODE_BACK_PARAM";
    case MF_CLEAR_SCAN_FRONT_PARAM:
        return "MF_CLEAR_SCAN_FRONT_PARAM";
    case MF_CLEAR_SCAN_BACK_PARAM:
        return "MF_CLEAR_SCAN_BACK_PARAM";
    case MF_GET_BASE_DEFAULT:
        return "MF_GET_BASE_DEFAULT";
    case MF_GET_MICR_DEFAULT:
        return "MF_GET_MICR_DEFAULT";
    case MF_GET_SCAN_FRONT_DEFAULT:
        return "MF_GET_SCAN_FRONT_DEFAULT";
    case MF_GET_SCAN_BACK_DEFAULT:
        return "MF_GET_SCAN_BACK_DEFAULT";
    case MF_GET_PRINT_DEFAULT:
        return "MF_GET_PRINT_DEFAULT";
    case MF_GET_PROCESS_DEFAULT:
        return "MF_GET_PROCESS_DEFAULT";
    case MF_GET_IQA_DEFAULT:
        return "MF_GET_IQA_DEFAULT";
    case MF_GET_BARCODE_FRONT_DEFAULT:
        return "MF_GET_BARCODE_FRONT_DEFAULT";
    case MF_GET_BARCODE_BACK_DEFAULT:
        return "MF_GET_BARCODE_BACK_DEFAULT";
    default:
        return "?";
    }
}

QString familyName(Family f) {
    return f == Family::Continuously ? QStringLiteral("BiSCNMICRFunctionContinuously")
                                     : QStringLiteral("BiSCNMICRFunctionPostPrint");
}

template <size_t N> QString field(const std::array<char, N>& bytes, qsizetype length) {
    return ApiUsage::ByteArrayToString(bytes.data(), std::min<qsizetype>(length, qsizetype(N)));
}

} // namespace

ApiUsage::ApiUsage(ScannerDriver& driver, Prompts& prompts, std::filesystem::path programFolder)
    : m_driver(driver), m_prompts(prompts), m_programFolder(std::move(programFolder)) {
    m_bNearFull = false;
    m_objConfig = &m_ownConfig;
    m_objmfBase01.header = {295, 0x101};
    m_objmfMicr.header = {1729, 0x100};
    m_objmfScanFront.header = {39, 0x100};
    m_objmfScanBack.header = {39, 0x100};
    m_objmfPrint01.header = {61, 0x101};
    m_objmfProcess.header = {38, 0x100};
    m_objmfIqa.header = {35, 0x100};
    m_objmfBarcodeFront.header = {131, 0x100};
    m_objmfBarcodeBack.header = {131, 0x100};
    m_driver.BiESCNEnable(0);
    m_lHandle = m_driver.BiOpenMonPrinter(2, QStringLiteral("TM-S1000U"));
    if (m_lHandle < 0)
        ShowError(m_lHandle, openFailedTitle());
}

ApiUsage::~ApiUsage() {
    QObject::disconnect(&m_driver, nullptr, &m_driver, nullptr);
}

QString ApiUsage::openFailedTitle() {
    return QStringLiteral("Unable to connect to printer\r\n\r\nEnsure Driver installed correctly\r\nand Printer is "
                          "powered on");
}

qint16 ApiUsage::opt(const char* name) const {
    return m_objConfig->GetValue(QString::fromLatin1(name));
}

bool ApiUsage::ShowError(qint32 code, const QString& title) {
    if (code == 0)
        return false;
    m_prompts.message(ErrorCode::ChangeErrorCode(code), Prompts::Buttons::Ok, Prompts::Icon::None, title);
    return true;
}

void ApiUsage::storeNotification(qint32 transaction, qint16 status, qint16 detail) {
    m_lTransactionNumber = transaction;
    m_iStatus = status;
    m_iDetail = detail;
}

void ApiUsage::SetStatusBackWnd() {
    if (m_lHandle < 0)
        return;
    if (ShowError(m_driver.BiSCNMICRSetStatusBackWnd(m_lHandle), QStringLiteral("BiSCNMICRSetStatusBackWnd")))
        return;
    if (!m_connected) {
        m_connected = true;
        // The driver's notifications arrive queued, so each is handled on its own, after the call that
        // started the scan has returned.
        QObject::connect(
            &m_driver, &ScannerDriver::micrStatusBack, &m_driver,
            [this](qint32 transaction, qint16 status, qint16 detail) {
                storeNotification(transaction, status, detail);
                MicrStatusCallback();
            },
            Qt::QueuedConnection);
        QObject::connect(
            &m_driver, &ScannerDriver::statusBack, &m_driver, [this](qint32 status) { m_lStatus = status; },
            Qt::QueuedConnection);
    }
    ShowError(m_driver.BiSetStatusBackWnd(m_lHandle), QStringLiteral("BiSetStatusBackWnd"));
}

void ApiUsage::Configure() {
    if (ShowError(m_driver.BiSetPrintStation(m_lHandle, MF_ST_E_ENDORSEMENT),
                  QStringLiteral("BiSetPrintStation(m_lHandle, MF_ST_E_ENDORSEMENT)")))
        return;
    if (ShowError(m_driver.BiBufferedPrint(m_lHandle, MF_PRT_CLEAR),
                  QStringLiteral("BiBufferedPrint(m_lHandle, MF_PRT_CLEAR)")))
        return;
    setParams(opt("ScanFunction") == 1 ? Family::PostPrint : Family::Continuously);
}

bool ApiUsage::call(Family family, Block block, int code, const char* blockName) {
    const QString title = familyName(family) + QStringLiteral("(m_lHandle, ") + QString::fromLatin1(blockName) +
                          QStringLiteral(", ") + QString::fromLatin1(codeName(code)) + u')';
    return !ShowError(m_driver.BiSCNMICRFunction(family, m_lHandle, block, code), title);
}

bool ApiUsage::setParams(Family f) {
    // 1. base, with the buzzer options
    if (!call(f, &m_objmfBase01, MF_GET_BASE_DEFAULT, "m_objmfBase01"))
        return false;
    m_objmfBase01.successHz = MapBuzzerHz(opt("Buzzer Success Hz"));
    m_objmfBase01.errorHz = MapBuzzerHz(opt("Buzzer Error Hz"));
    m_objmfBase01.wfeedHz = MapBuzzerHz(opt("Buzzer WFeed Hz"));
    m_objmfBase01.successCount = MapBuzzerCount(opt("Buzzer Success Count"));
    m_objmfBase01.errorCount = MapBuzzerCount(opt("Buzzer Error Count"));
    m_objmfBase01.wfeedCount = MapBuzzerCount(opt("Buzzer WFeed Count"));
    if (!call(f, &m_objmfBase01, MF_SET_BASE_PARAM, "m_objmfBase01"))
        return false;
    // 2. MICR font: 0 and 1 are stored, any other value keeps the driver's default
    if (!call(f, &m_objmfMicr, MF_GET_MICR_DEFAULT, "m_objmfMicr"))
        return false;
    if (const qint16 font = opt("Micr Font"); font == 0 || font == 1)
        m_objmfMicr.font = quint8(font);
    if (!call(f, &m_objmfMicr, MF_SET_MICR_PARAM, "m_objmfMicr"))
        return false;
    // 3. and 4. the faces
    if (opt("Front Scan") == 0) {
        if (!call(f, &m_objmfScanFront, MF_CLEAR_SCAN_FRONT_PARAM, "m_objmfScanFront"))
            return false;
    } else if (!call(f, &m_objmfScanFront, MF_GET_SCAN_FRONT_DEFAULT, "m_objmfScanFront") ||
               !call(f, &m_objmfScanFront, MF_SET_SCAN_FRONT_PARAM, "m_objmfScanFront")) {
        return false;
    }
    if (opt("Back Scan") == 0) {
        if (!call(f, &m_objmfScanBack, MF_CLEAR_SCAN_BACK_PARAM, "m_objmfScanBack"))
            return false;
    } else if (!call(f, &m_objmfScanBack, MF_GET_SCAN_BACK_DEFAULT, "m_objmfScanBack") ||
               !call(f, &m_objmfScanBack, MF_SET_SCAN_BACK_PARAM, "m_objmfScanBack")) {
        return false;
    }
    // 5. print: nothing to print
    if (!call(f, &m_objmfPrint01, MF_GET_PRINT_DEFAULT, "m_objmfPrint01"))
        return false;
    m_objmfPrint01.text.clear();
    if (!call(f, &m_objmfPrint01, MF_SET_PRINT_PARAM, "m_objmfPrint01"))
        return false;
    // 6. process: the error behaviours
    if (!call(f, &m_objmfProcess, MF_GET_PROCESS_DEFAULT, "m_objmfProcess"))
        return false;
    ProcessBlock& p = m_objmfProcess;
    p.confirmation = opt("Confirmation Mode") == 0 ? 1 : 0;
    auto behaviour = [this](const char* detect, const char* eject, const char* stamp, const char* cancel) {
        return Behaviour{MapDetect(opt(detect)), MapEjectType(opt(eject)), MapStampCancel(opt(stamp)),
                         MapStampCancel(opt(cancel))};
    };
    p.paperMisInsert =
        behaviour("PaperMisInsert Detect", "PaperMisInsert EjectType", "PaperMisInsert Stamp", "PaperMisInsert Cancel");
    p.noise = behaviour("Noise Detect", "Noise EjectType", "Noise Stamp", "Noise Cancel");
    p.doubleFeed = behaviour("Dobule Detect", "Double EjectType", "Double Stamp", "Double Cancel");
    p.badData = behaviour("Baddata Detect", "Baddata EjectType", "Baddata Stamp", "Baddata Cancel");
    p.noData = behaviour("Nodata Detect", "Nodata EjectType", "Nodata Stamp", "Nodata Cancel");
    p.badDataCount = toByte(opt("Baddata Count"));
    switch (opt("Near Full")) {
    case 0:
        p.nearFull = 3;
        break;
    case 1:
        p.nearFull = 1;
        break;
    case 2:
        p.nearFull = 2;
        break;
    case 3:
        p.nearFull = 0;
        break;
    default:
        break;
    }
    p.successStamp = MapStampCancel(opt("Success Stamp"));
    if (!call(f, &m_objmfProcess, MF_SET_PROCESS_PARAM, "m_objmfProcess"))
        return false;
    // 7. the endorsement image, placed in the print buffer once
    if (opt("Electronic Endorse Image") != 0) {
        if (ShowError(m_driver.BiBufferedPrint(m_lHandle, MF_PRT_BUFFERING),
                      QStringLiteral("BiBufferedprint(m_lHandle, MF_PRT_BUFFERING)")))
            return false;
        PrintEndorseImage();
        if (ShowError(m_driver.BiBufferedPrint(m_lHandle, MF_PRT_EXEC),
                      QStringLiteral("Bibufferedprint(m_lHandle, MF_PRT_EXEC)")))
            return false;
    }
    // 8. image-quality check
    if (!call(f, &m_objmfIqa, MF_GET_IQA_DEFAULT, "m_objmfIqa"))
        return false;
    IqaBlock& q = m_objmfIqa;
    q.behaviour = Behaviour{MapDetect(opt("IqaErrorDetect")), MapEjectType(opt("IqaErrorEject")),
                            MapStampCancel(opt("IqaStamp")), MapStampCancel(opt("IqaCancel"))};
    const bool gray = opt("IqaGrayScale") != 0;
    q.imageA = gray ? 6 : 1;
    q.imageB = gray ? 8 : 1;
    if (q.behaviour.detect == 1)
        q.tests.fill(1);
    if (!call(f, &m_objmfIqa, MF_SET_IQA_PARAM, "m_objmfIqa"))
        return false;
    // 9. bar codes of both faces
    if (!call(f, &m_objmfBarcodeFront, MF_GET_BARCODE_FRONT_DEFAULT, "m_objmfBarcodeFront") ||
        !call(f, &m_objmfBarcodeBack, MF_GET_BARCODE_BACK_DEFAULT, "m_objmfBarcodeBack"))
        return false;
    m_objmfBarcodeFront.behaviour =
        behaviour("BarcodeFrontErrorDetect", "BarcodeFrontErrorEject", "BarcodeFrontStamp", "BarcodeFrontCancel");
    m_objmfBarcodeFront.cancelCopy = opt("BarcodeFrontCancel");
    m_objmfBarcodeBack.behaviour =
        behaviour("BarcodeBackErrorDetect", "BarcodeBackErrorEject", "BarcodeBackStamp", "BarcodeBackCancel");
    m_objmfBarcodeBack.cancelCopy = opt("BarcodeBackCancel");
    return call(f, &m_objmfBarcodeFront, MF_SET_BARCODE_FRONT_PARAM, "m_objmfBarcodeFront") &&
           call(f, &m_objmfBarcodeBack, MF_SET_BARCODE_BACK_PARAM, "m_objmfBarcodeBack");
}

void ApiUsage::Scan() {
    m_bNearFull = false;
    exec(opt("ScanFunction") == 1 ? Family::PostPrint : Family::Continuously);
}

void ApiUsage::exec(Family f) {
    const int r = m_driver.BiSCNMICRFunction(f, m_lHandle, std::monostate{}, MF_EXEC);
    if (ShowError(r, familyName(f) + QStringLiteral("(m_lHandle, Null, MF_EXEC)")) && m_objMainForm)
        m_objMainForm->Complate(m_lTransactionNumber);
}

void ApiUsage::Cancel() {
    ShowError(m_driver.BiSCNMICRCancelFunction(m_lHandle, MF_EJECT_DISCHARGE),
              QStringLiteral("BiSCNMICRCancelFunction(m_lHandle, MF_EJECT_DISCHARGE)"));
}

void ApiUsage::ScanEnd() {
    if (m_lHandle < 1)
        return;
    m_driver.BiSCNMICRCancelStatusBack(m_lHandle);
    m_driver.BiCancelStatusBack(m_lHandle);
    m_driver.BiSCNMICRCancelFunction(m_lHandle, MF_EJECT_DISCHARGE);
    m_driver.BiCloseMonPrinter(m_lHandle);
    m_lHandle = 0;
}

qint32 ApiUsage::GetTransactionNumber() {
    qint32 n = 0;
    m_driver.BiGetTransactionNumber(m_lHandle, n);
    return n;
}

void ApiUsage::MicrStatusCallback() {
    ScannerWindow* w = m_objMainForm;
    if (!w)
        return;
    switch (m_iStatus) {
    case kStatusFunctionEnded:
        w->Complate(m_lTransactionNumber);
        if (m_iDetail == kErrPaperJam) {
            m_prompts.message(QStringLiteral("Remove the paper"), Prompts::Buttons::Ok, Prompts::Icon::None,
                              QStringLiteral("MECHANICAL ERROR"));
            m_driver.BiCancelError(m_lHandle);
        } else if (m_iDetail != 0) {
            m_prompts.message(ErrorCode::ChangeErrorCode(m_iDetail), Prompts::Buttons::Ok, Prompts::Icon::None,
                              QStringLiteral("Error"));
        }
        return;
    case kStatusDevice: {
        const bool full = (m_lStatus & kStatusNotNearFullA) == 0 || (m_lStatus & kStatusNotNearFullB) == 0;
        if (!m_bNearFull && full) {
            m_bNearFull = true;
            w->setNearFullCaption(true);
            m_driver.BiRingBuzzer(m_lHandle, 0, 3, 1, 0);
        } else if (m_bNearFull && !full) {
            m_bNearFull = false;
            w->setNearFullCaption(false);
        }
        return;
    }
    case kStatusDocumentReady:
        break;
    default:
        return;
    }
    const qint32 tn = m_lTransactionNumber;
    if (opt("MICR") != 0) {
        m_objmfMicr.request = 1;
        m_objmfMicr.requestEx = 0;
        m_driver.BiGetMicrText(m_lHandle, tn, m_objmfMicr);
        QString text = field(m_objmfMicr.text, 81);
        if (m_objmfMicr.result != 0)
            text += u'(' + ErrorCode::ChangeErrorCode(m_objmfMicr.result) + u')';
        w->setMicrText(text);
    }
    if (opt("Ocr Ab") != 0 && opt("Front Scan") != 0) {
        OcrBlock ocr;
        ocr.font = opt("Ocr Ab Font") == 0 ? 3 : 0x13;
        m_driver.BiSCNSelectScanFace(m_lHandle, 0);
        const int r = m_driver.BiGetOcrABText(m_lHandle, tn, 0, QString(), ocr);
        QString text =
            (opt("Ocr Ab Font") == 0 ? QStringLiteral("OCR_A:") : QStringLiteral("OCR_B:")) + field(ocr.text, 128);
        if (r != 0)
            text += u'(' + ErrorCode::ChangeErrorCode(r) + u')';
        w->setOcrText(text);
    }
    if ((opt("Micr Save") & opt("Micr Save Enable")) != 0)
        SaveMicrResult(tn);
    if (opt("Front Scan") != 0)
        fetchImage(tn, true);
    if (opt("Electronic Endorse Text") != 0)
        PrintEndorseText();
    if (opt("Back Scan") != 0)
        fetchImage(tn, false);
    if (opt("IqaErrorDetect") != 0) {
        IqaResult iqa;
        m_driver.BiGetIqaResult(m_lHandle, tn, iqa);
        w->SetIqaResult(iqa);
    }
    ReadBarcodes(tn);
    if (opt("Confirmation Mode") == 1 && opt("Run ScnToResult") == 1 && opt("No call ScnToResult") == 1) {
        m_driver.BiSetBehaviorToScnResult(m_lHandle, MapEjectType(opt("Confirmation EjectType")),
                                          MapStampCancel(opt("Confirmation Stamp")),
                                          MapNextCheck(opt("Confirmation NextCheck")));
    }
}

QString ApiUsage::imageFileName(qint32 transaction, bool front, bool grayscale) {
    return QStringLiteral("%1").arg(transaction, 3, 10, QChar(u'0')) +
           (front ? QStringLiteral(".front") : QStringLiteral(".back")) +
           (grayscale ? QStringLiteral(".jpg") : QStringLiteral(".tif"));
}

void ApiUsage::fetchImage(qint32 tn, bool front) {
    const int face = front ? 0 : 1;
    if (m_driver.BiSCNSelectScanFace(m_lHandle, face) != 0)
        return;
    const bool gray = opt(front ? "Front Grayscale" : "Back Grayscale") != 0;
    m_driver.BiSCNSetImageQuality(m_lHandle, gray ? 8 : 1, 0, 48, 50);
    ScanBlock& block = front ? m_objmfScanFront : m_objmfScanBack;
    if (opt(front ? "Front Display" : "Back Display") != 0) {
        if (m_driver.BiSCNSetImageFormat(m_lHandle, kFormatBmp) == 0 &&
            m_driver.BiGetScanImage(m_lHandle, tn, block) == 0 && m_objMainForm)
            m_objMainForm->SetImage(block.image, front);
        block.image.clear();
    }
    if (opt(front ? "Front Save" : "Back Save") != 0) {
        m_driver.BiSCNSetImageFormat(m_lHandle, gray ? kFormatJpeg : kFormatTiff);
        m_driver.BiGetScanImage(m_lHandle, tn, block);
        if (!block.image.isEmpty()) {
            const auto file = m_programFolder / imageFileName(tn, front, gray).toStdU16String();
            if (Status s = TextFiles::writeBytes(file, block.image); !s.ok())
                m_prompts.error(s.message());
        }
        block.image.clear();
    }
}

QString ApiUsage::ByteArrayToString(const char* bytes, qsizetype length) {
    return decodeWindows1250(QByteArray(bytes, length));
}

void ApiUsage::SaveMicrResult(qint32 tn) {
    QStringList out{QStringLiteral("# MICR Data Output"), QString(),
                    QStringLiteral("# General Transaction Information:"), QString(),
                    QStringLiteral("m_lTransactionNumber = ") + QString::number(tn)};
    if (opt("MICR") != 0) {
        m_objmfMicr.requestEx = -1;
        m_objmfMicr.request = 1;
        m_driver.BiGetMicrText(m_lHandle, tn, m_objmfMicr);
        const MicrBlock& m = m_objmfMicr;
        out << QStringLiteral("Result = ") + ErrorCode::ChangeErrorCode(m.result)
            << QStringLiteral("m_lStatus = ") + QString::number(m.status)
            << QStringLiteral("Detail = ") + QString::number(m.detail) << QString() << QString()
            << QStringLiteral("# Magnetic Character Results:") << QString()
            << QStringLiteral("Raw Data       = ") + field(m.raw, 81)
            << QStringLiteral("Account Number = ") + field(m.account, 81)
            << QStringLiteral("Amount         = ") + field(m.amount, 81)
            << QStringLiteral("Bank Number    = ") + field(m.bank, 81)
            << QStringLiteral("Serial Number  = ") + field(m.serial, 81)
            << QStringLiteral("EPC Property   = ") + field(m.epc, 81)
            << QStringLiteral("Transit Number = ") + field(m.transit, 81);
        switch (m.checkType) {
        case 1:
            out << QStringLiteral("Check Type     = CHECK_PERSONAL");
            break;
        case 2:
            out << QStringLiteral("Check Type     = CHECK_BUSINESS");
            break;
        case 99:
            out << QStringLiteral("Check Type     = CHECK_UNKNOWN");
            break;
        default:
            out << QStringLiteral("Check Type     = ") + QString::number(m.checkType);
        }
        switch (m.countryCode) {
        case 1:
            out << QStringLiteral("Country Code   = COUNTRY_USA");
            break;
        case 2:
            out << QStringLiteral("Country Code   = COUNTRY_CANADA");
            break;
        case 3:
            out << QStringLiteral("Country Code   = COUNTRY_MEXICO");
            break;
        case 99:
            out << QStringLiteral("Country Code   = COUNTRY_UNKNOWN");
            break;
        default:
            out << QStringLiteral("Country Code   = ") + QString::number(m.countryCode);
        }
    }
    if (opt("Ocr Ab") != 0) {
        const bool a = opt("Ocr Ab Font") == 0;
        out << QString() << QString()
            << (a ? QStringLiteral("# OCR A character probabilities:")
                  : QStringLiteral("# OCR B character probabilities:"));
        OcrBlock ocr;
        ocr.header = {1943, 256};
        ocr.font = a ? 3 : 19;
        m_driver.BiSCNSelectScanFace(m_lHandle, 0);
        const int r = m_driver.BiGetOcrABText(m_lHandle, tn, 0, QString(), ocr);
        out << QString() << QStringLiteral("OcrAbResult = ") + ErrorCode::ChangeErrorCode(r);
        qint64 count = 0, sum = 0;
        qint32 lowest = 100, highest = 0;
        std::array<char, 82> line{};
        for (const OcrEntry& e : ocr.entries) {
            if (e.primary == 0)
                continue;
            ++count;
            sum += e.primaryPercent;
            lowest = std::min(lowest, e.primaryPercent);
            highest = std::max(highest, e.primaryPercent);
            // A position outside the line has no place in it; the character still counts.
            if (e.position >= 0 && e.position <= 81)
                line[size_t(e.position)] = char(e.primary);
        }
        if (count > 0) {
            // Two decimals of the average, rounded half away from zero, with the decimal comma.
            const qint64 hundredths = (sum * 200 + count) / (2 * count);
            const QString average = QString::number(hundredths / 100) + u',' +
                                    QStringLiteral("%1").arg(hundredths % 100, 2, 10, QChar(u'0'));
            out << QString() << QStringLiteral("OcrString = ") + ByteArrayToString(line.data() + 1, 81)
                << QStringLiteral("NumberOfCharacters = ") + QString::number(count)
                << QStringLiteral("HighestPercentage  = ") + QString::number(highest)
                << QStringLiteral("LowestPercentage   = ") + QString::number(lowest)
                << QStringLiteral("AveragePercentage  = ") + average << QString();
            for (int i = 1; i <= 128; ++i) {
                const OcrEntry& e = ocr.entries[size_t(i - 1)];
                // Listed when the entry's number is below the character's code, as installations print it.
                if (e.primary != 0 && i < e.primary) {
                    out << QStringLiteral("OcrPrimaryCharacter%1    = '").arg(i) +
                               ByteArrayToString(reinterpret_cast<const char*>(&e.primary), 1) + u'\''
                        << QStringLiteral("OcrPrimaryPercentage%1   = %2").arg(i).arg(e.primaryPercent);
                }
                if (e.secondary != 0 && i < e.secondary) {
                    out << QStringLiteral("OcrSecondaryCharacter%1  = '").arg(i) +
                               ByteArrayToString(reinterpret_cast<const char*>(&e.secondary), 1) + u'\''
                        << QStringLiteral("OcrSecondaryPercentage%1 = %2").arg(i).arg(e.secondaryPercent);
                }
                out << QString();
            }
        }
    }
    const auto file = m_programFolder / (QString::number(tn) + QStringLiteral(".Micr.txt")).toStdU16String();
    if (Status s = TextFiles::writeLines(file, out); !s.ok())
        m_prompts.error(s.message());
}

void ApiUsage::ReadBarcodes(qint32 tn) {
    auto face = [&](bool front) {
        QString text;
        BarcodeBlock& block = front ? m_objmfBarcodeFront : m_objmfBarcodeBack;
        if (opt(front ? "BarcodeFrontErrorDetect" : "BarcodeBackErrorDetect") == 1) {
            m_driver.BiSCNSelectScanFace(m_lHandle, front ? 0 : 1);
            m_driver.BiGetBarcodeData(m_lHandle, tn, block);
            for (QByteArray data : block.codes) {
                data.replace('\0', ' ');
                text += decodeWindows1250(data) + u' ';
            }
            block.codes.clear();
            if (block.result != 0)
                text += u'(' + ErrorCode::ChangeErrorCode(block.result) + u')';
        }
        if (m_objMainForm) {
            m_objMainForm->setBarcodeText(text, front);
            m_objMainForm->SetBarcodeFront(text);
        }
    };
    face(true);
    face(false);
}

void ApiUsage::PrintEndorseText() {
    if (ShowError(m_driver.BiSetPrintPosition(m_lHandle, 10, 60), QStringLiteral("BiPrintPosition(m_lHandle, 10, 60)")))
        return;
    ShowError(m_driver.BiPrintTextToVB(m_lHandle, QByteArrayLiteral("Transaction#:<00000000>"), Decoration{}),
              QStringLiteral("BiPrintText(m_lHandle, szText, mfDecorate)"));
}

void ApiUsage::PrintEndorseImage() {
    if (ShowError(m_driver.BiSetPrintPosition(m_lHandle, 100, 30),
                  QStringLiteral("BiPrintPosition(m_lHandle, 100, 30)")))
        return;
    if (ShowError(m_driver.BiSetPrintSize(m_lHandle, 30, 30), QStringLiteral("BiSetPrintSize(m_lHandle, 30, 30)")))
        return;
    const QByteArray file = QString::fromStdU16String((m_programFolder / "Image.JPG").u16string()).toLocal8Bit();
    ShowError(m_driver.BiPrintImage(m_lHandle, file), QStringLiteral("BiPrintImage(m_lHandle, Image.JPG"));
}

void ApiUsage::StopBuzzer() {
    ShowError(m_driver.BiRingBuzzer(m_lHandle, 0, 0, 0, 0), QStringLiteral("BiRingBuzzer(m_lHandle, 0, 0, 0, 0)"));
}

qint32 ApiUsage::GetStatus() {
    qint32 status = 1;
    m_driver.BiGetStatus(m_lHandle, status);
    return status;
}

void ApiUsage::SetStatusCallback() {
    if (m_objMainForm)
        m_objMainForm->SetDeviceStatus(m_lStatus);
}

void ApiUsage::Cleaning() {
    ShowError(m_driver.BiMICRCleaning(m_lHandle), QStringLiteral("BiMICRCleaning(m_lHandle)"));
}

qint32 ApiUsage::GetStartWaitTime() const {
    return std::min<qint32>(m_objmfProcess.startWaitTime, 6400);
}

} // namespace trv
