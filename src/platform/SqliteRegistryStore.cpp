#include "platform/SqliteRegistryStore.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

namespace merivane {

namespace {

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    root INTEGER NOT NULL,
    path TEXT NOT NULL,      -- lower-case full path, components joined by '\'
    parent TEXT NOT NULL,    -- lower-case path of the parent key
    name TEXT NOT NULL,      -- the last component as first spelt
    PRIMARY KEY(root, path)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS keys_by_parent ON keys(root, parent);
CREATE TABLE IF NOT EXISTS vals(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    root INTEGER NOT NULL,
    key TEXT NOT NULL,
    lname TEXT NOT NULL,
    name TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(root, key, lname));
PRAGMA user_version = 1;
)sql";

// One prepared statement, finalised on scope exit.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ok() const { return m_stmt != nullptr; }
    Statement& Bind(int index, qint64 value) {
        sqlite3_bind_int64(m_stmt, index, value);
        return *this;
    }
    Statement& Bind(int index, const QString& text) {
        QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_stmt, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& BindBlob(int index, const QByteArray& data) {
        sqlite3_bind_blob(m_stmt, index, data.isEmpty() ? "" : data.constData(),
                          static_cast<int>(data.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step() { return m_stmt == nullptr ? SQLITE_ERROR : sqlite3_step(m_stmt); }
    bool Run() { return Step() == SQLITE_DONE; }
    qint64 Int(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QString Text(int column) const {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)),
                                 sqlite3_column_bytes(m_stmt, column));
    }
    QByteArray Blob(int column) const {
        const void* data = sqlite3_column_blob(m_stmt, column);
        return QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(m_stmt, column));
    }

  private:
    sqlite3_stmt* m_stmt = nullptr;
};

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

qint64 RootValue(RegRoot root) {
    return static_cast<qint64>(static_cast<std::uint32_t>(root));
}

QString Lower(const QStringList& parts, int count) {
    return QStringList(parts.mid(0, count)).join(u'\\').toLower();
}

// Lower bound and upper bound (exclusive) of the paths strictly below `lpath`.
std::pair<QString, QString> SubtreeRange(const QString& lpath) {
    return {lpath + u'\\', lpath + u']'};  // ']' follows '\' in every collation we use
}

bool IsDamage(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

// SQLITE_OK when the file can be used as a store: it opens, passes a quick check, and holds
// our tables (made now when it has none yet, unless it is only to be read).
int PrepareDatabase(sqlite3* db, int busyTimeoutMs, bool readOnly) {
    sqlite3_busy_timeout(db, busyTimeoutMs);
    {
        Statement check(db, "PRAGMA quick_check");
        if (!check.Ok() || check.Step() != SQLITE_ROW) {
            return sqlite3_extended_errcode(db);
        }
        if (check.Text(0) != QLatin1String("ok")) {
            return SQLITE_CORRUPT;
        }
    }
    if (readOnly) {
        return SQLITE_OK;
    }
    if (sqlite3_db_readonly(db, "main") == 1) {
        return SQLITE_READONLY;
    }
    {
        // A store that has its tables needs no write lock to open, so a busy writer elsewhere
        // does not hold up a start.
        Statement tables(
            db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('keys', 'vals')");
        Statement mode(db, "PRAGMA journal_mode");
        if (tables.Ok() && tables.Step() == SQLITE_ROW && tables.Int(0) == 2 && mode.Ok() &&
            mode.Step() == SQLITE_ROW && mode.Text(0) == QLatin1String("wal")) {
            Exec(db, "PRAGMA synchronous=NORMAL");
            return SQLITE_OK;
        }
    }
    if (!Exec(db, "PRAGMA journal_mode=WAL")) {
        return sqlite3_extended_errcode(db);
    }
    Exec(db, "PRAGMA synchronous=NORMAL");
    if (!Exec(db, "BEGIN IMMEDIATE")) {
        return sqlite3_extended_errcode(db);
    }
    if (!Exec(db, kSchema) || !Exec(db, "COMMIT")) {
        int rc = sqlite3_extended_errcode(db);
        Exec(db, "ROLLBACK");
        return rc;
    }
    return SQLITE_OK;
}

struct Opened {
    sqlite3* Db = nullptr;
    int Code = SQLITE_OK;
    int SystemError = 0;  // errno of the failed call, when the system was asked
};

Opened OpenFile(const QString& file, int busyTimeoutMs, bool readOnly) {
    Opened result;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    result.Code = sqlite3_open_v2(file.toUtf8().constData(), &result.Db, flags, nullptr);
    if (result.Code == SQLITE_OK) {
        result.Code = PrepareDatabase(result.Db, busyTimeoutMs, readOnly);
    } else if (result.Db != nullptr) {
        result.Code = sqlite3_extended_errcode(result.Db);
    }
    if (result.Code != SQLITE_OK) {
        result.SystemError = result.Db != nullptr ? sqlite3_system_errno(result.Db) : 0;
        sqlite3_close_v2(result.Db);
        result.Db = nullptr;
    }
    return result;
}

// What the user is told when the store cannot be used as it is.
QString Trouble(const QString& file, const Opened& opened) {
    const int code = opened.SystemError == ENOSPC  ? SQLITE_FULL
                     : opened.SystemError == EROFS ? SQLITE_READONLY
                                                   : opened.Code;
    switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return QStringLiteral(
                       "The settings store %1 is in use by another program; nothing was changed. "
                       "Try again when it is free.")
                .arg(file);
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
            return QStringLiteral("The settings store %1 cannot be written (read-only); nothing was changed.")
                .arg(file);
        case SQLITE_FULL:
            return QStringLiteral(
                       "The settings store %1 cannot be written: the disk is full; nothing was changed.")
                .arg(file);
        default:
            break;
    }
    QString why = QString::fromUtf8(sqlite3_errstr(code));
    if (opened.SystemError != 0) {
        why += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(opened.SystemError));
    }
    return QStringLiteral("The settings store %1 cannot be opened (%2); nothing was changed.").arg(file, why);
}

// Renames the damaged store and its journal files to a name that is not taken yet.
QString MoveAside(const QString& file) {
    QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = file + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n) {
        target = file + QStringLiteral(".damaged-") + stamp + u'-' + QString::number(n);
    }
    if (!QFile::rename(file, target)) {
        return QString();
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        if (QFileInfo::exists(file + suffix)) {
            QFile::rename(file + suffix, target + suffix);
        }
    }
    return target;
}

}  // namespace

