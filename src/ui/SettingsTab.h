#pragma once

#include "apply/ThemeManagers.h"

#include <QFrame>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace merivane {

struct Program;

// The Settings tab: the folders, the scheduling and the other options, checked, stored and
// applied by one button.
class SettingsTab final : public QFrame {
  public:
    explicit SettingsTab(Program& program, QWidget* parent = nullptr);

    void Fill();
    bool ValidateSettings();
    // "Save and Apply Settings".
    void SaveAndApply();
    // The Subfolders boxes follow the mode; typing in the two lists is for experts.
    void ApplyExpertMode(bool expert);
    // Browse for folder `index` (0 themes, 1 wallpaper).
    void Browse(int index);

    // The Files/Themes list read again (from a catalogue the tab has reset or refreshed).
    std::function<void()> ReloadFiles;
    // The window after the mode changed.
    std::function<void()> ExpertModeChanged;
    // The file chosen in the file dialog (the real dialog by default; tests answer).
    std::function<QString(const QString& title, const QString& folder, const QString& filters, int filter)>
        ChooseFile;

    QLineEdit* Path(int index) const { return m_paths[static_cast<size_t>(index)]; }
    QComboBox* TimeList() const { return m_time; }
    QComboBox* PerDayList() const { return m_perDay; }
    QListWidget* Options() const { return m_options; }
    QPushButton* ApplyButton() const { return m_apply; }
    QRadioButton* Scheduler(int index) const { return m_schedulers[static_cast<size_t>(index)]; }
    QRadioButton* FilesToUse(int index) const { return m_filesToUse[static_cast<size_t>(index)]; }
    QCheckBox* Subfolders(int index) const { return m_subfolders[static_cast<size_t>(index)]; }
    // The options list's row of a code ("F", "R"...); -1 when none.
    int OptionRow(QChar code) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Edited();
    void UpdateTimeLists();
    static void Paint(QWidget* field, bool red);

    Program& m_program;
    bool m_filling = false;
    std::array<QLineEdit*, 2> m_paths{};
    std::array<QCheckBox*, 2> m_subfolders{};
    std::array<QRadioButton*, 3> m_filesToUse{};
    std::array<QRadioButton*, 4> m_schedulers{};
    QComboBox* m_time = nullptr;
    QComboBox* m_perDay = nullptr;
    QListWidget* m_options = nullptr;
    QPushButton* m_apply = nullptr;
};

// The Management tab (expert mode): the theme manager, how scheduled changes use it, and
// the theme elements Merivane installs itself.
class ManagementTab final : public QFrame {
  public:
    explicit ManagementTab(Program& program, QWidget* parent = nullptr);

    void Fill();
    // "Save Settings".
    void SaveManagement();

    QComboBox* Managers() const { return m_managers; }
    QRadioButton* Method(int index) const { return m_methods[static_cast<size_t>(index)]; }
    QCheckBox* Element(int index) const { return m_elements[static_cast<size_t>(index)]; }
    QPushButton* SaveButton() const { return m_save; }
    QString CurrentManagerName() const { return m_currentName; }

  private:
    void EnableElements();

    Program& m_program;
    bool m_filling = false;
    ThemeManagerListing m_listing;
    QString m_currentName;
    QComboBox* m_managers = nullptr;
    std::array<QRadioButton*, 3> m_methods{};
    std::array<QCheckBox*, 9> m_elements{};
    QPushButton* m_save = nullptr;
};

}  // namespace merivane
