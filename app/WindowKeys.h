#pragma once
// The main window's own keys, seen after the menu shortcuts and before the focused control:
// Tab and Shift+Tab walk the focus order (wrapping at both ends), Esc closes the window. They
// apply from every control of the window and from the voice list's opened drop-down, but not
// in dialogs or menus, which keep their own use of these keys.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace lusheng::app {

class WindowKeys : public QObject {
    Q_OBJECT
  public:
    // Watches every key press of the application on behalf of `window`.
    WindowKeys(QWidget* window, QList<QWidget*> focusOrder);
    ~WindowKeys() override;

    // Focus to the next (or previous) shown, enabled control of the order after the one that
    // has the focus.
    void moveFocus(bool forward);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool belongsToWindow(const QWidget* widget) const;

    QPointer<QWidget> window_;
    QList<QPointer<QWidget>> focusOrder_;
};

} // namespace lusheng::app
