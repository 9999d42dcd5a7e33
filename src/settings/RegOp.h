#pragma once

#include "platform/Platform.h"
#include "settings/Variant.h"

#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace merivane {

// The program's one way into the registry: bound to a root and a key path, it reads
// values through a cache of the whole key and writes each value with a type that follows
// the value already stored under that name. Nothing here throws or fails loudly: a key
// that cannot be opened reads as empty and counts 0; errors show in a message box only
// when option bit 8 is set.
class RegOp {
  public:
    static constexpr int kNumbersAsText = 1;
    static constexpr int kMultiAsArray = 2;
    static constexpr int kExpandOnRead = 4;
    static constexpr int kShowErrors = 8;

    explicit RegOp(Platform& platform);

    // Root handle values other than the three predefined roots never open.
    void SetRoot(std::uint32_t root);
    void SetRoot(RegRoot root) { SetRoot(static_cast<std::uint32_t>(root)); }
    void SetKey(const QString& key);
    void SetOptions(int options);

    Variant Value(const QString& name);
    void SetValue(const QString& name, const Variant& value);
    // Name and value of every value of the key, in the store's order; empty when none.
    std::vector<std::pair<QString, Variant>> AllValues();
    QStringList AllKeys();
    bool DeleteValue(const QString& name);
    // Deletes the current key with everything below it; the object then stays bound to
    // the parent key. A key path without a parent is not deleted.
    bool DeleteKey();
    int ValueCount();
    int KeyCount();

    std::uint32_t Root() const { return m_root; }
    const QString& Key() const { return m_key; }

  private:
    static constexpr std::uint32_t kKeyRead = 0x20019;
    static constexpr std::uint32_t kKeyReadWrite = 0x2001F;
    static constexpr std::uint32_t kKeyAllAccess = 0xF003F;

    void OpenKey();
    bool EnsureOpen();
    void LoadValues();
    void ReportError(const QString& message);
    void Refresh();
    void WantAccess(std::uint32_t access);
    Variant Convert(const RegStoredValue& stored);
    bool ContainsEnvironmentName(const QString& text) const;
    QString ExpandEnvironment(const QString& text) const;
    RegRoot StoreRoot() const { return static_cast<RegRoot>(m_root); }

    Platform& m_platform;
    std::uint32_t m_root = static_cast<std::uint32_t>(RegRoot::CurrentUser);
    QString m_key;
    int m_options = 0;
    bool m_isNt;
    std::uint32_t m_desiredAccess = 0;
    std::uint32_t m_openedAccess = 0;
    bool m_open = false;
    RegKeyInfo m_info;
    std::vector<std::pair<QString, Variant>> m_cache;
};

}  // namespace merivane
