#include "ui/ResidentHost.h"

#include "app/Program.h"
#include "platform/TextFile.h"
#include "platform/WorkFiles.h"
#include "platform/linux/EndSignals.h"
#include "platform/linux/LinuxAdapters.h"
#include "platform/linux/SessionVariables.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFont>
#include <QMenu>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QTimer>

#include <malloc.h>

namespace merivane {

namespace {
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
constexpr int kBusTimeoutMs = 2000;

QIcon TrayIcon(const QString& stem) {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/merivane/icons/%1-%2.png").arg(stem).arg(size), QSize(size, size));
    }
    return icon;
}

// Tells the desktop once per session (a session is its bus) that there is no tray.
void NotifyOnce(const QString& markFile) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    const QString session = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    auto noted = ReadTextFile(markFile);
    if (noted && noted->trimmed() == session) {
        return;
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    notify << QStringLiteral("Merivane") << 0u << QStringLiteral("com.brennock.Merivane")
           << QStringLiteral("Merivane runs without a tray icon")
           << QStringLiteral(
                  "This desktop shows no tray icons, so Merivane has none; its changes go on as "
                  "scheduled. To open its setup window, start Merivane again from the "
                  "applications menu.")
           << QStringList() << QVariantMap() << -1;
    QDBusMessage reply = bus.call(notify, QDBus::Block, kBusTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        QString error;
        WriteFileAtomically(markFile, session.toUtf8(), &error);
    }
}
}  // namespace

void ReturnFreedMemory() {
    // A change builds and drops many small texts; the heap keeps their pages unless asked.
    // A resident that idles for days should hold only what it still uses.
    malloc_trim(0);
}

