#include "app/controls/Label.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace lusheng::app {

Label::Label(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setWordWrap(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Label::setFrameColours(const QList<QColor>& colours) {
    frameColours_ = colours;
    update();
}

void Label::setFrameWidth(int width) {
    frameWidth_ = std::max(0, width);
    update();
}

void Label::setBackgroundColour(const QColor& colour) {
    background_ = colour;
    update();
}

void Label::setTextColour(const QColor& colour) {
    textColour_ = colour;
    update();
}

QList<QColor> Label::usableFrameColours() const {
    QList<QColor> usable;
    for (const QColor& colour : frameColours_) {
        if (colour.isValid()) {
            usable.append(colour);
        }
    }
    return usable;
}

QRect Label::textArea() const {
    if (usableFrameColours().size() < 2) {
        return rect();
    }
    return rect().marginsRemoved(QMargins(frameWidth_, frameWidth_, frameWidth_, frameWidth_));
}

void Label::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QList<QColor> colours = usableFrameColours();
    const QRect inner = textArea();
    if (inner != rect()) {
        // Shaded from left to right so that every colour of the list shows on the top and
        // bottom edges; the left edge takes the first colour and the right edge the last.
        QLinearGradient shading(rect().topLeft(), rect().topRight());
        for (qsizetype i = 0; i < colours.size(); ++i) {
            shading.setColorAt(static_cast<double>(i) / static_cast<double>(colours.size() - 1),
                               colours[i]);
        }
        QPainterPath frame;
        frame.addRect(rect());
        frame.addRect(inner);
        frame.setFillRule(Qt::OddEvenFill);
        painter.fillPath(frame, shading);
    }

    painter.setClipRect(inner);
    painter.fillRect(inner,
                     background_.isValid() ? background_ : palette().color(QPalette::Button));
    painter.setFont(font());
    const int flags = Qt::TextSingleLine | static_cast<int>(alignment());
    // Raised text: a white copy under the caption, which stands one pixel right and down.
    painter.setPen(Qt::white);
    painter.drawText(inner, flags, text());
    painter.setPen(textColour_);
    painter.drawText(inner.translated(1, 1), flags, text());
}

} // namespace lusheng::app
