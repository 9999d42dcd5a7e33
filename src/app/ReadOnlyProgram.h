#pragma once

#include "app/Main.h"
#include "calendar/EventTable.h"
#include "platform/ReadOnlyRegistryStore.h"
#include "settings/Settings.h"

namespace merivane {

// For looking only: the desktop is never touched.
class NoSystemSettings final : public SystemSettings {
  public:
    int ParametersInfo(int, int, const QString&, const QByteArray&, int) override { return 0; }
    void SetSysColors(const std::vector<int>&, const std::vector<std::uint32_t>&) override {}
    bool SetSystemCursor(const QString&, int) override { return false; }
    void WaitForDesktop(int) override {}
};

// A program that looks and never writes: its settings store takes no writes and it
// changes nothing on the desktop. `clock` and `random` stand in for the platform's when
// given (a preview runs its own time).
class ReadOnlyProgram {
  public:
    explicit ReadOnlyProgram(Platform& platform, Clock* clock = nullptr, Random* random = nullptr)
        : m_store(platform.Store),
          m_view{platform.Home,
                 m_store,
                 platform.Env,
                 clock != nullptr ? *clock : platform.Time,
                 random != nullptr ? *random : platform.Rng,
                 platform.Ui,
                 platform.Con,
                 platform.Instances,
                 platform.Version,
                 platform.Procs,
                 platform.Events,
                 platform.Display,
                 m_system,
                 platform.Shell,
                 platform.Mouse,
                 platform.Audio,
                 platform.Logo,
                 platform.Sounds},
          m_program(m_view) {
        m_view.Rng.SeedFromClock();
        SetStartupGlobals(m_program);
        LoadSettings(m_program);
        LoadEventTable(m_program);
    }
    Program& Get() { return m_program; }

  private:
    ReadOnlyRegistryStore m_store;
    NoSystemSettings m_system;
    Platform m_view;
    Program m_program;
};

}  // namespace merivane