bool TrayHostRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr || !bus.interface()->isServiceRegistered(kWatcher)) {
        return false;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(kWatcher, QStringLiteral("/StatusNotifierWatcher"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    QDBusMessage reply = bus.call(get, QDBus::Block, kBusTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return false;
    }
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

ResidentHost::ResidentHost(int& argc, char** argv, Program& program)
    : m_argc(argc), m_argv(argv), m_program(program) {}

ResidentHost::~ResidentHost() {
    m_icon.reset();  // before the menu it shows and the application it lives in
    m_menu.reset();
    m_clock.reset();
    m_watch.reset();
    m_signals.reset();
}

bool ResidentHost::EnsureApplication() {
    if (QCoreApplication::instance() == nullptr) {
        if (DisplayReachable(m_program.Sys.Env)) {
            m_application = std::make_unique<QApplication>(m_argc, m_argv);
        } else {
            // No desktop to show an icon on: the clock alone, as a log-in check from a
            // session without a display still wants it.
            m_application = std::make_unique<QCoreApplication>(m_argc, m_argv);
        }
        QCoreApplication::setApplicationName(QStringLiteral("Merivane"));
    }
    if (!m_signals) {
        m_signals =
            std::make_unique<EndSignals>([this](int) { m_program.Hidden().MenuCommand(frmHidden::kExit); });
        if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            // The session manager must not start it again: autostart does, at log-in.
            auto never = [](QSessionManager& manager) {
                manager.setRestartHint(QSessionManager::RestartNever);
            };
            QObject::connect(gui, &QGuiApplication::commitDataRequest, this, never);
            QObject::connect(gui, &QGuiApplication::saveStateRequest, this, never);
            QGuiApplication::setQuitOnLastWindowClosed(false);
        }
    }
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void ResidentHost::SetClockRunning(bool running) {
    EnsureApplication();
    if (!m_clock) {
        m_clock = std::make_unique<QTimer>();
        m_clock->setInterval(frmHidden::kClockIntervalMs);
        // A coarse timer lets the system gather wake-ups; half a second either way is
        // nothing next to a slot.
        m_clock->setTimerType(Qt::CoarseTimer);
        QObject::connect(m_clock.get(), &QTimer::timeout, this, [this] {
            const auto changes = m_program.TotalThemeChanges;
            m_program.Hidden().Tick();
            if (m_program.TotalThemeChanges != changes) {
                ReturnFreedMemory();
            }
        });
    }
    if (running && !m_mark) {
        // From here on this process is the home's resident: merivanectl status finds it,
        // and a run from cron finds this session.
        m_mark = ResidentMark::Take(m_program.Sys.Home.InstanceDir + QStringLiteral("resident.pid"));
        NoteSessionVariables(m_program.Sys.Env, SessionFile(m_program.Sys.Home.Home));
    }
    if (running) {
        m_clock->start();
    } else {
        m_clock->stop();
    }
}

void ResidentHost::AddTrayIcon(const QString& toolTip, bool suspended) {
    m_wanted = true;
    m_toolTip = toolTip;
    m_suspended = suspended;
    if (!EnsureApplication()) {
        return;
    }
    if (m_icon) {
        ShowIconState();
    } else if (!m_watch) {
        WatchForTray();
    }
}

void ResidentHost::RemoveTrayIcon() {
    m_wanted = false;
    if (!m_icon) {
        return;
    }
    // The resident window takes the icon away and adds it again to update it: hosts
    // flicker and reorder on that, so the icon goes only if no new one follows at once.
    QTimer::singleShot(0, this, [this] {
        if (!m_wanted && m_icon) {
            m_icon->hide();
        }
    });
}

void ResidentHost::ShowIconState() {
    if (!m_icon) {
        return;
    }
    m_icon->setIcon(m_suspended ? m_paused : m_running);
    m_icon->setToolTip(m_toolTip);
    if (m_wanted && !m_icon->isVisible()) {
        m_icon->show();
    }
}

void ResidentHost::WatchForTray() {
    if (TrayHostRegistered()) {
        CreateIcon(true);
        return;
    }
    m_watch = std::make_unique<QTimer>();
    m_watch->setInterval(kWatchIntervalMs);
    QObject::connect(m_watch.get(), &QTimer::timeout, this, [this] {
        if (TrayHostRegistered()) {
            m_watch->stop();
            CreateIcon(true);
        } else if (++m_watchTries >= kWatchTries) {
            m_watch->stop();
            // No D-Bus tray within the minute: an X11 tray, if the display has one.
            if (QGuiApplication::platformName() == QLatin1String("xcb") &&
                QSystemTrayIcon::isSystemTrayAvailable()) {
                CreateIcon(false);
            } else {
                NoteNoTray();
            }
        }
    });
    m_watch->start();
}

void ResidentHost::NoteNoTray() {
    NotifyOnce(m_program.AppPath + QStringLiteral("no-tray-noted"));
}

void ResidentHost::CreateIcon(bool viaStatusNotifier) {
    m_viaStatusNotifier = viaStatusNotifier;
    m_running = TrayIcon(QStringLiteral("com.brennock.Merivane"));
    m_paused = TrayIcon(QStringLiteral("com.brennock.Merivane-suspended"));
    frmHidden& hidden = m_program.Hidden();
    m_menu = std::make_unique<QMenu>();
    for (const frmHidden::PopupItem& item : hidden.mnuPopup()) {
        QAction* action =
            item.Caption == QLatin1String("-") ? m_menu->addSeparator() : m_menu->addAction(item.Caption);
        m_actions[item.Index] = action;
        if (item.Caption == QLatin1String("-")) {
            continue;
        }
        const int index = item.Index;
        QObject::connect(action, &QAction::triggered, this, [this, index] {
            m_program.Hidden().MenuCommand(index);
            SyncMenu();
        });
    }
    m_actions[frmHidden::kSuspend]->setCheckable(true);
    m_menu->setDefaultAction(m_actions[frmHidden::kOpen]);
    QObject::connect(m_menu.get(), &QMenu::aboutToShow, this, [this] {
        m_program.Hidden().MenuAboutToShow();
        SyncMenu();
    });
    m_icon = std::make_unique<QSystemTrayIcon>();
    // Attached before the icon shows: GTK hosts show a menu attached later as empty.
    m_icon->setContextMenu(m_menu.get());
    QObject::connect(
        m_icon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
            // A D-Bus host sends one activation for a click (GNOME's for a double click) and
            // never a double click; the X11 tray sends a double click after a single one.
            bool open =
                m_viaStatusNotifier ? why == QSystemTrayIcon::Trigger : why == QSystemTrayIcon::DoubleClick;
            if (open) {
                m_program.Hidden().MouseEvent(frmHidden::kDoubleClick);
            }
        });
    hidden.MenuAboutToShow();
    SyncMenu();
    ShowIconState();
}

void ResidentHost::SyncMenu() {
    for (const frmHidden::PopupItem& item : m_program.Hidden().mnuPopup()) {
        auto it = m_actions.find(item.Index);
        if (it != m_actions.end()) {
            it->second->setVisible(item.Visible);
            if (it->second->isCheckable()) {
                it->second->setChecked(item.Checked);
            }
        }
    }
}

void ResidentHost::ShowSetupWindow() {
    if (!EnsureApplication()) {
        return;
    }
    if (OpenSetupWindow) {
        OpenSetupWindow(m_program);
    }
}

void ResidentHost::EndProgram() {
    m_wanted = false;
    if (m_icon) {
        m_icon->hide();
    }
    if (m_clock) {
        m_clock->stop();
    }
    QCoreApplication::exit(0);
}

int ResidentHost::Run() {
    EnsureApplication();
    ReturnFreedMemory();
    int code = QCoreApplication::exec();
    if (m_icon) {
        m_icon->hide();
    }
    return code;
}

}  // namespace merivane
