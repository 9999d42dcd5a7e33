#include "platform/SqliteRegistryStore.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace merivane {

namespace {

constexpr int kBusyTimeoutMs = 15000;

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

// True when the file can be used as a store: it opens, passes a quick check, and holds
// our tables (or none yet).
bool PrepareDatabase(sqlite3* db) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    {
        Statement check(db, "PRAGMA quick_check");
        if (!check.Ok() || check.Step() != SQLITE_ROW || check.Text(0) != QLatin1String("ok")) {
            return false;
        }
    }
    Exec(db, "PRAGMA journal_mode=WAL");
    Exec(db, "PRAGMA synchronous=NORMAL");
    if (!Exec(db, "BEGIN IMMEDIATE")) {
        return false;
    }
    if (!Exec(db, kSchema)) {
        Exec(db, "ROLLBACK");
        return false;
    }
    if (!Exec(db, "COMMIT")) {
        Exec(db, "ROLLBACK");
        return false;
    }
    Statement probe(db, "SELECT count(*) FROM keys, vals LIMIT 1");
    return probe.Ok() && probe.Step() == SQLITE_ROW;
}

sqlite3* OpenFile(const QString& file) {
    sqlite3* db = nullptr;
    int rc =
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK || !PrepareDatabase(db)) {
        sqlite3_close_v2(db);
        return nullptr;
    }
    return db;
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

std::unique_ptr<SqliteRegistryStore> SqliteRegistryStore::Open(const QString& file, const Warn& warn) {
    sqlite3* db = OpenFile(file);
    if (db == nullptr && QFileInfo::exists(file)) {
        QString aside = MoveAside(file);
        if (aside.isEmpty()) {
            warn(QStringLiteral("The settings store %1 cannot be read or moved aside; "
                                "settings are kept in memory only for this run.")
                     .arg(file));
        } else {
            warn(QStringLiteral(
                     "The settings store %1 was damaged; it was moved to %2 and a fresh store was made.")
                     .arg(file, aside));
            db = OpenFile(file);
        }
    } else if (db == nullptr) {
        warn(QStringLiteral(
                 "The settings store %1 cannot be created; settings are kept in memory only for this run.")
                 .arg(file));
    }
    if (db == nullptr) {
        db = OpenFile(QStringLiteral(":memory:"));
    }
    if (db == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SqliteRegistryStore>(new SqliteRegistryStore(db));
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
