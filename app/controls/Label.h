#pragma once
// A caption on an opaque box with a gradient frame and raised text: the reader's "选择发音人："
// and "设置语速：" labels.

#include <QColor>
#include <QLabel>
#include <QList>

namespace lusheng::app {

class Label : public QLabel {
    Q_OBJECT
  public:
    explicit Label(const QString& text, QWidget* parent = nullptr);

    // The frame runs through these colours in order; an invalid colour stands for "no colour"
    // and is left out. With fewer than two colours there is no frame.
    void setFrameColours(const QList<QColor>& colours);
    QList<QColor> frameColours() const { return frameColours_; }
    void setFrameWidth(int width);
    int gradientFrameWidth() const { return frameWidth_; }
    // Invalid: the system's button-face colour.
    void setBackgroundColour(const QColor& colour);
    QColor backgroundColour() const { return background_; }
    void setTextColour(const QColor& colour);
    QColor textColour() const { return textColour_; }

    // The area the caption is drawn in: the label less its frame.
    QRect textArea() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QList<QColor> usableFrameColours() const;

    QList<QColor> frameColours_;
    int frameWidth_ = 5;
    QColor background_;
    QColor textColour_ = Qt::black;
};

} // namespace lusheng::app
