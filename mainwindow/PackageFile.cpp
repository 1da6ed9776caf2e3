#include "mainwindow/PackageFile.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "mainwindow/PackageState.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"

namespace trv {

Status UlozBalik(const std::filesystem::path& path, qint64 cisloBaliku, const CColStrav& types, PackageState& package) {
    return UlozBalik(path, cisloBaliku, types.kodyVsechTypu(), package);
}

Status UlozBalik(const std::filesystem::path& path, qint64 cisloBaliku, const QStringList& codes,
                 PackageState& package) {
    QByteArray bytes;
    if (TextFiles::exists(path)) {
        Result<QByteArray> old = TextFiles::readBytes(path);
        if (!old)
            return Status::from(old);
        bytes = std::move(old).value();
        // A file whose last line lost its line end would glue the header to that line.
        if (!bytes.isEmpty() && !bytes.endsWith('\n'))
            bytes.append("\r\n");
    }

    QString block = QStringLiteral("#") + QString::number(cisloBaliku) + QStringLiteral("\r\n");
    for (const QString& code : codes) {
        block.append(code);
        block.append(QStringLiteral("\r\n"));
    }
    bytes.append(encodeText(block, TextEncoding::Windows1250));

    const Status written = TextFiles::writeBytes(path, bytes);
    if (!written)
        return written;

    package.gColKodyBaliku.clear();
    package.gColKodyPoslBaliku.clear();
    for (const QString& code : codes)
        package.gColKodyPoslBaliku.append(code);
    return {};
}

void zapisDalsiCisloBaliku(AppState& state, Prompts& prompts) {
    const Status written = state.config.zapis(QStringLiteral("Balickovani"), QStringLiteral("DalsiCisloBaliku"),
                                              signedText(state.gCisloBaliku));
    if (!written)
        prompts.error(written.message());
}

} // namespace trv