std::unique_ptr<SqliteRegistryStore> SqliteRegistryStore::Open(const QString& file, const Warn& warn,
                                                               StoreAccess access, int busyTimeoutMs) {
    const bool readOnly = access == StoreAccess::ReadOnly;
    const bool existed = QFileInfo::exists(file);
    Opened opened;
    if (readOnly && !existed) {
        // Nothing stored yet: an empty store that is never written anywhere.
        opened = OpenFile(QStringLiteral(":memory:"), busyTimeoutMs, false);
    } else {
        opened = OpenFile(file, busyTimeoutMs, readOnly);
    }
    if (opened.Db == nullptr && IsDamage(opened.Code) && existed) {
        if (readOnly) {
            warn(QStringLiteral(
                     "The settings store %1 is damaged; it is left as it is, and the first-run settings "
                     "are shown.")
                     .arg(file));
            opened = OpenFile(QStringLiteral(":memory:"), busyTimeoutMs, false);
        } else {
            const QString aside = MoveAside(file);
            if (aside.isEmpty()) {
                warn(QStringLiteral(
                         "The settings store %1 is damaged and cannot be moved aside; nothing was changed.")
                         .arg(file));
                return nullptr;
            }
            warn(QStringLiteral(
                     "The settings store %1 was damaged; it was moved to %2 and a fresh store was made.")
                     .arg(file, aside));
            opened = OpenFile(file, busyTimeoutMs, false);
        }
    }
    if (opened.Db == nullptr) {
        warn(Trouble(file, opened));
        // A store that this call began and could not finish (a full disk) is not left behind.
        const QFileInfo made(file);
        if (!existed && made.exists() && made.size() == 0) {
            QFile::remove(file);
        }
        return nullptr;
    }
    return std::unique_ptr<SqliteRegistryStore>(new SqliteRegistryStore(opened.Db));
}

