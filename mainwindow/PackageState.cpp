#include "mainwindow/PackageState.h"

namespace trv {

void PackageCodes::append(const QString& code) {
    m_codes.append(code);
    ++m_count[code];
}

void PackageCodes::clear() {
    m_codes.clear();
    m_count.clear();
}

PackageState::PackageState(QObject* parent) : QObject(parent) {}

PackageState::~PackageState() = default;

void PackageState::dropCurrent() {
    gSumaVse -= gSumaBalik;
    gSumaBalik = Currency();
    gColKodyBaliku.clear();
}

} // namespace trv
