#include "paragraph/tabdialog.h"

#include "base/messages.h"

#include "base/numbertext.h"
#include "base/units.h"
#include "editor/richtextbox.h"
#include "widgets/dialogfit.h"
#include "widgets/numerickeyfilter.h"
#include "widgets/twipsrect.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextDocument>

namespace {

// The farthest stop the dialog accepts.
constexpr double maxStopCm = 8.5;

// Geometry in twips, as the dialog has always been laid out; children of a
// frame are placed from the frame's corner.
constexpr int clientWidthTwips = 4935;
constexpr int clientHeightTwips = 4950;
constexpr int buttonLeftTwips = 1920;
constexpr int buttonWidthTwips = 2775;
constexpr int buttonHeightTwips = 375;

QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption,
                       const QRect &geometryPx) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometryPx);
    return button;
}

// The stops of the selected paragraphs, or nothing when they differ in
// number or in a position.
std::optional<QList<double>> sharedStopsPx(const RichTextBox &exo) {
    const std::optional<int> count = exo.selTabCount();
    if (!count) return std::nullopt;
    QList<double> stopsPx;
    for (int index = 0; index < *count; ++index) {
        const std::optional<double> stopPx = exo.selTabs(index);
        if (!stopPx) return std::nullopt;
        stopsPx << *stopPx;
    }
    return stopsPx;
}

} // namespace

TabDialog::TabDialog(RichTextBox &exo, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_exo(exo), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("Tabof"));
    setWindowTitle(QStringLiteral("Tabulations"));
    // The geometry was drawn for a small dialog font: the longest caption fits at 8 points.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);
    setWindowFlags(dialogfit::smallDialogFlags);
    setModal(true);
    setFixedSize(units::pixelsFromTwips(clientWidthTwips),
                 units::pixelsFromTwips(clientHeightTwips));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(grey);
    setAutoFillBackground(true);

    buildControls();
    dialogfit::fitFixedDialog(*this);

    if (sharedStopsPx(m_exo)) {
        listStops();
    } else {
        m_dialogs.message(messages::tabRefusal());
        m_loaded = false;
    }
}

