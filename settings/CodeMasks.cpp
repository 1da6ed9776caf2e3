#include "settings/CodeMasks.h"

#include "core/ConfigAccess.h"
#include "core/ErrorText.h"
#include "core/SharedHelpers.h"
#include "platform/FolderListing.h"
#include "platform/TextFiles.h"

namespace trv {

CodeMasks::CodeMasks(std::filesystem::path programFolder) : m_folder(std::move(programFolder) / "maska") {}

Status CodeMasks::vytvorSlozku() const {
    return TextFiles::createFolder(m_folder);
}

QStringList CodeMasks::soubory() const {
    QStringList names;
    const auto files = FolderListing::list(m_folder, QStringLiteral("*.msk"));
    if (!files.ok())
        return names;
    for (const FolderListing::Entry& f : files.value())
        names.append(f.name);
    return names;
}

std::filesystem::path CodeMasks::soubor(const QString& soubor) const {
    return FolderListing::entryNamed(m_folder, soubor).value_or(m_folder / TextFiles::toPath(soubor));
}

QString CodeMasks::nazevMasky(const QString& soubor) {
    return soubor.left(soubor.size() - 4);
}

QString CodeMasks::chybaNazvu(const QString& nazev) {
    if (nazev.isEmpty())
        return QStringLiteral("Název souboru masky je prázdný.");
    if (nazev == QLatin1String(".") || nazev == QLatin1String("..") || nazev.contains(QLatin1String("..")))
        return QStringLiteral("Název souboru masky „%1“ nesmí obsahovat „..“.").arg(nazev);
    // The characters Windows refuses in file names, which also keep every name inside the mask folder here.
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : nazev) {
        if (forbidden.contains(c) || c.unicode() < 32)
            return QStringLiteral("Název souboru masky „%1“ obsahuje znak, který název souboru nesmí obsahovat (\\ / : "
                                  "* ? \" < > |).")
                .arg(nazev);
    }
    if (nazev.endsWith(u' ') || nazev.endsWith(u'.'))
        return QStringLiteral("Název souboru masky „%1“ nesmí končit mezerou ani tečkou.").arg(nazev);
    return {};
}

Result<QString> CodeMasks::nacti(const QString& soubor) const {
    const Result<QStringList> lines = TextFiles::readLines(this->soubor(soubor));
    if (!lines.ok())
        return lines.error();
    if (lines.value().isEmpty() || lines.value().front().isEmpty())
        return Error{0, QStringLiteral("Soubor masky %1 je prázdný.").arg(TextFiles::toQString(this->soubor(soubor)))};
    return lines.value().front();
}

Status CodeMasks::uloz(const std::filesystem::path& file, const QString& maska) const {
    std::error_code ec;
    if (!std::filesystem::is_directory(m_folder, ec))
        return Status::fail(QStringLiteral("Neexistující cesta."), 60001);
    return TextFiles::writeAll(file, DoplnMasku(maska), TextEncoding::Windows1250);
}

QString CodeMasks::hlaseni(const Config& config, const QString& section, const QString& key, const Error& e,
                           const QString& separator) {
    return config.DejText(section, key) + QStringLiteral("\r\n") + errorNumberThenDescription(e, separator);
}

Status CodeMasks::smaz(const QString& soubor) const {
    return TextFiles::remove(this->soubor(soubor));
}

} // namespace trv
