#include "exercise/exercisepanel.h"

#include "exercisefile/recordfile.h"
#include "widgets/designernames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextCursor>
#include <QVBoxLayout>

ExercisePanel::ExercisePanel(QWidget *parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Frame1(1)"));
    setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);

    const std::array<QString, 4> fileLabels = {
        QStringLiteral("Énoncé (fichier rtf)"), QStringLiteral("Paramètres initiaux du simulateur"),
        QStringLiteral("Correction (fichier rtf)"),
        QStringLiteral("Paramètres du simulateur (correction)")};
    for (int i = 0; i < 4; ++i) {
        layout->addWidget(new QLabel(fileLabels.at(i), this));
        auto *row = new QHBoxLayout;
        m_ficex[i] = new QLabel(this);
        m_ficex[i]->setObjectName(indexedName("ficex", i));
        m_ficex[i]->setFrameShape(QFrame::StyledPanel);
        m_ficex[i]->setFrameShadow(QFrame::Sunken);
        m_ficex[i]->setMinimumWidth(120);
        row->addWidget(m_ficex[i], 1);
        m_choose[i] = new QPushButton(QStringLiteral("Ouvrir"), this);
        m_choose[i]->setObjectName(indexedName("CommandZ10", i));
        row->addWidget(m_choose[i]);
        connect(m_choose[i], &QPushButton::clicked, this, [this, i] { emit fileRequested(i); });
        if (i > 0) {
            m_forget[i] = new QPushButton(QStringLiteral("Effacer"), this);
            m_forget[i]->setObjectName(indexedName("CommandZ14", i));
            row->addWidget(m_forget[i]);
            connect(m_forget[i], &QPushButton::clicked, this, [this, i] { m_ficex[i]->clear(); });
        }
        layout->addLayout(row);
    }

    auto *titleLabel = new QLabel(QStringLiteral("Titre de l'exercice"), this);
    layout->addWidget(titleLabel);
    m_title = new QLineEdit(this);
    // Each label names its box for screen readers.
    titleLabel->setBuddy(m_title);
    m_title->setObjectName(QStringLiteral("titrexo"));
    m_title->setMaxLength(titleMaxChars);
    layout->addWidget(m_title);

    auto *grid = new QGridLayout;
    auto *difficultyLabel = new QLabel(QStringLiteral("Niveau de difficulté :"), this);
    grid->addWidget(difficultyLabel, 0, 0);
    m_difficulty = new QComboBox(this);
    difficultyLabel->setBuddy(m_difficulty);
    m_difficulty->setObjectName(QStringLiteral("ComboZ1"));
    grid->addWidget(m_difficulty, 0, 1, 1, 2);
    auto *hourglassLabel = new QLabel(QStringLiteral("Nombre de sabliers :"), this);
    grid->addWidget(hourglassLabel, 1, 0);
    m_hourglassCount = new QLabel(this);
    m_hourglassCount->setObjectName(QStringLiteral("Label3"));
    grid->addWidget(m_hourglassCount, 1, 1);
    m_hourglasses = new QSpinBox(this);
    m_hourglasses->setObjectName(QStringLiteral("UpDown2"));
    m_hourglasses->setRange(1, 10);
    hourglassLabel->setBuddy(m_hourglasses);
    grid->addWidget(m_hourglasses, 1, 2);
    connect(m_hourglasses, &QSpinBox::valueChanged, this,
            [this](int value) { m_hourglassCount->setText(QString::number(value)); });
    m_hourglassCount->setText(QString::number(m_hourglasses->value()));
    layout->addLayout(grid);

    auto *descriptionLabel = new QLabel(QStringLiteral("Description"), this);
    layout->addWidget(descriptionLabel);
    m_description = new QPlainTextEdit(this);
    descriptionLabel->setBuddy(m_description);
    m_description->setObjectName(QStringLiteral("TextZ1"));
    m_description->setTabChangesFocus(true);
    connect(m_description, &QPlainTextEdit::textChanged, this,
            &ExercisePanel::keepDescriptionWithinLimit);
    layout->addWidget(m_description, 1);

    // Carried by the recap file for the simulators; nothing here uses it.
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("HScroll1"));
    m_scroll->setRange(-32768, 32767);
    m_scroll->setValue(0);
    m_scroll->hide();

    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("Text1"));
    m_path->setReadOnly(true);
    m_path->setAccessibleName(QStringLiteral("Fichier de l'exercice"));
    layout->addWidget(m_path);
    connect(m_path, &QLineEdit::textChanged, this, &ExercisePanel::exercisePathChanged);

    auto *buttons = new QHBoxLayout;
    m_save = new QPushButton(QStringLiteral("Enregistrer"), this);
    m_save->setObjectName(QStringLiteral("Command20"));
    m_close = new QPushButton(QStringLiteral("Annuler"), this);
    m_close->setObjectName(QStringLiteral("Command19"));
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    connect(m_save, &QPushButton::clicked, this, &ExercisePanel::saveRequested);
    connect(m_close, &QPushButton::clicked, this, &ExercisePanel::closeRequested);
}

