// Lists what a RichEdit 2.0 control reads of an RTF file, in the line format
// of `rtfcat --runs`: a P line per paragraph, an R line per run of one
// character format, and an O line per embedded object (where rtfcat prints
// its I lines). A Windows console program: cross-compiled with mingw-w64 and
// run under Wine by tools/richedit-check.sh.
//
// usage: richedit_dump FILE.rtf
// Exit status: 0 when the file was read, 1 when it could not be, 2 on misuse.

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <ole2.h>
#include <richedit.h>
#include <richole.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int twipsPerPoint = 20;
constexpr int twipsPerPixel = 15;
constexpr double himetricPerInch = 2540;
constexpr double pixelsPerInch = 96;
// A line break (RTF \line) is U+000B in Windows' control, a blank that ends
// its line in Wine's; rtfcat shows Qt's, U+2028.
constexpr wchar_t verticalTab = 0x000B;
constexpr wchar_t lineSeparator = 0x2028;

// C locale, at most two decimals, no trailing zeros: as rtfcat prints numbers.
std::string number(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    std::string text = buffer;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return text;
}

std::string utf8(const std::wstring &text) {
    if (text.empty()) return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string out(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), bytes, nullptr,
                        nullptr);
    return out;
}

// A quoted string with the escapes rtfcat uses.
std::string quoted(const std::wstring &text) {
    std::wstring escaped = L"\"";
    for (const wchar_t ch : text) {
        switch (ch) {
        case L'"':
            escaped += L"\\\"";
            break;
        case L'\\':
            escaped += L"\\\\";
            break;
        case L'\t':
            escaped += L"\\t";
            break;
        case L'\n':
            escaped += L"\\n";
            break;
        case verticalTab:
        case lineSeparator:
            escaped += lineSeparator;
            break;
        default:
            if (ch < 0x20) {
                wchar_t code[8];
                std::swprintf(code, 8, L"\\u%04x", unsigned(ch));
                escaped += code;
            } else {
                escaped += ch;
            }
        }
    }
    return utf8(escaped + L"\"");
}

void print(const std::string &line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
}

struct Source {
    std::vector<char> bytes;
    size_t position = 0;
};

DWORD CALLBACK readSource(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG *given) {
    auto *source = reinterpret_cast<Source *>(cookie);
    const size_t left = source->bytes.size() - source->position;
    const size_t count = left < size_t(wanted) ? left : size_t(wanted);
    std::memcpy(buffer, source->bytes.data() + source->position, count);
    source->position += count;
    *given = LONG(count);
    return 0;
}

