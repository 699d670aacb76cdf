#include "print/printing.h"
#include "spelling/spellunderliner.h"
#include "windowfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QTextBlock>

namespace {

// The window shown, its text typed with real keys and checked at once.
class Fixture : public ShownWindowFixture {
public:
    SpellUnderliner &spelling() const { return *window.findChild<SpellUnderliner *>(); }
    // One key a character, accented letters included.
    void type(const QString &keys) {
        for (QChar c : keys) {
            QKeyEvent press(QEvent::KeyPress, c == u' ' ? Qt::Key_Space : 0, Qt::NoModifier,
                            QString(c));
            QApplication::sendEvent(&exo, &press);
            QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
            QApplication::sendEvent(&exo, &release);
        }
        // Checked once the typing pauses.
        if (!QTest::qWaitFor([this] { return !spelling().pending(); }, 5000))
            qFatal("the spelling check never ends");
    }
    // The underlined words, paragraph after paragraph.
    QStringList underlined() const {
        QStringList words;
        for (QTextBlock block = exo.document()->begin(); block.isValid(); block = block.next())
            for (const QTextLayout::FormatRange &mark : block.layout()->formats())
                words << block.text().mid(mark.start, mark.length);
        return words;
    }
    QPoint pointOf(const QString &word) const {
        QTextCursor cursor(exo.document());
        cursor.setPosition(int(exo.text().indexOf(word)) + 1);
        return exo.cursorRect(cursor).center();
    }
};

// The first page "Imprimer" would give, as an image.
QImage printedPage(Fixture &f, const QString &name) {
    QDir(f.root).mkdir(name);
    const QString pdf = f.root + name + QStringLiteral("/page.pdf");
    if (!f.window.printing().writePdf(f.exo, pdf)) return {};
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                       QStringLiteral("-singlefile"), pdf, pdf});
    return QImage(pdf + QStringLiteral(".png"));
}

// Every format "Copier" puts on the clipboard for the whole text.
QMap<QString, QByteArray> copiedWhole(Fixture &f) {
    f.exo.setSelStart(0);
    f.exo.setSelLength(int(f.exo.text().size()));
    f.action("copie")->trigger();
    QMap<QString, QByteArray> formats;
    const QMimeData *data = QApplication::clipboard()->mimeData();
    for (const QString &format : data->formats())
        formats.insert(format, data->data(format));
    return formats;
}

} // namespace

class SpellUnderlinerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void misspeltWordsAreUnderlinedAsTyped();
    void typingHoldsTheRestOfTheCheckBack();
    void underlinesAreDisplayOnly();
    void suggestionsReplaceTheWordInOneStep();
    void wordsAddedStayKnownAfterARestart();
    void withoutDictionaryTheEntryIsDisabled();

private:
    QTemporaryDir m_data;
};

void SpellUnderlinerTest::initTestCase() {
    // The personal word list goes to a folder of the test's own.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
}

void SpellUnderlinerTest::misspeltWordsAreUnderlinedAsTyped() {
    Fixture f;
    f.type(QStringLiteral("La molécul d'eau H2O est polair"));
    // The word still being typed waits for its end.
    QCOMPARE(f.underlined(), QStringList{"molécul"});
    f.type(QStringLiteral(". Le carbonne CO2 et Cu2+ à 12h30"));
    QCOMPARE(f.underlined(), (QStringList{"molécul", "polair", "carbonne"}));
    // Off for the run: no underline; on again: back.
    f.action("orthographe")->trigger();
    QVERIFY(f.underlined().isEmpty());
    f.action("orthographe")->trigger();
    f.spelling().checkAll();
    QCOMPARE(f.underlined().size(), 3);
}

// A key typed while a long text is being checked is painted at once: the
// check of the rest waits for the typing to pause, then goes on.
void SpellUnderlinerTest::typingHoldsTheRestOfTheCheckBack() {
    Fixture f;
    QStringList paragraphs(3000, QStringLiteral("Le carbonne brule."));
    f.exo.setText(paragraphs.join(QLatin1Char('\n')));
    QTest::keyClick(&f.exo, Qt::Key_A);
    const qsizetype afterKey = f.underlined().size();
    for (int turn = 0; turn < 20; ++turn)
        QCoreApplication::processEvents();
    QCOMPARE(f.underlined().size(), afterKey);
    QVERIFY(QTest::qWaitFor([&f] { return !f.spelling().pending(); }, 60000));
    QVERIFY(f.underlined().size() >= 3000);
}

