#include "app/WindowKeys.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>

namespace lusheng::app {

WindowKeys::WindowKeys(QWidget* window, QList<QWidget*> focusOrder)
    : QObject(window), window_(window) {
    for (QWidget* control : focusOrder) {
        focusOrder_.append(control);
    }
    qApp->installEventFilter(this);
}

WindowKeys::~WindowKeys() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

bool WindowKeys::belongsToWindow(const QWidget* widget) const {
    if (widget == nullptr || window_ == nullptr || QApplication::activeModalWidget() != nullptr) {
        return false;
    }
    const QWidget* top = widget->window();
    if (top == window_) {
        return true;
    }
    // The opened list of a drop-down is a window of its own whose parent is the combo box.
    return top->windowType() == Qt::Popup && top->parentWidget() != nullptr &&
           qobject_cast<const QComboBox*>(top->parentWidget()) != nullptr &&
           top->parentWidget()->window() == window_;
}

void WindowKeys::moveFocus(bool forward) {
    const auto count = focusOrder_.size();
    if (count == 0) {
        return;
    }
    const QWidget* current = QApplication::focusWidget();
    qsizetype at = -1;
    for (qsizetype i = 0; i < count; ++i) {
        if (focusOrder_[i] == current) {
            at = i;
        }
    }
    if (at < 0) {
        at = forward ? count - 1 : 0;
    }
    for (qsizetype step = 1; step <= count; ++step) {
        const qsizetype next = ((forward ? at + step : at - step) % count + count) % count;
        QWidget* candidate = focusOrder_[next];
        if (candidate != nullptr && candidate->isVisible() && candidate->isEnabled()) {
            candidate->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!belongsToWindow(static_cast<QWidget*>(watched))) {
        return false;
    }
    // Keypad keys still count as plain keys.
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_Tab:
        if (modifiers == Qt::NoModifier) {
            moveFocus(true);
            return true;
        }
        // Shift+Tab arrives as Backtab on most platforms, as Tab with Shift on some.
        if (modifiers == Qt::ShiftModifier) {
            moveFocus(false);
            return true;
        }
        return false;
    case Qt::Key_Backtab:
        if (modifiers == Qt::ShiftModifier || modifiers == Qt::NoModifier) {
            moveFocus(false);
            return true;
        }
        return false;
    case Qt::Key_Escape:
        if (modifiers == Qt::NoModifier) {
            // Queued, so the key press that started it is finished with before the window
            // and its controls go away.
            QMetaObject::invokeMethod(window_, &QWidget::close, Qt::QueuedConnection);
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace lusheng::app
