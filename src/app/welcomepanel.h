#pragma once

#include <QWidget>

#include <array>

class QLabel;

// The panel that introduces the program, lists how to build an exercise,
// holds the module list and the five exercise links.
class WelcomePanel : public QWidget {
    Q_OBJECT
public:
    enum Link { Parametres = 0, Nouveau = 1, Ouvrir = 2, Enonce = 3, Corrige = 4 };
    // Takes the module list (a QComboBox named "Combo2") as a child and places it.
    explicit WelcomePanel(QWidget *moduleList, QWidget *parent = nullptr);
    // Shows or hides a link's image and label together.
    void setLinkVisible(Link link, bool visible);
    bool isLinkVisible(Link link) const;
    QSize sizeHint() const override;

signals:
    // The image and the label of a link both run the same operation.
    void linkActivated(int link);

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;

private:
    static constexpr int linkCount = 5;
    struct TextCursor;

    // Where the text leaves the children, in pixels from the panel's top left corner.
    struct Placement {
        QPoint moduleListPx;
        std::array<QPoint, linkCount> imagesPx;
        std::array<QPoint, linkCount> labelsPx;
        int bottomPx = 0;
    };

    void addLink(Link link, const QString &imageName, const QPixmap &picture, const QString &text);
    void paintBackground(QPainter &painter) const;
    // Writes the whole text (only measures it when the cursor has no painter)
    // and says where the children go.
    Placement writeContent(TextCursor &cursor) const;
    void placeLinkColumn(TextCursor &cursor, std::initializer_list<Link> links, int imageLeftPx,
                         int labelGapPx, Placement &placement) const;
    void placeChildren(const Placement &placement);
    void measureAndPlaceChildren();

    QWidget *m_moduleList = nullptr;
    std::array<QLabel *, linkCount> m_images{};
    std::array<QLabel *, linkCount> m_labels{};
};
