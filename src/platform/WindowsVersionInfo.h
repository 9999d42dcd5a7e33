#pragma once

namespace merivane {

// The version record the program's version-dependent rules are written against.
struct OsVersionRecord {
    int Major = 5;
    int Minor = 1;
    int PlatformId = 2;  // 2: the NT family
};

class WindowsVersionInfo {
  public:
    virtual ~WindowsVersionInfo() = default;
    virtual OsVersionRecord Query() const = 0;
};

inline bool IsNtFamily(const OsVersionRecord& record) {
    return record.PlatformId == 2;
}

}  // namespace merivane
