#pragma once

// Exercise-like documents for the benchmarks: French text with accents,
// formulas with raised and lowered runs, Symbol letters, colours, tabs,
// bullets and a few pictures.

#include "document/rtf/rtfwriter.h"
#include "document/textproperties.h"

#include <QImage>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <optional>

namespace {

const QStringList sentences = {
    QStringLiteral("On dissout une masse m = 2,5 g de sulfate de cuivre dans l'eau distillée."),
    QStringLiteral("Écrire l'équation de la réaction et préciser le rôle de chaque espèce."),
    QStringLiteral("La célérité des ondes à la surface de l'eau dépend de la profondeur."),
    QStringLiteral("Déterminer la concentration molaire effective des ions présents."),
};

QTextCharFormat plainFormat() {
    QTextCharFormat format;
    textprops::setFontName(format, QStringLiteral("Arial"));
    format.setFontPointSize(12);
    return format;
}

void insertFormula(QTextCursor &cursor) {
    // SO4 2- : a lowered index and a raised charge, as the ion tool makes them.
    QTextCharFormat normal = plainFormat();
    QTextCharFormat index = normal;
    index.setFontPointSize(8);
    textprops::setOffsetTwips(index, -60);
    QTextCharFormat charge = normal;
    charge.setFontPointSize(8);
    textprops::setOffsetTwips(charge, 96);
    cursor.insertText(QStringLiteral(" Cu"), normal);
    cursor.insertText(QStringLiteral("2+"), charge);
    cursor.insertText(QStringLiteral(" + SO"), normal);
    cursor.insertText(QStringLiteral("4"), index);
    cursor.insertText(QStringLiteral("2-"), charge);
    QTextCharFormat symbol = normal;
    textprops::setFontName(symbol, QStringLiteral("Symbol"));
    cursor.insertText(QStringLiteral(" \u21D4 \u0394\u03B1 "), symbol);
    QTextCharFormat coloured = normal;
    coloured.setForeground(QColor(0, 0, 200));
    coloured.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("réponse"), coloured);
}

void insertPicture(QTextCursor &cursor, QTextDocument &document, int number) {
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(number * 37 % 360, 180, 220));
    QPainter(&image).drawEllipse(8, 4, 30, 24);
    const QString name = textprops::newImageName();
    document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    cursor.insertImage(format);
}

// Long paragraphs of plain French prose, a few words in bold.
void insertProse(QTextCursor &cursor, int paragraph) {
    for (int i = 0; i < 6; ++i) {
        QTextCharFormat format = plainFormat();
        if ((paragraph + i) % 9 == 0) format.setFontWeight(QFont::Bold);
        cursor.insertText(sentences.at((paragraph + i) % sentences.size()) + QLatin1Char(' '),
                          format);
    }
}

// Paragraph after paragraph of formulas, as in a chemistry correction.
void insertFormulas(QTextCursor &cursor) {
    for (int i = 0; i < 5; ++i)
        insertFormula(cursor);
}

enum class DocumentKind { Exercise, Prose, Formulas };

inline std::optional<DocumentKind> documentKind(const QString &name) {
    if (name == QLatin1String("exercise")) return DocumentKind::Exercise;
    if (name == QLatin1String("prose")) return DocumentKind::Prose;
    if (name == QLatin1String("formulas")) return DocumentKind::Formulas;
    return std::nullopt;
}

// Paragraphs until the RTF is at least the wanted size.
inline QByteArray generate(qint64 wantedBytes, DocumentKind kind = DocumentKind::Exercise) {
    QTextDocument document;
    QTextCursor cursor(&document);
    int paragraph = 0;
    qint64 estimated = 0;
    qint64 perParagraph = 0;
    while (true) {
        QTextBlockFormat block;
        block.setLeftMargin(paragraph % 7 == 0 ? 20 : 0);
        block.setAlignment(paragraph % 11 == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        block.setTabPositions({QTextOption::Tab(115, QTextOption::LeftTab)});
        if (paragraph > 0)
            cursor.insertBlock(block, plainFormat());
        else
            cursor.setBlockFormat(block);
        if (kind == DocumentKind::Prose) {
            insertProse(cursor, paragraph);
        } else if (kind == DocumentKind::Formulas) {
            insertFormulas(cursor);
        } else {
            if (paragraph % 5 == 1) {
                QTextListFormat bullets;
                bullets.setStyle(QTextListFormat::ListDisc);
                cursor.createList(bullets);
            }
            cursor.insertText(sentences.at(paragraph % sentences.size()), plainFormat());
            cursor.insertText(QStringLiteral("\t"), plainFormat());
            insertFormula(cursor);
            if (paragraph % 400 == 3) insertPicture(cursor, document, paragraph);
        }
        ++paragraph;
        if (paragraph == 200) perParagraph = writeRtf(document).size() / paragraph;
        if (perParagraph > 0) {
            estimated = perParagraph * paragraph;
            if (estimated >= wantedBytes) {
                const QByteArray rtf = writeRtf(document);
                if (rtf.size() >= wantedBytes) return rtf;
                perParagraph = rtf.size() / paragraph;
            }
        }
    }
}

} // namespace
