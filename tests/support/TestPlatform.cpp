#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace merivane::test {

TestPlatform::TestPlatform() {
    if (!m_dir.isValid()) {
        throw std::runtime_error("no temporary folder");
    }
    HomeLayout home = HomeLayout::At(m_dir.path() + QStringLiteral("/home"));
    if (!home.Create(nullptr)) {
        throw std::runtime_error("cannot make the test home");
    }
    store =
        SqliteRegistryStore::Open(home.RegistryFile, [this](const QString& m) { console.Err(m + u'\n'); });
    m_platform = std::make_unique<Platform>(Platform{home, *store, env, clock, random, dialogs, console,
                                                     instances, version, processes, events, screen, system,
                                                     shell, pointer, sound, logo, sounds});
}

void TestPlatform::PlaceIn(SettingsState& state) const {
    state.AppPath = Home().Home;
    state.WindowsDir = Home().WindowsDir;
    state.SystemDir = Home().SystemDir;
}

QString TestPlatform::Scratch(const QString& relative) const {
    return m_dir.path() + u'/' + relative;
}

QString TestPlatform::WriteFile(const QString& path, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write a test file");
    }
    return path;
}

}  // namespace merivane::test
