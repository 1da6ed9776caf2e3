#include "core/CompanyExport.h"

#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "core/CStrav.h"
#include "platform/Conventions.h"
#include "platform/SystemErrors.h"

#include <QDir>
#include <QFileDevice>
#include <QIODevice>

#include <cerrno>

namespace trv {

namespace {

QString issuerOf(const QString& name) {
    return name.left(3).toUpper();
}

} // namespace

QString radekProSpolecnost(const QString& prefix, const CPolozka& code) {
    if (prefix.toUpper() != QLatin1String("CHE"))
        return code.Kod;
    const QString& c = code.Kod;
    // Character 20 is the layout marker of the cheque and is not handed on.
    return mid(c, 2, 11) + u'<' + mid(c, 13, 7) + mid(c, 21, 2) + u'<' + mid(c, 2, 9) + u'<' +
           QString::number(code.TypNacteni);
}

QStringList ExportProSpolecnosti(const QString& prefix, const CColStrav& types) {
    const QString wanted = prefix.toUpper();
    QStringList lines;
    for (const auto& t : types) {
        if (issuerOf(t->Nazev) != wanted)
            continue;
        for (const auto& code : *t->Polozky)
            lines.append(radekProSpolecnost(wanted, *code));
    }
    return lines;
}

Status ExportProSpolecnosti(const QString& prefix, QIODevice& out, const CColStrav& types, TextEncoding enc) {
    for (const QString& line : ExportProSpolecnosti(prefix, types)) {
        const QByteArray bytes = encodeText(line + QStringLiteral("\r\n"), enc);
        errno = 0;
        if (out.write(bytes) != bytes.size()) {
            // A write cut short leaves no error on the device: the errno saved at once tells why.
            const int savedErrno = errno;
            const auto* file = qobject_cast<const QFileDevice*>(&out);
            const QString name = file ? QDir::toNativeSeparators(file->fileName()) : QStringLiteral("(výstup)");
            const QString reason = file ? SystemErrors::describe(*file, savedErrno) : out.errorString();
            return Status::fail(
                QStringLiteral("Nelze zapsat export pro společnost %1 do souboru %2: %3").arg(prefix, name, reason));
        }
    }
    return Status::success();
}

} // namespace trv
