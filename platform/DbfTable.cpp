#include "platform/DbfTable.h"

#include "platform/SystemErrors.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>

#include <shapefil.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace trv {

// ---------------------------------------------------------------------------------------------------------------
// shapelib file hooks
//
// shapelib reports trouble on stderr and ignores some failed writes and flushes; it also derives the file names it
// opens from the name it is given (".dbf", then ".DBF", plus ".cpg" side files). The hooks below open exactly the
// file we mean and collect every failure, so that each call into shapelib can be checked and reported.
// ---------------------------------------------------------------------------------------------------------------
namespace {

struct HookContext {
    const std::string* exactPath = nullptr;
    QStringList errors;
    // The system errors told so far: a later failure of the same cause (the close after a failed write, a second
    // close) says nothing new, and the operator reads each cause once.
    QList<int> causes;
    // A read that fails after a write failed is its consequence (shapelib rereads the header after writing a
    // record): the operator is told about the write, which is what went wrong.
    bool writeFailed = false;
};

thread_local HookContext* t_context = nullptr;

void noteError(const QString& message) {
    if (t_context != nullptr)
        t_context->errors.append(message);
}

// A failed call of the system, `what` failed (empty for an open, which the caller names), for the cause `error`.
void noteSystemError(const QString& what, int error) {
    if (error == 0)
        error = EIO;
    if (t_context != nullptr) {
        if (t_context->causes.contains(error))
            return;
        t_context->causes.append(error);
    }
    const QString reason = SystemErrors::describe(error);
    noteError(what.isEmpty() ? reason : what + QStringLiteral(": ") + reason);
}

const SAHooks& defaultHooks() {
    static const SAHooks hooks = [] {
        SAHooks h;
        SASetupDefaultHooks(&h);
        return h;
    }();
    return hooks;
}

SAFile hookOpen(const char* name, const char* access) {
    // Only the table file itself is ours: the ".DBF" retry and the code page side files are not used (the
    // encoding is in the header).
    if (t_context == nullptr || t_context->exactPath == nullptr || !std::string_view(name).ends_with(".dbf"))
        return nullptr;
    errno = 0;
    SAFile file = defaultHooks().FOpen(t_context->exactPath->c_str(), access);
    if (file == nullptr)
        noteSystemError({}, errno);
    return file;
}

void noteWriteError(int error) {
    if (t_context != nullptr && t_context->writeFailed)
        return;
    noteSystemError(QStringLiteral("zápis do souboru selhal"), error);
    if (t_context != nullptr)
        t_context->writeFailed = true;
}

SAOffset hookRead(void* buffer, SAOffset size, SAOffset count, SAFile file) {
    const SAOffset done = defaultHooks().FRead(buffer, size, count, file);
    if (done != count && (t_context == nullptr || !t_context->writeFailed))
        noteError(QStringLiteral("čtení ze souboru selhalo"));
    return done;
}

SAOffset hookWrite(void* buffer, SAOffset size, SAOffset count, SAFile file) {
    errno = 0;
    const SAOffset done = defaultHooks().FWrite(buffer, size, count, file);
    if (done != count)
        noteWriteError(errno);
    return done;
}

SAOffset hookSeek(SAFile file, SAOffset offset, int whence) {
    // A seek first writes out what is buffered: on a full disk it is the seek that fails, and for a write.
    errno = 0;
    const SAOffset result = defaultHooks().FSeek(file, offset, whence);
    if (result != 0) {
        const int error = errno;
        bool writing = error == ENOSPC || error == EFBIG || error == EIO;
#ifdef EDQUOT
        writing = writing || error == EDQUOT;
#endif
        if (writing)
            noteWriteError(error);
        else
            noteSystemError(QStringLiteral("přesun v souboru selhal"), error);
    }
    return result;
}

int hookFlush(SAFile file) {
    errno = 0;
    const int result = defaultHooks().FFlush(file);
    if (result != 0)
        noteWriteError(errno);
    return result;
}

int hookClose(SAFile file) {
    errno = 0;
    const int result = defaultHooks().FClose(file);
    if (result != 0)
        noteSystemError(QStringLiteral("zavření souboru selhalo"), errno);
    return result;
}

int hookRemove(const char*) {
    // shapelib removes a ".cpg" side file of the same name when it creates a table; that file is not ours.
    return 0;
}

void hookError(const char* message) {
    // shapelib's own account of a failed system call repeats its cause in other words (and names the temporary
    // file): the cause told is enough.
    if (t_context != nullptr && !t_context->causes.isEmpty())
        return;
    noteError(QString::fromLocal8Bit(message));
}

SAHooks tableHooks() {
    SAHooks hooks = defaultHooks();
    hooks.FOpen = hookOpen;
    hooks.FRead = hookRead;
    hooks.FWrite = hookWrite;
    hooks.FSeek = hookSeek;
    hooks.FFlush = hookFlush;
    hooks.FClose = hookClose;
    hooks.Remove = hookRemove;
    hooks.Error = hookError;
    return hooks;
}

/// Collects the failures of the shapelib calls made while it lives.
class HookScope {
public:
    explicit HookScope(const std::string* exactPath = nullptr) : m_previous(t_context) {
        m_context.exactPath = exactPath;
        t_context = &m_context;
    }
    ~HookScope() { t_context = m_previous; }
    HookScope(const HookScope&) = delete;
    HookScope& operator=(const HookScope&) = delete;

