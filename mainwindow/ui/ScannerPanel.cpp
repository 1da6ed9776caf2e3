#include "mainwindow/ui/ScannerPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

namespace trv {

namespace {

QLabel* picture(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumSize(240, 110);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Box);
    return label;
}

QLineEdit* line(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    return edit;
}

// A result box with its caption before it, so the operator can tell the four lines apart.
QWidget* labelled(QWidget* parent, const char* name, const QString& caption, QLineEdit* edit) {
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(caption, box);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(edit);
    row->addWidget(label);
    row->addWidget(edit, 1);
    return box;
}

} // namespace

ScannerPanel::ScannerPanel(MainWindowLogic& logic, scanner::ScannerDriver& driver, QPushButton& btnScan,
                           QWidget& window, QWidget* parent)
    : QWidget(parent), m_btnScan(btnScan), m_window(window) {
    setObjectName(QStringLiteral("fraScanner"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    m_front = picture(this, "FrontPicture");
    m_back = picture(this, "BackPicture");
    m_micr = line(this, "MicrText");
    m_ocr = line(this, "OcrText");
    m_barcodeFront = line(this, "BarcodeFrontText");
    m_barcodeBack = line(this, "BarcodeBackText");
    grid->addWidget(m_front, 0, 0);
    grid->addWidget(m_back, 0, 1);
    grid->addWidget(labelled(this, "lblMicr", QStringLiteral("MICR:"), m_micr), 1, 0);
    grid->addWidget(labelled(this, "lblOcr", QStringLiteral("OCR:"), m_ocr), 1, 1);
    grid->addWidget(labelled(this, "lblBarcodeFront", QStringLiteral("Kód líc:"), m_barcodeFront), 2, 0);
    grid->addWidget(labelled(this, "lblBarcodeBack", QStringLiteral("Kód rub:"), m_barcodeBack), 2, 1);
    m_host = std::make_unique<ScannerHost>(logic, driver, static_cast<ScanView&>(*this));
    m_btnScan.setText(QStringLiteral("Skenovat"));
    connect(&m_btnScan, &QPushButton::clicked, this, &ScannerPanel::btnScan_Click);
}

ScannerPanel::~ScannerPanel() = default;

void ScannerPanel::open() {
    m_baseCaption = m_window.windowTitle();
    m_host->open();
    m_btnScan.setEnabled(true);
}

void ScannerPanel::btnScan_Click() {
    m_host->btnScan_Click();
}

void ScannerPanel::setScanEnabled(bool enabled) {
    m_btnScan.setEnabled(enabled);
}

void ScannerPanel::showScanImage(const QByteArray& bmp, bool front) {
    QLabel* target = front ? m_front : m_back;
    target->clear();
    const QImage image = QImage::fromData(bmp, "BMP");
    if (image.isNull())
        return;
    target->setPixmap(QPixmap::fromImage(image).scaled(target->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

void ScannerPanel::setMicrText(const QString& text) {
    m_micr->setText(text);
}

void ScannerPanel::setOcrText(const QString& text) {
    m_ocr->setText(text);
}

void ScannerPanel::setBarcodeText(const QString& text, bool front) {
    (front ? m_barcodeFront : m_barcodeBack)->setText(text);
}

void ScannerPanel::setNearFullCaption(bool nearFull) {
    m_window.setWindowTitle(nearFull ? m_baseCaption + QStringLiteral("  -  ***** NearFull *****") : m_baseCaption);
}

} // namespace trv
