#include "ui/SettingsTab.h"

#include "app/Program.h"
#include "apply/ThemeInstaller.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "schedule/Autostart.h"
#include "selection/Catalogue.h"
#include "settings/DateText.h"
#include "settings/Settings.h"
#include "ui/WaitCursor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <cerrno>
#include <cstring>

#include <dirent.h>

namespace merivane {

namespace {
constexpr int kMaxChangesPerDay = 96;
constexpr int kManyChangesPerDay = 24;
constexpr int kManyFiles = 1000;

struct OptionSpec {
    char Code;
    const char* Text;
    bool AppSettings::*Setting;
};

const OptionSpec kOptions[] = {
    {'F', "When no special events occur, USE FAVORITE themes/wallpapers exclusively.",
     &AppSettings::UseFavorites},
    {'R', "Make theme/wallpaper changes randomly (not sequentially) among the eligable choices",
     &AppSettings::UseRandomMethod},
    {'O', "Choose new background if the theme contains multiple wallpaper files.",
     &AppSettings::UseOtherPics},
    {'M', "Keep same theme for the entire day if it contains multiple wallpapers.",
     &AppSettings::KeepThemeIfMultiPaper},
    {'T',
     "Use time keywords (A.M./P.M./morning/night etc.) in theme/wallpaper filename to limit choices used.",
     &AppSettings::UseTimeInTitle},
    {'Y',
     "Use recent 4 digit year mentioned in filename  (i.e. Christmas2000.theme only shows during December "
     "2000).",
     &AppSettings::UseYearInTitle},
    {'B',
     "Don't choose files/themes with screen resolutions not matching the current size (e.g. Frogs "
     "1024.theme).",
     &AppSettings::DiscardBadResolutions},
    {'A',
     "Before the theme change, automatically move the mouse pointer slightly so that the old screen saver is "
     "stopped.",
     &AppSettings::AutoMouseMove},
    {'I', "Restore desktop icon positions after theme change (Desktop AutoArrange should be turned OFF).",
     &AppSettings::KeepIconPositions},
    {'P', "When the theme is changed, play the startup sound of the new theme.",
     &AppSettings::PlayChangeSounds},
    {'L', "When the theme is changed, show the startup logo of the new theme (if it exists).",
     &AppSettings::ShowChangeLogo},
    {'K', "Keep the highlighted table row visible after a change is made.", &AppSettings::KeepRowVisible},
    {'S', "I live in the southern hemisphere.  Please reverse the summer/winter and spring/fall dates.",
     &AppSettings::SouthernHemisphere},
    {'D', "Show subfolder names in the Files/Themes tab display", &AppSettings::ShowSubfolders},
    {'X', "Unlock the EXPERT MODE features (Be careful with this!)", &AppSettings::ExpertMode},
    {'U', "When the theme is changed, make its event sounds the desktop's sound theme.",
     &AppSettings::UseDesktopSoundTheme},
};

const char* const kSchedulerCaptions[] = {
    "None.  I'll make my own changes.",
    "Change at bootup/signon time, one change per day.",
    "Use this program to make changes.",
    "Use the Windows Task Scheduler.    (Highly recommended)",
};
// What stands in here for the Windows facilities the captions name.
const char* const kSchedulerTips[] = {
    nullptr,
    "Merivane's autostart entry (~/.config/autostart) runs it at every log-in.",
    "Merivane stays running with an icon in the tray and changes at the set times.",
    "A systemd user timer (or, without systemd, lines of your crontab) runs Merivane at the set times; the "
    "log-in check catches up on missed ones.",
};

QRadioButton* Radio(const QString& caption, const QString& name, QWidget* parent) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    return radio;
}

// The tab's controls on a page that scrolls when the window is smaller than they need (the
// first-run window is small), and that fills the window when it is larger.
QVBoxLayout* ScrolledLayout(QFrame* tab) {
    auto* outer = new QVBoxLayout(tab);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(tab);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* page = new QWidget(scroll);
    scroll->setWidget(page);
    outer->addWidget(scroll);
    return new QVBoxLayout(page);
}

// A choice whose caption is too long for one line: the button and, beside it, its caption
// wrapping with the window; a click on the caption chooses too.
class WrappedChoice final : public QObject {
  public:
    static QRadioButton* Make(const QString& caption, const QString& name, QWidget* parent,
                              QBoxLayout* into) {
        auto* row = new QHBoxLayout;
        auto* radio = new QRadioButton(parent);
        radio->setObjectName(name);
        radio->setAccessibleName(caption);
        auto* label = new QLabel(caption, parent);
        label->setObjectName(QStringLiteral("lbl") + name);
        label->setWordWrap(true);
        label->installEventFilter(new WrappedChoice(radio, label));
        row->addWidget(radio, 0, Qt::AlignTop);
        row->addWidget(label, 1);
        into->addLayout(row);
        return radio;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease && m_radio->isEnabled()) {
            m_radio->click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    WrappedChoice(QRadioButton* radio, QObject* parent) : QObject(parent), m_radio(radio) {}
    QRadioButton* m_radio;
};

// Outside expert mode, the lists take their presets only: printable keys are dropped.
bool TypingBlocked(QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    return key->matches(QKeySequence::Paste) ||
           (!text.isEmpty() && text.at(0).unicode() >= 20 && text.at(0).unicode() != 127);
}
}  // namespace

SettingsTab::SettingsTab(Program& program, QWidget* parent) : QFrame(parent), m_program(program) {
    setObjectName(QStringLiteral("fraTab(3)"));
    auto* layout = ScrolledLayout(this);

    auto* folders = new QGroupBox(QStringLiteral("Folder Locations and Usage"), this);
    auto* grid = new QGridLayout(folders);
    const char* const labels[] = {"Themes:", "Wallpaper:"};
    const char* const subTips[] = {
        "Include .theme files found inside subfolders of this folder.  WARNING:  This option does not work "
        "with "
        "most theme manager programs.",
        "Include wallpaper files found in folders found inside of this folder"};
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(QString::fromLatin1(labels[i]), folders);
        grid->addWidget(label, i, 0);
        auto* path = new QLineEdit(folders);
        path->setObjectName(QStringLiteral("txtPath(%1)").arg(i));
        label->setBuddy(path);
        grid->addWidget(path, i, 1);
        auto* sub = new QCheckBox(QStringLiteral("Subfolders"), folders);
        sub->setObjectName(QStringLiteral("chkUseSubfolders(%1)").arg(i));
        sub->setToolTip(QString::fromLatin1(subTips[i]));
        grid->addWidget(sub, i, 2);
        auto* browse = new QPushButton(QStringLiteral("Browse..."), folders);
        browse->setObjectName(QStringLiteral("cmdBrowse(%1)").arg(i));
        grid->addWidget(browse, i, 3);
        m_paths[static_cast<size_t>(i)] = path;
        m_subfolders[static_cast<size_t>(i)] = sub;
        QObject::connect(path, &QLineEdit::textEdited, this, [this] { Edited(); });
        QObject::connect(sub, &QCheckBox::clicked, this, [this] { Edited(); });
        QObject::connect(browse, &QPushButton::clicked, this, [this, i] { Browse(i); });
    }
    grid->setColumnStretch(1, 1);
    auto* use = new QHBoxLayout;
    use->addWidget(new QLabel(QStringLiteral("Use:"), folders));
    const char* const kinds[] = {"Themes", "Wallpaper", "Both"};
    for (int i = 0; i < 3; ++i) {
        m_filesToUse[static_cast<size_t>(i)] =
            Radio(QString::fromLatin1(kinds[i]), QStringLiteral("optFilesToUse(%1)").arg(i), folders);
        use->addWidget(m_filesToUse[static_cast<size_t>(i)]);
        QObject::connect(m_filesToUse[static_cast<size_t>(i)], &QRadioButton::clicked, this,
                         [this] { Edited(); });
    }
    use->addWidget(new QLabel(QStringLiteral("to make changes."), folders));
    use->addStretch(1);
    grid->addLayout(use, 2, 0, 1, 4);
    layout->addWidget(folders);

