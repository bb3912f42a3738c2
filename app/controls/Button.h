#pragma once
// A push button whose caption wraps onto a second line when it does not fit on one. Never a
// default button: Enter does nothing on it.

#include <QPushButton>

namespace lusheng::app {

class Button : public QPushButton {
    Q_OBJECT
  public:
    explicit Button(const QString& text, QWidget* parent = nullptr);

    // How the caption is laid out inside the button's label area: centred, wrapped only when
    // it does not fit on one line.
    static constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextWordWrap;
    QRect captionArea() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace lusheng::app
