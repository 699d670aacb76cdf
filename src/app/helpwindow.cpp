#include "app/helpwindow.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const QString helpRoot = QStringLiteral("qrc:/help/");

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
    return {QStringLiteral("index.html"),    QStringLiteral("exercice.html"),
            QStringLiteral("textes.html"),   QStringLiteral("typographie.html"),
            QStringLiteral("symboles.html"), QStringLiteral("formules.html"),
            QStringLiteral("menus.html"),    QStringLiteral("installation.html")};
}

HelpWindow::HelpWindow(QWidget *parent) : QDialog(parent) {
    // The pages live in a static library: their resource must be registered.
    Q_INIT_RESOURCE(help);
    setObjectName(QStringLiteral("aide"));
    setWindowTitle(QStringLiteral("Aide de Rédigo"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_contents = new QListWidget;
    m_contents->setObjectName(QStringLiteral("sommaire"));
    for (const QString &page : pageNames()) {
        auto *item = new QListWidgetItem(pageTitle(page), m_contents);
        item->setData(Qt::UserRole, QUrl(helpRoot + page));
    }
    // Every title of the contents reads whole.
    m_contents->setMinimumWidth(m_contents->sizeHintForColumn(0) + 2 * m_contents->frameWidth() +
                                8);
    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("pages"));
    m_browser->setOpenExternalLinks(true);
    auto *splitter = new QSplitter;
    splitter->addWidget(m_contents);
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
    resize(900, 650);
    m_contents->setCurrentRow(0);
}

void HelpWindow::showPage(const QUrl &url) {
    if (m_browser->source().adjusted(QUrl::RemoveFragment) != url) m_browser->setSource(url);
}
