#pragma once

#include "platform/RegistryStore.h"

#include <functional>
#include <memory>

struct sqlite3;

namespace merivane {

// The registry in one SQLite file. WAL mode and a busy timeout let a resident instance
// and one-shot instances write at the same time; each write is one transaction.
class SqliteRegistryStore final : public RegistryStore {
  public:
    using Warn = std::function<void(const QString&)>;

    // Opens (or creates) the store. A file that is not a sound store is moved aside under a
    // new name, never overwritten, `warn` is told once, and a fresh store is made. When even
    // that fails the store lives in memory for this run, and `warn` says so.
    static std::unique_ptr<SqliteRegistryStore> Open(const QString& file, const Warn& warn);
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
