#include "receipt/PackageNumbering.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "receipt/ReceiptHost.h"

namespace trv {

namespace {

const QString kData = QStringLiteral("Data");
const QString kPoslBalik = QStringLiteral("MaxVycetkaPoslBalik");
const QString kDatumBaliku = QStringLiteral("MaxVycetkaDatumBaliku1");
const QString kTyden = QStringLiteral("MaxVycetkaTyden");

} // namespace

PackageNumbering::PackageNumbering(AppState& state, Prompts& prompts, const Clock& clock, ReceiptHost& host)
    : m_state(state), m_prompts(prompts), m_clock(clock), m_host(host) {}

QString PackageNumbering::vsechnyJednicky(int count) {
    return QString(std::clamp(count, 0, 17), u'1');
}

QString PackageNumbering::cislaBaliku(const QString& stored, int count) {
    const QString text = stored.trimmed();
    if (text.isEmpty())
        return vsechnyJednicky(count);
    qsizetype digits = 0;
    while (digits < text.size() && text.at(digits).isDigit())
        ++digits;
    QString number = text.left(digits);
    while (number.size() > 1 && number.front() == u'0')
        number.remove(0, 1);
    return number.isEmpty() ? QStringLiteral("0") : number;
}

QString PackageNumbering::balikTypu(const QString& balik, int index) {
    return index >= 0 && index < balik.size() ? QString(balik.at(index)) : QString();
}

int PackageNumbering::pocetSpolecnosti() const {
    return m_state.gColStrav ? m_state.gColStrav->pocetSpolecnosti() : 0;
}

Status PackageNumbering::zapis(const QString& key, const QString& value) const {
    // The configuration file the program was started with, whatever the letter case of its name.
    return m_state.config.zapis(kData, key, value);
}

void PackageNumbering::nactiNastaveni() {
    const Config& config = m_state.config;
    m_state.gMaxVycetkaPoslBalik = cislaBaliku(config.CtiKonfig(kData, kPoslBalik, QString()), pocetSpolecnosti());
    m_state.gMaxVycetkaDatumBaliku1 = config.CtiKonfig(kData, kDatumBaliku, QString()).trimmed();
    if (m_state.gMaxVycetkaDatumBaliku1.isEmpty())
        m_state.gMaxVycetkaDatumBaliku1 = dateYYMMDD(m_clock.today());
    const std::optional<qint64> tyden = toInteger(config.CtiKonfig(kData, kTyden, QString()).trimmed());
    m_state.gMaxVycetkaTyden = tyden && *tyden > 0 ? static_cast<qint32>(*tyden) : 1;
}

Status PackageNumbering::nactiBaliky(bool varovani) {
    auto baliky = std::make_shared<CColStrav>(m_state, m_prompts, m_clock);
    if (const Status loaded = baliky->NactiINI(); !loaded)
        return loaded;
    m_state.gColStravBalik = baliky;
    Booking booking(m_state, *baliky, m_prompts, m_host.reader());
    const Status read = booking.nactiPosledniBalik(m_state.gMaxVycetkaPoslBalik, m_state.gMaxVycetkaTyden, varovani);
    m_host.setPackageSumsText(baliky->GetStrSum());
    return read;
}

Result<QString> PackageNumbering::zmenBalik(const QString& balik, int index, int value, bool up) {
    if (index < 0)
        return balik;
    const QString novy = balik.left(index) + QString::number(value) + balik.mid(index + 1);
    if (const Status written = zapis(kPoslBalik, novy); !written)
        return written.error();
    const Config& config = m_state.config;
    m_state.gMaxVycetkaPoslBalik = cislaBaliku(config.CtiKonfig(kData, kPoslBalik, QString()), pocetSpolecnosti());
    m_state.gMaxVycetkaDatumBaliku1 = config.CtiKonfig(kData, kDatumBaliku, QString()).trimmed();
    if (m_state.gMaxVycetkaDatumBaliku1.isEmpty())
        m_state.gMaxVycetkaPoslBalik = vsechnyJednicky(pocetSpolecnosti());
    if (const Status loaded = nactiBaliky(up); !loaded)
        return loaded.error();
    return m_state.gMaxVycetkaPoslBalik;
}

Result<std::optional<PackageNumbering::Tyden>> PackageNumbering::zmenTyden(int value, bool up) {
    if (up && !m_prompts.askYesNo(QStringLiteral("Opravdu chcete změnit týden a tím nulovat balíky?")))
        return std::optional<Tyden>();
    m_state.gMaxVycetkaPoslBalik = vsechnyJednicky(pocetSpolecnosti());
    if (const Status written = zapis(kPoslBalik, m_state.gMaxVycetkaPoslBalik); !written)
        return written.error();
    m_state.gMaxVycetkaDatumBaliku1 = dateYYMMDD(m_clock.today());
    if (const Status written = zapis(kDatumBaliku, m_state.gMaxVycetkaDatumBaliku1); !written)
        return written.error();
    // The week runs from 1 to 8 and starts again at 1.
    m_state.gMaxVycetkaTyden = up && value >= 9 ? 1 : value;
    if (const Status written = zapis(kTyden, QString::number(m_state.gMaxVycetkaTyden)); !written)
        return written.error();
    if (m_state.gColStravBalik) {
        Booking(m_state, *m_state.gColStravBalik, m_prompts, m_host.reader()).VymazBuf();
        m_host.setPackageSumsText(m_state.gColStravBalik->GetStrSum());
    }
    return std::optional<Tyden>(Tyden{m_state.gMaxVycetkaPoslBalik, m_state.gMaxVycetkaTyden});
}

} // namespace trv
