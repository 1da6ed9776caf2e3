#include "platform/TicketsDatabase.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <map>
#include <tuple>
#include <utility>

namespace trv {

namespace {

const QString kSqliteDriver = QStringLiteral("QSQLITE");
const QString kPostgresDriver = QStringLiteral("QPSQL");

// VALUE is the voucher's amount as its readers expect it (100.00 for a 100,00 Kč voucher), a decimal number with
// two decimals. TICKET_TYPE holds the voucher-type number, which passes 9 where ten or more types are defined: one
// character refused those rows.
const QString kCreateStatement =
    QStringLiteral("CREATE TABLE tickets (DEPO VARCHAR(3), DAT DATE, IDENT_OBALKY VARCHAR(13), IDENT_FA VARCHAR(13), "
                   "TICKET_TYPE VARCHAR(5), CODE VARCHAR(35), VALUE NUMERIC(12,2), OPERATOR VARCHAR(20), "
                   "IMPORTED DATE)");
// The catalogues are asked directly: QSqlDatabase::tables() answers a locked SQLite file with an empty list and no
// error, which reads as "no table".
const QString kSqliteHasTable =
    QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND lower(name) = 'tickets'");
const QString kPostgresHasTable =
    QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE lower(table_name) = 'tickets' "
                   "AND table_schema = ANY (current_schemas(false))");
const QString kSqliteValueType =
    QStringLiteral("SELECT type, NULL FROM pragma_table_info('tickets') WHERE upper(name) = 'VALUE'");
const QString kPostgresValueType = QStringLiteral(
    "SELECT upper(data_type), numeric_scale FROM information_schema.columns WHERE lower(table_name) = 'tickets' "
    "AND lower(column_name) = 'value' AND table_schema = ANY (current_schemas(false)) ORDER BY table_schema");
const QString kInsertStatement = QStringLiteral(
    "INSERT INTO tickets (DEPO, DAT, IDENT_OBALKY, IDENT_FA, TICKET_TYPE, CODE, VALUE, OPERATOR, IMPORTED) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
// Text compared as stored, a NULL as an empty text: the rows of one receipt carry its ids as it typed them.
const QString kCountStatement = QStringLiteral(
    "SELECT CODE, count(*) FROM tickets WHERE COALESCE(DEPO, '') = ? AND COALESCE(IDENT_OBALKY, '') = ? "
    "AND COALESCE(IDENT_FA, '') = ? GROUP BY CODE");
const QString kSelectStatement = QStringLiteral(
    "SELECT DEPO, DAT, IDENT_OBALKY, IDENT_FA, TICKET_TYPE, CODE, VALUE, OPERATOR, IMPORTED FROM tickets "
    "ORDER BY DAT, DEPO, IDENT_OBALKY, CODE");

std::atomic<int> s_connectionCounter{0};

QString displayPath(const std::filesystem::path& p) {
    return QDir::toNativeSeparators(QString::fromStdU16String(p.u16string()));
}

/// The database's own words, with its error code when it gives one.
QString reason(const QSqlError& error) {
    QStringList parts;
    const QString database = error.databaseText().trimmed();
    const QString driver = error.driverText().trimmed();
    if (!driver.isEmpty())
        parts << driver;
    if (!database.isEmpty() && database != driver)
        parts << database;
    QString text = parts.isEmpty() ? QStringLiteral("neznámá chyba") : parts.join(QStringLiteral(": "));
    if (!error.nativeErrorCode().isEmpty())
        text += QStringLiteral(" (kód %1)").arg(error.nativeErrorCode());
    return text;
}

/// SQLite's "database is locked" (SQLITE_BUSY, SQLITE_LOCKED and their extended forms): another program holds the
/// file.
bool isLocked(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok && ((code & 0xFF) == 5 || (code & 0xFF) == 6);
}

/// The amount as the database takes it: "-610.91", two decimals, a tie away from zero as in its "###0.00" text.
/// Bound as text, so that no binary fraction comes between the amount and the column.
QString decimalText(Currency value) {
    const qint64 units = value.roundedHalfAwayFromZero(2).units();
    const qint64 magnitude = units < 0 ? -units : units;
    return QStringLiteral("%1%2.%3")
        .arg(units < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / Currency::kUnitsPerWhole)
        .arg(magnitude % Currency::kUnitsPerWhole / 100, 2, 10, QLatin1Char('0'));
}

QVariant dateValue(const QDate& date) {
    return date.isValid() ? QVariant(date) : QVariant(QMetaType::fromType<QDate>());
}

QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

/// Splits "key=value key='va lue'" as libpq does.
Result<QList<std::pair<QString, QString>>> splitLibpq(const QString& s) {
    using Pairs = QList<std::pair<QString, QString>>;
    Pairs pairs;
    qsizetype i = 0;
    const qsizetype n = s.size();
    const auto skipBlanks = [&] {
        while (i < n && s[i].isSpace())
            ++i;
    };
    while (true) {
        skipBlanks();
        if (i >= n)
            break;
        QString key;
        while (i < n && s[i] != QLatin1Char('=') && !s[i].isSpace())
            key += s[i++];
        skipBlanks();
        if (key.isEmpty() || i >= n || s[i] != QLatin1Char('='))
            return Result<Pairs>::fail(
                QStringLiteral("Připojovací řetězec databáze: položka č. %1 nemá tvar klíč=hodnota.")
                    .arg(pairs.size() + 1));
        ++i;
        skipBlanks();
        QString value;
        if (i < n && s[i] == QLatin1Char('\'')) {
            ++i;
            bool closed = false;
            while (i < n) {
                if (s[i] == QLatin1Char('\\') && i + 1 < n) {
                    value += s[i + 1];
                    i += 2;
                } else if (s[i] == QLatin1Char('\'')) {
                    ++i;
                    closed = true;
                    break;
                } else {
                    value += s[i++];
                }
            }
            if (!closed)
                return Result<Pairs>::fail(
                    QStringLiteral("Připojovací řetězec databáze: u položky %1 chybí zavírací apostrof.").arg(key));
        } else {
            while (i < n && !s[i].isSpace()) {
                if (s[i] == QLatin1Char('\\') && i + 1 < n)
                    ++i;
                value += s[i++];
            }
        }
        pairs.append({key, value});
    }
    return pairs;
}

/// Splits "Key=value; Key = value" (ADO style).
Result<QList<std::pair<QString, QString>>> splitSemicolons(const QString& s) {
    using Pairs = QList<std::pair<QString, QString>>;
    Pairs pairs;
    int number = 0;
    for (const QString& part : s.split(QLatin1Char(';'))) {
        ++number;
        if (part.trimmed().isEmpty())
            continue;
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq <= 0 || part.left(eq).trimmed().isEmpty())
            return Result<Pairs>::fail(
                QStringLiteral("Připojovací řetězec databáze: položka č. %1 nemá tvar klíč=hodnota.").arg(number));
        pairs.append({part.left(eq).trimmed(), part.mid(eq + 1).trimmed()});
    }
    return pairs;
}

/// This instance's connection; looked up by name so that no handle outlives removeDatabase().
QSqlDatabase connection(const QString& name) {
    return QSqlDatabase::database(name, false);
}

} // namespace

