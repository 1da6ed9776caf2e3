#include "mainwindow/scanner/PropertiseClass.h"

#include <QHash>

namespace trv {

namespace {

const std::vector<std::pair<const char*, qint16>> kDefaults = {
    {"ScanFunction", 0},
    {"Front Scan", 1},
    {"Front Grayscale", 0},
    {"Front Display", 1},
    {"Front Save", 0},
    {"Back Scan", 1},
    {"Back Grayscale", 0},
    {"Back Display", 1},
    {"Back Save", 0},
    {"MICR", 1},
    {"Micr Font", 0},
    {"Micr Save", 0},
    {"Micr Save Enable", 1},
    {"Electronic Endorse Text", 0},
    {"Electronic Endorse Image", 0},
    {"Confirmation Mode", 0},
    {"Run ScnToResult", 0},
    {"No call ScnToResult", 0},
    {"Confirmation EjectType", 0},
    {"Confirmation Stamp", 0},
    {"Confirmation NextCheck", 0},
    {"Confirmation OK", 0},
    {"PaperMisInsert Detect", 1},
    {"PaperMisInsert EjectType", 0},
    {"PaperMisInsert Stamp", 0},
    {"PaperMisInsert Cancel", 0},
    {"Noise Detect", 1},
    {"Noise EjectType", 0},
    {"Noise Stamp", 0},
    {"Noise Cancel", 1},
    {"Dobule Detect", 1},
    {"Double EjectType", 0},
    {"Double Stamp", 0},
    {"Double Cancel", 0},
    {"Baddata Count", 255},
    {"Baddata Detect", 1},
    {"Baddata EjectType", 0},
    {"Baddata Stamp", 0},
    {"Baddata Cancel", 0},
    {"Nodata Detect", 1},
    {"Nodata EjectType", 0},
    {"Nodata Stamp", 0},
    {"Nodata Cancel", 0},
    {"Near Full", 0},
    {"Success Stamp", 0},
    {"IqaErrorDetect", 0},
    {"IqaGrayScale", 0},
    {"IqaErrorEject", 0},
    {"IqaStamp", 0},
    {"IqaCancel", 0},
    {"WaterfallEnable", 0},
    {"WaterfallMode", 0},
    {"BarcodeFrontErrorDetect", 0},
    {"BarcodeFrontErrorEject", 0},
    {"BarcodeFrontStamp", 0},
    {"BarcodeFrontCancel", 0},
    {"BarcodeBackErrorDetect", 0},
    {"BarcodeBackErrorEject", 0},
    {"BarcodeBackStamp", 0},
    {"BarcodeBackCancel", 0},
};

// In the order the main window's load sets them.
const std::vector<std::pair<const char*, qint16>> kMainWindow = {
    {"ScanFunction", 0},
    {"Front Scan", 1},
    {"Front Grayscale", 0},
    {"Front Display", 1},
    {"Front Save", 0},
    {"Back Scan", 1},
    {"Back Grayscale", 0},
    {"Back Display", 1},
    {"Back Save", 0},
    {"Electronic Endorse Text", 0},
    {"Electronic Endorse Image", 0},
    {"Confirmation Mode", 0},
    {"Run ScnToResult", 0},
    {"No call ScnToResult", 0},
    {"PaperMisInsert Detect", 1},
    {"PaperMisInsert EjectType", 0},
    {"PaperMisInsert Stamp", 0},
    {"PaperMisInsert Cancel", 0},
    {"Noise Detect", 1},
    {"Noise EjectType", 0},
    {"Noise Stamp", 0},
    {"Noise Cancel", 1},
    {"Dobule Detect", 1},
    {"Double EjectType", 0},
    {"Double Stamp", 0},
    {"Double Cancel", 0},
    {"Baddata Count", 255},
    {"Baddata Detect", 0},
    {"Baddata EjectType", 0},
    {"Baddata Stamp", 0},
    {"Baddata Cancel", 0},
    {"Nodata Detect", 0},
    {"Nodata EjectType", 0},
    {"Nodata Stamp", 0},
    {"Nodata Cancel", 0},
    {"MICR", 0},
    {"Micr Save", 0},
    {"Micr Font", 0},
    {"Micr Save Enable", 0},
    {"Ocr Ab", 0},
    {"Ocr Ab Font", 0},
    {"Buzzer Success Hz", 0},
    {"Buzzer Success Count", 1},
    {"Buzzer Error Hz", 2},
    {"Buzzer Error Count", 2},
    {"Buzzer WFeed Hz", 0},
    {"Buzzer WFeed Count", 0},
    {"Near Full", 0},
    {"Success Stamp", 0},
    {"IqaErrorDetect", 0},
    {"IqaGrayScale", 0},
    {"IqaErrorEject", 0},
    {"IqaStamp", 0},
    {"IqaCancel", 0},
    {"WaterfallEnable", 0},
    {"WaterfallMode", 0},
    {"BarcodeFrontErrorDetect", 1},
    {"BarcodeFrontErrorEject", 1},
    {"BarcodeFrontStamp", 0},
    {"BarcodeFrontCancel", 0},
};

} // namespace

PropertiseClass::PropertiseClass() {
    m_entries.reserve(kDefaults.size() + 8);
    for (const auto& [name, value] : kDefaults)
        m_entries.emplace_back(QString::fromLatin1(name), value);
}

void PropertiseClass::SetValue(const QString& name, qint16 value) {
    for (auto& entry : m_entries) {
        if (entry.first == name) {
            entry.second = value;
            return;
        }
    }
    m_entries.emplace_back(name, value);
}

qint16 PropertiseClass::GetValue(const QString& name) const {
    for (const auto& entry : m_entries) {
        if (entry.first == name)
            return entry.second;
    }
    return 0;
}

const std::vector<std::pair<const char*, qint16>>& PropertiseClass::mainWindowValues() {
    return kMainWindow;
}

void PropertiseClass::setMainWindowValues() {
    for (const auto& [name, value] : kMainWindow)
        SetValue(QString::fromLatin1(name), value);
}

namespace ErrorCode {

QString ChangeErrorCode(qint32 code) {
    static const QHash<qint32, const char*> names = {
        {0, "SUCCESS"},
        {-10, "ERR_TYPE"},
        {-20, "ERR_OPENED"},
        {-30, "ERR_NO_PRINTER"},
        {-40, "ERR_NO_TARGET"},
        {-50, "ERR_NO_MEMORY"},
        {-60, "ERR_HANDLE"},
        {-70, "ERR_TIMEOUT"},
        {-80, "ERR_ACCESS"},
        {-90, "ERR_PARAM"},
        {-100, "ERR_NOT_SUPPORT"},
        {-110, "ERR_OFFLINE"},
        {-120, "ERR_NOT_EPSON"},
        {-130, "ERR_WITHOUT_CB"},
        {-140, "ERR_BUFFER_OVER_FLOW"},
        {-150, "ERR_REGISTRY"},
        {-160, "ERR_ENABLE"},
        {-170, "ERR_DISK_FULL"},
        {-180, "ERR_NO_IMAGE"},
        {-190, "ERR_ENTRY_OVER"},
        {-200, "ERR_CROPAREAID"},
        {-210, "ERR_EXIST"},
        {-220, "ERR_NOT_FOUND"},
        {-230, "ERR_IMAGE_FILEOPEN"},
        {-240, "ERR_IMAGE_UNKNOWNFORMAT"},
        {-250, "ERR_IMAGE_FAILED"},
        {-260, "ERR_WORKAREA_NO_MEMORY"},
        {-270, "ERR_WORKAREA_UNKNOWNFORMAT"},
        {-280, "ERR_WORKAREA_FAILED"},
        {-290, "ERR_IMAGE_FILEREAD"},
        {-300, "ERR_PAPERINSERT_TIMEOUT"},
        {-310, "ERR_EXEC_FUNCTION"},
        {-320, "ERR_EXEC_MICR"},
        {-330, "ERR_EXEC_SCAN"},
        {-340, "ERR_SS_NOT_EXIST"},
        {-350, "ERR_SPL_NOT_EXIST"},
        {-370, "ERR_SPL_PAUSED"},
        {-400, "ERR_RESET"},
        {-420, "ERR_THREAD"},
        {-430, "ERR_ABORT"},
        {-440, "ERR_MICR"},
        {-450, "ERR_SCAN"},
        {-460, "ERR_LINE_OVERFLOW"},
        {-470, "ERR_NOT_EXEC"},
        {-1000, "ERR_SIZE"},
        {-1010, "ERR_PAPER_PILED"},
        {-1020, "ERR_PAPER_JAM"},
        {-1030, "ERR_COVER_OPEN"},
        {-1040, "ERR_MICR_NODATA"},
        {-1050, "ERR_MICR_BADDATA"},
        {-1060, "ERR_MICR_PARSE"},
        {-1070, "ERR_MICR_NOISE"},
        {-1080, "ERR_SCN_COMPRESS"},
        {-1090, "ERR_PAPER_EXIST"},
        {-1100, "ERR_PAPER_INSERT"},
        {-1110, "ERR_LESS_CHECKS"},
        {-1120, "ERR_SCN_IQA"},
        {-1130, "ERR_BARCODE_NODATA"},
        {-2000, "ERR_EXEC_SCAN_CHECK_CONTINUOUS"},
        {-2010, "ERR_EXEC_SCAN_CHECK_ONEBYONE"},
        {-2020, "ERR_EXEC_SCAN_IDCARD"},
        {-2030, "ERR_EXEC_PRINT_ROLLPAPER"},
        {-2040, "ERR_EXEC_PRINT_VALIDATION"},
        {-2050, "ERR_FORM_LENGTH"},
        {-2060, "ERR_MECHANICAL"},
    };
    if (const auto it = names.constFind(code); it != names.constEnd())
        return QString::fromLatin1(it.value());
    return QString::number(code);
}

} // namespace ErrorCode
} // namespace trv
