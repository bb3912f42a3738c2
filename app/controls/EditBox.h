#pragma once
// The reader's text box: multi-line, wrapping at the right edge, vertical scroll bar only,
// with its own text and background colours. Its selection is hidden while it has no focus.

#include <QPlainTextEdit>

namespace lusheng::app {

class EditBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit EditBox(QWidget* parent = nullptr);

    void setTextColour(const QColor& colour);
    QColor textColour() const;
    void setBackgroundColour(const QColor& colour);
    QColor backgroundColour() const;

  private:
    void updatePalette(const QColor& text, const QColor& background);
};

} // namespace lusheng::app