Result<PostgresConnection> PostgresConnection::parse(const QString& connectionString) {
    const QString text = connectionString.trimmed();
    if (text.isEmpty())
        return Result<PostgresConnection>::fail(QStringLiteral("Připojovací řetězec databáze je prázdný."));
    auto pairs = text.contains(QLatin1Char(';')) ? splitSemicolons(text) : splitLibpq(text);
    if (!pairs)
        return pairs.error();
    PostgresConnection c;
    for (const auto& [rawKey, value] : pairs.value()) {
        const QString key = rawKey.simplified().toLower();
        if (key == QLatin1String("host") || key == QLatin1String("server")) {
            c.host = value;
        } else if (key == QLatin1String("port")) {
            bool ok = false;
            const int port = value.toInt(&ok);
            if (!ok || port < 1 || port > 65535)
                return Result<PostgresConnection>::fail(
                    QStringLiteral("Připojovací řetězec databáze: port \"%1\" není číslo od 1 do 65535.").arg(value));
            c.port = port;
        } else if (key == QLatin1String("dbname") || key == QLatin1String("database")) {
            c.databaseName = value;
        } else if (key == QLatin1String("user") || key == QLatin1String("user id") || key == QLatin1String("uid") ||
                   key == QLatin1String("username")) {
            c.userName = value;
        } else if (key == QLatin1String("password") || key == QLatin1String("pwd")) {
            c.password = value;
        } else {
            return Result<PostgresConnection>::fail(
                QStringLiteral("Připojovací řetězec databáze: neznámá položka \"%1\".").arg(rawKey.simplified()));
        }
    }
    return c;
}

