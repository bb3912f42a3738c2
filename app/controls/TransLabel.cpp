#include "app/controls/TransLabel.h"

#include <QPainter>

namespace lusheng::app {

TransLabel::TransLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Nothing of the label is filled, so Qt repaints what lies beneath it whenever the label
    // changes or moves.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TransLabel::setTextColour(const QColor& colour) {
    textColour_ = colour;
    update();
}

void TransLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(textColour_);
    painter.drawText(rect(), Qt::TextSingleLine | static_cast<int>(alignment()), text());
}

} // namespace lusheng::app
