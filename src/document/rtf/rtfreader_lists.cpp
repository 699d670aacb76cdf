#include "document/rtf/rtfreader_impl.h"

// Numbered and bulleted lists: \pn numbering, the list table and its overrides.
namespace rtfread {

namespace {

QTextList *listLike(const QTextBlock &block, const rtflists::ListLook &look) {
    if (!block.isValid()) return nullptr;
    QTextList *list = block.textList();
    if (list && rtflists::lookOf(list->format()) == look) return list;
    return nullptr;
}

} // namespace

void RtfReader::applyNumberingProperty(Prop prop, int param) {
    switch (prop) {
    case ListLevelShown:
        m_numbering.shown = true;
        break;
    case ListLevelBullet:
        m_numbering.shown = true;
        m_numbering.bullet = true;
        break;
    case ListLevelContinued:
        m_numbering.shown = false;
        break;
    case ListNumberStyle:
        m_numbering.look.style =
            param >= QTextListFormat::ListUpperRoman && param <= QTextListFormat::ListDecimal
                ? static_cast<QTextListFormat::Style>(param)
                : QTextListFormat::ListDecimal;
        break;
    case ListNumberStart:
        m_numbering.look.start = std::clamp(param, 0, rtflists::maxListStart);
        break;
    default:
        break;
    }
}

void RtfReader::applyListTableProperty(Prop prop, int param) {
    const bool inTable = top().dest == Dest::ListTable;
    switch (prop) {
    case ListBegin:
        if (inTable) m_lists.beginList();
        break;
    case ListLevelBegin:
        if (inTable) m_lists.beginLevel();
        break;
    case LevelFormat:
        if (inTable) m_lists.setLevelFormat(param);
        break;
    case LevelStart:
        if (inTable) m_lists.setLevelStart(param);
        break;
    case ListId:
        if (inTable)
            m_lists.setListId(param);
        else
            m_lists.setOverrideListId(param);
        break;
    case OverrideBegin:
        if (!inTable) m_lists.beginOverride();
        break;
    case ListOverride:
        if (!inTable) m_lists.setOverrideNumber(param);
        break;
    default:
        break;
    }
}

void RtfReader::appendLabelBytes(QByteArrayView bytes) {
    for (const char byte : bytes) {
        const QChar ch = codepages::fromWindows1252(static_cast<unsigned char>(byte));
        if (!ch.isNull()) m_labelText.append(ch);
    }
}

void RtfReader::finishLabelGroup(Dest dest) {
    switch (dest) {
    case Dest::NumberBefore:
        m_numbering.look.prefix = m_labelText;
        break;
    case Dest::NumberAfter:
        m_numbering.look.suffix = m_labelText;
        break;
    case Dest::LevelText:
        m_lists.setLevelText(m_labelText);
        break;
    case Dest::ListLabel:
        m_pendingLabel = m_labelText;
        top().para.textLabel = !rtflists::isBulletLabel(m_labelText);
        break;
    default:
        break;
    }
    m_labelText.clear();
}

// A paragraph's list: from the list table when it names one, else from \pn.
// A list the table lacks shows a bullet, unless its label is a number: that
// one is kept as text, so that "10." is not lost.
std::optional<rtflists::ListLook> RtfReader::listLook(const ParaState &para) const {
    if (para.listOverride > 0) {
        bool found = false;
        std::optional<rtflists::ListLook> look =
            m_lists.look(para.listOverride, para.listLevel, found);
        if (found) return look;
        if (para.textLabel) return std::nullopt;
        return rtflists::ListLook();
    }
    return para.numbering;
}

bool RtfReader::keepsLabel(const ParaState &para) const {
    if (para.listOverride <= 0 || !para.textLabel) return false;
    bool found = false;
    m_lists.look(para.listOverride, para.listLevel, found);
    return !found;
}

void RtfReader::placeListLabel() {
    const QString label = std::exchange(m_pendingLabel, QString());
    if (!keepsLabel(top().para)) return;
    for (const QChar ch : label)
        appendBodyChar(ch.unicode());
}

// Bullets join the list just before; numbered items of one \ls level keep
// counting across the paragraphs between them, as word processors do.
QTextList *RtfReader::listFor(const ParaState &para, const rtflists::ListLook &look,
                              const QTextBlock &block) {
    if (QTextList *own = listLike(block, look)) return own;
    if (look.isNumbered() && para.listOverride > 0) {
        QTextList *list = m_numberedLists.value(qint64(para.listOverride) << 4 | para.listLevel);
        return list && rtflists::lookOf(list->format()) == look ? list : nullptr;
    }
    if (look.isNumbered()) {
        // \pn starting where an earlier list of the same labels stopped
        // continues it, across other paragraphs and lists.
        QTextList *last = m_pnLists.value(labelsKey(look));
        if (last && rtflists::lookOf(last->format()).start + last->count() == look.start)
            return last;
    }
    return listLike(block.previous(), look);
}

} // namespace rtfread
