#include "app/controls/EditBox.h"

namespace lusheng::app {

EditBox::EditBox(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Tab belongs to the window (it moves the focus); a tab character is never typed.
    setTabChangesFocus(true);
    setUndoRedoEnabled(true);
    updatePalette(Qt::black, Qt::white);
}

QColor EditBox::textColour() const {
    return palette().color(QPalette::Active, QPalette::Text);
}

QColor EditBox::backgroundColour() const {
    return palette().color(QPalette::Active, QPalette::Base);
}

void EditBox::setTextColour(const QColor& colour) {
    updatePalette(colour, backgroundColour());
}

void EditBox::setBackgroundColour(const QColor& colour) {
    updatePalette(textColour(), colour);
}

void EditBox::updatePalette(const QColor& text, const QColor& background) {
    QPalette colours = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Text, text);
        colours.setColor(group, QPalette::Base, background);
    }
    // Without the focus the selection is not shown: no highlight, the text in its own colour.
    colours.setColor(QPalette::Inactive, QPalette::Highlight, Qt::transparent);
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, text);
    setPalette(colours);
}

} // namespace lusheng::app
