#pragma once
// A button that shows its colour and drops down a palette when clicked. The palette's last
// entry, "其它颜色...", opens the colour dialog at the current colour. colourChosen() is
// emitted for every choice, the colour the picker already has included; closing the palette
// or the dialog without a choice emits nothing.

#include <QAbstractButton>
#include <QColor>
#include <QColorDialog>
#include <QFrame>
#include <QList>
#include <QPointer>

namespace lusheng::app {

struct PaletteColour {
    QColor colour;
    QString name;
};

class ColorPicker : public QAbstractButton {
    Q_OBJECT
  public:
    explicit ColorPicker(QWidget* parent = nullptr);

    QColor colour() const { return colour_; }
    // Sets the colour shown on the face; emits nothing.
    void setColour(const QColor& colour);

    // The palette's colours, in the order it shows them (left to right, then down).
    static const QList<PaletteColour>& paletteColours();
    static QString otherColoursText() { return QStringLiteral("其它颜色..."); }

    // The drop-down palette while it is open, else null; and the colour dialog while open.
    QFrame* openPalette() const { return palette_; }
    QColorDialog* openColourDialog() const { return dialog_; }

    QSize sizeHint() const override;

  signals:
    void colourChosen();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void showPalette();
    void choose(const QColor& colour);
    void chooseOtherColour();

    QColor colour_ = Qt::black;
    QPointer<QFrame> palette_;
    QPointer<QColorDialog> dialog_;
};

} // namespace lusheng::app
