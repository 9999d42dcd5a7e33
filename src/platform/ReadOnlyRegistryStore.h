#pragma once

#include "platform/RegistryStore.h"

namespace merivane {

// A view of a store that reads and never writes: keys that do not exist are not created
// (reads from them come back empty) and every write fails. For looking at what the program
// would do without changing anything.
class ReadOnlyRegistryStore final : public RegistryStore {
  public:
    explicit ReadOnlyRegistryStore(RegistryStore& store) : m_store(store) {}

    bool CreateKey(RegRoot root, const QString& path) override { return m_store.KeyExists(root, path); }
    bool KeyExists(RegRoot root, const QString& path) override { return m_store.KeyExists(root, path); }
    std::optional<RegKeyInfo> QueryInfo(RegRoot root, const QString& path) override {
        return m_store.QueryInfo(root, path);
    }
    std::optional<RegStoredValue> QueryValue(RegRoot root, const QString& path,
                                             const QString& name) override {
        return m_store.QueryValue(root, path, name);
    }
    std::vector<RegStoredValue> Values(RegRoot root, const QString& path) override {
        return m_store.Values(root, path);
    }
    QStringList Subkeys(RegRoot root, const QString& path) override { return m_store.Subkeys(root, path); }
    bool SetValue(RegRoot, const QString&, const QString&, std::uint32_t, const QByteArray&) override {
        return false;
    }
    bool DeleteValue(RegRoot, const QString&, const QString&) override { return false; }
    bool DeleteKey(RegRoot, const QString&) override { return false; }
    bool DeleteTree(RegRoot, const QString&) override { return false; }
    bool Batch(const std::function<bool()>& work) override { return work(); }

  private:
    RegistryStore& m_store;
};

}  // namespace merivane
