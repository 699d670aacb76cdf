#include "app/helpwindow.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString helpRoot = QStringLiteral("qrc:/help/");

// Lower case without accents: "Énoncé" is found as "enonce".
QString folded(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing) out += c.toLower();
    return out;
}

// A page's words, its markup aside.
QString pageText(const QString &page) {
    QFile file(QStringLiteral(":/help/") + page);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.readAll()));
    return folded(document.toPlainText());
}

// A page's title, as its <title> names it.
QString pageTitle(const QString &page) {
    QFile file(QStringLiteral(":/help/") + page);
    if (!file.open(QIODevice::ReadOnly)) return page;
    static const QRegularExpression title(QStringLiteral("<title>([^<]*)</title>"));
    const auto match = title.match(QString::fromUtf8(file.readAll()));
    return match.hasMatch() ? match.captured(1) : page;
}

} // namespace

QStringList HelpWindow::pageNames() {
    return {QStringLiteral("index.html"),      QStringLiteral("exercice.html"),
            QStringLiteral("textes.html"),     QStringLiteral("collage.html"),
            QStringLiteral("regle.html"),      QStringLiteral("typographie.html"),
            QStringLiteral("decalages.html"),  QStringLiteral("symboles.html"),
            QStringLiteral("caracteres.html"), QStringLiteral("formules.html"),
            QStringLiteral("impression.html"), QStringLiteral("apercu-pdf.html"),
            QStringLiteral("menus.html"),      QStringLiteral("installation.html")};
}

HelpWindow::HelpWindow(QWidget *parent) : QDialog(parent) {
    // The pages live in a static library: their resource must be registered.
    Q_INIT_RESOURCE(help);
    setObjectName(QStringLiteral("aide"));
    setWindowTitle(QStringLiteral("Aide de Rédigo"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_contents = new QListWidget;
    m_contents->setObjectName(QStringLiteral("sommaire"));
    m_contents->setAccessibleName(QStringLiteral("Sommaire de l'aide"));
    for (const QString &page : pageNames()) {
        auto *item = new QListWidgetItem(pageTitle(page), m_contents);
        item->setData(Qt::UserRole, QUrl(helpRoot + page));
        m_pageTexts << pageText(page);
    }
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("rechercheaide"));
    m_search->setPlaceholderText(QStringLiteral("Rechercher dans l'aide"));
    m_search->setAccessibleName(QStringLiteral("Rechercher dans l'aide"));
    m_search->setClearButtonEnabled(true);
    m_found = new QLabel;
    m_found->setObjectName(QStringLiteral("pagestrouvees"));
    connect(m_search, &QLineEdit::textChanged, this, &HelpWindow::search);
    // Return finds the next place in the page shown.
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        const QString first = m_search->text().simplified().section(QLatin1Char(' '), 0, 0);
        if (!first.isEmpty() && !m_browser->find(first)) {
            m_browser->moveCursor(QTextCursor::Start);
            m_browser->find(first);
        }
    });
    // Every title of the contents reads whole.
    m_contents->setMinimumWidth(m_contents->sizeHintForColumn(0) + 2 * m_contents->frameWidth() +
                                8);
    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("pages"));
    m_browser->setAccessibleName(QStringLiteral("Page de l'aide"));
    m_browser->setOpenExternalLinks(true);
    auto *side = new QWidget;
    auto *sideColumn = new QVBoxLayout(side);
    sideColumn->setContentsMargins(0, 0, 0, 0);
    sideColumn->addWidget(m_search);
    sideColumn->addWidget(m_found);
    sideColumn->addWidget(m_contents, 1);
    auto *splitter = new QSplitter;
    splitter->addWidget(side);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *back = buttons->addButton(QStringLiteral("Précédent"), QDialogButtonBox::ActionRole);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);
    auto *column = new QVBoxLayout(this);
    column->addWidget(splitter, 1);
    column->addWidget(buttons);
    connect(m_contents, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item) showPage(item->data(Qt::UserRole).toUrl());
    });
    // A link followed in the pages selects its page in the list.
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) {
        const QString page = url.fileName();
        for (int row = 0; row < m_contents->count(); ++row) {
            if (m_contents->item(row)->data(Qt::UserRole).toUrl().fileName() == page) {
                const QSignalBlocker quiet(m_contents);
                m_contents->setCurrentRow(row);
            }
        }
    });
    resize(960, 680);
    // The list as wide as its titles, the pages the rest.
    const int sideWidthPx = m_contents->minimumWidth();
    splitter->setSizes({sideWidthPx, width() - sideWidthPx});
    m_contents->setCurrentRow(0);
}

void HelpWindow::search(const QString &words) {
    const QStringList wanted = folded(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int firstRow = -1;
    int count = 0;
    for (int row = 0; row < m_contents->count(); ++row) {
        const QString &text = m_pageTexts.at(row);
        const bool holds = std::all_of(wanted.begin(), wanted.end(), [&text](const QString &word) {
            return text.contains(word);
        });
        m_contents->item(row)->setHidden(!holds);
        if (!holds) continue;
        ++count;
        if (firstRow < 0) firstRow = row;
    }
    if (wanted.isEmpty()) {
        m_found->clear();
        return;
    }
    m_found->setText(count == 0   ? QStringLiteral("Aucune page ne contient ces mots.")
                     : count == 1 ? QStringLiteral("1 page")
                                  : QString::number(count) + QStringLiteral(" pages"));
    if (firstRow < 0) return;
    if (m_contents->currentRow() != firstRow && m_contents->currentItem() &&
        !m_contents->currentItem()->isHidden())
        firstRow = m_contents->currentRow();
    m_contents->setCurrentRow(firstRow);
    // The first word found in the page, from its start.
    m_browser->moveCursor(QTextCursor::Start);
    m_browser->find(words.simplified().section(QLatin1Char(' '), 0, 0));
}

void HelpWindow::showPage(const QUrl &url) {
    if (m_browser->source().adjusted(QUrl::RemoveFragment) != url) m_browser->setSource(url);
}
