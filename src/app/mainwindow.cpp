#include "app/mainwindow.h"

#include "widgets/accessiblenames.h"
#include "widgets/designernames.h"

#include "app/commandline.h"
#include "app/desktopmemory.h"
#include "app/helpwindow.h"
#include "app/recentfilesmenu.h"
#include "app/runningflag.h"
#include "app/selectionrefresh.h"
#include "app/textrecovery.h"
#include "app/welcomepanel.h"
#include "base/dialogs.h"
#include "base/recoveryruns.h"
#include "editor/answerfields.h"
#include "editor/editcommands.h"
#include "editor/insertioncommands.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "exercise/exercisecommands.h"
#include "exercise/exercisepanel.h"
#include "exercisefile/moduletable.h"
#include "format/charactertools.h"
#include "format/formulacommands.h"
#include "format/indexexponenttools.h"
#include "format/ioncommands.h"
#include "paragraph/marginsdialog.h"
#include "paragraph/paragraphtools.h"
#include "paragraph/ruler.h"
#include "paragraph/tabdialog.h"
#include "print/pdfexport.h"
#include "print/printericon.h"
#include "print/printing.h"
#include "search/searchcommands.h"
#include "spelling/frenchdictionary.h"
#include "spelling/spellunderliner.h"
#include "symbols/fontsamplewindow.h"
#include "symbols/symbolpalettes.h"
#include "widgets/editicons.h"
#include "widgets/menutable.h"
#include "widgets/updownbuttons.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {

const QString titlePrefix = QStringLiteral("REDIGO - ");
const QString helpFileName = QStringLiteral("QZ7.hlp");
constexpr int recoveryIntervalMs = 60'000;
const QSize designedSizePx(1000, 720);

QString joinedPath(const QString &directory, const QString &name) {
    return directory.endsWith(QLatin1Char('/')) ? directory + name
                                                : directory + QLatin1Char('/') + name;
}

} // namespace

std::optional<QRect> smallScreenPlacement(const QSize &screenPx) {
    constexpr int narrowestWidePx = 850;
    const QSize windowPx(800, 600);
    if (screenPx.width() >= narrowestWidePx) return std::nullopt;
    return QRect(QPoint((screenPx.width() - windowPx.width()) / 2,
                        (screenPx.height() - windowPx.height()) / 2),
                 windowPx);
}

QRect startFrameGeometry(const QRect &screen, const QRect &available, const QMargins &frame) {
    QRect placed;
    if (const auto small = smallScreenPlacement(screen.size())) {
        placed = small->translated(screen.topLeft());
    } else {
        placed = QRect(QPoint(), designedSizePx.grownBy(frame));
        placed.moveCenter(available.center());
    }
    placed.setSize(placed.size().boundedTo(available.size()));
    placed.moveLeft(
        std::clamp(placed.left(), available.left(), available.right() - placed.width() + 1));
    placed.moveTop(
        std::clamp(placed.top(), available.top(), available.bottom() - placed.height() + 1));
    return placed;
}

