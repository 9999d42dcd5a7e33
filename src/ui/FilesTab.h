#pragma once

#include "ui/ScheduleModel.h"

#include <QFrame>

#include <functional>
#include <map>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTreeView;

namespace merivane {

struct Program;
struct ChangeRecord;

// The Files/Themes tab: every theme file and picture of the catalogue with its days, and
// the commands on one of them.
class FilesTab final : public QFrame {
  public:
    // The pop-up menu's items, by index.
    enum Item {
        kOverride = 0,
        kRename = 1,
        kFavorite = 2,
        kApply = 4,
        kViewEdit = 5,
        kPrintInfo = 6,
        kExplore = 8,
        kDelete = 9,
        kEditText = 10,
        kRefresh = 11,
    };

    explicit FilesTab(Program& program, QWidget* parent = nullptr);

    void LoadScheduleFrame(const QString& filenameToSelect);
    void UpdateScheduleFrame(int themePos);
    // The file row shown selected as a catalogue entry would fill it (columns 1 to 10).
    void FillScheduleRow(int themePos, int row);
    void ShowSchedulePopup(const QPoint& globalPos);
    // A command of the pop-up menu on the selected row.
    void MenuCommand(int index);
    void ApplySelected(const ChangeRecord& record);
    void RenameFile(const QString& fullName);
    void ToggleFavorite(const QString& fullName);
    void DeleteFile(const QString& fullName, bool isTheme);
    void RefreshFileList();
    // A click on a column header.
    void SortByColumn(int column);
    // Items 9 and 10 and the date warning follow the mode.
    void ApplyExpertMode(bool expert);
    void SetFavoriteCaption(const QString& caption);

    // What "Print List" does; the button is disabled while nothing is set.
    void SetPrintHandler(std::function<void()> print);
    // What opens the override dialog for the selected row; the dialog by default.
    std::function<void()> OpenOverrideDialog;

    QTreeView* List() const { return m_list; }
    ScheduleModel& Model() { return m_model; }
    QMenu* Popup() const { return m_popup; }
    QAction* Action(int index) const;
    // The selected row; -1 when none.
    int SelectedRow() const;
    void SelectRow(int row);
    void ScrollToSelected();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Uses a menu item as its key does: only when it is visible and enabled.
    void UseItem(int index);
    void ShowOverrideDialog();

    Program& m_program;
    ScheduleModel m_model;
    QLabel* m_count = nullptr;
    QTreeView* m_list = nullptr;
    QLabel* m_dateWrong = nullptr;
    QPushButton* m_print = nullptr;
    QMenu* m_popup = nullptr;
    std::map<int, QAction*> m_items;
    std::function<void()> m_printHandler;
};

}  // namespace merivane
