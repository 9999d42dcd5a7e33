#pragma once

#include "platform/StatusSink.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QStackedWidget;
class QTabBar;

namespace merivane {

struct Program;
class EventsTab;
class FilesTab;
class InfoTab;
class ManagementTab;
class SettingsTab;
class frmStartup;
class frmPrint;

// The setup window: two tab strips (normal and expert mode) over one frame per tab, and
// a status line that tells what to do on the tab shown.
class frmMain final : public QMainWindow, public StatusSink {
  public:
    // Twips per pixel at the desktop's standard 96 dots per inch.
    static constexpr int kTwipsPerPixel = 15;
    static constexpr int kFirstRunHeight = 6030;
    static constexpr int kFirstRunWidth = 7530;

    explicit frmMain(Program& program, QWidget* parent = nullptr);
    ~frmMain() override;

    // Places and shows the window and fills its tabs.
    void Load();
    // Shows frame `index` (1..5).
    void SelectTab(int index);
    void ApplyExpertMode(bool reloadEvents);
    void SetShortcutCaptions();
    // F5 on a tab strip: fills the tab shown again.
    void RefreshCurrentTab();

    // The two print buttons: the dialog, then the listing on the chosen printer or in a PDF
    // file. False when nothing was printed (cancelled, or no file chosen).
    bool PrintFilesList();
    bool PrintEventList();
    // Where a PDF goes (asks with a file dialog by default; tests answer).
    std::function<QString(const QString& suggested)> PdfTarget;
    frmPrint* PrintDialog() const { return m_print.get(); }

    int CurrentTab() const { return m_currentTab; }
    FilesTab& Files() { return *m_files; }
    EventsTab& Events() { return *m_events; }
    InfoTab& Info() { return *m_info; }
    SettingsTab& Settings() { return *m_settings; }
    ManagementTab& Management() { return *m_management; }
    // The calendar window of "View Calendar Dates", once shown.
    frmStartup* Calendar() const { return m_calendar.get(); }
    QTabBar* NormalStrip() const { return m_normal; }
    QTabBar* ExpertStrip() const { return m_expert; }
    QString StatusText() const;

    void ShowStatus(const QString& text) override;
    void AppendStatus(const QString& text) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A click on a tab of either strip.
    void TabClicked(QTabBar* strip, int position);
    QWidget* Frame(int index) const { return m_frames[static_cast<size_t>(index)]; }

    Program& m_program;
    QTabBar* m_normal = nullptr;
    QTabBar* m_expert = nullptr;
    QStackedWidget* m_stack = nullptr;
    std::array<QWidget*, 6> m_frames{};
    FilesTab* m_files = nullptr;
    EventsTab* m_events = nullptr;
    InfoTab* m_info = nullptr;
    SettingsTab* m_settings = nullptr;
    ManagementTab* m_management = nullptr;
    std::unique_ptr<frmStartup> m_calendar;
    std::unique_ptr<frmPrint> m_print;
    bool PrintList(bool events);
    QLabel* m_status = nullptr;
    int m_currentTab = 0;
    bool m_loading = true;
};

}  // namespace merivane
