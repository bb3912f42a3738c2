#include "app/controls/Button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace lusheng::app {

Button::Button(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

QRect Button::captionArea() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

void Button::paintEvent(QPaintEvent*) {
    // The style draws the bevel and the focus frame; only the caption is drawn here, because
    // the style's own label never wraps.
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown() || isChecked()) {
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(area, kCaptionFlags, caption);
}

} // namespace lusheng::app
