#include "calendar/EventTableFile.h"

#include <QFile>

namespace merivane {

namespace {
constexpr QFileDevice::Permissions kReadOnly =
    QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
}

void SetEventTableHidden(const SettingsState& state) {
    QFile::setPermissions(state.AppPath + kEventTableFileName, kReadOnly);
}

void SetEventTableNormal(const SettingsState& state) {
    QFile::setPermissions(state.AppPath + kEventTableFileName,
                          kReadOnly | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

}  // namespace merivane