    auto* scheduling = new QGroupBox(QStringLiteral("Scheduling "), this);
    // The methods, and below them their time and number a day: narrow enough for a small window.
    auto* schedulingLayout = new QVBoxLayout(scheduling);
    auto* methods = new QVBoxLayout;
    for (int i = 0; i < 4; ++i) {
        QRadioButton* radio = Radio(QString::fromLatin1(kSchedulerCaptions[i]),
                                    QStringLiteral("optScheduler(%1)").arg(i), scheduling);
        if (kSchedulerTips[i] != nullptr) {
            radio->setToolTip(QString::fromLatin1(kSchedulerTips[i]));
        }
        m_schedulers[static_cast<size_t>(i)] = radio;
        methods->addWidget(radio);
        QObject::connect(radio, &QRadioButton::clicked, this, [this] {
            UpdateTimeLists();
            Edited();
        });
    }
    schedulingLayout->addLayout(methods);
    auto* times = new QHBoxLayout;
    m_time = new QComboBox(scheduling);
    m_time->setObjectName(QStringLiteral("cmbTime"));
    m_time->setEditable(true);
    m_time->setInsertPolicy(QComboBox::NoInsert);
    m_time->setToolTip(QStringLiteral("You may type in any valid time here."));
    m_perDay = new QComboBox(scheduling);
    m_perDay->setObjectName(QStringLiteral("cmbChangesPerDay"));
    m_perDay->setEditable(true);
    m_perDay->setInsertPolicy(QComboBox::NoInsert);
    m_perDay->setToolTip(
        QStringLiteral("Higher values are allowed.   Use 24=Hourly, 48=Half hourly,  96=Every 15 min."));
    times->addWidget(new QLabel(QStringLiteral("Change time:"), scheduling));
    times->addWidget(m_time);
    times->addSpacing(12);
    times->addWidget(new QLabel(QStringLiteral("Changes/day"), scheduling));
    times->addWidget(m_perDay);
    times->addStretch(1);
    schedulingLayout->addLayout(times);
    for (QComboBox* list : {m_time, m_perDay}) {
        list->lineEdit()->installEventFilter(this);
        QObject::connect(list, &QComboBox::currentTextChanged, this, [this] { Edited(); });
    }
    layout->addWidget(scheduling);

