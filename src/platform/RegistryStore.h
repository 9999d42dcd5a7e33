#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace merivane {

// The three predefined roots the program uses, with their Windows handle values.
enum class RegRoot : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

struct RegKeyInfo {
    int SubkeyCount = 0;
    int LongestSubkeyName = 0;
    int ValueCount = 0;
    int LongestValueName = 0;
    int LongestValueData = 0;  // bytes
};

struct RegStoredValue {
    QString Name;  // "" is the key's default value
    std::uint32_t Type = kRegNone;
    QByteArray Data;
};

// The registry the program reads and writes: keys under three roots, each value with its
// type and raw bytes. Key paths and value names compare without regard to case and keep
// the spelling of their first creation; values enumerate in the order first written (a
// rewrite keeps the place, a delete and rewrite moves it to the end); subkeys enumerate
// sorted without regard to case. Key paths are backslash-separated: trailing and doubled
// backslashes are ignored, a leading one is refused, the empty path is the root itself.
// Every call is atomic on its own; calls that fail change nothing and return false,
// an empty optional or an empty list.
class RegistryStore {
  public:
    virtual ~RegistryStore() = default;

    // Opens the key, creating it and any missing keys above it.
    virtual bool CreateKey(RegRoot root, const QString& path) = 0;
    virtual bool KeyExists(RegRoot root, const QString& path) = 0;
    virtual std::optional<RegKeyInfo> QueryInfo(RegRoot root, const QString& path) = 0;
    virtual std::optional<RegStoredValue> QueryValue(RegRoot root, const QString& path,
                                                     const QString& name) = 0;
    virtual std::vector<RegStoredValue> Values(RegRoot root, const QString& path) = 0;
    virtual QStringList Subkeys(RegRoot root, const QString& path) = 0;
    // The key must exist.
    virtual bool SetValue(RegRoot root, const QString& path, const QString& name, std::uint32_t type,
                          const QByteArray& data) = 0;
    virtual bool DeleteValue(RegRoot root, const QString& path, const QString& name) = 0;
    // Refuses a key that has subkeys, and the root itself.
    virtual bool DeleteKey(RegRoot root, const QString& path) = 0;
    // The key with everything below it.
    virtual bool DeleteTree(RegRoot root, const QString& path) = 0;
    // Runs `work` so that all its writes land together or not at all (work returns false
    // to roll back). Returns whether they landed.
    virtual bool Batch(const std::function<bool()>& work) = 0;
};

bool IsPredefinedRoot(std::uint32_t value);
QString RootName(RegRoot root);
// Accepts the full names and the short forms HKCR, HKCU, HKLM, without regard to case.
std::optional<RegRoot> RootFromName(const QString& name);
// The key path's components, or nothing for a path the registry refuses.
std::optional<QStringList> KeyPathComponents(const QString& path);

}  // namespace merivane
