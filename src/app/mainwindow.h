#pragma once

#include "base/sharedstate.h"

#include <QMainWindow>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <memory>
#include <optional>
#include <vector>

class AnswerFields;
class CharacterTools;
class DesktopMemory;
class HelpWindow;
class RecentFilesMenu;
class Dialogs;
class EditCommands;
class IndexExponentTools;
class InsertionCommands;
class FormulaCommands;
class FrenchDictionary;
class SpellUnderliner;
class IonCommands;
class ParagraphTools;
class Printing;
class RecoveryRuns;
class Ruler;
class SelectionRefresh;
class ExerciseCommands;
class ExercisePanel;
class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class RichTextBox;
class SearchCommands;
class TextFiles;
class TextRecovery;
class WelcomePanel;
struct MenuRow;

// The program's single window: the working editor, the hidden buffers of the
// texts, the tools around them and the state the whole program shares.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // programDirectory holds the running-flag file (the user's data folder
    // instead when it cannot be written); by default the program's own
    // directory. recoveryDirectory holds the copies of texts
    // with unsaved changes; by default a folder of the user's data.
    explicit MainWindow(Dialogs &dialogs, const QString &programDirectory = QString(),
                        const QString &recoveryDirectory = QString(), QWidget *parent = nullptr);
    ~MainWindow() override;

    SharedState &state() { return m_state; }
    RichTextBox *exo() const { return m_exo; }
    TextFiles &textFiles() { return *m_textFiles; }
    ExerciseCommands &exercise() { return *m_exercise; }
    WelcomePanel *welcomePanel() const { return m_welcome; }
    CharacterTools &characterTools() { return *m_characters; }
    IndexExponentTools &modeTools() { return *m_modes; }
    EditCommands &editCommands() { return *m_edit; }
    SelectionRefresh &refresh() { return *m_refresh; }
    Ruler *ruler() const { return m_ruler; }
    TextRecovery &recovery() { return *m_recovery; }
    // Where the running flag is: the program's folder when it may be written.
    QString runningFlagDirectory() const { return m_runningFlagDirectory; }
    SearchCommands &search() { return *m_search; }
    Printing &printing() { return *m_printing; }
    // A termination signal: the texts' copies are kept for the next start
    // and the window closes without asking, as it does on a clean close.
    void endWithoutAsking();
    // Remembers between runs through that settings file: the recent files,
    // the window's place and size. Read now; the window takes the place
    // and size it had.
    void useMemory(const QString &settingsFile);
    DesktopMemory &memory() { return *m_memory; }

    void Nouv_Click();
    void Combo2_Click();
    void Command4_Click();
    void aidant_Click();
    void margo_Click();
    void tabulo_Click();
    void SPECIALCAr_Click();
    void imprimons_Click();
    void exportpdf_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildEditors();
    void buildToolStrips();
    void buildMenus();
    std::vector<MenuRow> commandMap();
    void connectEditorNotifications();
    void buildSidePanels();
    void activateLink(int link);
    void startUp();
    void placeOnScreen(const QMargins &frame);
    void placeWithItsFrame();
    void fillFontList();
    void fillModuleList();
    void updateTitle();
    void endRun(bool keepCopies);
    // Files dropped on the window: the first opens as "Ouvrir" would.
    void openDropped(const QStringList &paths);

    SharedState m_state;
    Dialogs &m_dialogs;
    QString m_programDirectory;
    QString m_runningFlagDirectory;
    bool m_placedWithFrame = false;
    bool m_endingWithoutAsking = false;

    RichTextBox *m_exo = nullptr;
    RichTextBox *m_sujetampon = nullptr;
    RichTextBox *m_corectampon = nullptr;
    QAction *m_sauvetout = nullptr;
    QAction *m_textexo = nullptr;
    QAction *m_textcor = nullptr;
    QAction *m_sepatext = nullptr;
    CharacterTools *m_characters = nullptr;
    IndexExponentTools *m_modes = nullptr;
    EditCommands *m_edit = nullptr;
    IonCommands *m_ion = nullptr;
    FormulaCommands *m_formulas = nullptr;
    std::unique_ptr<FrenchDictionary> m_dictionary;
    SpellUnderliner *m_spelling = nullptr;
    InsertionCommands *m_insertion = nullptr;
    AnswerFields *m_answers = nullptr;
    ParagraphTools *m_paragraphs = nullptr;
    Ruler *m_ruler = nullptr;
    SearchCommands *m_search = nullptr;
    QComboBox *m_combo2 = nullptr;
    QStackedWidget *m_side = nullptr;
    WelcomePanel *m_welcome = nullptr;
    ExercisePanel *m_panel = nullptr;
    QAction *m_az55 = nullptr;
    QAction *m_az52 = nullptr;
    QAction *m_az51 = nullptr;
    QPointer<HelpWindow> m_help;
    std::unique_ptr<DesktopMemory> m_memory;
    QMenu *m_recentMenu = nullptr;
    RecentFilesMenu *m_recent = nullptr;
    std::unique_ptr<TextFiles> m_textFiles;
    std::unique_ptr<ExerciseCommands> m_exercise;
    std::unique_ptr<SelectionRefresh> m_refresh;
    std::unique_ptr<RecoveryRuns> m_runs;
    std::unique_ptr<TextRecovery> m_recovery;
    std::unique_ptr<Printing> m_printing;
};

// Where a window of 800 x 600 pixels, frame included, goes on a screen
// narrower than 850 pixels: centred. Nothing on a wider screen.
std::optional<QRect> smallScreenPlacement(const QSize &screenPx);
// The window's frame rectangle at start, title bar included: the small-screen
// placement or the designed size around the window, centred; shrunk and moved
// when need be so that it lies within the screen's available area.
QRect startFrameGeometry(const QRect &screen, const QRect &available, const QMargins &frame);
