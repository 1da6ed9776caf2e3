#include "core/ErrorText.h"

namespace trv {

QString errorNumberAndDescription(const Error& error, const QString& numberLabel, const QString& descriptionLabel) {
    return errorNumberAndDescription(error.number != 0 ? QString::number(error.number) : QString(), error.message,
                                     numberLabel, descriptionLabel);
}

QString errorNumberAndDescription(const QString& number, const QString& description, const QString& numberLabel,
                                  const QString& descriptionLabel) {
    const QString described = descriptionLabel + QStringLiteral(": ") + description;
    if (number.isEmpty())
        return described;
    return numberLabel + QStringLiteral(": ") + number + QStringLiteral(", ") + described;
}

} // namespace trv
