#pragma once
// A horizontal slider with tick marks below, no frame, that also reports the mouse moving over
// it and the wheel turning before it acts on them itself.

#include <QSlider>

namespace lusheng::app {

// Ctrl 1, Shift 2, Alt 4, added.
int keyState(Qt::KeyboardModifiers modifiers);

class SliderBar : public QSlider {
    Q_OBJECT
  public:
    struct Settings {
        int minimum = 0;
        int maximum = 100;
        int position = 0;
        int lineSize = 1;
        int pageSize = 10;
        int tickFrequency = 1;
    };

    explicit SliderBar(const Settings& settings, QWidget* parent = nullptr);

    // The range runs from the smaller to the larger bound; the position is clamped into it;
    // line size, page size and tick frequency are each clamped to 1..(range width).
    void apply(const Settings& settings);

  signals:
    // In the slider's own coordinates as unsigned 16-bit values, seen before the slider moves.
    void mouseMoved(int x, int y, int keys);
    // Wheel steps (the angle / 120, truncated; positive away from the user), seen before the
    // slider moves.
    void wheelTurned(int steps, int keys);

  protected:
    bool event(QEvent* event) override;
};

} // namespace lusheng::app
