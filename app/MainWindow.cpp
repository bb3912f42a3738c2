#include "app/MainWindow.h"

#include "app/AppInfo.h"
#include "app/BackgroundPicture.h"
#include "app/Fonts.h"
#include "app/ProgramState.h"
#include "app/WindowKeys.h"
#include "app/commands/HelpCommands.h"
#include "app/commands/ReadingCommands.h"
#include "app/controls/Button.h"
#include "app/controls/ColorPicker.h"
#include "app/controls/ComboBox.h"
#include "app/controls/CommonDlg.h"
#include "app/controls/EditBox.h"
#include "app/controls/Label.h"
#include "app/controls/SliderBar.h"
#include "app/controls/TransLabel.h"

#include <QAction>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <functional>

namespace lusheng::app {
namespace {

// How long after showing the window a late frame from the window manager is still corrected.
constexpr int kFrameSettleMs = 2000;

template <typename Control>
Control* place(Control* control, const QString& name, int left, int top, int width, int height) {
    control->setObjectName(name);
    control->setGeometry(left, top, width, height);
    return control;
}

Button* button(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    return place(new Button(text, parent), name, geometry.x(), geometry.y(), geometry.width(),
                 geometry.height());
}

Label* gradientLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* label = place(new Label(text, parent), name, geometry.x(), geometry.y(), geometry.width(),
                        geometry.height());
    label->setFont(makeFont({.pixelHeight = 16, .weight = 700}));
    label->setTextColour(QColor(0, 136, 255));
    label->setFrameColours({QColor(255, 0, 255), QColor(0, 255, 255), QColor(255, 128, 192)});
    label->setFrameWidth(5);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

TransLabel* transparentLabel(QWidget* parent, const QString& name, const QString& text,
                             QRect geometry) {
    auto* label = place(new TransLabel(text, parent), name, geometry.x(), geometry.y(),
                        geometry.width(), geometry.height());
    label->setFont(makeFont({.face = kMicrosoftYaHei, .pixelHeight = 19, .weight = 700}));
    label->setTextColour(QColor(255, 0, 0));
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

} // namespace

ClientArea::ClientArea(QImage picture, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)) {
    setObjectName(QStringLiteral("客户区"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(event->rect(), palette().color(QPalette::Button));
        return;
    }
    // Width and height are stretched independently; the picture's proportions are not kept.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture_);
}

MainWindow::MainWindow(ProgramState& state, const QByteArray& backgroundJpeg, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      state_(state) {
    setObjectName(QStringLiteral("主窗口"));
    setWindowTitle(windowCaption());
    setWindowIcon(QIcon(QStringLiteral(":/lusheng/icon.png")));
    setAttribute(Qt::WA_DeleteOnClose, false);

    const QList<QAction*> actions = buildMenuBar(menuBar(), readerMenus());
    for (QAction* action : actions) {
        actions_.insert(static_cast<Command>(action->data().toInt()), action);
    }

    clientArea_ = new ClientArea(decodeBackgroundPicture(
        backgroundJpeg.isEmpty() ? builtInBackgroundJpeg() : backgroundJpeg));
    setCentralWidget(clientArea_);
    createControls();

    focusOrder_ = {openButton,  startButton, editBox,          voiceList,   soundFileButton,
                   usageButton, pauseButton, stopButton,       saveButton,  resumeButton,
                   rateSlider,  fontButton,  backgroundButton, colourPicker};
    for (qsizetype i = 0; i + 1 < focusOrder_.size(); ++i) {
        setTabOrder(focusOrder_[i], focusOrder_[i + 1]);
    }
    keys_ = new WindowKeys(this, focusOrder_);
    bindCommands();

    // No frame is known before the window is shown; fitOuterSize corrects it then.
    setFixedSize(kOuterSize);
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    QWidget* area = clientArea_;
    editBox = place(new EditBox(area), QStringLiteral("编辑框1"), 0, 8, 664, 360);
    editBox->setFont(makeFont({.face = kSongTi, .pixelHeight = 16, .weight = 700}));

    openButton =
        button(area, QStringLiteral("按钮1"), QStringLiteral("打开文件"), {8, 392, 96, 32});
    saveButton =
        button(area, QStringLiteral("按钮7"), QStringLiteral("保存文件"), {128, 392, 96, 32});
    soundFileButton =
        button(area, QStringLiteral("按钮3"), QStringLiteral("输出声音文件"), {240, 392, 96, 32});
    voiceLabel = gradientLabel(area, QStringLiteral("标签1"), QStringLiteral("选择发音人："),
                               {368, 392, 104, 32});

    voiceList = new ComboBox(160, area);
    voiceList->setObjectName(QStringLiteral("组合框1"));
    // The field takes the platform's height; the 160 pixels include the opened list.
    voiceList->setGeometry(480, 400, 168, voiceList->sizeHint().height());
    QPalette listColours = voiceList->palette();
    listColours.setColor(QPalette::Text, Qt::black);
    listColours.setColor(QPalette::Base, Qt::white);
    voiceList->setPalette(listColours);

    startButton =
        button(area, QStringLiteral("按钮2"), QStringLiteral("开始朗读"), {8, 448, 96, 32});
    pauseButton =
        button(area, QStringLiteral("按钮5"), QStringLiteral("暂停朗读"), {128, 448, 96, 32});
    resumeButton =
        button(area, QStringLiteral("按钮8"), QStringLiteral("继续朗读"), {240, 448, 96, 32});
    stopButton =
        button(area, QStringLiteral("按钮6"), QStringLiteral("停止朗读"), {368, 448, 96, 32});
    usageButton =
        button(area, QStringLiteral("按钮4"), QStringLiteral("使用说明"), {496, 448, 112, 32});
    rateLabel = gradientLabel(area, QStringLiteral("标签2"), QStringLiteral("设置语速："),
                              {8, 502, 96, 32});

    rateSlider = place(new SliderBar({.minimum = 0,
                                      .maximum = 20,
                                      .position = 10,
                                      .lineSize = 1,
                                      .pageSize = 5,
                                      .tickFrequency = 1},
                                     area),
                       QStringLiteral("滑块条1"), 120, 504, 184, 32);

    fontButton =
        button(area, QStringLiteral("按钮9"), QStringLiteral("设置字体与颜色"), {368, 504, 96, 32});
    backgroundButton =
        button(area, QStringLiteral("按钮10"), QStringLiteral("设置背景颜色"), {504, 504, 96, 32});
    slowestLabel = transparentLabel(area, QStringLiteral("透明标签1"), QStringLiteral("最慢"),
                                    {120, 538, 48, 24});
    middleLabel = transparentLabel(area, QStringLiteral("透明标签2"), QStringLiteral("适中"),
                                   {194, 538, 48, 24});
    fastestLabel = transparentLabel(area, QStringLiteral("透明标签3"), QStringLiteral("最快"),
                                    {267, 537, 48, 24});
    colourPicker = place(new ColorPicker(area), QStringLiteral("颜色选择器1"), 504, 536, 104, 24);
    colourPicker->setColour(Qt::black);

    textDialog = new CommonDlg(this);
    textDialog->setObjectName(QStringLiteral("通用对话框1"));
    textDialog->setKind(0);
    textDialog->filter = QStringLiteral("文本文档（*.txt)|*.txt");
    textDialog->defaultExtension = QStringLiteral("*.txt");
    soundDialog = new CommonDlg(this);
    soundDialog->setObjectName(QStringLiteral("通用对话框2"));
    soundDialog->setKind(1);
    soundDialog->filter = QStringLiteral("WAV文件(*.WAV)|*.WAV");
    soundDialog->defaultExtension = QStringLiteral("*.WAV");
}

void MainWindow::bindCommands() {
    reading_ = new ReadingCommands(*this, state_);
    help_ = new HelpCommands(this);

    connect(this, &MainWindow::created, reading_, &ReadingCommands::fillVoiceList);

    // A menu item and the button with its caption run the same routine.
    struct Binding {
        Command command;
        QAbstractButton* button; // null: the menu item has no button
        std::function<void()> run;
    };
    const Binding bindings[] = {
        {Command::StartReading, startButton, [this] { reading_->startReading(); }},
        {Command::PauseReading, pauseButton, [this] { reading_->pauseReading(); }},
        {Command::ResumeReading, resumeButton, [this] { reading_->resumeReading(); }},
        {Command::StopReading, stopButton, [this] { reading_->stopReading(); }},
        {Command::UsageTip, usageButton, [this] { help_->showUsageTip(); }},
        {Command::About, nullptr, [this] { help_->showWelcome(); }},
    };
    for (const Binding& binding : bindings) {
        connect(action(binding.command), &QAction::triggered, this, binding.run);
        if (binding.button != nullptr) {
            connect(binding.button, &QAbstractButton::clicked, this, binding.run);
        }
    }

    // The rate follows the slider whichever way it moves: pointer, wheel, keys or drag. The
    // pointer and wheel notifications come before the slider moves, so the position change
    // that follows them applies the new rate.
    connect(rateSlider, &SliderBar::mouseMoved, reading_, &ReadingCommands::applyRate);
    connect(rateSlider, &SliderBar::wheelTurned, reading_, &ReadingCommands::applyRate);
    connect(rateSlider, &QSlider::valueChanged, reading_, &ReadingCommands::applyRate);
}

void MainWindow::raiseCreationEvent() {
    if (creationEventRaised_) {
        return;
    }
    creationEventRaised_ = true;
    emit created();
}

void MainWindow::showCentred() {
    const QScreen* screen = this->screen();
    const QRect available = screen != nullptr ? screen->geometry() : QRect(0, 0, 1280, 1024);
    // Integer division, as the window's position is defined.
    placedAt_ = QPoint(available.x() + (available.width() - kOuterSize.width()) / 2,
                       available.y() + (available.height() - kOuterSize.height()) / 2);
    move(*placedAt_);
    openButton->setFocus(Qt::OtherFocusReason);
    show();
    activateWindow();
    raise();
    // Some window managers add the frame well after the window is mapped; after that, the
    // position is the user's.
    auto* settle = new QTimer(this);
    settle->setInterval(100);
    connect(settle, &QTimer::timeout, this, &MainWindow::fitOuterSize);
    QTimer::singleShot(kFrameSettleMs, settle, [this, settle] {
        placedAt_.reset();
        settle->deleteLater();
    });
    settle->start();
}

void MainWindow::fitOuterSize() {
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    const QSize inner(kOuterSize.width() - frame.left() - frame.right(),
                      kOuterSize.height() - frame.top() - frame.bottom());
    if (inner.isValid() && size() != inner) {
        setFixedSize(inner);
    }
    if (placedAt_ && frameGeometry().topLeft() != *placedAt_) {
        move(*placedAt_);
    }
}

bool MainWindow::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
        fitOuterSize();
        break;
    default:
        break;
    }
    return handled;
}

} // namespace lusheng::app
