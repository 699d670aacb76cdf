#pragma once

#include <QHash>
#include <QString>
#include <QTextListFormat>
#include <optional>
#include <utility>
#include <vector>

// Numbered and bulleted lists as RTF has them: the \listtable with its
// \listoverridetable (Word, LibreOffice) and the older \pn paragraph numbering
// (RichEdit, Word 6).
namespace rtflists {

// Qt 6.6 names this list format property ListStart; Qt 6.4 keeps it without
// drawing it, so the number a list starts at is read and written back.
constexpr int listStartProperty = 0x3004;
// Word's largest start number.
constexpr int maxListStart = 32767;

// What a list label looks like.
struct ListLook {
    ListLook() = default;
    explicit ListLook(QTextListFormat::Style style, int start = 1, QString prefix = {},
                      QString suffix = {})
        : style(style), start(start), prefix(std::move(prefix)), suffix(std::move(suffix)) {}

    QTextListFormat::Style style = QTextListFormat::ListDisc;
    int start = 1;
    QString prefix;
    QString suffix;

    bool operator==(const ListLook &) const = default;
    bool isNumbered() const { return style != QTextListFormat::ListDisc; }
    QTextListFormat listFormat() const;
};

ListLook lookOf(const QTextListFormat &format);

// The \levelnfc number format; none for 255 (the level shows no label).
std::optional<QTextListFormat::Style> styleOfLevelFormat(int nfc);
// The \levelnfc and \pn words for a style.
int levelFormatOf(QTextListFormat::Style style);
const char *pnWordOf(QTextListFormat::Style style);

// The label of the list item at number (1 for the first item at start 1).
QString labelText(const ListLook &look, int number);

// A \listtext label that is only a bullet sign, not a number or letter.
bool isBulletLabel(const QString &label);

// The list and override tables of one document, read as they come.
class ListTable {
public:
    void beginList();
    void beginLevel();
    void setLevelFormat(int nfc);
    void setLevelStart(int start);
    // The \leveltext: its length character, then the label with the level
    // numbers as characters 0 to 8.
    void setLevelText(const QString &text);
    void setListId(int id);

    void beginOverride();
    void setOverrideListId(int id);
    void setOverrideNumber(int ls);

    // The look of level `level` of override `ls`; found is false when the
    // document has no such list. A found level with no label gives none.
    std::optional<ListLook> look(int ls, int level, bool &found) const;

private:
    struct Level {
        bool shown = true; // false for a level without label
        ListLook look{QTextListFormat::ListDecimal};
    };
    struct List {
        std::vector<Level> levels;
    };
    Level *currentLevel();
    void commitOverride();

    std::vector<List> m_lists;
    QHash<int, int> m_listIndexes; // by \listid
    QHash<int, int> m_overrides;   // \ls to \listid
    int m_overrideListId = -1;
    int m_overrideNumber = -1;
    bool m_inList = false;
};

} // namespace rtflists