class RichEdit {
public:
    RichEdit() {
        m_window = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_POPUP | ES_MULTILINE, 0, 0, 600, 400,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!m_window) return;
        SendMessageW(m_window, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
        // A form gives its control its own font; without one, Wine's control
        // starts in the bold System font, which a file's text keeps unless
        // the file says otherwise.
        SendMessageW(m_window, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        // No wrapping: a line then ends only where the text breaks it.
        SendMessageW(m_window, EM_SETTARGETDEVICE, 0, 1);
    }
    ~RichEdit() {
        if (m_window) DestroyWindow(m_window);
    }
    RichEdit(const RichEdit &) = delete;
    RichEdit &operator=(const RichEdit &) = delete;

    bool isValid() const { return m_window != nullptr; }

    bool streamIn(Source &source) {
        EDITSTREAM stream = {};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
        stream.pfnCallback = readSource;
        SendMessageW(m_window, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        return stream.dwError == 0;
    }

    std::wstring text() const {
        GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_PRECISE, 1200};
        const LRESULT chars =
            SendMessageW(m_window, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
        std::wstring text(size_t(chars) + 1, L'\0');
        GETTEXTEX get = {};
        get.cb = DWORD(text.size() * sizeof(wchar_t));
        get.flags = GT_DEFAULT;
        get.codepage = 1200;
        const LRESULT copied = SendMessageW(m_window, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                            reinterpret_cast<LPARAM>(text.data()));
        text.resize(size_t(copied));
        return text;
    }

    CHARFORMAT2W charFormat(LONG position) const {
        select(position, position + 1);
        CHARFORMAT2W format = {};
        format.cbSize = sizeof format;
        SendMessageW(m_window, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format;
    }

    // Whether the character at position ends its line though not its paragraph.
    bool endsLine(LONG position) const {
        return SendMessageW(m_window, EM_EXLINEFROMCHAR, 0, position + 1) !=
               SendMessageW(m_window, EM_EXLINEFROMCHAR, 0, position);
    }

    PARAFORMAT2 paraFormat(LONG position) const {
        select(position, position);
        PARAFORMAT2 format = {};
        format.cbSize = sizeof format;
        SendMessageW(m_window, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
        return format;
    }

    // The embedded objects with their indexes, in the order of the text.
    std::vector<std::pair<LONG, REOBJECT>> objects() const {
        std::vector<std::pair<LONG, REOBJECT>> found;
        IRichEditOle *ole = nullptr;
        SendMessageW(m_window, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole));
        if (!ole) return found;
        const LONG count = ole->GetObjectCount();
        for (LONG index = 0; index < count; ++index) {
            REOBJECT object = {};
            object.cbStruct = sizeof object;
            if (SUCCEEDED(ole->GetObject(index, &object, REO_GETOBJ_NO_INTERFACES)))
                found.emplace_back(index, object);
        }
        ole->Release();
        std::stable_sort(found.begin(), found.end(),
                         [](const auto &a, const auto &b) { return a.second.cp < b.second.cp; });
        return found;
    }

private:
    void select(LONG from, LONG to) const {
        CHARRANGE range = {from, to};
        SendMessageW(m_window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }

    HWND m_window = nullptr;
};

// rtfcat's codes: 0 left (and justified), 1 right, 2 centred.
int alignmentCode(WORD alignment) {
    if (alignment == PFA_RIGHT) return 1;
    if (alignment == PFA_CENTER) return 2;
    return 0;
}

std::string paragraphLine(const PARAFORMAT2 &format) {
    // RichEdit keeps the first line's indent and the other lines' offset from
    // it; RTF's \li is the other lines' indent (all in twips).
    const double leftPx = double(format.dxStartIndent + format.dxOffset) / twipsPerPixel;
    std::string tabs;
    for (int tab = 0; tab < format.cTabCount && tab < MAX_TAB_STOPS; ++tab) {
        if (!tabs.empty()) tabs += ',';
        tabs += number(double(format.rgxTabs[tab] & 0x00FFFFFF) / twipsPerPixel);
    }
    return "P align=" + std::to_string(alignmentCode(format.wAlignment)) + " li=" + number(leftPx) +
           " ri=" + number(double(format.dxRightIndent) / twipsPerPixel) +
           " bullet=" + (format.wNumbering != 0 ? "1" : "0") + " tabs=" + tabs + "\n";
}

// What an R line says of a character, its text aside.
std::string runAttributes(const CHARFORMAT2W &format) {
    const auto flag = [&](DWORD effect) { return (format.dwEffects & effect) ? "1" : "0"; };
    const COLORREF color = (format.dwEffects & CFE_AUTOCOLOR) ? RGB(0, 0, 0) : format.crTextColor;
    return "R font=" + quoted(format.szFaceName) +
           " size=" + number(double(format.yHeight) / twipsPerPoint) + " b=" + flag(CFE_BOLD) +
           " i=" + flag(CFE_ITALIC) + " u=" + flag(CFE_UNDERLINE) + " s=" + flag(CFE_STRIKEOUT) +
           " color=" + std::to_string(GetRValue(color)) + "," + std::to_string(GetGValue(color)) +
           "," + std::to_string(GetBValue(color)) + " offset=" + std::to_string(format.yOffset) +
           " prot=" + flag(CFE_PROTECTED);
}

std::string objectLine(LONG index, const REOBJECT &object) {
    const double widthPx = object.sizel.cx * pixelsPerInch / himetricPerInch;
    const double heightPx = object.sizel.cy * pixelsPerInch / himetricPerInch;
    return "O index=" + std::to_string(index) + " cp=" + std::to_string(object.cp) +
           " width_px=" + number(widthPx) + " height_px=" + number(heightPx) + "\n";
}

// Joins characters of one look into one R line.
class RunCollector {
public:
    void add(const std::string &attributes, wchar_t ch) {
        if (attributes != m_attributes) flush();
        m_attributes = attributes;
        m_text += ch;
    }
    void flush() {
        if (!m_attributes.empty()) print(m_attributes + " text=" + quoted(m_text) + "\n");
        m_attributes.clear();
        m_text.clear();
    }

private:
    std::string m_attributes;
    std::wstring m_text;
};

void list(const RichEdit &edit) {
    const std::wstring text = edit.text();
    const auto objects = edit.objects();
    size_t nextObject = 0;
    RunCollector runs;
    bool paragraphStarts = true;
    for (size_t position = 0; position <= text.size(); ++position) {
        if (paragraphStarts) {
            print(paragraphLine(edit.paraFormat(LONG(position))));
            paragraphStarts = false;
        }
        if (position == text.size()) break;
        // Objects are listed where they stand. Wine's control gives their
        // place a blank for text, Windows' U+FFFC: either is the object.
        if (nextObject < objects.size() && objects[nextObject].second.cp == LONG(position)) {
            runs.flush();
            print(objectLine(objects[nextObject].first, objects[nextObject].second));
            ++nextObject;
            continue;
        }
        wchar_t ch = text[position];
        if (ch == L'\r') {
            runs.flush();
            paragraphStarts = true;
            continue;
        }
        if (ch == L' ' && position + 1 < text.size() && edit.endsLine(LONG(position)))
            ch = lineSeparator;
        runs.add(runAttributes(edit.charFormat(LONG(position))), ch);
    }
    runs.flush();
    // Objects the text walk did not meet are listed still, so none goes unseen.
    for (; nextObject < objects.size(); ++nextObject)
        print(objectLine(objects[nextObject].first, objects[nextObject].second));
}

bool readFile(const wchar_t *path, std::vector<char> &bytes) {
    FILE *file = _wfopen(path, L"rb");
    if (!file) return false;
    char buffer[65536];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + count);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    if (argc != 2) {
        std::fputs("usage: richedit_dump FILE.rtf\n", stderr);
        return 2;
    }
    // Lines end in \n, as rtfcat's do.
    _setmode(_fileno(stdout), _O_BINARY);

    Source source;
    if (!readFile(argv[1], source.bytes)) {
        std::fprintf(stderr, "richedit_dump: cannot read %s\n", utf8(argv[1]).c_str());
        return 1;
    }
    if (FAILED(OleInitialize(nullptr))) {
        std::fputs("richedit_dump: OLE cannot start\n", stderr);
        return 1;
    }
    int status = 0;
    if (!LoadLibraryW(L"riched20.dll")) {
        std::fputs("richedit_dump: riched20.dll cannot be loaded\n", stderr);
        status = 1;
    } else {
        RichEdit edit;
        if (!edit.isValid()) {
            std::fputs("richedit_dump: no RichEdit20W window\n", stderr);
            status = 1;
        } else if (!edit.streamIn(source)) {
            std::fprintf(stderr, "richedit_dump: %s was not read whole\n", utf8(argv[1]).c_str());
            status = 1;
        } else {
            list(edit);
        }
    }
    OleUninitialize();
    return status;
}