SqliteRegistryStore::SqliteRegistryStore(sqlite3* db) : m_db(db) {}

SqliteRegistryStore::~SqliteRegistryStore() {
    sqlite3_close_v2(m_db);
}

bool SqliteRegistryStore::Write(const std::function<bool()>& work) {
    if (m_batchDepth > 0) {
        return work();
    }
    if (!Exec(m_db, "BEGIN IMMEDIATE")) {
        return false;
    }
    if (work() && Exec(m_db, "COMMIT")) {
        return true;
    }
    Exec(m_db, "ROLLBACK");
    return false;
}

bool SqliteRegistryStore::Batch(const std::function<bool()>& work) {
    return Write([&] {
        ++m_batchDepth;
        bool ok = work();
        --m_batchDepth;
        return ok;
    });
}

std::optional<QString> SqliteRegistryStore::ExistingKey(RegRoot root, const QString& path) {
    auto parts = KeyPathComponents(path);
    if (!parts || !IsPredefinedRoot(static_cast<std::uint32_t>(root))) {
        return std::nullopt;
    }
    QString lpath = Lower(*parts, static_cast<int>(parts->size()));
    if (parts->isEmpty()) {
        return lpath;
    }
    Statement q(m_db, "SELECT 1 FROM keys WHERE root = ? AND path = ?");
    q.Bind(1, RootValue(root)).Bind(2, lpath);
    return q.Step() == SQLITE_ROW ? std::optional<QString>(lpath) : std::nullopt;
}

bool SqliteRegistryStore::KeyExists(RegRoot root, const QString& path) {
    return ExistingKey(root, path).has_value();
}

bool SqliteRegistryStore::CreateKey(RegRoot root, const QString& path) {
    auto parts = KeyPathComponents(path);
    if (!parts || !IsPredefinedRoot(static_cast<std::uint32_t>(root))) {
        return false;
    }
    if (KeyExists(root, path)) {
        return true;
    }
    return Write([&] {
        for (int depth = 1; depth <= parts->size(); ++depth) {
            Statement insert(m_db, "INSERT OR IGNORE INTO keys(root, path, parent, name) VALUES(?, ?, ?, ?)");
            insert.Bind(1, RootValue(root))
                .Bind(2, Lower(*parts, depth))
                .Bind(3, Lower(*parts, depth - 1))
                .Bind(4, parts->at(depth - 1));
            if (!insert.Run()) {
                return false;
            }
        }
        return true;
    });
}

std::optional<RegKeyInfo> SqliteRegistryStore::QueryInfo(RegRoot root, const QString& path) {
    auto key = ExistingKey(root, path);
    if (!key) {
        return std::nullopt;
    }
    const QString& lpath = *key;
    RegKeyInfo info;
    Statement keys(m_db,
                   "SELECT count(*), coalesce(max(length(name)), 0) FROM keys WHERE root = ? AND parent = ?");
    keys.Bind(1, RootValue(root)).Bind(2, lpath);
    if (keys.Step() == SQLITE_ROW) {
        info.SubkeyCount = static_cast<int>(keys.Int(0));
        info.LongestSubkeyName = static_cast<int>(keys.Int(1));
    }
    Statement vals(m_db,
                   "SELECT count(*), coalesce(max(length(name)), 0), coalesce(max(length(data)), 0) "
                   "FROM vals WHERE root = ? AND key = ?");
    vals.Bind(1, RootValue(root)).Bind(2, lpath);
    if (vals.Step() == SQLITE_ROW) {
        info.ValueCount = static_cast<int>(vals.Int(0));
        info.LongestValueName = static_cast<int>(vals.Int(1));
        info.LongestValueData = static_cast<int>(vals.Int(2));
    }
    return info;
}

std::optional<RegStoredValue> SqliteRegistryStore::QueryValue(RegRoot root, const QString& path,
                                                              const QString& name) {
    auto key = ExistingKey(root, path);
    if (!key) {
        return std::nullopt;
    }
    Statement q(m_db, "SELECT name, type, data FROM vals WHERE root = ? AND key = ? AND lname = ?");
    q.Bind(1, RootValue(root)).Bind(2, *key).Bind(3, name.toLower());
    if (q.Step() != SQLITE_ROW) {
        return std::nullopt;
    }
    return RegStoredValue{q.Text(0), static_cast<std::uint32_t>(q.Int(1)), q.Blob(2)};
}

