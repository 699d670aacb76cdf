#pragma once

#include <QDialog>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <optional>

class QGroupBox;
class QLineEdit;
class RichTextBox;

// What a polyatomic ion is drawn from: its three texts, typed as they are
// meant to be drawn, and the look of the body.
struct IonFormula {
    QString body;   // the element symbols, e.g. "SO"
    QString index;  // drawn lowered after the body, e.g. "4"
    QString charge; // drawn raised above the index, e.g. "2-"
    QString fontName;
    double sizePt = 10;
    bool bold = false;
    bool italic = false;
    QRgb colour = 0; // 0xRRGGBB
};

// The drawn ion. Its layout is measured in twips at the screen's resolution
// (15 twips a pixel); the image is denser than that, so that it prints
// sharp, and is shown at shownSizePx.
struct IonPicture {
    QImage image;
    QSizeF shownSizePx;
    double bodyWidthTwips = 0;  // A
    double stackWidthTwips = 0; // B: the wider of index and charge
    double lineHeightTwips = 0; // h: one line of the body's font
};

// Body at (0, 4 s), index at (A, 10 s + 15), charge at (A, -45) twips, so
// that index and charge stand one above the other after the body; the
// picture is A + B + 4 twips wide and h + 4 s high, on white.
IonPicture drawIonFormula(const IonFormula &formula);

// The dialog in which the user types the body, the index and the charge of
// an ion, laid out for the font size at the editor's caret.
class IonFormulaDialog : public QDialog {
    Q_OBJECT
public:
    // Takes the editor's format at the caret, first raising its size to 10
    // points when it is smaller.
    explicit IonFormulaDialog(RichTextBox &exo, QWidget *parent = nullptr);

    // After OK, the ion to insert; nothing when the dialog was cancelled.
    const std::optional<IonPicture> &picture() const { return m_picture; }
    double sizePt() const { return m_sizePt; }

private:
    void layOut();
    void takeEditorFormat(RichTextBox &exo);
    void compose();

    double m_sizePt = 10;
    QRgb m_colour = 0;
    QGroupBox *m_frame = nullptr;
    QLineEdit *m_baset = nullptr;
    QLineEdit *m_text2 = nullptr;
    QLineEdit *m_text3 = nullptr;
    std::optional<IonPicture> m_picture;
};
