#include "core/ConfigAccess.h"

#include "platform/ProfileFile.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"

#include <QFile>
#include <QFileInfo>

namespace trv {

std::filesystem::path souborProgramu(const std::filesystem::path& folder, const QString& name) {
    return TextFiles::findCaseInsensitive(folder, name).value_or(folder / TextFiles::toPath(name));
}

namespace {

// What a fixed-size profile buffer hands back: the text up to a NUL character, at most `max` characters.
QString cutToBuffer(const QString& value, qsizetype max) {
    qsizetype end = value.indexOf(QChar(u'\0'));
    if (end < 0)
        end = value.size();
    return value.left(std::min(end, max));
}

// A read that got the sentinel back found no such key.
std::optional<QString> unlessSentinel(const QString& value) {
    if (value.startsWith(kMissingSentinel))
        return std::nullopt;
    return value;
}

} // namespace

QString CtiINI(const QString& section, const QString& key, const QString& def, const std::filesystem::path& file) {
    return cutToBuffer(ProfileFile::read(file, section, key, def), kIniValueMax);
}

QString CtiINI2(const QString& section, const QString& key, const QString& def, const std::filesystem::path& file) {
    return CtiINI(section, key, def, file);
}

Config::Config(std::filesystem::path iniFile, std::filesystem::path languageFile)
    : m_iniFile(std::move(iniFile)), m_languageFile(std::move(languageFile)) {}

void Config::setIniFile(std::filesystem::path file) {
    m_iniFile = std::move(file);
    m_rate = RateCache{};
}

void Config::setLanguageFile(std::filesystem::path file) {
    m_languageFile = std::move(file);
    m_cache = LanguageCache{};
}

QString Config::CtiKonfig(const QString& section, const QString& key, const QString& def) const {
    return CtiINI(section, key, def, m_iniFile);
}

std::optional<QString> Config::ctiSentinel(const QString& section, const QString& key) const {
    return unlessSentinel(cutToBuffer(ProfileFile::read(m_iniFile, section, key, kMissingSentinel), kSentinelValueMax));
}

std::optional<QString> Config::ctiCele(const QString& section, const QString& key) const {
    return unlessSentinel(ProfileFile::read(m_iniFile, section, key, kMissingSentinel));
}

Status Config::zapis(const QString& section, const QString& key, const QString& value) const {
    m_rate = RateCache{};
    return ProfileFile::write(m_iniFile, section, key, value);
}

bool Config::maKurzEuro() const {
    if (m_rate.present && m_rate.checked.isValid() && m_rate.checked.elapsed() < 1000)
        return true;
    const QFileInfo info(TextFiles::toQString(m_iniFile));
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    if (!m_rate.present || size != m_rate.size || modified != m_rate.modified) {
        m_rate = RateCache{};
        m_rate.present = ctiSentinel(QStringLiteral("Data"), QStringLiteral("kurzEuro")).has_value();
        m_rate.size = size;
        m_rate.modified = modified;
    }
    m_rate.checked.start();
    return m_rate.present;
}

const IniDocument* Config::languageDocument() const {
    QFile file(TextFiles::toQString(m_languageFile));
    if (m_languageFile.empty() || !file.open(QIODevice::ReadOnly)) {
        m_cache = LanguageCache{};
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    if (!m_cache.loaded || bytes != m_cache.bytes) {
        const DecodedText decoded = decodeText(bytes);
        m_cache = LanguageCache{bytes, IniDocument::fromText(decoded.text, decoded.encoding), true};
    }
    return &m_cache.document;
}

QString Config::DejText(const QString& section, const QString& key) const {
    // A missing or unreadable language file leaves blank captions, never an error.
    static const QString missing = QStringLiteral(" ");
    const IniDocument* doc = languageDocument();
    if (!doc)
        return missing;
    const std::optional<QString> text = doc->value(section, key);
    if (!text)
        return missing;
    return cutToBuffer(*text, kIniValueMax);
}

} // namespace trv
