#pragma once
// A drop-down list the user cannot type into; its items are one pixel taller than the
// platform's, and the field and its opened list together are at least 160 pixels tall.

#include <QComboBox>

namespace lusheng::app {

class ComboBox : public QComboBox {
    Q_OBJECT
  public:
    static constexpr int kMinimumCreatedHeight = 160;
    static constexpr int kExtraItemHeight = 1;

    // `createdHeight` is the height of the field and its opened list together.
    ComboBox(int createdHeight, QWidget* parent = nullptr);

    int createdHeight() const { return createdHeight_; }
    // The height of one item of the opened list.
    int itemHeight() const;

  private:
    int createdHeight_;
};

} // namespace lusheng::app