    auto* optionsLabel = new QLabel(QStringLiteral("Other Options"), this);
    layout->addWidget(optionsLabel);
    m_options = new QListWidget(this);
    m_options->setObjectName(QStringLiteral("lvwOptions"));
    m_options->setWordWrap(true);
    optionsLabel->setBuddy(m_options);
    QObject::connect(m_options, &QListWidget::itemChanged, this, [this] { Edited(); });
    layout->addWidget(m_options, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_apply = new QPushButton(QStringLiteral("Save and Apply Settings"), this);
    m_apply->setObjectName(QStringLiteral("cmdApplySettings"));
    m_apply->setEnabled(false);
    QObject::connect(m_apply, &QPushButton::clicked, this, [this] { SaveAndApply(); });
    buttons->addWidget(m_apply);
    layout->addLayout(buttons);

    ChooseFile = [this](const QString& title, const QString& folder, const QString& filters, int filter) {
        const QStringList list = filters.split(QStringLiteral(";;"));
        QString selected = list.value(filter);
        return QFileDialog::getOpenFileName(window(), title, folder, filters, &selected);
    };
}

void SettingsTab::Edited() {
    if (!m_filling) {
        m_apply->setEnabled(true);
    }
}

void SettingsTab::UpdateTimeLists() {
    const bool timed = m_schedulers[2]->isChecked() || m_schedulers[3]->isChecked();
    m_time->setEnabled(timed);
    m_perDay->setEnabled(timed);
}

int SettingsTab::OptionRow(QChar code) const {
    for (int row = 0; row < m_options->count(); ++row) {
        if (m_options->item(row)->data(Qt::UserRole).toChar() == code) {
            return row;
        }
    }
    return -1;
}

void SettingsTab::Fill() {
    m_filling = true;
    const AppSettings& setup = m_program.Setup;
    m_paths[0]->setText(setup.ThemePath);
    m_paths[1]->setText(setup.WallpaperPath);
    m_subfolders[0]->setChecked(setup.UseThemeSubfolders);
    m_subfolders[1]->setChecked(setup.UseWallpaperSubfolders);
    if (setup.TypeOfScheduling >= 0 && setup.TypeOfScheduling <= 3) {
        m_schedulers[static_cast<size_t>(setup.TypeOfScheduling)]->setChecked(true);
    }
    m_time->clear();
    m_time->addItem(QStringLiteral("12:05 AM"));
    for (int hour = 1; hour <= 9; ++hour) {
        m_time->addItem(QStringLiteral("  %1:00 AM").arg(hour));
    }
    m_time->setEditText(MediumTimeText(setup.ScheduledTime));
    m_perDay->clear();
    for (int n = 1; n <= 6; ++n) {
        m_perDay->addItem(QString::number(n));
    }
    m_perDay->setEditText(QString::number(setup.ChangesPerDay));
    if (setup.FilesToUse >= 0 && setup.FilesToUse <= 2) {
        m_filesToUse[static_cast<size_t>(setup.FilesToUse)]->setChecked(true);
    }
    m_options->clear();
    for (const OptionSpec& option : kOptions) {
        auto* item = new QListWidgetItem(QString::fromLatin1(option.Text), m_options);
        item->setData(Qt::UserRole, QChar(QLatin1Char(option.Code)));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(setup.*option.Setting ? Qt::Checked : Qt::Unchecked);
    }
    UpdateTimeLists();
    m_apply->setEnabled(false);
    m_filling = false;
}

void SettingsTab::ApplyExpertMode(bool expert) {
    m_subfolders[0]->setVisible(expert);
    m_subfolders[1]->setVisible(expert);
}

bool SettingsTab::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_time->lineEdit() || watched == m_perDay->lineEdit()) && !m_program.Setup.ExpertMode &&
        TypingBlocked(event)) {
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void SettingsTab::Browse(int index) {
    QLineEdit* path = m_paths[static_cast<size_t>(index)];
    // The folder shown when it is there, else the user's pictures.
    QString start = HostPath(m_program.Sys.Home, path->text().trimmed());
    if (start.isEmpty() || !QFileInfo(start).isDir()) {
        start = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    }
    const QString chosen =
        ChooseFile
            ? ChooseFile(QStringLiteral("Browse  (Double click a .theme or .jpg file)"), start,
                         QStringLiteral("Theme Files (*.theme);;Wallpaper Files (*.bmp *.gif *.jpg *.jpeg);;"
                                        "All Files (*)"),
                         index)
            : QString();
    if (!chosen.isEmpty()) {
        path->setText(FolderOf(chosen).trimmed());
        Edited();
    }
    path->setFocus(Qt::OtherFocusReason);
}

void SettingsTab::Paint(QWidget* field, bool red) {
    field->setStyleSheet(red ? QStringLiteral("background-color: rgb(255, 0, 0); color: white;") : QString());
}

bool SettingsTab::ValidateSettings() {
    std::array<bool, 2> accepted = {true, true};
    for (int i : {1, 0}) {
        QLineEdit* path = m_paths[static_cast<size_t>(i)];
        const QString text = path->text().trimmed();
        if (text.length() < 4) {
            m_program.ShowStatus(QStringLiteral("Folder name must be at least 4 characters long"));
            accepted[static_cast<size_t>(i)] = false;
            break;
        }
        if (!IsSeparator(text.back())) {
            path->setText(WithTrailingSeparator(text));
        }
        const QString host = HostPath(m_program.Sys.Home, path->text().trimmed());
        DIR* folder = host.isEmpty() ? nullptr : ::opendir(QFile::encodeName(host).constData());
        if (folder == nullptr) {
            const int error = host.isEmpty() ? ENOENT : errno;
            m_program.ShowStatus(QStringLiteral("Folder error: ") +
                                 QString::fromLocal8Bit(std::strerror(error)));
            accepted[static_cast<size_t>(i)] = false;
            break;
        }
        ::closedir(folder);
    }
    for (int i = 0; i < 2; ++i) {
        Paint(m_paths[static_cast<size_t>(i)], !accepted[static_cast<size_t>(i)]);
        if (!accepted[static_cast<size_t>(i)]) {
            m_paths[static_cast<size_t>(i)]->setFocus(Qt::OtherFocusReason);
        }
    }
    bool timeOk = true;
    if (!ParseDateText(m_time->currentText().trimmed())) {
        m_program.ShowStatus(QStringLiteral("Time is not correct.  Value ignored."));
        Paint(m_time, true);
        m_time->setFocus(Qt::OtherFocusReason);
        timeOk = false;
    } else {
        Paint(m_time, false);
    }
    m_perDay->setEditText(QString::number(CorrectedChangesPerDay(m_perDay->currentText())));
    return accepted[0] && accepted[1] && timeOk;
}

void SettingsTab::SaveAndApply() {
    if (!ValidateSettings()) {
        return;
    }
    WaitCursor wait;
    m_program.ShowStatus(QStringLiteral("Saving settings...  Please wait."));
    m_apply->setEnabled(false);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    AppSettings& setup = m_program.Setup;
    const AppSettings old = setup;
    setup.ThemePath = m_paths[0]->text().trimmed();
    setup.WallpaperPath = m_paths[1]->text().trimmed();
    setup.UseThemeSubfolders = m_subfolders[0]->isChecked();
    setup.UseWallpaperSubfolders = m_subfolders[1]->isChecked();
    for (int i = 0; i < 4; ++i) {
        if (m_schedulers[static_cast<size_t>(i)]->isChecked()) {
            setup.TypeOfScheduling = static_cast<std::int16_t>(i);
        }
    }
    if (setup.TypeOfScheduling == 2 || setup.TypeOfScheduling == 3) {
        if (auto time = ParseDateText(m_time->currentText().trimmed())) {
            setup.ScheduledTime = *time - WholeDays(*time);
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (m_filesToUse[static_cast<size_t>(i)]->isChecked()) {
            setup.FilesToUse = static_cast<std::int16_t>(i);
        }
    }
    // The list holds the options in their table's order (Fill made it).
    for (int row = 0; row < m_options->count(); ++row) {
        setup.*kOptions[row].Setting = m_options->item(row)->checkState() == Qt::Checked;
    }
    if (setup.KeepThemeIfMultiPaper) {
        setup.UseOtherPics = true;
        m_options->item(OptionRow(u'O'))->setCheckState(Qt::Checked);
        m_apply->setEnabled(false);
    }
    setup.ChangesPerDay = CorrectedChangesPerDay(m_perDay->currentText());
    SaveSettings(m_program, false, true, false);

    const bool foldersChanged =
        setup.ThemePath != old.ThemePath || setup.WallpaperPath != old.WallpaperPath ||
        setup.UseThemeSubfolders != old.UseThemeSubfolders ||
        setup.UseWallpaperSubfolders != old.UseWallpaperSubfolders || setup.FilesToUse != old.FilesToUse;
    bool reload = true;
    if (foldersChanged) {
        m_program.ResetCatalogue();
    } else if (setup.SouthernHemisphere != old.SouthernHemisphere ||
               setup.UseYearInTitle != old.UseYearInTitle) {
        RefreshFileWindows(m_program);
    } else {
        reload = setup.ShowSubfolders != old.ShowSubfolders;
    }
    if (reload && ReloadFiles) {
        ReloadFiles();
    }
    if (setup.ChangesPerDay >= kManyChangesPerDay && m_program.Catalogue.size() >= kManyFiles &&
        setup.TypeOfScheduling == 3) {
        // So many timed runs of so large a collection are lighter for a program that stays.
        setup.TypeOfScheduling = 2;
        m_schedulers[2]->setChecked(true);
        SaveSettings(m_program, false, true, false);
    }
    if (setup.ExpertMode != old.ExpertMode && ExpertModeChanged) {
        ExpertModeChanged();
    }
    ChangeScheduling(m_program, old.TypeOfScheduling, setup.TypeOfScheduling, old.ScheduledTime,
                     setup.ScheduledTime, old.ChangesPerDay, setup.ChangesPerDay);
    // Without a scheduler to run a task, the method falls back: the tab shows what stands.
    if (setup.TypeOfScheduling >= 0 && setup.TypeOfScheduling <= 3) {
        m_schedulers[static_cast<size_t>(setup.TypeOfScheduling)]->setChecked(true);
    }
    UpdateTimeLists();
    m_program.ShowStatus(QStringLiteral("Settings saved."));
}

ManagementTab::ManagementTab(Program& program, QWidget* parent) : QFrame(parent), m_program(program) {
    setObjectName(QStringLiteral("fraTab(4)"));
    auto* layout = ScrolledLayout(this);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Current assigned theme manager:"), this);
    top->addWidget(label);
    m_managers = new QComboBox(this);
    m_managers->setObjectName(QStringLiteral("cmbCurrentMgr"));
    m_managers->setToolTip(QStringLiteral(
        "Picking a new name from this list will make it the new default theme manager and change "
        "the file associations for the .theme file suffix."));
    label->setBuddy(m_managers);
    top->addWidget(m_managers, 1);
    layout->addLayout(top);
    QObject::connect(m_managers, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!m_filling && text != m_currentName) {
            m_save->setEnabled(true);
        }
    });

    auto* method = new QGroupBox(QStringLiteral("Scheduled Theme Change Method"), this);
    auto* methodLayout = new QVBoxLayout(method);
    const std::pair<const char*, const char*> methods[] = {
        {"THEME MANAGER ONLY.  Use only the current theme manager selected above to make scheduled theme "
         "changes.",
         "This is the normal setting.  Merivane works fine with Microsoft Plus! and most third party theme "
         "managers."},
        {"MERIVANE ONLY. Use only Merivane to make scheduled changes, installing the elements checked off "
         "below.",
         "Make this selection if your current theme manager will not let you inhibit installing certain "
         "theme "
         "items you don't want installed "},
        {"USE BOTH.  Use both Merivane and the theme manager to make a scheduled change, with Merivane "
         "handling "
         "the elements checked off below.  (Uncheck items your theme manager handles)",
         "Make this selection if your theme manager can not install a certain theme element, like the IE "
         "Hotbar"},
    };
    for (int i = 0; i < 3; ++i) {
        QRadioButton* radio =
            WrappedChoice::Make(QString::fromLatin1(methods[i].first),
                                QStringLiteral("optThemeMgr(%1)").arg(i), method, methodLayout);
        radio->setToolTip(QString::fromLatin1(methods[i].second));
        m_methods[static_cast<size_t>(i)] = radio;
        QObject::connect(radio, &QRadioButton::clicked, this, [this] {
            EnableElements();
            m_save->setEnabled(true);
        });
    }
    layout->addWidget(method);

    auto* elements = new QGroupBox(QStringLiteral("Theme Elements for Merivane to Install"), this);
    auto* grid = new QGridLayout(elements);
    const std::pair<const char*, const char*> boxes[] = {
        {"Desktop Icons", "My Computer, Network Neighborhood, My Documents and Recycle Bin"},
        {"Color Scheme", "The main colors for windows, title bars, and text fields"},
        {"Mouse Pointers", "Normal arrow pointers, wait hourglass, Sizing arrows and text cursor"},
        {"Event Sounds", "Startup/shutdown music as well as error sounds"},
        {"Font/Spacing", "Font used mainly for windows titles and under icons"},
        {"Screen Saver",
         "Animations played during inactivity.  Not needed to prevent burnout on modern CRT displays."},
        {"Webviews/IE Hotbar", "Backgrounds used for My Computer filename listings, etc."},
        {"Startup/Shutdown Logos",
         "Seen while waiting for the computer to start or shutdown.  Not used on Windows XP."},
        {"Background Wallpaper", "Background picture seen behind the top menu bar in IE"},
    };
    for (int i = 0; i < 9; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(boxes[i].first), elements);
        box->setObjectName(QStringLiteral("chkChanges(%1)").arg(i));
        box->setToolTip(QString::fromLatin1(boxes[i].second));
        m_elements[static_cast<size_t>(i)] = box;
        grid->addWidget(box, i % 5, i / 5);
        QObject::connect(box, &QCheckBox::clicked, this, [this] { m_save->setEnabled(true); });
    }
    layout->addWidget(elements);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_save = new QPushButton(QStringLiteral("Save Settings"), this);
    m_save->setObjectName(QStringLiteral("cmdSaveMgr"));
    m_save->setEnabled(false);
    QObject::connect(m_save, &QPushButton::clicked, this, [this] { SaveManagement(); });
    buttons->addWidget(m_save);
    layout->addLayout(buttons);
}