// Underlined or not, the text saves, copies, prints and undoes the same.
void SpellUnderlinerTest::underlinesAreDisplayOnly() {
    Fixture f;
    f.type(QStringLiteral("La molécul d'eau est polair. "));
    f.spelling().checkAll();
    QCOMPARE(f.underlined().size(), 2);
    const QByteArray checked = f.exo.textRTF();
    const int undoSteps = f.exo.document()->availableUndoSteps();
    const bool modified = f.exo.document()->isModified();
    // As just saved: drawing or clearing underlines is no change to save.
    f.window.state().sauvegarde = 1;
    const QImage pageOn = printedPage(f, QStringLiteral("on"));
    const QMap<QString, QByteArray> copiedOn = copiedWhole(f);
    QVERIFY(!copiedOn.isEmpty());
    f.action("orthographe")->trigger();
    QCOMPARE(f.exo.textRTF(), checked);
    QCOMPARE(f.exo.document()->availableUndoSteps(), undoSteps);
    QCOMPARE(f.exo.document()->isModified(), modified);
    f.action("orthographe")->trigger();
    f.spelling().checkAll();
    QCOMPARE(f.underlined().size(), 2);
    f.action("orthographe")->trigger();
    QCOMPARE(f.window.state().sauvegarde, int16_t(1));
    const QImage pageOff = printedPage(f, QStringLiteral("off"));
    QCOMPARE(copiedWhole(f), copiedOn);
    QVERIFY(!pageOn.isNull());
    QCOMPARE(pageOn, pageOff);
}

void SpellUnderlinerTest::suggestionsReplaceTheWordInOneStep() {
    Fixture f;
    f.type(QStringLiteral("La molécul d'eau. "));
    f.spelling().checkAll();
    QMenu menu;
    emit f.exo.contextMenuOpening(&menu, f.exo.viewport()->mapFromParent(f.pointOf("molécul")));
    QStringList captions;
    for (QAction *entry : menu.actions())
        if (!entry->isSeparator()) captions << entry->text();
    QVERIFY2(captions.contains(QStringLiteral("molécule")), qPrintable(captions.join(u',')));
    QVERIFY(captions.size() <= 8);
    QCOMPARE(captions.mid(captions.size() - 2),
             (QStringList{"Ignorer", "Ajouter au dictionnaire"}));
    for (QAction *entry : menu.actions())
        if (entry->text() == QStringLiteral("molécule")) entry->trigger();
    QCOMPARE(f.exo.text(), QStringLiteral("La molécule d'eau. "));
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo.text(), QStringLiteral("La molécul d'eau. "));
}

void SpellUnderlinerTest::wordsAddedStayKnownAfterARestart() {
    {
        Fixture f;
        f.type(QStringLiteral("Une burettex graduée. "));
        f.spelling().checkAll();
        QCOMPARE(f.underlined(), QStringList{"burettex"});
        QMenu menu;
        emit f.exo.contextMenuOpening(&menu,
                                      f.exo.viewport()->mapFromParent(f.pointOf("burettex")));
        for (QAction *entry : menu.actions())
            if (entry->text() == QStringLiteral("Ajouter au dictionnaire")) entry->trigger();
        f.spelling().checkAll();
        QVERIFY(f.underlined().isEmpty());
    }
    Fixture again;
    again.type(QStringLiteral("Une burettex graduée. "));
    again.spelling().checkAll();
    QVERIFY(again.underlined().isEmpty());
}

void SpellUnderlinerTest::withoutDictionaryTheEntryIsDisabled() {
    QTemporaryDir empty;
    qputenv("REDIGO_DICTIONARY_DIR", QFile::encodeName(empty.path()));
    Fixture f;
    qunsetenv("REDIGO_DICTIONARY_DIR");
    QAction *entry = f.action("orthographe");
    QVERIFY(!entry->isEnabled());
    QVERIFY(entry->toolTip().contains(QStringLiteral("hunspell-fr")));
    f.type(QStringLiteral("La molécul. "));
    QVERIFY(f.underlined().isEmpty());
}

QTEST_MAIN(SpellUnderlinerTest)
#include "spellunderliner_test.moc"
