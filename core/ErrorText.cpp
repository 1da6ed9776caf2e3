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

QString errorNumberThenDescription(const Error& error, const QString& separator) {
    if (error.number != 0)
        return QStringLiteral("Num: ") + QString::number(error.number) + separator + error.message;
    qsizetype from = 0;
    while (from < separator.size() && (separator[from] == u',' || separator[from] == u' '))
        ++from;
    return separator.mid(from) + error.message;
}

} // namespace trv