void ManagementTab::EnableElements() {
    const bool merivaneInstalls = !m_methods[0]->isChecked();
    for (QCheckBox* box : m_elements) {
        box->setEnabled(merivaneInstalls);
    }
}

void ManagementTab::Fill() {
    m_filling = true;
    const AppSettings& setup = m_program.Setup;
    if (setup.UseThemeChanger >= 0 && setup.UseThemeChanger <= 2) {
        m_methods[static_cast<size_t>(setup.UseThemeChanger)]->setChecked(true);
    }
    for (size_t i = 0; i < m_elements.size(); ++i) {
        m_elements[i]->setChecked(setup.UseThemeMgrSettings[i]);
    }
    EnableElements();
    m_listing = ListThemeManagers(m_program);
    m_managers->clear();
    for (const ThemeManagerRow& row : m_listing.Rows) {
        m_managers->addItem(row.Name);
    }
    m_currentName =
        m_listing.Rows.empty() ? QString() : m_listing.Rows[static_cast<size_t>(m_listing.Current)].Name;
    m_managers->setCurrentIndex(m_managers->findText(m_currentName));
    m_save->setEnabled(false);
    m_filling = false;
}

void ManagementTab::SaveManagement() {
    WaitCursor wait;
    const QString chosen = m_managers->currentText();
    if (chosen != m_currentName) {
        for (const ThemeManagerRow& row : m_listing.Rows) {
            if (row.Name == chosen) {
                SetThemeManager(m_program, row.Name, row.Folder + row.Program);
                ReloadIcons(m_program);
                m_currentName = chosen;
                break;
            }
        }
    }
    AppSettings& setup = m_program.Setup;
    for (int i = 0; i < 3; ++i) {
        if (m_methods[static_cast<size_t>(i)]->isChecked()) {
            setup.UseThemeChanger = static_cast<std::int16_t>(i);
        }
    }
    bool any = false;
    for (size_t i = 0; i < m_elements.size(); ++i) {
        setup.UseThemeMgrSettings[i] = m_elements[i]->isChecked();
        any = any || setup.UseThemeMgrSettings[i];
    }
    if (!any) {
        // Merivane must install something when it is to install: the wallpaper by itself,
        // the web views beside a theme manager.
        const int fallback = setup.UseThemeChanger == 1 ? 8 : (setup.UseThemeChanger == 2 ? 6 : -1);
        if (fallback >= 0) {
            setup.UseThemeMgrSettings[static_cast<size_t>(fallback)] = true;
            m_elements[static_cast<size_t>(fallback)]->setChecked(true);
        }
    }
    SaveSettings(m_program, false, true, false);
    m_save->setEnabled(false);
    m_program.ShowStatus(QStringLiteral("Management settings saved."));
}

}  // namespace merivane
