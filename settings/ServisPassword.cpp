#include "settings/ServisPassword.h"

#include <QByteArray>
#include <QCryptographicHash>

namespace trv {

bool overServisHeslo(const QString& zadane) {
    // Digests of equal length make the comparison independent of the typed text's length and content.
    const QByteArray a = QCryptographicHash::hash(zadane.toUtf8(), QCryptographicHash::Sha256);
    const QByteArray b = QCryptographicHash::hash(kServisHeslo.toUtf8(), QCryptographicHash::Sha256);
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    return diff == 0;
}

} // namespace trv