void TabDialog::buildControls() {
    auto *hint =
        new QLabel(QStringLiteral("Pour ajouter une tabulation, vous pouvez également "
                                  "cliquer sur la règle avec le bouton droit de la souris"),
                   this);
    hint->setObjectName(QStringLiteral("Label1"));
    QFont bold = hint->font();
    bold.setBold(true);
    hint->setFont(bold);
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    hint->setWordWrap(true);
    hint->setGeometry(rectFromTwips(360, 120, 4215, 735));

    auto *positions = new QGroupBox(QStringLiteral("Positions"), this);
    positions->setObjectName(QStringLiteral("Frame1"));
    positions->setGeometry(rectFromTwips(360, 1080, 1335, 3615));
    m_sortedCm = new QListWidget(positions);
    m_sortedCm->setObjectName(QStringLiteral("List1"));
    m_sortedCm->setSortingEnabled(true);
    m_sortedCm->setGeometry(rectFromTwips(240, 360, 855, 2940));

    m_stopOrderCm = new QListWidget(this);
    m_stopOrderCm->setObjectName(QStringLiteral("List2"));
    m_stopOrderCm->hide();

    auto *deleteOne = addButton(
        this, QStringLiteral("Command2"), QStringLiteral("Effacer la tabulation sélectionnée"),
        rectFromTwips(buttonLeftTwips, 1560, buttonWidthTwips, buttonHeightTwips));
    connect(deleteOne, &QPushButton::clicked, this, &TabDialog::deleteSelectedStop);
    auto *deleteAll =
        addButton(this, QStringLiteral("Command1"), QStringLiteral("Effacer tout"),
                  rectFromTwips(buttonLeftTwips, 2040, buttonWidthTwips, buttonHeightTwips));
    connect(deleteAll, &QPushButton::clicked, this, &TabDialog::deleteAllStops);

    auto *newStop = new QGroupBox(QStringLiteral("Nouvelle tabulation"), this);
    newStop->setObjectName(QStringLiteral("Frame2"));
    newStop->setGeometry(rectFromTwips(buttonLeftTwips, 2520, buttonWidthTwips, 1335));
    m_newPositionCm = new QLineEdit(newStop);
    m_newPositionCm->setObjectName(QStringLiteral("Text1"));
    m_newPositionCm->setGeometry(rectFromTwips(360, 360, 2055, 285));
    m_newPositionCm->installEventFilter(this);
    auto *add = addButton(newStop, QStringLiteral("Command4"), QStringLiteral("Ajouter"),
                          rectFromTwips(360, 840, 2055, buttonHeightTwips));
    connect(add, &QPushButton::clicked, this, &TabDialog::addStop);

    auto *closeButton =
        addButton(this, QStringLiteral("Command3"), QStringLiteral("Fermer"),
                  rectFromTwips(buttonLeftTwips, 4080, buttonWidthTwips, buttonHeightTwips));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TabDialog::listStops() {
    const std::optional<QList<double>> stopsPx = sharedStopsPx(m_exo);
    if (!stopsPx) {
        m_dialogs.message(messages::tabRefusal());
        m_exo.setFocus();
        close();
        return;
    }
    m_sortedCm->clear();
    m_stopOrderCm->clear();
    for (const double stopPx : *stopsPx) {
        const QString text = numbertext::upToTwoDecimals(stopPx / units::pixelsPerCmClick);
        m_sortedCm->addItem(text);
        m_stopOrderCm->addItem(text);
    }
}

void TabDialog::addStop() {
    const double positionCm = numbertext::leadingNumber(m_newPositionCm->text());
    if (positionCm <= 0 || positionCm > maxStopCm) return;
    const std::optional<int> count = m_exo.selTabCount();
    if (!count) {
        listStops();
        return;
    }
    // Appended after the others: the list shows them sorted, closing sorts them.
    changeStops([&] {
        m_exo.setSelTabCount(*count + 1);
        m_exo.setSelTabs(*count, positionCm * units::pixelsPerCmClick);
    });
    m_exo.refresh();
    m_newPositionCm->clear();
    listStops();
}

void TabDialog::deleteSelectedStop() {
    const QList<QListWidgetItem *> selected = m_sortedCm->selectedItems();
    if (selected.isEmpty()) return;
    const QString text = selected.first()->text();
    int stopIndex = -1;
    for (int row = m_stopOrderCm->count() - 1; row >= 0 && stopIndex < 0; --row) {
        if (m_stopOrderCm->item(row)->text() == text) stopIndex = row;
    }
    if (stopIndex < 0) return;
    const std::optional<int> count = m_exo.selTabCount();
    if (!count) {
        listStops();
        return;
    }
    changeStops([&] {
        for (int index = stopIndex; index <= m_sortedCm->count() - 2; ++index)
            m_exo.setSelTabs(index, m_exo.selTabs(index + 1).value_or(0));
        m_exo.setSelTabCount(*count - 1);
    });
    m_exo.refresh();
    listStops();
}

void TabDialog::deleteAllStops() {
    changeStops([this] { m_exo.setSelTabCount(0); });
    listStops();
}

void TabDialog::writeStopsBack() {
    changeStops([this] {
        for (int row = 0; row < m_sortedCm->count(); ++row) {
            const double positionCm =
                numbertext::localeNumber(m_sortedCm->item(row)->text()).value_or(0);
            m_exo.setSelTabs(row, positionCm * units::pixelsPerCmClick);
        }
    });
    if (afterClose) afterClose();
    m_exo.refresh();
}

void TabDialog::changeStops(const std::function<void()> &change) {
    const QTextDocument *document = m_exo.document();
    const int stepsBefore = document->availableUndoSteps();
    {
        const RichTextBox::UndoStep step(m_exo, m_changedStops ? RichTextBox::UndoStep::JoinPrevious
                                                               : RichTextBox::UndoStep::NewStep);
        change();
    }
    // Until something changed there is no step of ours to join.
    if (document->availableUndoSteps() != stepsBefore) m_changedStops = true;
}

void TabDialog::done(int result) {
    if (!m_writtenBack) {
        m_writtenBack = true;
        writeStopsBack();
    }
    QDialog::done(result);
}

void TabDialog::showEvent(QShowEvent *event) {
    m_writtenBack = false;
    m_changedStops = false;
    QDialog::showEvent(event);
}

bool TabDialog::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_newPositionCm && event->type() == QEvent::KeyPress)
        return filterPositionKey(static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

// Returns true to discard the key. Only typed characters are filtered:
// editing, navigation and shortcut keys keep working.
bool TabDialog::filterPositionKey(QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        addStop();
        return true;
    }
    // Positions are written with a full stop, whatever the user types.
    return NumericKeyFilter(QStringLiteral("."), QStringLiteral(","))
        .filter(m_newPositionCm, event);
}