TicketsDatabase::TicketsDatabase(QString connectionName, QString description, bool sqlite)
    : m_connectionName(std::move(connectionName)), m_description(std::move(description)), m_sqlite(sqlite) {}

Error TicketsDatabase::databaseError(const QString& sentence, const QSqlError& error) const {
    QString why = reason(error);
    if (m_sqlite && isLocked(error))
        why = QStringLiteral("databázi právě používá jiný program a drží ji zamčenou; zkuste to znovu, až ji uvolní "
                             "(%1)")
                  .arg(why);
    return Error{0, QStringLiteral("%1: %2").arg(sentence, why), error.nativeErrorCode()};
}

TicketsDatabase::~TicketsDatabase() {
    {
        QSqlDatabase db = connection(m_connectionName);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

Result<std::unique_ptr<TicketsDatabase>> TicketsDatabase::openSqlite(const std::filesystem::path& file,
                                                                     int busyTimeoutMs) {
    using R = Result<std::unique_ptr<TicketsDatabase>>;
    const QString name = QStringLiteral("trv-tickets-%1").arg(++s_connectionCounter);
    const QString description = QStringLiteral("SQLite %1").arg(displayPath(file));
    QString failure;
    QString code;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(kSqliteDriver, name);
        if (!db.isValid()) {
            failure = QStringLiteral("ovladač databáze SQLite není k dispozici");
        } else {
            db.setDatabaseName(QString::fromStdU16String(file.u16string()));
            // Each statement waits this long for another program's lock, once; then the lock is reported.
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(std::max(busyTimeoutMs, 0)));
            if (!db.open()) {
                failure = reason(db.lastError());
                code = db.lastError().nativeErrorCode();
            }
        }
    }
    if (!failure.isEmpty()) {
        QSqlDatabase::removeDatabase(name);
        return R(Error{0, QStringLiteral("Databázi %1 nelze otevřít: %2").arg(description, failure), code});
    }
    return std::unique_ptr<TicketsDatabase>(new TicketsDatabase(name, description, true));
}

Result<std::unique_ptr<TicketsDatabase>> TicketsDatabase::connectPostgres(const QString& connectionString) {
    using R = Result<std::unique_ptr<TicketsDatabase>>;
    Result<PostgresConnection> parsed = PostgresConnection::parse(connectionString);
    if (!parsed)
        return parsed.error();
    const PostgresConnection& c = parsed.value();
    const QString name = QStringLiteral("trv-tickets-%1").arg(++s_connectionCounter);
    const QString description = QStringLiteral("PostgreSQL %1 (%2)")
                                    .arg(c.databaseName, c.host.isEmpty() ? QStringLiteral("místní server") : c.host);
    QString failure;
    QString code;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(kPostgresDriver, name);
        if (!db.isValid()) {
            failure = QStringLiteral("ovladač databáze PostgreSQL není k dispozici");
        } else {
            if (!c.host.isEmpty())
                db.setHostName(c.host);
            if (c.port > 0)
                db.setPort(c.port);
            db.setDatabaseName(c.databaseName);
            db.setUserName(c.userName);
            db.setPassword(c.password);
            // The window waits for the database; an unreachable server must not hold it for minutes.
            db.setConnectOptions(QStringLiteral("connect_timeout=10"));
            if (!db.open()) {
                failure = reason(db.lastError());
                code = db.lastError().nativeErrorCode();
            }
        }
    }
    if (!failure.isEmpty()) {
        QSqlDatabase::removeDatabase(name);
        return R(Error{0, QStringLiteral("K databázi %1 se nelze připojit: %2").arg(description, failure), code});
    }
    return std::unique_ptr<TicketsDatabase>(new TicketsDatabase(name, description, false));
}

Result<std::unique_ptr<TicketsDatabase>> TicketsDatabase::open(const QString& connectionString,
                                                               const std::filesystem::path& sqliteFile) {
    if (connectionString.trimmed().isEmpty())
        return openSqlite(sqliteFile);
    return connectPostgres(connectionString);
}