    bool failed() const { return !m_context.errors.isEmpty(); }
    QString reason() const {
        return m_context.errors.isEmpty() ? QStringLiteral("neznámá chyba")
                                          : m_context.errors.join(QStringLiteral("; "));
    }

private:
    HookContext m_context;
    HookContext* m_previous;
};

// ---------------------------------------------------------------------------------------------------------------

constexpr int kMaxNameLength = 10;
constexpr int kMaxFields = 128;
constexpr int kMaxRecordLength = 4000;
constexpr int kMaxCharacterWidth = 254;
constexpr int kMaxNumericWidth = 20;
constexpr int kMaxDecimals = 15;
constexpr int kHeaderSize = 32;
constexpr int kDescriptorSize = 32;
constexpr char kHeaderEnd = 0x0D;
constexpr char kDeletedMark = '*';
// dBASE language driver id of Windows-1250 (Central European).
constexpr const char* kWindows1250Ldid = "LDID/200";

QString displayPath(const std::filesystem::path& p) {
    return QDir::toNativeSeparators(QString::fromStdU16String(p.u16string()));
}

QString typeName(DbfFieldType type) {
    return QString(QLatin1Char(static_cast<char>(type)));
}

Status notATable(const std::filesystem::path& file, const QString& reason) {
    return Status::fail(QStringLiteral("Soubor %1 není tabulka dBASE: %2.").arg(displayPath(file), reason));
}

QString decodeText(QByteArray bytes) {
    while (!bytes.isEmpty() && (bytes.back() == ' ' || bytes.back() == '\0'))
        bytes.chop(1);
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

std::optional<QByteArray> encodeText(const QString& text) {
    QStringEncoder encoder("windows-1250");
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QDate today() {
    return QDate::currentDate();
}

constexpr qint64 kUnits = Currency::kUnitsPerWhole;
constexpr qint64 kMaxWholeCurrency = std::numeric_limits<qint64>::max() / kUnits;

// The number's text rounded to `decimals`, a tie away from zero as the amount's text would be. Rounded in 128 bits:
// the rounding of an amount at an end of the money type lies past that end (922337203685477.5807 is 922337203685478
// with no decimals), and its text is written or refused as too wide, never clamped back into the range.
QString numberText(const DbfValue& value, int decimals) {
    if (const auto whole = value.toInteger()) {
        QString text = QString::number(*whole);
        if (decimals > 0)
            text += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
        return text;
    }
    const qint64 units = value.toCurrency()->units();
    const bool negative = units < 0;
    unsigned __int128 magnitude = negative ? -static_cast<__int128>(units) : static_cast<__int128>(units);
    const int kept = std::min(decimals, 4);
    unsigned __int128 dropped = 1;
    for (int i = kept; i < 4; ++i)
        dropped *= 10;
    const unsigned __int128 rest = magnitude % dropped;
    magnitude = magnitude / dropped + (2 * rest >= dropped ? 1 : 0);
    unsigned __int128 scale = 1;
    for (int i = 0; i < kept; ++i)
        scale *= 10;
    // The magnitude is at most 2^63 (the least amount, in ten-thousandths): both parts fit 64 bits.
    QString text = negative && magnitude != 0 ? QStringLiteral("-") : QString();
    text += QString::number(static_cast<quint64>(magnitude / scale));
    if (decimals > 0) {
        text += QLatin1Char('.');
        if (kept > 0)
            text += QStringLiteral("%1").arg(static_cast<quint64>(magnitude % scale), kept, 10, QLatin1Char('0'));
        text += QString(decimals - kept, QLatin1Char('0'));
    }
    return text;
}

/// Reads the decimal text of a numeric field; a blank field (or dBASE's "****" of a value that did not fit) is
/// null. Whole numbers stay whole; fractions become currency, rounded half to even past four decimals.
Result<DbfValue> parseNumber(const QByteArray& field) {
    const QByteArray text = field.trimmed();
    if (text.isEmpty() || text.startsWith('*') || text.count('\0') == text.size())
        return DbfValue();
    qsizetype i = 0;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+')
        negative = text[i++] == '-';
    QByteArray whole;
    QByteArray fraction;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            (point ? fraction : whole).append(c);
        else if (c == '.' && !point)
            point = true;
        else
            return Result<DbfValue>::fail(QStringLiteral("\"%1\" není číslo").arg(QString::fromLatin1(text)));
    }
    if (whole.isEmpty() && fraction.isEmpty())
        return Result<DbfValue>::fail(QStringLiteral("\"%1\" není číslo").arg(QString::fromLatin1(text)));
    while (whole.size() > 1 && whole.front() == '0')
        whole.remove(0, 1);
    const auto outOfRange = [&] {
        return Result<DbfValue>::fail(QStringLiteral("číslo %1 je příliš velké").arg(QString::fromLatin1(text)));
    };
    if (whole.size() > 18)
        return outOfRange();
    const qint64 wholeValue = whole.isEmpty() ? 0 : whole.toLongLong();
    if (!point)
        return DbfValue::integer(negative ? -wholeValue : wholeValue);
    // Every amount the money type holds is read back, up to its last ten-thousandth.
    const QByteArray kept = fraction.left(4).leftJustified(4, '0');
    qint64 units = 0;
    if (__builtin_mul_overflow(wholeValue, kUnits, &units) || __builtin_add_overflow(units, kept.toLongLong(), &units))
        return outOfRange();
    if (fraction.size() > 4) {
        const QByteArray rest = fraction.mid(4);
        const char first = rest.front();
        const bool moreAfterFive = rest.mid(1).count('0') != rest.size() - 1;
        if (first > '5' || (first == '5' && (moreAfterFive || units % 2 != 0))) {
            if (units == std::numeric_limits<qint64>::max())
                return outOfRange();
            ++units;
        }
    }
    return DbfValue::number(Currency::fromUnits(negative ? -units : units));
}

struct HeaderInfo {
    std::vector<DbfField> fields;
    std::vector<int> offsets;
    int recordLength = 0;
    int recordCount = 0;
};

/// Checks that the file really is a dBASE table before shapelib sees it: shapelib accepts almost any file.
Result<HeaderInfo> readHeader(const std::filesystem::path& file) {
    QFile f(QString::fromStdU16String(file.u16string()));
    errno = 0;
    if (!f.open(QIODevice::ReadOnly))
        return Result<HeaderInfo>::fail(
            QStringLiteral("Tabulku %1 nelze otevřít: %2").arg(displayPath(file), SystemErrors::describe(f, errno)));
    const qint64 fileSize = f.size();
    const QByteArray head = f.read(kHeaderSize);
    const auto fail = [&](const QString& reason) { return Result<HeaderInfo>(notATable(file, reason).error()); };
    if (head.size() < kHeaderSize)
        return fail(QStringLiteral("soubor je příliš krátký"));
    const auto byte = [](const QByteArray& b, int i) { return static_cast<unsigned char>(b[i]); };
    static constexpr unsigned char kVersions[] = {0x03, 0x04, 0x05, 0x30, 0x31, 0x43,
                                                  0x63, 0x83, 0x8B, 0xCB, 0xF5, 0xFB};
    if (std::find(std::begin(kVersions), std::end(kVersions), byte(head, 0)) == std::end(kVersions))
        return fail(QStringLiteral("neznámá verze souboru"));
    if (byte(head, 2) > 12 || byte(head, 3) > 31)
        return fail(QStringLiteral("chybné datum v hlavičce"));
    const qint64 recordCount = byte(head, 4) | byte(head, 5) << 8 | byte(head, 6) << 16 | (byte(head, 7) & 0x7F) << 24;
    const int headerLength = byte(head, 8) | byte(head, 9) << 8;
    const int recordLength = byte(head, 10) | byte(head, 11) << 8;
    if (headerLength < kHeaderSize + kDescriptorSize + 1 || headerLength > fileSize)
        return fail(QStringLiteral("chybná délka hlavičky"));
    const QByteArray descriptors = f.read(headerLength - kHeaderSize);
    if (descriptors.size() != headerLength - kHeaderSize)
        return fail(QStringLiteral("soubor je příliš krátký"));

    HeaderInfo info;
    int offset = 1;
    bool ended = false;
    for (int pos = 0; pos < descriptors.size(); pos += kDescriptorSize) {
        if (descriptors[pos] == kHeaderEnd) {
            ended = true;
            break;
        }
        const int number = pos / kDescriptorSize + 1;
        if (pos + kDescriptorSize > descriptors.size())
            return fail(QStringLiteral("chybný popis pole č. %1").arg(number));
        const QByteArray d = descriptors.mid(pos, kDescriptorSize);
        QByteArray name = d.left(11);
        name.truncate(name.indexOf('\0') < 0 ? name.size() : name.indexOf('\0'));
        const bool printable = std::all_of(name.begin(), name.end(), [](char c) { return c > 0x20 && c < 0x7F; });
        if (name.isEmpty() || !printable)
            return fail(QStringLiteral("chybný název pole č. %1").arg(number));
        const char type = d[11];
        const int width = byte(d, 16);
        DbfField field{QString::fromLatin1(name), DbfFieldType::Character, width, 0};
        switch (type) {
        case 'C':
            break;
        case 'N':
        case 'F':
            field.type = DbfFieldType::Numeric;
            field.decimals = byte(d, 17);
            break;
        case 'D':
            field.type = DbfFieldType::Date;
            break;
        case 'L':
            field.type = DbfFieldType::Logical;
            break;
        default:
            return fail(QStringLiteral("pole %1 má nepodporovaný typ \"%2\"")
                            .arg(field.name, QString::fromLatin1(QByteArray(1, type))));
        }
        if (width < 1 || (field.type == DbfFieldType::Date && width != 8))
            return fail(QStringLiteral("pole %1 má chybnou šířku").arg(field.name));
        info.fields.push_back(field);
        info.offsets.push_back(offset);
        offset += width;
    }
    if (!ended)
        return fail(QStringLiteral("chybí konec hlavičky"));
    if (info.fields.empty())
        return fail(QStringLiteral("tabulka nemá žádné pole"));
    // A longer record (padding after the last field) is read; a shorter one cannot hold its fields.
    if (recordLength < offset)
        return fail(QStringLiteral("délka záznamu %1 je menší než součet šířek polí %2").arg(recordLength).arg(offset));
    if (headerLength + recordCount * recordLength > fileSize)
        return fail(QStringLiteral("soubor je kratší, než udává počet záznamů"));
    info.recordLength = recordLength;
    info.recordCount = static_cast<int>(recordCount);
    return info;
}

/// A file name in the table's folder that nobody else uses, created empty (with the usual permissions) so that
/// shapelib can fill it; removed again unless release() is called.
class TemporaryTableFile {
public:
    explicit TemporaryTableFile(const std::filesystem::path& table) {
        const QString base = QString::fromStdU16String(table.u16string());
        for (int attempt = 0; attempt < 100 && m_name.isEmpty(); ++attempt) {
            const QString candidate = QStringLiteral("%1.%2.tmp")
                                          .arg(base)
                                          .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
            QFile file(candidate);
            errno = 0;
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                m_name = candidate;
            else if (file.exists())
                continue;
            else {
                m_error = SystemErrors::describe(file, errno);
                break;
            }
        }
        m_native = QFile::encodeName(m_name).toStdString();
    }
    ~TemporaryTableFile() {
        if (!m_name.isEmpty() && !m_released)
            QFile::remove(m_name);
    }
    TemporaryTableFile(const TemporaryTableFile&) = delete;
    TemporaryTableFile& operator=(const TemporaryTableFile&) = delete;

    bool ok() const { return !m_name.isEmpty(); }
    const QString& error() const { return m_error; }
    const std::string& native() const { return m_native; }
    std::filesystem::path path() const { return std::filesystem::path(m_name.toStdU16String()); }
    void release() { m_released = true; }

private:
    QString m_name;
    QString m_error;
    std::string m_native;
    bool m_released = false;
};

/// Puts a finished temporary file in place of the table file in one step, keeping the old file's permissions. The
/// reason of a failure.
std::optional<QString> replaceFile(TemporaryTableFile& temporary, const std::filesystem::path& target) {
    std::error_code ec;
    const auto oldPermissions = std::filesystem::status(target, ec).permissions();
    if (!ec && std::filesystem::exists(target, ec))
        std::filesystem::permissions(temporary.path(), oldPermissions, ec);
    std::filesystem::rename(temporary.path(), target, ec);
    if (ec)
        return SystemErrors::describe(ec);
    temporary.release();
    return std::nullopt;
}

void setModifiedToday(DBFHandle handle) {
    const QDate d = today();
    DBFSetLastModifiedDate(handle, d.year() - 1900, d.month(), d.day());
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// DbfValue, DbfRecord
// ---------------------------------------------------------------------------------------------------------------

QString DbfValue::toText() const {
    const auto* text = std::get_if<QString>(&m_value);
    return text != nullptr ? *text : QString();
}

std::optional<Currency> DbfValue::toCurrency() const {
    if (const auto* c = std::get_if<Currency>(&m_value))
        return *c;
    if (const auto* i = std::get_if<qint64>(&m_value)) {
        if (*i > kMaxWholeCurrency || *i < -kMaxWholeCurrency)
            return std::nullopt;
        return Currency::fromInt(*i);
    }
    return std::nullopt;
}

std::optional<qint64> DbfValue::toInteger() const {
    if (const auto* i = std::get_if<qint64>(&m_value))
        return *i;
    if (const auto* c = std::get_if<Currency>(&m_value)) {
        if (c->units() % kUnits == 0)
            return c->units() / kUnits;
    }
    return std::nullopt;
}

QDate DbfValue::toDate() const {
    const auto* d = std::get_if<QDate>(&m_value);
    return d != nullptr ? *d : QDate();
}

std::optional<bool> DbfValue::toLogical() const {
    const auto* b = std::get_if<bool>(&m_value);
    return b != nullptr ? std::optional<bool>(*b) : std::nullopt;
}

bool operator==(const DbfValue& a, const DbfValue& b) {
    if (a.isNumber() && b.isNumber()) {
        const auto ai = a.toInteger();
        const auto bi = b.toInteger();
        if (ai && bi)
            return *ai == *bi;
        return a.toCurrency() && b.toCurrency() && *a.toCurrency() == *b.toCurrency();
    }
    return a.m_value == b.m_value;
}

DbfRecord::DbfRecord(std::shared_ptr<const std::vector<DbfField>> fields, std::vector<DbfValue> values, int row)
    : m_fields(std::move(fields)), m_values(std::move(values)), m_row(row) {}

const DbfValue& DbfRecord::value(int field) const {
    static const DbfValue null;
    return field >= 0 && field < size() ? m_values[static_cast<size_t>(field)] : null;
}

const DbfValue& DbfRecord::value(QStringView fieldName) const {
    if (m_fields) {
        for (size_t i = 0; i < m_fields->size(); ++i) {
            if (QStringView((*m_fields)[i].name).compare(fieldName, Qt::CaseInsensitive) == 0)
                return value(static_cast<int>(i));
        }
    }
    return value(-1);
}

// ---------------------------------------------------------------------------------------------------------------
// DbfTable
// ---------------------------------------------------------------------------------------------------------------

struct DbfTable::Handle {
    explicit Handle(DBFHandle h) : dbf(h) {}
    ~Handle() {
        HookScope scope;
        DBFClose(dbf);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    DBFHandle dbf;
};

DbfTable::DbfTable(std::filesystem::path path, std::unique_ptr<Handle> handle,
                   std::shared_ptr<const std::vector<DbfField>> fields, std::vector<int> offsets, int recordLength,
                   Access access)
    : m_path(std::move(path)), m_handle(std::move(handle)), m_fields(std::move(fields)), m_offsets(std::move(offsets)),
      m_recordLength(recordLength), m_access(access) {}

DbfTable::DbfTable(DbfTable&& other) noexcept = default;
DbfTable& DbfTable::operator=(DbfTable&& other) noexcept = default;
DbfTable::~DbfTable() = default;

Status DbfTable::checkFields(const std::vector<DbfField>& fields) {
    if (fields.empty())
        return Status::fail(QStringLiteral("Tabulka dBASE musí mít aspoň jedno pole."));
    if (fields.size() > kMaxFields)
        return Status::fail(QStringLiteral("Tabulka dBASE může mít nejvýše %1 polí.").arg(kMaxFields));
    int recordLength = 1;
    for (size_t i = 0; i < fields.size(); ++i) {
        const DbfField& f = fields[i];
        if (f.name.size() > kMaxNameLength)
            return Status::fail(QStringLiteral("Název pole \"%1\" je delší než %2 znaků, které dBASE dovoluje.")
                                    .arg(f.name)
                                    .arg(kMaxNameLength));
        const bool nameOk = !f.name.isEmpty() && f.name.front().isLetter() && f.name.front().unicode() < 0x80 &&
                            std::all_of(f.name.begin(), f.name.end(), [](QChar c) {
                                return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('_'));
                            });
        if (!nameOk)
            return Status::fail(QStringLiteral("Název pole \"%1\" není platný název pole dBASE.").arg(f.name));
        for (size_t j = 0; j < i; ++j) {
            if (fields[j].name.compare(f.name, Qt::CaseInsensitive) == 0)
                return Status::fail(QStringLiteral("Pole \"%1\" je v tabulce dvakrát.").arg(f.name));
        }
        const auto badWidth = [&] {
            return Status::fail(QStringLiteral("Pole \"%1\" typu %2 nemůže mít šířku %3 a %4 desetinných míst.")
                                    .arg(f.name, typeName(f.type))
                                    .arg(f.width)
                                    .arg(f.decimals));
        };
        int width = f.width;
        switch (f.type) {
        case DbfFieldType::Character:
            if (width < 1 || width > kMaxCharacterWidth || f.decimals != 0)
                return badWidth();
            break;
        case DbfFieldType::Numeric:
            if (width < 1 || width > kMaxNumericWidth || f.decimals < 0 || f.decimals > kMaxDecimals ||
                (f.decimals > 0 && f.decimals > width - 2))
                return badWidth();
            break;
        case DbfFieldType::Date:
            if ((width != 0 && width != 8) || f.decimals != 0)
                return badWidth();
            width = 8;
            break;
        case DbfFieldType::Logical:
            if ((width != 0 && width != 1) || f.decimals != 0)
                return badWidth();
            width = 1;
            break;
        default:
            return Status::fail(QStringLiteral("Pole \"%1\" má nepodporovaný typ.").arg(f.name));
        }
        recordLength += width;
    }
    if (recordLength > kMaxRecordLength)
        return Status::fail(QStringLiteral("Záznam tabulky dBASE může mít nejvýše %1 znaků.").arg(kMaxRecordLength));
    return {};
}

Result<DbfTable> DbfTable::create(const std::filesystem::path& file, const std::vector<DbfField>& fields,
                                  IfExists ifExists) {
    const auto failure = [&](const QString& reason) {
        return Result<DbfTable>::fail(QStringLiteral("Tabulku %1 nelze vytvořit: %2").arg(displayPath(file), reason));
    };
    if (const Status checked = checkFields(fields); !checked)
        return failure(checked.message());
    std::error_code ec;
    if (ifExists == IfExists::Fail && std::filesystem::exists(file, ec))
        return failure(QStringLiteral("tabulka už existuje."));

    TemporaryTableFile temporary(file);
    if (!temporary.ok())
        return failure(temporary.error());
    {
        HookScope scope(&temporary.native());
        SAHooks hooks = tableHooks();
        DBFHandle handle = DBFCreateLL(temporary.native().c_str(), kWindows1250Ldid, &hooks);
        if (handle == nullptr)
            return failure(scope.reason());
        for (const DbfField& f : fields) {
            const int width = f.type == DbfFieldType::Date ? 8 : f.type == DbfFieldType::Logical ? 1 : f.width;
            const QByteArray name = f.name.toUpper().toLatin1();
            if (DBFAddNativeFieldType(handle, name.constData(), static_cast<char>(f.type), width, f.decimals) < 0) {
                DBFClose(handle);
                return failure(scope.reason());
            }
        }
        setModifiedToday(handle);
        DBFClose(handle);
        if (scope.failed())
            return failure(scope.reason());
    }
    if (const auto reason = replaceFile(temporary, file))
        return failure(*reason);
    return open(file, Access::ReadWrite);
}

Result<DbfTable> DbfTable::open(const std::filesystem::path& file, Access access) {
    Result<HeaderInfo> header = readHeader(file);
    if (!header)
        return header.error();
    const std::string native = file.string();
    HookScope scope(&native);
    SAHooks hooks = tableHooks();
    DBFHandle handle = DBFOpenLL(native.c_str(), access == Access::ReadWrite ? "rb+" : "rb", &hooks);
    if (handle == nullptr)
        return Result<DbfTable>::fail(
            QStringLiteral("Tabulku %1 nelze otevřít: %2").arg(displayPath(file), scope.reason()));
    auto owned = std::make_unique<Handle>(handle);
    HeaderInfo& info = header.value();
    if (DBFGetFieldCount(handle) != static_cast<int>(info.fields.size()) ||
        DBFGetRecordCount(handle) != info.recordCount)
        return Result<DbfTable>(notATable(file, QStringLiteral("hlavička je poškozená")).error());
    return DbfTable(file, std::move(owned), std::make_shared<const std::vector<DbfField>>(std::move(info.fields)),
                    std::move(info.offsets), info.recordLength, access);
}

int DbfTable::fieldIndex(QStringView name) const {
    for (size_t i = 0; i < m_fields->size(); ++i) {
        if (QStringView((*m_fields)[i].name).compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int DbfTable::recordCount() const {
    return m_handle ? DBFGetRecordCount(m_handle->dbf) : 0;
}

Status DbfTable::checkWritable(const QString& operation) const {
    if (!m_handle)
        return Status::fail(QStringLiteral("%1 tabulky %2: tabulka je zavřená.").arg(operation, displayPath(m_path)));
    if (m_access != Access::ReadWrite)
        return Status::fail(
            QStringLiteral("%1 tabulky %2: tabulka je otevřená jen pro čtení.").arg(operation, displayPath(m_path)));
    return {};
}

Status DbfTable::checkRow(int row, const QString& operation) const {
    if (!m_handle)
        return Status::fail(QStringLiteral("%1 tabulky %2: tabulka je zavřená.").arg(operation, displayPath(m_path)));
    if (row < 0 || row >= recordCount())
        return Status::fail(
            QStringLiteral("%1 tabulky %2: záznam %3 neexistuje.").arg(operation, displayPath(m_path)).arg(row + 1));
    return {};
}

Result<QByteArray> DbfTable::rawRecord(int row) const {
    const QString operation = QStringLiteral("Čtení");
    if (const Status s = checkRow(row, operation); !s)
        return s.error();
    HookScope scope;
    const char* raw = DBFReadTuple(m_handle->dbf, row);
    if (raw == nullptr || scope.failed())
        return Result<QByteArray>::fail(
            QStringLiteral("Čtení tabulky %1 selhalo: %2").arg(displayPath(m_path), scope.reason()));
    return QByteArray(raw, m_recordLength);
}

Result<DbfRecord> DbfTable::decode(int row, const QByteArray& raw) const {
    std::vector<DbfValue> values;
    values.reserve(m_fields->size());
    for (size_t i = 0; i < m_fields->size(); ++i) {
        const DbfField& f = (*m_fields)[i];
        const QByteArray bytes = raw.mid(m_offsets[i], f.width);
        const auto bad = [&](const QString& reason) {
            return Result<DbfRecord>::fail(QStringLiteral("Tabulka %1, záznam %2, pole %3: %4.")
                                               .arg(displayPath(m_path))
                                               .arg(row + 1)
                                               .arg(f.name, reason));
        };
        switch (f.type) {
        case DbfFieldType::Character:
            values.push_back(DbfValue::text(decodeText(bytes)));
            break;
        case DbfFieldType::Numeric: {
            Result<DbfValue> number = parseNumber(bytes);
            if (!number)
                return bad(number.message());
            values.push_back(number.value());
            break;
        }
        case DbfFieldType::Date: {
            const QByteArray text = bytes.trimmed();
            if (text.isEmpty() || text == "00000000") {
                values.emplace_back();
                break;
            }
            const QDate date = QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyyMMdd"));
            if (text.size() != 8 || !date.isValid())
                return bad(QStringLiteral("\"%1\" není datum").arg(QString::fromLatin1(text)));
            values.push_back(DbfValue::date(date));
            break;
        }
        case DbfFieldType::Logical: {
            const char c = bytes.isEmpty() ? ' ' : bytes[0];
            if (c == 'T' || c == 't' || c == 'Y' || c == 'y')
                values.push_back(DbfValue::logical(true));
            else if (c == 'F' || c == 'f' || c == 'N' || c == 'n')
                values.push_back(DbfValue::logical(false));
            else if (c == '?' || c == ' ' || c == '\0')
                values.emplace_back();
            else
                return bad(QStringLiteral("\"%1\" není logická hodnota").arg(QString::fromLatin1(bytes)));
            break;
        }
        }
    }
    return DbfRecord(m_fields, std::move(values), row);
}

Result<bool> DbfTable::isDeleted(int row) const {
    Result<QByteArray> raw = rawRecord(row);
    if (!raw)
        return raw.error();
    return raw.value().front() == kDeletedMark;
}

Result<DbfRecord> DbfTable::read(int row) const {
    Result<QByteArray> raw = rawRecord(row);
    if (!raw)
        return raw.error();
    return decode(row, raw.value());
}

Result<std::vector<DbfRecord>> DbfTable::readAll() const {
    std::vector<DbfRecord> records;
    const int count = recordCount();
    for (int row = 0; row < count; ++row) {
        Result<QByteArray> raw = rawRecord(row);
        if (!raw)
            return raw.error();
        if (raw.value().front() == kDeletedMark)
            continue;
        Result<DbfRecord> record = decode(row, raw.value());
        if (!record)
            return record.error();
        records.push_back(std::move(record).value());
    }
    return records;
}

Result<std::vector<int>> DbfTable::find(const std::function<bool(const DbfRecord&)>& matches) const {
    Result<std::vector<DbfRecord>> records = readAll();
    if (!records)
        return records.error();
    std::vector<int> rows;
    for (const DbfRecord& r : records.value()) {
        if (matches(r))
            rows.push_back(r.row());
    }
    return rows;
}

Status DbfTable::encodeInto(QByteArray& raw, const DbfFieldValues& values) const {
    for (const auto& [name, value] : values) {
        const int index = fieldIndex(name);
        const auto bad = [&](const QString& reason) {
            return Status::fail(QStringLiteral("Zápis do tabulky %1: %2").arg(displayPath(m_path), reason));
        };
        if (index < 0)
            return bad(QStringLiteral("tabulka nemá pole %1.").arg(name));
        const DbfField& f = (*m_fields)[static_cast<size_t>(index)];
        const auto wrongType = [&] {
            return bad(
                QStringLiteral("do pole %1 typu %2 nelze zapsat hodnotu jiného typu.").arg(f.name, typeName(f.type)));
        };
        QByteArray bytes;
        if (value.isNull()) {
            bytes = QByteArray(f.width, f.type == DbfFieldType::Logical ? '?' : ' ');
        } else {
            switch (f.type) {
            case DbfFieldType::Character: {
                if (!value.isText())
                    return wrongType();
                const std::optional<QByteArray> encoded = encodeText(value.toText());
                if (!encoded)
                    return bad(
                        QStringLiteral("text \"%1\" pro pole %2 obsahuje znaky, které kódování Windows-1250 nemá.")
                            .arg(value.toText(), f.name));
                if (encoded->size() > f.width)
                    return bad(QStringLiteral("text \"%1\" je delší než pole %2 (%3 znaků).")
                                   .arg(value.toText(), f.name)
                                   .arg(f.width));
                bytes = encoded->leftJustified(f.width, ' ');
                break;
            }
            case DbfFieldType::Numeric: {
                if (!value.isNumber())
                    return wrongType();
                const QString text = numberText(value, f.decimals);
                if (text.size() > f.width)
                    return bad(QStringLiteral("číslo %1 se nevejde do pole %2 (šířka %3, desetinná místa %4).")
                                   .arg(text, f.name)
                                   .arg(f.width)
                                   .arg(f.decimals));
                bytes = text.rightJustified(f.width, QLatin1Char(' ')).toLatin1();
                break;
            }
            case DbfFieldType::Date:
                if (!value.isDate())
                    return wrongType();
                if (value.toDate().year() < 1 || value.toDate().year() > 9999)
                    return bad(QStringLiteral("datum pole %1 je mimo roky 1 až 9999.").arg(f.name));
                bytes = value.toDate().toString(QStringLiteral("yyyyMMdd")).toLatin1();
                break;
            case DbfFieldType::Logical:
                if (!value.isLogical())
                    return wrongType();
                // Another writer may have made the field wider than one: the rest of it stays blank.
                bytes = QByteArray(1, *value.toLogical() ? 'T' : 'F').leftJustified(f.width, ' ');
                break;
            }
        }
        // A value of another width would shift the rest of the record and leave shapelib a buffer shorter than
        // the record it writes.
        Q_ASSERT(bytes.size() == f.width);
        raw.replace(m_offsets[static_cast<size_t>(index)], f.width, bytes.leftJustified(f.width, ' ', true));
    }
    return {};
}

Status DbfTable::writeRaw(int row, const QByteArray& raw, const QString& operation) {
    HookScope scope;
    setModifiedToday(m_handle->dbf);
    QByteArray record = raw;
    const bool written = DBFWriteTuple(m_handle->dbf, row, record.data()) != 0;
    // Flushes the record and the record count, so that the file is complete after every call.
    DBFUpdateHeader(m_handle->dbf);
    if (!written || scope.failed())
        return Status::fail(
            QStringLiteral("%1 tabulky %2 selhal: %3").arg(operation, displayPath(m_path), scope.reason()));
    return {};
}

Result<int> DbfTable::append(const DbfFieldValues& values) {
    const QString operation = QStringLiteral("Zápis do");
    if (const Status s = checkWritable(QStringLiteral("Zápis do")); !s)
        return s.error();
    QByteArray raw(m_recordLength, ' ');
    for (size_t i = 0; i < m_fields->size(); ++i) {
        if ((*m_fields)[i].type == DbfFieldType::Logical)
            raw[m_offsets[i]] = '?';
    }
    if (const Status s = encodeInto(raw, values); !s)
        return s.error();
    const int row = recordCount();
    if (const Status s = writeRaw(row, raw, operation); !s)
        return s.error();
    return row;
}

Status DbfTable::update(int row, const DbfFieldValues& values) {
    const QString operation = QStringLiteral("Zápis do");
    if (const Status s = checkWritable(operation); !s)
        return s;
    Result<QByteArray> raw = rawRecord(row);
    if (!raw)
        return raw.error();
    if (raw.value().front() == kDeletedMark)
        return Status::fail(
            QStringLiteral("Zápis do tabulky %1: záznam %2 je smazaný.").arg(displayPath(m_path)).arg(row + 1));
    if (const Status s = encodeInto(raw.value(), values); !s)
        return s;
    return writeRaw(row, raw.value(), operation);
}

Status DbfTable::update(int row, QStringView fieldName, const DbfValue& value) {
    return update(row, DbfFieldValues{{fieldName.toString(), value}});
}

Status DbfTable::remove(int row) {
    const QString operation = QStringLiteral("Mazání v");
    if (const Status s = checkWritable(operation); !s)
        return s;
    Result<QByteArray> raw = rawRecord(row);
    if (!raw)
        return raw.error();
    raw.value()[0] = kDeletedMark;
    return writeRaw(row, raw.value(), operation);
}

Status DbfTable::pack() {
    const QString operation = QStringLiteral("Pročištění");
    if (const Status s = checkWritable(operation); !s)
        return s;
    const auto failure = [&](const QString& reason) {
        return Status::fail(QStringLiteral("Tabulku %1 nelze pročistit: %2").arg(displayPath(m_path), reason));
    };
    DBFHandle source = m_handle->dbf;
    TemporaryTableFile temporary(m_path);
    if (!temporary.ok())
        return failure(temporary.error());
    {
        HookScope scope(&temporary.native());
        DBFUpdateHeader(source);
        SAHooks hooks = tableHooks();
        const QByteArray codePage = QStringLiteral("LDID/%1").arg(source->iLanguageDriver).toLatin1();
        DBFHandle target = DBFCreateLL(temporary.native().c_str(), codePage.constData(), &hooks);
        if (target == nullptr)
            return failure(scope.reason());
        // The copy keeps the stored field definitions as they are (names, widths, a foreign type letter).
        for (int i = 0; i < DBFGetFieldCount(source); ++i) {
            char name[XBASE_FLDNAME_LEN_READ + 1] = {};
            int width = 0;
            int decimals = 0;
            DBFGetFieldInfo(source, i, name, &width, &decimals);
            if (DBFAddNativeFieldType(target, name, DBFGetNativeFieldType(source, i), width, decimals) < 0) {
                DBFClose(target);
                return failure(scope.reason());
            }
        }
        setModifiedToday(target);
        int kept = 0;
        for (int row = 0; row < DBFGetRecordCount(source) && !scope.failed(); ++row) {
            const char* raw = DBFReadTuple(source, row);
            if (raw == nullptr)
                break;
            if (raw[0] == kDeletedMark)
                continue;
            QByteArray copy(raw, m_recordLength);
            DBFWriteTuple(target, kept++, copy.data());
        }
        DBFClose(target);
        if (scope.failed())
            return failure(scope.reason());
    }
    // The table stays open on the old file until the new one is complete; on Windows it must be closed to be
    // replaced.
    m_handle.reset();
    const auto notReplaced = replaceFile(temporary, m_path);
    Result<DbfTable> reopened = open(m_path, Access::ReadWrite);
    if (!reopened)
        return failure(reopened.message());
    *this = std::move(reopened).value();
    if (notReplaced)
        return failure(*notReplaced);
    return {};
}

Status DbfTable::close() {
    if (!m_handle)
        return {};
    HookScope scope;
    if (m_access == Access::ReadWrite)
        DBFUpdateHeader(m_handle->dbf);
    DBFHandle handle = m_handle->dbf;
    m_handle->dbf = nullptr;
    m_handle.reset();
    DBFClose(handle);
    if (scope.failed())
        return Status::fail(QStringLiteral("Tabulku %1 nelze zavřít: %2").arg(displayPath(m_path), scope.reason()));
    return {};
}

} // namespace trv
