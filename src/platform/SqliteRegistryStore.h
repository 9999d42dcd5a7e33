#pragma once

#include "platform/RegistryStore.h"

#include <functional>
#include <memory>

struct sqlite3;

namespace merivane {

enum class StoreAccess { ReadWrite, ReadOnly };

// The registry in one SQLite file. WAL mode and a busy timeout let a resident instance
// and one-shot instances write at the same time; each write is one transaction.
class SqliteRegistryStore final : public RegistryStore {
  public:
    using Warn = std::function<void(const QString&)>;

    static constexpr int kDefaultBusyTimeoutMs = 15000;

    // Opens (or creates) the store. Only a file that SQLite reports as not a database or
    // corrupt is moved aside under a new name, never overwritten; `warn` is told once and a
    // fresh store is made. A store that stays busy beyond the timeout, is read-only, or lies
    // on a full disk is left where it is: `warn` says why and the result is empty.
    // ReadOnly writes no file: a missing store reads as an empty one, and a damaged one is
    // left alone and read as empty, after a warning.
    static std::unique_ptr<SqliteRegistryStore> Open(const QString& file, const Warn& warn,
                                                     StoreAccess access = StoreAccess::ReadWrite,
                                                     int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~SqliteRegistryStore() override;

    bool CreateKey(RegRoot root, const QString& path) override;
    bool KeyExists(RegRoot root, const QString& path) override;
    std::optional<RegKeyInfo> QueryInfo(RegRoot root, const QString& path) override;
    std::optional<RegStoredValue> QueryValue(RegRoot root, const QString& path, const QString& name) override;
    std::vector<RegStoredValue> Values(RegRoot root, const QString& path) override;
    QStringList Subkeys(RegRoot root, const QString& path) override;
    bool SetValue(RegRoot root, const QString& path, const QString& name, std::uint32_t type,
                  const QByteArray& data) override;
    bool DeleteValue(RegRoot root, const QString& path, const QString& name) override;
    bool DeleteKey(RegRoot root, const QString& path) override;
    bool DeleteTree(RegRoot root, const QString& path) override;
    bool Batch(const std::function<bool()>& work) override;

  private:
    explicit SqliteRegistryStore(sqlite3* db);
    bool Write(const std::function<bool()>& work);
    // The key's lower-case path, its identity in the tables, when the key exists.
    std::optional<QString> ExistingKey(RegRoot root, const QString& path);

    sqlite3* m_db;
    int m_batchDepth = 0;
};

}  // namespace merivane
