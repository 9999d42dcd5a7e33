#include "platform/RegistryStore.h"

namespace merivane {

namespace {
struct RootNames {
    RegRoot Root;
    const char* Long;
    const char* Short;
};
constexpr RootNames kRoots[] = {
    {RegRoot::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {RegRoot::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RegRoot::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
};
}  // namespace

bool IsPredefinedRoot(std::uint32_t value) {
    for (const auto& root : kRoots) {
        if (static_cast<std::uint32_t>(root.Root) == value) {
            return true;
        }
    }
    return false;
}

QString RootName(RegRoot root) {
    for (const auto& entry : kRoots) {
        if (entry.Root == root) {
            return QString::fromLatin1(entry.Long);
        }
    }
    return QString();
}

std::optional<RegRoot> RootFromName(const QString& name) {
    for (const auto& entry : kRoots) {
        if (name.compare(QLatin1String(entry.Long), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String(entry.Short), Qt::CaseInsensitive) == 0) {
            return entry.Root;
        }
    }
    return std::nullopt;
}

std::optional<QStringList> KeyPathComponents(const QString& path) {
    if (path.startsWith(u'\\')) {
        return std::nullopt;
    }
    return path.split(u'\\', Qt::SkipEmptyParts);
}

}  // namespace merivane