MainWindow::MainWindow(Dialogs &dialogs, const QString &programDirectory,
                       const QString &recoveryDirectory, QWidget *parent)
    : QMainWindow(parent), m_dialogs(dialogs),
      m_programDirectory(programDirectory.isEmpty() ? QCoreApplication::applicationDirPath()
                                                    : programDirectory),
      m_runningFlagDirectory(runningFlagFolder(m_programDirectory)) {
    setObjectName(QStringLiteral("redigo"));
    m_printing = std::make_unique<Printing>(m_dialogs);
    buildEditors();
    buildToolStrips();
    // The French dictionary of the system, unless told to look elsewhere.
    m_dictionary = std::make_unique<FrenchDictionary>(
        qEnvironmentVariable("REDIGO_DICTIONARY_DIR", QStringLiteral("/usr/share/hunspell")),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
            QStringLiteral("/mots-personnels.txt"));
    m_spelling = new SpellUnderliner(*m_exo, *m_dictionary, this);
    buildMenus();
    buildSidePanels();
    m_textFiles = std::make_unique<TextFiles>(
        TextFiles::Controls{*m_exo, *m_sujetampon, *m_corectampon, *m_textexo, *m_textcor}, m_state,
        m_dialogs, [this] { updateTitle(); },
        [this] {
            if (m_recovery) m_recovery->dropSettledCopies();
        });
    m_exercise = std::make_unique<ExerciseCommands>(
        ExerciseCommands::Controls{*m_panel, *m_exo, *m_sujetampon, *m_corectampon, *m_sepatext,
                                   *m_textexo, *m_textcor, *m_az52, *m_az51, *m_combo2},
        m_state, m_dialogs, *m_textFiles);
    connect(m_exercise.get(), &ExerciseCommands::panelShown, this, [this](bool shown) {
        m_side->setCurrentWidget(shown ? static_cast<QWidget *>(m_panel) : m_welcome);
    });
    connect(m_exercise.get(), &ExerciseCommands::textLinksShown, this,
            [this](bool statement, bool correction) {
                m_welcome->setLinkVisible(WelcomePanel::Enonce, statement);
                m_welcome->setLinkVisible(WelcomePanel::Corrige, correction);
            });
    connect(m_exercise.get(), &ExerciseCommands::titleChanged, this, &MainWindow::updateTitle);
    m_memory = std::make_unique<DesktopMemory>();
    m_recent =
        new RecentFilesMenu(*m_recentMenu, *m_memory, m_dialogs,
                            [this](const QString &path) { return openFileAsked(*this, path); });
    m_textFiles->whenNamed([this](const QString &path) { m_recent->opened(path); });
    connect(m_panel, &ExercisePanel::exercisePathChanged, this, [this] {
        if (const QString path = m_exercise->exercisePath(); !path.isEmpty())
            m_recent->opened(path);
    });
    // A file dropped opens; where the text would take it as its path too.
    setAcceptDrops(true);
    connect(m_exo, &RichTextBox::filesDropped, this, &MainWindow::openDropped,
            Qt::QueuedConnection);
    connect(m_exercise.get(), &ExerciseCommands::newTextRequested, this, &MainWindow::Nouv_Click);
    // No exercise yet: its commands start hidden.
    m_exercise->transessai();
    m_runs = std::make_unique<RecoveryRuns>(
        recoveryDirectory.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                  QStringLiteral("/recovery")
            : recoveryDirectory);
    m_recovery = std::make_unique<TextRecovery>(*m_runs, *m_textFiles, *m_exercise, m_dialogs);
    // Connected after the exercise's own handler: its texts are loaded by then.
    connect(m_panel, &ExercisePanel::exercisePathChanged, this,
            [this] { m_recovery->dropSettledCopies(); });
    m_refresh = std::make_unique<SelectionRefresh>(*m_exo, m_state, *m_characters, *m_modes,
                                                   *m_paragraphs, *m_ruler);
    startUp();
    connectEditorNotifications();
    m_exo->setAccessibleName(QStringLiteral("Texte"));
    nameControlsByTheirTips(*this);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildEditors() {
    m_exo = new RichTextBox(this);
    m_exo->setObjectName(QStringLiteral("exo"));
    // The texts not shown wait in hidden buffers.
    m_sujetampon = new RichTextBox(this);
    m_sujetampon->setObjectName(QStringLiteral("sujetampon"));
    m_sujetampon->hide();
    m_corectampon = new RichTextBox(this);
    m_corectampon->setObjectName(QStringLiteral("corectampon"));
    m_corectampon->hide();
}

void MainWindow::buildMenus() {
    const MenuEntries entries = buildMenuBar(*this, commandMap());
    m_sauvetout = entries["sauvetout"];
    m_sepatext = entries["sepatext"];
    m_textexo = entries["textexo"];
    m_textcor = entries["textcor"];
    // The files opened last, below "Ouvrir".
    m_recentMenu = new QMenu(QStringLiteral("Fichiers &récents"), this);
    m_recentMenu->setObjectName(QStringLiteral("recents"));
    m_recentMenu->menuAction()->setObjectName(QStringLiteral("recents"));
    findChild<QMenu *>(QStringLiteral("fichi"))->insertMenu(entries["resauve"], m_recentMenu);
    m_az55 = entries["az55"];
    m_az52 = entries["az52"];
    m_az51 = entries["az51"];
    // The tools keep the marks of their entries in step with the text.
    m_edit->useLinkEntries(entries["liercolle"], entries["lierobj"]);
    m_characters->useStyleEntries({entries["q21"], entries["q22"], entries["q23"]});
    m_answers->useProtectionEntry(entries["protection"]);
    m_paragraphs->useMenuEntries(entries["bull2"],
                                 {entries["q24"], entries["q25"], entries["q26"]});
    m_modes->useSmallSizeEntry(entries["check2"]);
    m_ion->useSmallSizeEntry(entries["check2"]);
    m_formulas->useAutomaticEntry(entries["formulesauto"]);
    m_spelling->useEntry(entries["orthographe"]);

    // Ctrl+S saves as the toolbar does: both texts of an exercise when it has
    // both. The menu shows it beside "resauve".
    auto *save = new QAction(this);
    save->setObjectName(QStringLiteral("saveKey"));
    save->setShortcut(entries["resauve"]->shortcut());
    connect(save, &QAction::triggered, this, &MainWindow::Command4_Click);
    addAction(save);
}

void MainWindow::buildSidePanels() {
    m_welcome = new WelcomePanel(m_combo2);
    m_panel = new ExercisePanel;
    m_side = new QStackedWidget;
    m_side->setObjectName(QStringLiteral("volet"));
    m_side->addWidget(m_welcome);
    m_side->addWidget(m_panel);
    connect(m_welcome, &WelcomePanel::linkActivated, this, &MainWindow::activateLink);
    // The ruler lies right above the editor, its 0 at the text's left edge.
    auto *editorColumn = new QWidget;
    auto *column = new QVBoxLayout(editorColumn);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_ruler = new Ruler(*m_exo, m_dialogs);
    const int textLeftPx = m_exo->frameWidth() + int(m_exo->document()->documentMargin());
    column->addSpacing(2);
    auto *rulerRow = new QHBoxLayout;
    rulerRow->setContentsMargins(textLeftPx, 0, 0, 0);
    rulerRow->addWidget(m_ruler);
    column->addLayout(rulerRow);
    column->addWidget(m_exo, 1);
    auto *splitter = new QSplitter(Qt::Horizontal);
    // The panels' texts grow with the desktop's font; scrolled rather than
    // making the window taller or wider than the screen.
    auto *sideScroller = new QScrollArea;
    sideScroller->setObjectName(QStringLiteral("voletdefilant"));
    sideScroller->setFrameShape(QFrame::NoFrame);
    sideScroller->setWidgetResizable(true);
    sideScroller->setWidget(m_side);
    splitter->addWidget(sideScroller);
    splitter->addWidget(editorColumn);
    splitter->setStretchFactor(1, 1);
    splitter->setCollapsible(1, false);
    // The symbol palettes stand at the window's left, beside the panels and
    // the editor, and keep their size.
    auto *upDown1 = findChild<QSpinBox *>(QStringLiteral("UpDown1"));
    auto *palettes =
        new SymbolPalettes(*m_exo, m_state, *m_edit, [upDown1] { return upDown1->value(); });
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(4, 2, 0, 0);
    row->setSpacing(4);
    row->addWidget(palettes, 0, Qt::AlignTop);
    row->addWidget(splitter, 1);
    setCentralWidget(central);
}

void MainWindow::activateLink(int link) {
    switch (link) {
    case WelcomePanel::Parametres:
        m_exercise->openPanel();
        break;
    case WelcomePanel::Nouveau:
        m_exercise->closeExercise();
        break;
    case WelcomePanel::Ouvrir:
        m_exercise->openExercise();
        break;
    case WelcomePanel::Enonce:
        m_textFiles->showStatement();
        break;
    case WelcomePanel::Corrige:
        m_textFiles->showCorrection();
        break;
    default:
        break;
    }
}

void MainWindow::margo_Click() {
    MarginsDialog dialog(*m_exo, this);
    m_dialogs.runDialog(dialog);
    m_exo->refresh();
    m_exo->setFocus();
}

void MainWindow::tabulo_Click() {
    TabDialog dialog(*m_exo, m_dialogs, this);
    if (!dialog.loaded()) return;
    dialog.afterClose = [this] { m_ruler->majregle(); };
    m_dialogs.runDialog(dialog);
}

void MainWindow::SPECIALCAr_Click() {
    FontSampleWindow echanti(
        *m_exo, m_state, [this] { return m_characters->shownFontName(); }, this);
    connect(&echanti, &FontSampleWindow::characterInserted, this, [this] { m_refresh->maj(); });
    m_dialogs.runDialog(echanti);
}

void MainWindow::imprimons_Click() {
    // Only the text shown is printed; the other waits in its buffer.
    m_printing->imprimons(*m_exo, m_state.nomfichier);
}

void MainWindow::exportpdf_Click() {
    // Each text through its own document: the one shown, or its buffer.
    const auto documentOf = [this](TextFiles::Text text, RichTextBox *buffer) {
        return m_textFiles->shownText() == text ? m_exo->document() : buffer->document();
    };
    PdfExport::Texts texts;
    texts.shown = m_exo->document();
    texts.screenDpi = QPointF(m_exo->logicalDpiX(), m_exo->logicalDpiY());
    texts.module = m_combo2->currentText();
    if (m_exercise->exerciseOpen()) {
        texts.statement = documentOf(TextFiles::Text::Statement, m_sujetampon);
        texts.correction = documentOf(TextFiles::Text::Correction, m_corectampon);
        texts.title = m_exercise->panelFields().title.trimmed();
        texts.namedAfter = m_exercise->exercisePath();
    } else {
        texts.namedAfter = m_state.nomfichier;
    }
    if (texts.title.isEmpty()) texts.title = QFileInfo(texts.namedAfter).completeBaseName();
    PdfExport(m_dialogs).exportpdf(texts);
}

void MainWindow::aidant_Click() {
    // A help file put beside the program goes to the desktop's viewer as it
    // always did (no viewer: nothing to say); otherwise our own help shows.
    const QString helpFile = joinedPath(m_programDirectory, helpFileName);
    if (QFileInfo::exists(helpFile)) {
        m_dialogs.showHelp(helpFile);
        return;
    }
    // Beside the window, not over it: the teacher follows its steps there.
    if (!m_help) m_help = new HelpWindow(this);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::buildToolStrips() {
    QToolBar *files = addToolBar(QStringLiteral("Fichiers"));
    files->setObjectName(QStringLiteral("fichiers"));
    const auto addButton = [this, files](const char *name, const QString &tip, const QIcon &picture,
                                         auto handler) {
        auto *button = new QToolButton(files);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(tip);
        button->setIcon(picture);
        files->addWidget(button);
        connect(button, &QToolButton::clicked, this, handler);
    };
    addButton("Command2", QStringLiteral("Nouveau"), style()->standardIcon(QStyle::SP_FileIcon),
              [this] { Nouv_Click(); });
    addButton("Command3", QStringLiteral("Ouvrir"),
              style()->standardIcon(QStyle::SP_DialogOpenButton), [this] { m_textFiles->ouvre(); });
    addButton("Command4", QStringLiteral("Enregistrer"),
              style()->standardIcon(QStyle::SP_DialogSaveButton), [this] { Command4_Click(); });
    // A door, not a cross: beside the scissors a cross reads as "cut".
    addButton("Command5", QStringLiteral("Quitter"), editicons::exitDoor(), [this] { close(); });

    m_edit = new EditCommands(*m_exo, m_state, this);
    m_edit->addTo(files);
    m_search = new SearchCommands(*m_exo, m_state, m_dialogs, this);
    m_search->addTo(files);

    QToolBar *modes = addToolBar(QStringLiteral("Indices et exposants"));
    modes->setObjectName(QStringLiteral("modes"));
    m_modes = new IndexExponentTools(*m_exo, m_state, m_dialogs, this);
    m_modes->addTo(modes);

    addToolBarBreak();
    QToolBar *characters = addToolBar(QStringLiteral("Caractères"));
    characters->setObjectName(QStringLiteral("caracteres"));
    m_characters = new CharacterTools(*m_exo, m_state, m_dialogs, this);
    m_characters->addTo(characters);
    m_insertion = new InsertionCommands(*m_exo, m_state, m_dialogs, *m_edit, this);
    m_insertion->addTo(files);
    m_ion = new IonCommands(*m_exo, m_state, m_dialogs, *m_edit, this);
    m_ion->addTo(files);
    m_formulas = new FormulaCommands(*m_exo, *m_modes, this);
    m_formulas->addTo(files);
    connect(m_formulas, &FormulaCommands::formatChanged, this, [this] { m_refresh->maj(); });
    addButton("Command18", QStringLiteral("Imprimer"), printerIcon(),
              [this] { imprimons_Click(); });
    connect(m_ion, &IonCommands::formatChanged, this, [this] { m_refresh->maj(); });
    m_answers = new AnswerFields(*m_exo, this);
    characters->addSeparator();
    m_paragraphs = new ParagraphTools(*m_exo, m_state, this);
    m_paragraphs->addTo(characters);

    // The module list lives on the welcome panel.
    m_combo2 = new QComboBox;
    m_combo2->setObjectName(QStringLiteral("Combo2"));
    m_combo2->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(m_combo2, &QComboBox::activated, this, &MainWindow::Combo2_Click);
}

void MainWindow::startUp() {
    m_state.policesymbole = QStringLiteral("Windings");
    // The flag reads "OUI" while any copy of the program runs.
    m_runs->begin([this] { writeRunningFlag(m_runningFlagDirectory, QStringLiteral("OUI")); });
    setWindowState(Qt::WindowNoState);
    // Until the window manager has framed the window, its frame is a guess:
    // a title bar one line high and thin borders.
    const int titleBarPx = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).height() + 10;
    constexpr int borderPx = 4;
    placeOnScreen(QMargins(borderPx, titleBarPx + borderPx, borderPx, borderPx));
    m_state.sauvegarde = 1;
    m_exo->applyDefaultTextFormat();
    m_exo->refresh();
    if (m_state.nomfichier.isEmpty()) m_state.nomfichier = SharedState::noName;
    updateTitle();
    m_exo->setSelFontSize(m_characters->showArrowsSizePt());
    // The look a text starts with is no step the user could undo.
    m_exo->document()->clearUndoRedoStacks();
    m_exo->refresh();
    fillFontList();
    m_ruler->showIndents();
    fillModuleList();
    m_welcome->update();
    m_exercise->startUp();
    m_recovery->startUp();
    auto *recoveryTimer = new QTimer(this);
    connect(recoveryTimer, &QTimer::timeout, this, [this] { m_recovery->writeCopies(); });
    recoveryTimer->start(recoveryIntervalMs);
}

void MainWindow::placeOnScreen(const QMargins &frame) {
    const QScreen *screen = this->screen();
    if (!screen) return;
    const QRect placed = startFrameGeometry(screen->geometry(), screen->availableGeometry(), frame);
    resize(placed.size().shrunkBy(frame));
    // The position of a window is that of its frame.
    move(placed.topLeft());
}

void MainWindow::fillFontList() {
    QStringList families = QFontDatabase::families();
    families << QStringLiteral(" ");
    std::sort(families.begin(), families.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    m_characters->setFontList(families, QStringLiteral("Arial"));
}

void MainWindow::fillModuleList() {
    QStringList names;
    for (const ModuleRow &row : moduleTable())
        names << QString::fromUtf8(row.displayName);
    names.sort(Qt::CaseInsensitive);
    m_combo2->clear();
    m_combo2->addItems(names);
    m_combo2->setCurrentIndex(0);
    m_combo2->adjustSize();
    Combo2_Click();
}

void MainWindow::connectEditorNotifications() {
    RichTextBox *exo = m_exo;
    connect(exo, &RichTextBox::gotFocus, this, [this] { m_refresh->maj(); });
    connect(exo, &RichTextBox::clicked, this, [this] { m_refresh->maj(); });
    connect(exo, &RichTextBox::mouseDown, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton) m_refresh->maj();
    });
    connect(exo, &RichTextBox::selChange, this, [this] {
        m_refresh->maj();
        if (!m_textFiles->sauvencours() && m_state.insertionencours == 1) {
            m_edit->restituer();
            m_state.insertionencours = 0;
            m_refresh->maj();
        }
    });
    // Undo and redo may leave the selection where it was, its attributes changed.
    connect(exo, &RichTextBox::undoneOrRedone, this, [this] { m_refresh->maj(); });
    connect(exo, &RichTextBox::editedInPlace, this, [this] { m_refresh->maj(); });
    // Switching texts, opening, reloading or restoring one.
    connect(exo, &RichTextBox::textShown, this, [this] { m_refresh->maj(); });
    // Any change the user makes marks the text modified; loading does not.
    connect(exo, &RichTextBox::contentEdited, this, [this] {
        if (m_state.majencours == majphase::idle) m_state.sauvegarde = 0;
    });
}

