#include "editor/richtextbox.h"

#include "document/textproperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

// The selection's paragraph attributes: alignment, bullet, indents, tabs.

namespace {

int alignmentCode(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight) return RichTextBox::AlignRight;
    if (alignment & Qt::AlignHCenter) return RichTextBox::AlignCenter;
    return RichTextBox::AlignLeft;
}

Qt::Alignment qtAlignment(int code) {
    switch (code) {
    case RichTextBox::AlignRight:
        return Qt::AlignRight;
    case RichTextBox::AlignCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace

// ---------------------------------------------------- paragraph attributes

template <typename T, typename Read>
std::optional<T> RichTextBox::commonBlockValue(Read read) const {
    const QTextCursor cursor = textCursor();
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    std::optional<T> common;
    for (QTextBlock block = document()->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
        const T value = read(block);
        if (!common)
            common = value;
        else if (*common != value)
            return std::nullopt;
        if (block == last) break;
    }
    return common;
}

void RichTextBox::changeSelectedBlocks(const std::function<void(QTextBlockFormat &)> &change) {
    const QTextCursor selection = textCursor();
    const QTextBlock last = document()->findBlock(selection.selectionEnd());
    QTextCursor editor(document());
    editor.beginEditBlock();
    for (QTextBlock block = document()->findBlock(selection.selectionStart()); block.isValid();
         block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        change(format);
        // A write that changes nothing would still leave a step to undo.
        if (format != block.blockFormat()) {
            editor.setPosition(block.position());
            editor.setBlockFormat(format);
        }
        if (block == last) break;
    }
    editor.endEditBlock();
}

std::optional<int> RichTextBox::selAlignment() const {
    return commonBlockValue<int>(
        [](const QTextBlock &b) { return alignmentCode(b.blockFormat().alignment()); });
}

void RichTextBox::setSelAlignment(int alignment) {
    const Qt::Alignment wanted = qtAlignment(alignment);
    changeSelectedBlocks([wanted](QTextBlockFormat &format) { format.setAlignment(wanted); });
}

std::optional<bool> RichTextBox::selBullet() const {
    return commonBlockValue<bool>([](const QTextBlock &b) { return b.textList() != nullptr; });
}

void RichTextBox::setSelBullet(bool on) {
    QTextCursor cursor = textCursor();
    if (on) {
        if (selBullet().value_or(false)) return;
        QTextListFormat list;
        list.setStyle(QTextListFormat::ListDisc);
        list.setIndent(1);
        cursor.createList(list);
        return;
    }
    // Leaving a list keeps the paragraph's own margins: only the list goes.
    changeSelectedBlocks([](QTextBlockFormat &format) { format.setObjectIndex(-1); });
}

std::optional<double> RichTextBox::selIndent() const {
    return commonBlockValue<double>(
        [](const QTextBlock &b) { return b.blockFormat().leftMargin(); });
}

void RichTextBox::setSelIndent(double pixels) {
    changeSelectedBlocks(
        [pixels](QTextBlockFormat &format) { textprops::setLeftMargin(format, pixels); });
}

std::optional<double> RichTextBox::selRightIndent() const {
    return commonBlockValue<double>(
        [](const QTextBlock &b) { return b.blockFormat().rightMargin(); });
}

void RichTextBox::setSelRightIndent(double pixels) {
    changeSelectedBlocks([pixels](QTextBlockFormat &format) { format.setRightMargin(pixels); });
}

std::optional<int> RichTextBox::selTabCount() const {
    return commonBlockValue<int>(
        [](const QTextBlock &b) { return int(b.blockFormat().tabPositions().size()); });
}

void RichTextBox::setSelTabCount(int count) {
    count = std::max(0, count);
    changeSelectedBlocks([count](QTextBlockFormat &format) {
        QList<QTextOption::Tab> stops = textprops::tabStops(format);
        stops.resize(count);
        textprops::setTabStops(format, stops);
    });
}

std::optional<double> RichTextBox::selTabs(int index) const {
    if (index < 0) return std::nullopt;
    // A paragraph without that stop makes the value missing, like a mix.
    constexpr double noStop = -1e300;
    const auto value = commonBlockValue<double>([index](const QTextBlock &b) {
        const QList<QTextOption::Tab> stops = textprops::tabStops(b.blockFormat());
        return index < stops.size() ? stops.at(index).position : noStop;
    });
    if (!value || *value == noStop) return std::nullopt;
    return value;
}

void RichTextBox::setSelTabs(int index, double pixels) {
    if (index < 0) return;
    changeSelectedBlocks([index, pixels](QTextBlockFormat &format) {
        QList<QTextOption::Tab> stops = textprops::tabStops(format);
        if (index >= stops.size()) stops.resize(index + 1);
        stops[index] = QTextOption::Tab(pixels, QTextOption::LeftTab);
        textprops::setTabStops(format, stops);
    });
}

int RichTextBox::rightMargin() const {
    if (m_rightMarginPx > 0) return m_rightMarginPx;
    return std::max(0, viewport()->width() - 2 * int(document()->documentMargin()));
}

void RichTextBox::setRightMargin(int pixels) {
    m_rightMarginPx = std::max(0, pixels);
    if (m_rightMarginPx > 0) {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(m_rightMarginPx);
    } else {
        setLineWrapMode(QTextEdit::WidgetWidth);
    }
}