std::vector<RegStoredValue> SqliteRegistryStore::Values(RegRoot root, const QString& path) {
    std::vector<RegStoredValue> values;
    auto key = ExistingKey(root, path);
    if (!key) {
        return values;
    }
    Statement q(m_db, "SELECT name, type, data FROM vals WHERE root = ? AND key = ? ORDER BY id");
    q.Bind(1, RootValue(root)).Bind(2, *key);
    while (q.Step() == SQLITE_ROW) {
        values.push_back({q.Text(0), static_cast<std::uint32_t>(q.Int(1)), q.Blob(2)});
    }
    return values;
}

QStringList SqliteRegistryStore::Subkeys(RegRoot root, const QString& path) {
    QStringList names;
    auto key = ExistingKey(root, path);
    if (!key) {
        return names;
    }
    Statement q(m_db, "SELECT name FROM keys WHERE root = ? AND parent = ? ORDER BY path");
    q.Bind(1, RootValue(root)).Bind(2, *key);
    while (q.Step() == SQLITE_ROW) {
        names << q.Text(0);
    }
    return names;
}

bool SqliteRegistryStore::SetValue(RegRoot root, const QString& path, const QString& name, std::uint32_t type,
                                   const QByteArray& data) {
    auto key = ExistingKey(root, path);
    if (!key) {
        return false;
    }
    const QString lpath = *key;
    return Write([&] {
        Statement update(m_db, "UPDATE vals SET type = ?, data = ? WHERE root = ? AND key = ? AND lname = ?");
        update.Bind(1, type)
            .BindBlob(2, data)
            .Bind(3, RootValue(root))
            .Bind(4, lpath)
            .Bind(5, name.toLower());
        if (!update.Run()) {
            return false;
        }
        if (sqlite3_changes(m_db) > 0) {
            return true;
        }
        Statement insert(m_db,
                         "INSERT INTO vals(root, key, lname, name, type, data) VALUES(?, ?, ?, ?, ?, ?)");
        insert.Bind(1, RootValue(root)).Bind(2, lpath).Bind(3, name.toLower()).Bind(4, name).Bind(5, type);
        insert.BindBlob(6, data);
        return insert.Run();
    });
}

bool SqliteRegistryStore::DeleteValue(RegRoot root, const QString& path, const QString& name) {
    auto key = ExistingKey(root, path);
    if (!key) {
        return false;
    }
    const QString lpath = *key;
    bool deleted = false;
    bool ok = Write([&] {
        Statement del(m_db, "DELETE FROM vals WHERE root = ? AND key = ? AND lname = ?");
        del.Bind(1, RootValue(root)).Bind(2, lpath).Bind(3, name.toLower());
        bool ran = del.Run();
        deleted = sqlite3_changes(m_db) > 0;
        return ran;
    });
    return ok && deleted;
}

bool SqliteRegistryStore::DeleteKey(RegRoot root, const QString& path) {
    auto info = QueryInfo(root, path);
    // The root itself (empty path) is refused by DeleteTree.
    if (!info || info->SubkeyCount > 0) {
        return false;
    }
    return DeleteTree(root, path);
}

bool SqliteRegistryStore::DeleteTree(RegRoot root, const QString& path) {
    auto key = ExistingKey(root, path);
    if (!key || key->isEmpty()) {
        return false;  // a missing key, or the root itself
    }
    const QString lpath = *key;
    const auto range = SubtreeRange(lpath);
    const QString& low = range.first;
    const QString& high = range.second;
    return Write([&] {
        Statement keys(m_db, "DELETE FROM keys WHERE root = ? AND (path = ? OR (path >= ? AND path < ?))");
        keys.Bind(1, RootValue(root)).Bind(2, lpath).Bind(3, low).Bind(4, high);
        Statement vals(m_db, "DELETE FROM vals WHERE root = ? AND (key = ? OR (key >= ? AND key < ?))");
        vals.Bind(1, RootValue(root)).Bind(2, lpath).Bind(3, low).Bind(4, high);
        return keys.Run() && vals.Run();
    });
}

}  // namespace merivane
