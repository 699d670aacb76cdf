#pragma once

#include <QByteArrayView>
#include <string_view>

// The control words the RTF reader knows, and what each does.
namespace rtfread {

// The size of text that names none, and of \fs without a number.
constexpr int defaultSizeHalfPt = 24;

// Where the characters of a group go.
enum class Dest : int {
    Body,         // the document
    Skip,         // nowhere
    FontTable,    // font names
    ColorTable,   // colour entries
    Picture,      // picture data
    Object,       // an embedded object: only its result shows
    ObjectResult, // what an object shows: a picture
    ListLevel,    // RichEdit's \pn paragraph numbering properties
    NumberBefore, // \pntxtb: the text before a \pn number
    NumberAfter,  // \pntxta: the text after it
    ListTable,    // \listtable: the lists' levels
    LevelText,    // a list level's label
    Overrides,    // \listoverridetable: which list each \ls names
    ListLabel,    // \listtext: a paragraph's label, as other readers show it
    Keep,         // a group that keeps its parent's destination
    Footnote,     // a footnote's text, shown after its paragraph
    UprAnsi,      // \upr: the text for readers without Unicode, not read
    UprUnicode,   // \ud inside \upr: the same text in Unicode, read
    ShapePicture, // \shppict: a picture as Word writes it, kept like Keep
    PictureCopy,  // \nonshppict: the same picture for older readers
    OwnPicture,   // \rdgpict: our picture as stored, kept like Keep; the
                  // \shppict after it holds its bitmap for other readers
    KeptCopy,     // that \shppict: its \pict is kept with our picture, the rest skipped
};

enum class Kind : unsigned char { Destination, Character, Property };

enum Prop : int {
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Font,
    FontSize,
    Color,
    Up,
    Down,
    OffsetTwips,
    Super,
    Sub,
    NoSuperSub,
    Caps,
    SmallCaps,
    Hidden,
    Protect,
    Unicode,
    UnicodeSkip,
    Par,
    ParDefault,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    TabPosition,
    TabRight,
    TabCenter,
    TabDecimal,
    ListOverride,
    ListLevelIndex,
    DefaultFont,
    FontCharset,
    Red,
    Green,
    Blue,
    PicWidth,
    PicHeight,
    PicGoalWidth,
    PicGoalHeight,
    PicScaleX,
    PicScaleY,
    PngBlip,
    JpegBlip,
    DibBlip,
    WinBitmap,
    MetafileBlip,
    PicBitsPerPixel,
    PicWidthBytes,
    ObjectWidth,
    ObjectHeight,
    ListLevelShown,
    ListLevelBullet,
    ListLevelContinued,
    AnsiCodePage,
    CharsetAnsi,
    CharsetMac,
    CharsetPc,
    CharsetPca,
    FontCodePage,
    FootnoteMark,
    ListNumberStyle, // the parameter is a QTextListFormat::Style
    ListNumberStart,
    ListBegin,
    ListLevelBegin,
    LevelFormat,
    LevelStart,
    ListId,
    OverrideBegin,
};

// A control word the reader knows. For a destination, id is a Dest; for a
// character, the UTF-16 code it stands for; for a property, a Prop.
struct Keyword {
    std::string_view name;
    Kind kind;
    int id;
    int defaultParam;
};

constexpr Keyword dest(std::string_view name, Dest d) {
    return {name, Kind::Destination, static_cast<int>(d), 0};
}
constexpr Keyword character(std::string_view name, char16_t code) {
    return {name, Kind::Character, code, 0};
}
constexpr Keyword prop(std::string_view name, Prop p, int defaultParam = 1) {
    return {name, Kind::Property, p, defaultParam};
}

// The control word of this name, or null when the reader does not know it.
const Keyword *findKeyword(QByteArrayView name);

} // namespace rtfread