void MainWindow::Combo2_Click() {
    if (const auto extension = moduleExtension(m_combo2->currentText()))
        m_state.extension = *extension;
}

void MainWindow::Command4_Click() {
    m_textFiles->saveButton();
}

void MainWindow::Nouv_Click() {
    // A text the user wanted saved is kept when the save did not happen.
    if (m_state.sauvegarde == 0 && !m_textFiles->settleUnsavedChanges()) return;
    m_exo->setText(QString());
    m_state.nomfichier = SharedState::noName;
    updateTitle();
    m_exo->applyDefaultTextFormat();
    m_exo->setSelTabCount(0);
    m_exo->setSelBullet(false);
    m_exo->document()->clearUndoRedoStacks();
    m_exo->refresh();
    m_exo->setFocus();
    // The editor usually has the focus already, so no notification comes:
    // the tools must still show the new text's look.
    m_refresh->maj();
    m_state.sauvegarde = 1;
    m_recovery->dropSettledCopies();
}

void MainWindow::closeEvent(QCloseEvent *event) {
    if (m_endingWithoutAsking) {
        event->accept();
        return;
    }
    // Yes with a save that did not happen keeps the window and its text.
    // Every text with changes is asked about, then the exercise's fields.
    if (!m_textFiles->settleAllUnsavedChanges() || !m_exercise->settleUnsavedFields()) {
        event->ignore();
        return;
    }
    endRun(false);
    event->accept();
}

