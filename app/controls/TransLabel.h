#pragma once
// A caption with no background of its own: the window's picture shows around the letters.

#include <QLabel>

namespace lusheng::app {

class TransLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TransLabel(const QString& text, QWidget* parent = nullptr);

    void setTextColour(const QColor& colour);
    QColor textColour() const { return textColour_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor textColour_ = Qt::black;
};

} // namespace lusheng::app