namespace {

// The file keeps the description's line ends as CR LF, two characters each.
QString withFileLineEnds(const QString &text) {
    QString result = text;
    return result.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

} // namespace

void ExercisePanel::keepDescriptionWithinLimit() {
    QString text = withFileLineEnds(m_description->toPlainText());
    if (text.size() <= descriptionMaxChars) return;
    text.truncate(descriptionMaxChars);
    if (text.endsWith(QLatin1Char('\r'))) text.chop(1);
    QSignalBlocker blocker(m_description);
    m_description->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_description->moveCursor(QTextCursor::End);
}

void ExercisePanel::setDescription(const QString &fileText) {
    QString text = fileText;
    m_description->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

recap::Fields ExercisePanel::fields() const {
    recap::Fields fields;
    for (int i = 0; i < 4; ++i)
        fields.files[i] = m_ficex.at(i)->text();
    fields.difficulty = m_difficulty->currentIndex();
    fields.scrollValue = m_scroll->value();
    fields.description = withFileLineEnds(m_description->toPlainText());
    fields.title = m_title->text();
    fields.hourglasses = m_hourglasses->value();
    return fields;
}

void ExercisePanel::setFields(const recap::Fields &fields) {
    for (int i = 0; i < 4; ++i)
        m_ficex.at(i)->setText(fields.files.at(i));
    m_difficulty->setCurrentIndex(fields.difficulty);
    m_scroll->setValue(fields.scrollValue);
    setDescription(fields.description);
    m_title->setText(fields.title);
    m_hourglasses->setValue(fields.hourglasses);
}

void ExercisePanel::setExercisePath(const QString &path) {
    m_path->setText(path);
    m_path->setToolTip(path);
}

QString ExercisePanel::exercisePath() const {
    return m_path->text();
}

void ExercisePanel::setFileName(int i, const QString &name) {
    m_ficex.at(i)->setText(name);
}

void ExercisePanel::setDifficulties(const QStringList &names) {
    m_difficulty->clear();
    m_difficulty->addItems(names);
    m_difficulty->setCurrentIndex(0);
}

void ExercisePanel::clear() {
    for (QLabel *file : m_ficex)
        file->clear();
    m_difficulty->setCurrentIndex(0);
    m_hourglasses->setValue(1);
    m_description->clear();
    m_title->clear();
}

void ExercisePanel::showRecapFile(const QByteArray &file) {
    const auto text = [&file](int record) { return recordfile::recordText(file, record); };
    for (int i = 0; i < 4; ++i)
        m_ficex.at(i)->setText(text(recap::StatementFile + i));
    const long long difficulty = recap::parseNumber(text(recap::Difficulty));
    if (difficulty >= -1 && difficulty < m_difficulty->count())
        m_difficulty->setCurrentIndex(int(difficulty));
    const long long scroll = recap::parseNumber(text(recap::ScrollValue));
    if (scroll >= m_scroll->minimum() && scroll <= m_scroll->maximum())
        m_scroll->setValue(int(scroll));
    QString description;
    for (int record = recap::FirstDescription; record <= recap::LastDescription; ++record) {
        const QString piece = text(record);
        if (!recap::trimBlanks(piece).isEmpty()) description += piece;
    }
    setDescription(description);
    m_title->setText(recap::trimBlanks(text(recap::Title)));
    const long long hourglasses = recap::parseNumber(text(recap::Hourglasses));
    if (hourglasses >= m_hourglasses->minimum() && hourglasses <= m_hourglasses->maximum())
        m_hourglasses->setValue(int(hourglasses));
}
