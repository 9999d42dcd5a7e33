#pragma once

#include "platform/Platform.h"
#include "platform/SqliteRegistryStore.h"
#include "settings/SettingsState.h"
#include "support/Fakes.h"

#include <QTemporaryDir>

#include <memory>

namespace merivane::test {

// A fresh home in a temporary folder with a real registry store in it, and fakes for
// every other port. Each test makes its own, so nothing leaks between tests.
class TestPlatform {
  public:
    TestPlatform();
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    Platform& Get() { return *m_platform; }
    const HomeLayout& Home() const { return m_platform->Home; }
    // A path inside the temporary folder, outside the home.
    QString Scratch(const QString& relative) const;
    // Gives the state this home's folders, as start-up does.
    void PlaceIn(SettingsState& state) const;
    // Writes a file (making its folders) and returns its path.
    QString WriteFile(const QString& path, const QByteArray& bytes = {}) const;

    FakeEnvironment env;
    FakeClock clock;
    FakeRandom random;
    FakeDialogs dialogs;
    FakeConsole console;
    FakeInstanceGuard instances;
    FakeWindowsVersion version;
    FakeProcesses processes;
    FakeEventLoop events;
    FakeScreen screen;
    FakeSystemSettings system;
    FakeDesktopShell shell;
    FakePointer pointer;
    FakeSound sound;
    FakeLogoWindow logo;
    FakeDesktopSounds sounds;
    std::unique_ptr<SqliteRegistryStore> store;

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<Platform> m_platform;
};

}  // namespace merivane::test
