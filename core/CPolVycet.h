#pragma once

#include <QString>

#include <utility>

namespace trv {

// One line of a statement: how many codes of one nominal value it counts.
class CPolVycet {
public:
    CPolVycet() = default;
    explicit CPolVycet(QString hodnota) : Hodnota(std::move(hodnota)) {}

    qint32 Pocet = 0;
    QString Hodnota; // the nominal value as text, the key the line is held under
};

} // namespace trv
