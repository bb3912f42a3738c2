// The main window as the user meets it: its controls, keys, look and life cycle.

#include "app/MainWindow.h"
#include "app/AppInfo.h"
#include "app/Application.h"
#include "app/Fonts.h"
#include "app/ProgramState.h"
#include "app/controls/Button.h"
#include "app/controls/ColorPicker.h"
#include "app/controls/ComboBox.h"
#include "app/controls/CommonDlg.h"
#include "app/controls/EditBox.h"
#include "app/controls/Label.h"
#include "app/controls/SliderBar.h"
#include "app/controls/TransLabel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontInfo>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace lusheng::app;

namespace {

QColor pixel(const QImage& image, QPoint at) {
    return image.pixelColor(at);
}

bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<MainWindow> window_;

    template <typename T = QWidget> T* control(const char* name) const {
        T* found = window_->findChild<T*>(QString::fromUtf8(name));
        if (found == nullptr) {
            qFatal("no control %s", name);
        }
        return found;
    }

    void showWindow() {
        window_->raiseCreationEvent();
        window_->showCentred();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

  private slots:
    void initTestCase() { configureApplication(); }

    void init() {
        state_ = std::make_unique<ProgramState>();
        window_ = std::make_unique<MainWindow>(*state_);
    }

    void cleanup() {
        window_.reset();
        state_.reset();
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("tabStop");
        QTest::addColumn<QString>("face");    // "" : the default face
        QTest::addColumn<int>("pixelHeight"); // 0: the default GUI font
        QTest::addColumn<QColor>("textColour");

        const QColor none;
        const QColor labelBlue(0, 136, 255);
        auto row = [](const char* name, const char* kind, QRect geometry, const char* text,
                      bool tabStop, const QString& face, int height, QColor colour) {
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(kind) << geometry
                                << QString::fromUtf8(text) << tabStop << face << height << colour;
        };
        // The combo box's height is the platform's field height, checked separately.
        row("编辑框1", "lusheng::app::EditBox", {0, 8, 664, 360}, "", true, kSongTi, 16, Qt::black);
        row("按钮1", "lusheng::app::Button", {8, 392, 96, 32}, "打开文件", true, "", 0, none);
        row("按钮7", "lusheng::app::Button", {128, 392, 96, 32}, "保存文件", true, "", 0, none);
        row("按钮3", "lusheng::app::Button", {240, 392, 96, 32}, "输出声音文件", true, "", 0, none);
        row("标签1", "lusheng::app::Label", {368, 392, 104, 32}, "选择发音人：", false, "", 16,
            labelBlue);
        row("组合框1", "lusheng::app::ComboBox", {480, 400, 168, -1}, "", true, "", 0, Qt::black);
        row("按钮2", "lusheng::app::Button", {8, 448, 96, 32}, "开始朗读", true, "", 0, none);
        row("按钮5", "lusheng::app::Button", {128, 448, 96, 32}, "暂停朗读", true, "", 0, none);
        row("按钮8", "lusheng::app::Button", {240, 448, 96, 32}, "继续朗读", true, "", 0, none);
        row("按钮6", "lusheng::app::Button", {368, 448, 96, 32}, "停止朗读", true, "", 0, none);
        row("按钮4", "lusheng::app::Button", {496, 448, 112, 32}, "使用说明", true, "", 0, none);
        row("标签2", "lusheng::app::Label", {8, 502, 96, 32}, "设置语速：", false, "", 16,
            labelBlue);
        row("滑块条1", "lusheng::app::SliderBar", {120, 504, 184, 32}, "", true, "", 0, none);
        row("按钮9", "lusheng::app::Button", {368, 504, 96, 32}, "设置字体与颜色", true, "", 0,
            none);
        row("按钮10", "lusheng::app::Button", {504, 504, 96, 32}, "设置背景颜色", true, "", 0,
            none);
        row("透明标签1", "lusheng::app::TransLabel", {120, 538, 48, 24}, "最慢", false,
            kMicrosoftYaHei, 19, Qt::red);
        row("透明标签2", "lusheng::app::TransLabel", {194, 538, 48, 24}, "适中", false,
            kMicrosoftYaHei, 19, Qt::red);
        row("透明标签3", "lusheng::app::TransLabel", {267, 537, 48, 24}, "最快", false,
            kMicrosoftYaHei, 19, Qt::red);
        row("颜色选择器1", "lusheng::app::ColorPicker", {504, 536, 104, 24}, "", true, "", 0, none);
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(bool, tabStop);
        QFETCH(QString, face);
        QFETCH(int, pixelHeight);
        QFETCH(QColor, textColour);

        showWindow();
        auto* widget = window_->findChild<QWidget*>(name);
        QVERIFY(widget != nullptr);
        QCOMPARE(QString::fromUtf8(widget->metaObject()->className()), kind);
        QCOMPARE(widget->parentWidget(), window_->clientArea());
        QCOMPARE(widget->pos(), geometry.topLeft());
        QCOMPARE(widget->width(), geometry.width());
        if (geometry.height() >= 0) {
            QCOMPARE(widget->height(), geometry.height());
        }
        QVERIFY(widget->isVisible());
        QVERIFY(widget->isEnabled());
        QCOMPARE((widget->focusPolicy() & Qt::TabFocus) != 0, tabStop);

        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QCOMPARE(button->text(), text);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), text);
        } else if (auto* edit = qobject_cast<EditBox*>(widget)) {
            QCOMPARE(edit->toPlainText(), text);
        }

        if (pixelHeight > 0) {
            const QFont font = widget->font();
            QCOMPARE(font.pixelSize(), pixelHeight);
            QCOMPARE(font.weight(), QFont::Bold);
            QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
            if (face.isEmpty()) {
                QCOMPARE(font.family(), QApplication::font().family());
            } else {
                // The face keeps its name and is drawn with an installed Chinese face.
                QCOMPARE(font.family(), face);
                QVERIFY2(QFontInfo(font).family() != face, qPrintable(QFontInfo(font).family()));
                QVERIFY2(QFontMetrics(font).inFont(QChar(0x6D4B)), "no CJK glyphs");
            }
        } else {
            QCOMPARE(widget->font().family(), QApplication::font().family());
        }

        if (textColour.isValid()) {
            if (auto* label = qobject_cast<Label*>(widget)) {
                QCOMPARE(label->textColour(), textColour);
            } else if (auto* transparent = qobject_cast<TransLabel*>(widget)) {
                QCOMPARE(transparent->textColour(), textColour);
            } else {
                QCOMPARE(widget->palette().color(QPalette::Text), textColour);
                QCOMPARE(widget->palette().color(QPalette::Base), QColor(Qt::white));
            }
        }
    }

    void settingsOfTheKinds() {
        // Before the creation event fills it, the voice list is empty with no current item.
        QCOMPARE(control<ComboBox>("组合框1")->count(), 0);
        QCOMPARE(control<ComboBox>("组合框1")->currentIndex(), -1);
        showWindow();
        auto* edit = control<EditBox>("编辑框1");
        QCOMPARE(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!edit->isReadOnly());
        QCOMPARE(edit->textCursor().position(), 0);
        QVERIFY(!edit->textCursor().hasSelection());
        QCOMPARE(edit->frameShadow(), QFrame::Sunken);

        auto* voices = control<ComboBox>("组合框1");
        QVERIFY(!voices->isEditable());
        QCOMPARE(voices->height(), voices->sizeHint().height());
        QCOMPARE(voices->createdHeight(), 160);
        QVERIFY(voices->maxVisibleItems() >= 1);
        QVERIFY(voices->height() + voices->maxVisibleItems() * voices->itemHeight() <= 160);

        auto* slider = control<SliderBar>("滑块条1");
        QCOMPARE(slider->orientation(), Qt::Horizontal);
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 20);
        QCOMPARE(slider->value(), 10);
        QCOMPARE(slider->singleStep(), 1);
        QCOMPARE(slider->pageStep(), 5);
        QCOMPARE(slider->tickInterval(), 1);
        QCOMPARE(slider->tickPosition(), QSlider::TicksBelow);

        QCOMPARE(control<ColorPicker>("颜色选择器1")->colour(), QColor(Qt::black));

        for (const char* name : {"按钮1", "按钮2", "按钮3", "按钮4", "按钮5", "按钮6", "按钮7",
                                 "按钮8", "按钮9", "按钮10"}) {
            auto* button = control<QPushButton>(name);
            QVERIFY2(!button->isDefault() && !button->autoDefault(), name);
        }
    }

    void dialogComponents() {
        auto* text = window_->findChild<CommonDlg*>(QStringLiteral("通用对话框1"));
        auto* sound = window_->findChild<CommonDlg*>(QStringLiteral("通用对话框2"));
        QVERIFY(text != nullptr && sound != nullptr);
        QCOMPARE(text->kind, DialogKind::OpenFile);
        QCOMPARE(sound->kind, DialogKind::SaveFile);
        QCOMPARE(text->filters(), (QList<FileFilter>{{QStringLiteral("文本文档（*.txt)"),
                                                      QStringLiteral("*.txt")}}));
        QCOMPARE(sound->filters(),
                 (QList<FileFilter>{{QStringLiteral("WAV文件(*.WAV)"), QStringLiteral("*.WAV")}}));
        QCOMPARE(text->defaultExtension, QStringLiteral("*.txt"));
        QCOMPARE(sound->defaultExtension, QStringLiteral("*.WAV"));
        for (const CommonDlg* dialog : {text, sound}) {
            QVERIFY(dialog->title.isEmpty() && dialog->fileName.isEmpty());
            QVERIFY(dialog->initialDirectory.isEmpty());
            QCOMPARE(dialog->initialFilter, 0);
            QVERIFY(!dialog->createPrompt && dialog->fileMustExist && dialog->overwritePrompt &&
                    dialog->pathMustExist && !dialog->keepDirectory);
            QCOMPARE(dialog->font, FontSettings{});
        }
    }

    void windowSettings() {
        showWindow();
        QCOMPARE(
            window_->windowTitle(),
            QStringLiteral("鹭笙语音阅读器V1.0  作者：鹭笙 lusheng-reader@users.noreply.invalid"));
        const Qt::WindowFlags flags = window_->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        // No window manager draws a frame here: the window itself is the outer rectangle.
        QCOMPARE(window_->frameGeometry().size(), MainWindow::kOuterSize);
        const QRect screen = window_->screen()->geometry();
        QCOMPARE(window_->frameGeometry().topLeft(),
                 QPoint((screen.width() - 665) / 2, (screen.height() - 610) / 2));
        QVERIFY(!window_->windowIcon().isNull());
        QCOMPARE(QApplication::focusWidget(), control("按钮1"));

        // Minimising and restoring keep the layout.
        window_->showMinimized();
        window_->showNormal();
        QCOMPARE(window_->size(), window_->minimumSize());
        QCOMPARE(control("按钮9")->geometry(), QRect(368, 504, 96, 32));
    }

    void menuBarSitsAboveTheClientArea() {
        showWindow();
        const QList<QAction*> menus = window_->menuBar()->actions();
        QStringList captions;
        for (const QAction* menu : menus) {
            captions << menu->text();
        }
        QCOMPARE(captions, (QStringList{QStringLiteral("文件（&F）"), QStringLiteral("朗读（&S）"),
                                        QStringLiteral("设置（&X）"), QStringLiteral("帮助(&H)")}));
        QCOMPARE(window_->clientArea()->geometry().top(),
                 window_->menuBar()->geometry().bottom() + 1);
        QCOMPARE(window_->action(Command::OutputSoundFile)->shortcut().toString(),
                 QStringLiteral("F5"));
        QCOMPARE(window_->action(Command::About)->shortcut().toString(), QStringLiteral("Ctrl+L"));
    }

    void tabWalksTheFocusOrderBothWays() {
        showWindow();
        const QStringList order = {"按钮1",   "按钮2", "编辑框1", "组合框1",    "按钮3",
                                   "按钮4",   "按钮5", "按钮6",   "按钮7",      "按钮8",
                                   "滑块条1", "按钮9", "按钮10",  "颜色选择器1"};
        QCOMPARE(QApplication::focusWidget()->objectName(), order.first());
        for (qsizetype i = 1; i <= order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), order[i % order.size()]);
        }
        for (qsizetype i = order.size() - 1; i >= 0; --i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
        }
    }

    void tabInTheEditBoxMovesOnAndTypesNothing() {
        showWindow();
        auto* edit = control<EditBox>("编辑框1");
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("ab"));
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control("组合框1"));
        QCOMPARE(edit->toPlainText(), QStringLiteral("ab"));
    }

    void enterMakesANewLineInTheEditBoxAndNothingOnAButton() {
        showWindow();
        auto* edit = control<EditBox>("编辑框1");
        edit->setFocus();
        edit->insertPlainText(QStringLiteral("甲"));
        QTest::keyClick(edit, Qt::Key_Return);
        edit->insertPlainText(QStringLiteral("乙"));
        QCOMPARE(edit->toPlainText(), QStringLiteral("甲\n乙"));

        // Buttons whose commands open no dialog, so that a click would not block the test.
        for (const char* name : {"按钮5", "按钮6", "按钮8"}) {
            auto* button = control<QPushButton>(name);
            button->setFocus();
            QSignalSpy clicks(button, &QPushButton::clicked);
            QTest::keyClick(button, Qt::Key_Return);
            QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
            QCOMPARE(clicks.count(), 0);
            QCOMPARE(QApplication::focusWidget(), button);
            // Space is how the keyboard clicks a button.
            QTest::keyClick(button, Qt::Key_Space);
            QCOMPARE(clicks.count(), 1);
        }
    }

    void f1DoesNothing() {
        showWindow();
        auto* edit = control<EditBox>("编辑框1");
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F1);
        QCOMPARE(QApplication::focusWidget(), edit);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](const QWidget* w) { return w->isVisible(); }),
                 1);
        QVERIFY(edit->toPlainText().isEmpty());
    }

    void escapeClosesTheWindow_data() {
        QTest::addColumn<QString>("focus");
        for (const char* name :
             {"按钮1", "编辑框1", "组合框1", "滑块条1", "颜色选择器1", "按钮10"}) {
            QTest::newRow(name) << QString::fromUtf8(name);
        }
    }

    void escapeClosesTheWindow() {
        QFETCH(QString, focus);
        showWindow();
        auto* widget = window_->findChild<QWidget*>(focus);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_Escape);
        QTRY_VERIFY(!window_->isVisible());
    }

    void escapeClosesTheWindowWhileTheVoiceListIsOpen() {
        showWindow();
        auto* voices = control<ComboBox>("组合框1");
        voices->addItems({QStringLiteral("甲"), QStringLiteral("乙")});
        voices->setFocus();
        voices->showPopup();
        QWidget* popup = voices->view()->window();
        QTRY_VERIFY(popup->isVisible());
        QTest::keyClick(voices->view(), Qt::Key_Escape);
        QTRY_VERIFY(!window_->isVisible());
    }

    void escapeWithAModifierDoesNotClose() {
        showWindow();
        QTest::keyClick(control("按钮1"), Qt::Key_Escape, Qt::ShiftModifier);
        QTest::qWait(50);
        QVERIFY(window_->isVisible());
    }

    void closingEndsTheLoopAndTheCleanUpDestroysTheVoice() {
        showWindow();
        QVERIFY(state_->voice != nullptr);
        state_->lines = {"甲", "乙"};
        state_->bytes = std::vector<char>{'a'};
        QTimer::singleShot(0, [this] { QTest::keyClick(control("编辑框1"), Qt::Key_Escape); });
        // The loop ends by itself once its only window has closed.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        bool timedOut = false;
        connect(&watchdog, &QTimer::timeout, [&] {
            timedOut = true;
            QApplication::quit();
        });
        watchdog.start(10000);
        const int code = QApplication::exec();
        QVERIFY(!timedOut);
        QCOMPARE(code, 0);
        window_.reset();
        state_->exitCleanUp();
        QVERIFY(state_->cleanedUp());
        QVERIFY(state_->voice == nullptr);
        QVERIFY(state_->lines.empty() && !state_->bytes && state_->texts.empty());
    }

    // --- what the window looks like ---

    void labelsShowTheGradientFrameAndRaisedText() {
        showWindow();
        auto* label = control<Label>("标签1");
        const QImage image = label->grab().toImage();
        // The top edge runs from magenta through cyan to pink.
        const int y = 2;
        QVERIFY(near(pixel(image, {1, y}), QColor(255, 0, 255), 24));
        QVERIFY(near(pixel(image, {label->width() / 2, y}), QColor(0, 255, 255), 24));
        QVERIFY(near(pixel(image, {label->width() - 2, y}), QColor(255, 128, 192), 24));
        // The frame runs all along the edge: no button face shows through it.
        for (int x = 0; x < label->width(); ++x) {
            QVERIFY(pixel(image, {x, y}) != label->palette().color(QPalette::Button));
        }
        // Inside the frame: button face, white text with the blue text one pixel right and down.
        const QRect inside = label->textArea();
        QCOMPARE(inside, label->rect().marginsRemoved(QMargins(5, 5, 5, 5)));
        QCOMPARE(pixel(image, inside.topLeft()), label->palette().color(QPalette::Button));
        int raised = 0;
        int blue = 0;
        for (int py = inside.top(); py < inside.bottom(); ++py) {
            for (int px = inside.left(); px < inside.right(); ++px) {
                if (near(pixel(image, {px, py}), QColor(0, 136, 255), 40)) {
                    ++blue;
                    // Where the white copy shows: above-left of an edge of the blue letters.
                    if (near(pixel(image, {px - 1, py - 1}), Qt::white, 40)) {
                        ++raised;
                    }
                }
            }
        }
        QVERIFY2(blue > 50, qPrintable(QString::number(blue)));
        QVERIFY2(raised > 10, qPrintable(QString::number(raised)));
    }

    void transparentLabelsShowThePictureAroundTheirLetters() {
        showWindow();
        auto* label = control<TransLabel>("透明标签2");
        const QRect area = label->geometry();
        const QImage withLabels = window_->clientArea()->grab(area).toImage();
        for (const char* name : {"透明标签1", "透明标签2", "透明标签3"}) {
            control(name)->hide();
        }
        const QImage picture = window_->clientArea()->grab(area).toImage();
        QVERIFY(!picture.isNull());
        int same = 0;
        int red = 0;
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                const QColor shown = withLabels.pixelColor(x, y);
                if (shown == picture.pixelColor(x, y)) {
                    ++same;
                } else {
                    // What differs is the red of the letters and their smoothed edges.
                    const QColor beneath = picture.pixelColor(x, y);
                    QVERIFY(shown.red() >= beneath.red() && shown.green() <= beneath.green() &&
                            shown.blue() <= beneath.blue());
                    if (near(shown, Qt::red, 30)) {
                        ++red;
                    }
                }
            }
        }
        QVERIFY2(red > 30, qPrintable(QString::number(red)));
        QVERIFY(same > area.width() * area.height() / 2);
        // And the picture is not one flat colour there: it is the background picture.
        QVERIFY(picture.pixelColor(0, 0) != window_->palette().color(QPalette::Button));
    }

    void editBoxIsWhiteWithBlackBoldText() {
        showWindow();
        auto* edit = control<EditBox>("编辑框1");
        edit->setPlainText(QStringLiteral("测试文字 ABC"));
        const QImage image = edit->viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(image.width() - 5, image.height() - 5), QColor(Qt::white));
        int coloured = 0;
        auto darkPixels = [&coloured](const QImage& shot) {
            int dark = 0;
            for (int y = 0; y < 24; ++y) {
                for (int x = 0; x < 200; ++x) {
                    const QColor colour = shot.pixelColor(x, y);
                    // Black, or grey at the smoothed edges of the strokes; never coloured.
                    coloured += std::abs(colour.red() - colour.green()) >= 8 ||
                                        std::abs(colour.green() - colour.blue()) >= 8
                                    ? 1
                                    : 0;
                    dark += colour.lightness() < 96 ? 1 : 0;
                }
            }
            return dark;
        };
        const int black = darkPixels(image);
        QCOMPARE(coloured, 0);
        QVERIFY2(black > 100, qPrintable(QString::number(black)));
        // Bold strokes are thicker than the regular face's at the same size.
        QFont regular = edit->font();
        regular.setBold(false);
        edit->setFont(regular);
        const QImage thin = edit->viewport()->grab().toImage();
        const int thinBlack = darkPixels(thin);
        QVERIFY2(black > thinBlack, qPrintable(QStringLiteral("%1 %2").arg(black).arg(thinBlack)));
    }

    void pictureFillsTheClientArea() {
        showWindow();
        const QImage picture = window_->clientArea()->picture();
        QCOMPARE(picture.size(), QSize(960, 720));
        const QImage shown = window_->clientArea()->grab().toImage();
        // The sky at the top left and the lawn at the bottom, stretched to the area.
        const QColor sky = shown.pixelColor(2, 2);
        QVERIFY(sky.blue() > sky.red() && sky.blue() > 150);
        const QColor lawn = shown.pixelColor(shown.width() / 2, shown.height() - 3);
        QVERIFY(lawn.green() > lawn.red() && lawn.green() > lawn.blue());
    }

    void undecodablePictureLeavesTheButtonFace() {
        window_ = std::make_unique<MainWindow>(*state_, QByteArray("\xFF\xD8 not a picture"));
        showWindow();
        QVERIFY(window_->clientArea()->picture().isNull());
        const QImage shown = window_->clientArea()->grab().toImage();
        QCOMPARE(shown.pixelColor(2, 2), window_->palette().color(QPalette::Button));
        QCOMPARE(shown.pixelColor(shown.width() - 2, shown.height() - 2),
                 window_->palette().color(QPalette::Button));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