Result<bool> TicketsDatabase::hasTable() const {
    QSqlQuery query(connection(m_connectionName));
    if (!query.exec(m_sqlite ? kSqliteHasTable : kPostgresHasTable) || !query.next())
        return databaseError(QStringLiteral("Tabulky databáze %1 nelze zjistit").arg(m_description), query.lastError());
    return query.value(0).toLongLong() > 0;
}

Status TicketsDatabase::createTable() {
    QSqlDatabase db = connection(m_connectionName);
    QSqlQuery query(db);
    if (!query.exec(kCreateStatement))
        return databaseError(QStringLiteral("Tabulku tickets nelze vytvořit v databázi %1").arg(m_description),
                             query.lastError());
    return {};
}

Status TicketsDatabase::createTableIfMissing() {
    Result<bool> exists = hasTable();
    if (!exists)
        return exists.error();
    return exists.value() ? checkValueColumn() : createTable();
}

Status TicketsDatabase::checkValueColumn() const {
    QSqlQuery query(connection(m_connectionName));
    if (!query.exec(m_sqlite ? kSqliteValueType : kPostgresValueType))
        return databaseError(QStringLiteral("Sloupce tabulky tickets v databázi %1 nelze zjistit").arg(m_description),
                             query.lastError());
    if (!query.next()) {
        if (query.lastError().isValid())
            return databaseError(
                QStringLiteral("Sloupce tabulky tickets v databázi %1 nelze zjistit").arg(m_description),
                query.lastError());
        return Status::fail(QStringLiteral("Tabulka tickets v databázi %1 nemá sloupec VALUE.").arg(m_description));
    }
    const QString type = query.value(0).toString().trimmed().toUpper();
    bool accepted = false;
    if (m_sqlite) {
        // SQLite stores what the declared type's affinity says: a type naming INT keeps whole numbers only.
        accepted = !type.contains(QLatin1String("INT")) &&
                   (type.contains(QLatin1String("NUMERIC")) || type.contains(QLatin1String("DECIMAL")) ||
                    type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("DOUB")) ||
                    type.contains(QLatin1String("FLOA")));
    } else {
        const QVariant scale = query.value(1);
        accepted = (type == QLatin1String("NUMERIC") && (scale.isNull() || scale.toInt() >= 2)) ||
                   type == QLatin1String("REAL") || type == QLatin1String("DOUBLE PRECISION");
    }
    if (!accepted)
        return Status::fail(QStringLiteral("Sloupec VALUE tabulky tickets v databázi %1 má typ %2, do kterého nelze "
                                           "zapsat částku s haléři. Tabulka byla nejspíš založena starší verzí "
                                           "programu: založte ji znovu se sloupcem VALUE typu NUMERIC(12,2).")
                                .arg(m_description, type.isEmpty() ? QStringLiteral("bez typu") : type));
    return {};
}

Status TicketsDatabase::insert(const std::vector<TicketRow>& rows) {
    return insertRows(rows, false);
}

Status TicketsDatabase::insertMissing(const std::vector<TicketRow>& rows) {
    return insertRows(rows, true);
}

