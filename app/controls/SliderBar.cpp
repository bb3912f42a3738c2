#include "app/controls/SliderBar.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

namespace lusheng::app {

int keyState(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ControlModifier) ? 1 : 0) +
           (modifiers.testFlag(Qt::ShiftModifier) ? 2 : 0) +
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

SliderBar::SliderBar(const Settings& settings, QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::TicksBelow);
    setFocusPolicy(Qt::StrongFocus);
    // Moving the pointer over the slider counts, not only dragging.
    setMouseTracking(true);
    apply(settings);
}

void SliderBar::apply(const Settings& settings) {
    const int low = std::min(settings.minimum, settings.maximum);
    const int high = std::max(settings.minimum, settings.maximum);
    const int width = std::max(1, high - low);
    setRange(low, high);
    setValue(std::clamp(settings.position, low, high));
    setSingleStep(std::clamp(settings.lineSize, 1, width));
    setPageStep(std::clamp(settings.pageSize, 1, width));
    setTickInterval(std::clamp(settings.tickFrequency, 1, width));
}

bool SliderBar::event(QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        const QPoint at = move->position().toPoint();
        emit mouseMoved(at.x() & 0xFFFF, at.y() & 0xFFFF, keyState(move->modifiers()));
    } else if (event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        emit wheelTurned(wheel->angleDelta().y() / 120, keyState(wheel->modifiers()));
    }
    return QSlider::event(event);
}

} // namespace lusheng::app
