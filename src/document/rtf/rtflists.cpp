#include "document/rtf/rtflists.h"

#include <algorithm>
#include <array>

namespace rtflists {
namespace {

// Level numbers appear in a \leveltext as the characters 0 to 8.
constexpr char16_t maxLevelPlaceholder = 8;
constexpr int maxLevels = 9;
// More than any real document has: a damaged one cannot fill the memory.
constexpr qsizetype maxLists = 4096;
constexpr int maxRomanNumber = 3999;

QString romanNumber(int number) {
    static constexpr std::array<std::pair<int, const char *>, 13> parts{{{1000, "M"},
                                                                         {900, "CM"},
                                                                         {500, "D"},
                                                                         {400, "CD"},
                                                                         {100, "C"},
                                                                         {90, "XC"},
                                                                         {50, "L"},
                                                                         {40, "XL"},
                                                                         {10, "X"},
                                                                         {9, "IX"},
                                                                         {5, "V"},
                                                                         {4, "IV"},
                                                                         {1, "I"}}};
    QString text;
    for (const auto &[value, letters] : parts) {
        for (; number >= value; number -= value)
            text += QLatin1String(letters);
    }
    return text;
}

// a, b, ... z, aa, ab: as Qt numbers its lettered lists.
QString letterNumber(int number) {
    QString text;
    for (; number > 0; number = (number - 1) / 26)
        text.prepend(QChar(u'A' + (number - 1) % 26));
    return text;
}

} // namespace

QTextListFormat ListLook::listFormat() const {
    QTextListFormat format;
    format.setStyle(style);
    if (!isNumbered()) return format;
    if (!prefix.isEmpty()) format.setNumberPrefix(prefix);
    // Qt shows "." after the number unless a suffix is set.
    format.setNumberSuffix(suffix);
    if (start != 1) format.setProperty(listStartProperty, start);
    return format;
}

ListLook lookOf(const QTextListFormat &format) {
    ListLook look;
    look.style = format.style();
    switch (look.style) {
    case QTextListFormat::ListDecimal:
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman:
        break;
    default:
        look.style = QTextListFormat::ListDisc;
        return look;
    }
    look.prefix = format.numberPrefix();
    look.suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                    : QStringLiteral(".");
    if (format.hasProperty(listStartProperty)) look.start = format.intProperty(listStartProperty);
    return look;
}

std::optional<QTextListFormat::Style> styleOfLevelFormat(int nfc) {
    switch (nfc) {
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    case 23:
        return QTextListFormat::ListDisc;
    case 255:
        return std::nullopt;
    default:
        // Ordinals, leading zeros and the Asian counting systems.
        return QTextListFormat::ListDecimal;
    }
}

int levelFormatOf(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListDecimal:
        return 0;
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    default:
        return 23;
    }
}

const char *pnWordOf(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListUpperRoman:
        return "\\pnucrm";
    case QTextListFormat::ListLowerRoman:
        return "\\pnlcrm";
    case QTextListFormat::ListUpperAlpha:
        return "\\pnucltr";
    case QTextListFormat::ListLowerAlpha:
        return "\\pnlcltr";
    default:
        return "\\pndec";
    }
}

QString labelText(const ListLook &look, int number) {
    QString digits;
    switch (look.style) {
    case QTextListFormat::ListLowerAlpha:
        digits = letterNumber(number).toLower();
        break;
    case QTextListFormat::ListUpperAlpha:
        digits = letterNumber(number);
        break;
    case QTextListFormat::ListLowerRoman:
        digits = number > 0 && number <= maxRomanNumber ? romanNumber(number).toLower()
                                                        : QString::number(number);
        break;
    case QTextListFormat::ListUpperRoman:
        digits =
            number > 0 && number <= maxRomanNumber ? romanNumber(number) : QString::number(number);
        break;
    default:
        digits = QString::number(number);
        break;
    }
    return look.prefix + digits + look.suffix;
}

bool isBulletLabel(const QString &label) {
    const QString sign = label.simplified();
    if (sign.size() == 1) return !sign[0].isDigit();
    return std::none_of(sign.begin(), sign.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

void ListTable::beginList() {
    m_inList = qsizetype(m_lists.size()) < maxLists;
    if (m_inList) m_lists.emplace_back();
}

void ListTable::beginLevel() {
    if (!m_inList || m_lists.back().levels.size() >= maxLevels) return;
    m_lists.back().levels.emplace_back();
}

ListTable::Level *ListTable::currentLevel() {
    if (!m_inList || m_lists.back().levels.empty()) return nullptr;
    return &m_lists.back().levels.back();
}

void ListTable::setLevelFormat(int nfc) {
    if (Level *level = currentLevel()) {
        const auto style = styleOfLevelFormat(nfc);
        level->shown = style.has_value();
        if (style) level->look.style = *style;
    }
}

void ListTable::setLevelStart(int start) {
    if (Level *level = currentLevel()) level->look.start = std::clamp(start, 0, maxListStart);
}

void ListTable::setLevelText(const QString &text) {
    Level *level = currentLevel();
    if (!level || text.isEmpty()) return;
    QString label = text.mid(1, text[0].unicode());
    if (label.endsWith(u';')) label.chop(1);
    // Qt shows one number: the level's own, the last one in the label.
    const auto isPlaceholder = [](QChar c) { return c.unicode() <= maxLevelPlaceholder; };
    const auto last = std::find_if(label.rbegin(), label.rend(), isPlaceholder);
    if (last == label.rend()) return;
    const qsizetype at = label.rend() - last - 1;
    // In "1.a)" the "." goes with the number before.
    const bool alone = std::none_of(last + 1, label.rend(), isPlaceholder);
    level->look.prefix = alone ? label.left(at) : QString();
    level->look.suffix = label.mid(at + 1);
}

void ListTable::setListId(int id) {
    if (m_inList) m_listIndexes.insert(id, int(m_lists.size() - 1));
}

void ListTable::beginOverride() {
    m_inList = false;
    m_overrideListId = -1;
    m_overrideNumber = -1;
}

void ListTable::setOverrideListId(int id) {
    m_overrideListId = id;
    commitOverride();
}

void ListTable::setOverrideNumber(int ls) {
    m_overrideNumber = ls;
    commitOverride();
}

void ListTable::commitOverride() {
    if (m_overrideNumber > 0 && m_overrideListId != -1 && m_overrides.size() < maxLists)
        m_overrides.insert(m_overrideNumber, m_overrideListId);
}

std::optional<ListLook> ListTable::look(int ls, int level, bool &found) const {
    found = false;
    const auto listId = m_overrides.constFind(ls);
    if (listId == m_overrides.constEnd()) return std::nullopt;
    const auto index = m_listIndexes.constFind(listId.value());
    if (index == m_listIndexes.constEnd()) return std::nullopt;
    const List &list = m_lists[size_t(index.value())];
    if (list.levels.empty()) return std::nullopt;
    found = true;
    const Level &shown = list.levels[size_t(std::clamp(level, 0, int(list.levels.size()) - 1))];
    if (!shown.shown) return std::nullopt;
    return shown.look.isNumbered() ? shown.look : ListLook();
}

} // namespace rtflists