void MainWindow::endWithoutAsking() {
    m_endingWithoutAsking = true;
    m_recovery->keepForNextStart();
    endRun(true);
    close();
    // A modal dialog's own loop ends too.
    QCoreApplication::exit(0);
}

void MainWindow::endRun(bool keepCopies) {
    m_memory->setWindowGeometry(saveGeometry());
    m_memory->save();
    // "NON" once the last copy of the program has ended.
    m_runs->end(keepCopies, [this](bool lastRun) {
        if (lastRun) writeRunningFlag(m_runningFlagDirectory, QStringLiteral("NON"));
    });
}

void MainWindow::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
    m_exo->setFocus();
    // Back from another program, which may have changed the file shown;
    // asked once the activation is over.
    QTimer::singleShot(0, this, [this] { m_textFiles->offerReloadOfChangedFile(); });
}

void MainWindow::moveEvent(QMoveEvent *event) {
    QMainWindow::moveEvent(event);
    placeWithItsFrame();
}

void MainWindow::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    placeWithItsFrame();
}

void MainWindow::placeWithItsFrame() {
    // Once the window is shown and framed its real frame is known (on some
    // desktops only when the window manager has moved it into its frame):
    // the placement made with a guessed frame is made again, once.
    if (m_placedWithFrame || !isVisible() || !windowHandle()) return;
    const QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull()) return;
    m_placedWithFrame = true;
    placeOnScreen(frame);
}

void MainWindow::updateTitle() {
    setWindowTitle(titlePrefix + m_state.nomfichier);
}
