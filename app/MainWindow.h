#pragma once
// The reader's main window: its controls at their fixed places on the background picture, the
// menu bar, the window's own keys, and its fixed outer size. Commands are wired to the
// controls by the command classes; the window only owns and lays out what the user sees.

#include "app/ReaderMenu.h"

#include <QHash>
#include <QImage>
#include <QMainWindow>

#include <optional>

class QAction;

namespace lusheng::app {

class Button;
class ColorPicker;
class ComboBox;
class CommonDlg;
class EditBox;
class HelpCommands;
class Label;
class ProgramState;
class ReadingCommands;
class SliderBar;
class TransLabel;
class WindowKeys;

// The area below the menu bar: it shows the background picture stretched over all of it, or
// the button-face colour when the picture cannot be decoded.
class ClientArea : public QWidget {
    Q_OBJECT
  public:
    explicit ClientArea(QImage picture, QWidget* parent = nullptr);
    const QImage& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // Frame, caption bar and menu bar included.
    static constexpr QSize kOuterSize{665, 610};

    // `backgroundJpeg`: the picture's bytes; by default the one built into the program.
    explicit MainWindow(ProgramState& state, const QByteArray& backgroundJpeg = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    ProgramState& state() { return state_; }

    // Raises the creation event: once, after the window and its controls exist and before
    // the window is first shown.
    void raiseCreationEvent();
    // Centres the window on its screen, shows and activates it.
    void showCentred();

    QAction* action(Command command) const { return actions_.value(command); }
    // The controls that Tab walks through, in order.
    const QList<QWidget*>& focusOrder() const { return focusOrder_; }
    ClientArea* clientArea() const { return clientArea_; }
    ReadingCommands& reading() const { return *reading_; }
    HelpCommands& help() const { return *help_; }

    EditBox* editBox;          // 编辑框1
    Button* openButton;        // 按钮1
    Button* saveButton;        // 按钮7
    Button* soundFileButton;   // 按钮3
    Label* voiceLabel;         // 标签1
    ComboBox* voiceList;       // 组合框1
    Button* startButton;       // 按钮2
    Button* pauseButton;       // 按钮5
    Button* resumeButton;      // 按钮8
    Button* stopButton;        // 按钮6
    Button* usageButton;       // 按钮4
    Label* rateLabel;          // 标签2
    SliderBar* rateSlider;     // 滑块条1
    Button* fontButton;        // 按钮9
    Button* backgroundButton;  // 按钮10
    TransLabel* slowestLabel;  // 透明标签1
    TransLabel* middleLabel;   // 透明标签2
    TransLabel* fastestLabel;  // 透明标签3
    ColorPicker* colourPicker; // 颜色选择器1
    CommonDlg* textDialog;     // 通用对话框1
    CommonDlg* soundDialog;    // 通用对话框2

  signals:
    void created();

  protected:
    bool event(QEvent* event) override;

  private:
    void createControls();
    // Wires the window's events to the reader's commands.
    void bindCommands();
    // Keeps the outer size at kOuterSize once the window manager's frame is known.
    void fitOuterSize();

    ProgramState& state_;
    ClientArea* clientArea_ = nullptr;
    QHash<Command, QAction*> actions_;
    QList<QWidget*> focusOrder_;
    WindowKeys* keys_ = nullptr;
    ReadingCommands* reading_ = nullptr;
    HelpCommands* help_ = nullptr;
    bool creationEventRaised_ = false;
    // Where the frame's top-left corner goes while the window manager is still settling it.
    std::optional<QPoint> placedAt_;
};

} // namespace lusheng::app