Status TicketsDatabase::insertRows(const std::vector<TicketRow>& rows, bool onlyMissing) {
    struct Limit {
        const char* column;
        QString TicketRow::*member;
        int length;
    };
    static const Limit limits[] = {
        {"DEPO", &TicketRow::depo, 3},         {"IDENT_OBALKY", &TicketRow::identObalky, 13},
        {"IDENT_FA", &TicketRow::identFa, 13}, {"TICKET_TYPE", &TicketRow::ticketType, 5},
        {"CODE", &TicketRow::code, 35},        {"OPERATOR", &TicketRow::operatorName, 20},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        for (const Limit& limit : limits) {
            const QString& value = rows[i].*limit.member;
            if (value.size() > limit.length)
                return Status::fail(QStringLiteral("Do tabulky tickets nebylo zapsáno nic: v řádku %1 je hodnota "
                                                   "\"%2\" delší než sloupec %3 (%4 znaků).")
                                        .arg(i + 1)
                                        .arg(value, QLatin1String(limit.column))
                                        .arg(limit.length));
        }
    }
    if (rows.empty())
        return {};
    if (const Status column = checkValueColumn(); !column)
        return column;

    QSqlDatabase db = connection(m_connectionName);
    const auto failure = [&](const QString& what, const QSqlError& error) {
        return Status(databaseError(
            QStringLiteral("Do tabulky tickets v databázi %1 nebylo zapsáno nic: %2").arg(m_description, what), error));
    };
    if (!db.transaction())
        return failure(QStringLiteral("transakci nelze začít"), db.lastError());
    // The prepared statement is released when the query goes, which must be after the rollback: a database that
    // aborted the transaction refuses everything until then.
    std::vector<bool> skip(rows.size(), false);
    if (onlyMissing) {
        // Per receipt ids, the rows each code already has; the earliest rows of a code are the ones held.
        using Ids = std::tuple<QString, QString, QString>;
        std::map<Ids, std::map<QString, qint64>> held;
        QSqlQuery count(db);
        count.setForwardOnly(true);
        if (!count.prepare(kCountStatement)) {
            const QSqlError error = count.lastError();
            db.rollback();
            return failure(QStringLiteral("zapsané řádky nelze zjistit"), error);
        }
        const auto text = [](const QString& value) { return value.isNull() ? QStringLiteral("") : value; };
        for (size_t i = 0; i < rows.size(); ++i) {
            const TicketRow& r = rows[i];
            const Ids ids{r.depo, r.identObalky, r.identFa};
            auto group = held.find(ids);
            if (group == held.end()) {
                group = held.emplace(ids, std::map<QString, qint64>{}).first;
                count.bindValue(0, text(r.depo));
                count.bindValue(1, text(r.identObalky));
                count.bindValue(2, text(r.identFa));
                if (!count.exec()) {
                    const QSqlError error = count.lastError();
                    count.finish();
                    db.rollback();
                    return failure(QStringLiteral("zapsané řádky nelze zjistit"), error);
                }
                while (count.next())
                    group->second[count.value(0).toString()] = count.value(1).toLongLong();
                count.finish();
            }
            qint64& left = group->second[r.code];
            if (left > 0) {
                --left;
                skip[i] = true;
            }
        }
    }
    QSqlQuery query(db);
    if (!query.prepare(kInsertStatement)) {
        const QSqlError error = query.lastError();
        db.rollback();
        return failure(QStringLiteral("příkaz nelze připravit"), error);
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        if (skip[i])
            continue;
        const TicketRow& r = rows[i];
        query.bindValue(0, textValue(r.depo));
        query.bindValue(1, dateValue(r.dat));
        query.bindValue(2, textValue(r.identObalky));
        query.bindValue(3, textValue(r.identFa));
        query.bindValue(4, textValue(r.ticketType));
        query.bindValue(5, textValue(r.code));
        query.bindValue(6, decimalText(r.value));
        query.bindValue(7, textValue(r.operatorName));
        query.bindValue(8, dateValue(r.imported));
        if (!query.exec()) {
            const QSqlError error = query.lastError();
            query.finish();
            db.rollback();
            return failure(QStringLiteral("řádek %1 se stravenkou %2 byl odmítnut").arg(i + 1).arg(r.code), error);
        }
    }
    query.finish();
    if (!db.commit()) {
        const QSqlError commitError = db.lastError();
        db.rollback();
        return failure(QStringLiteral("transakci nelze dokončit"), commitError);
    }
    return {};
}

Result<std::vector<TicketRow>> TicketsDatabase::readAll() const {
    QSqlQuery query(connection(m_connectionName));
    query.setForwardOnly(true);
    // Decimal amounts as their text, never through a double.
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    const QString failure = QStringLiteral("Tabulku tickets v databázi %1 nelze přečíst").arg(m_description);
    if (!query.exec(kSelectStatement))
        return databaseError(failure, query.lastError());
    std::vector<TicketRow> rows;
    while (query.next()) {
        TicketRow r;
        r.depo = query.value(0).toString();
        r.dat = query.value(1).toDate();
        r.identObalky = query.value(2).toString();
        r.identFa = query.value(3).toString();
        r.ticketType = query.value(4).toString();
        r.code = query.value(5).toString();
        const QString amount = query.value(6).toString();
        r.value = amount.isEmpty() ? Currency() : Currency::parse(amount).value_or(Currency());
        r.operatorName = query.value(7).toString();
        r.imported = query.value(8).toDate();
        rows.push_back(std::move(r));
    }
    if (query.lastError().isValid())
        return databaseError(failure, query.lastError());
    return rows;
}

} // namespace trv
