// Reading from the window on the real voices and a real sound server: the voice list, the four
// reading commands through keys, buttons and menu items, the rate slider, and the line split.

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/ProgramState.h"
#include "app/commands/LineSplit.h"
#include "app/commands/ReadingCommands.h"
#include "app/controls/Button.h"
#include "app/controls/ComboBox.h"
#include "app/controls/EditBox.h"
#include "app/controls/SliderBar.h"
#include "tests/support/MonitorRecorder.h"
#include "tests/support/VoiceFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTest>

using namespace lusheng;
using namespace lusheng::app;
using namespace std::chrono_literals;
using test::Clock;

namespace {

const QString kSentence =
    QStringLiteral("今天天气很好，我们一起去公园散步吧。春天来了，花都开了。");

QString longText(int lines) {
    QStringList all;
    for (int i = 0; i < lines; ++i) {
        all << kSentence;
    }
    return all.join(QLatin1Char('\n'));
}

std::int64_t msBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count();
}

using Lines = std::vector<std::string>;

} // namespace

Q_DECLARE_METATYPE(Lines)

class ReadingTest : public QObject {
    Q_OBJECT

  private:
    test::VoiceDirectory voices_{{
        {.file = "1", .description = "English reader", .engineVoice = "en"},
        {.file = "2", .description = "中文普通话", .engineVoice = "sit/cmn-Latn-pinyin"},
    }};
    test::VoiceDirectory englishOnly_{{
        {.file = "1", .description = "English reader", .engineVoice = "en"},
    }};
    std::unique_ptr<test::MonitorRecorder> recorder_;
    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<MainWindow> window_;

    void openWindow(const std::filesystem::path& voices) {
        window_.reset();
        state_.reset();
        test::useOnlyVoiceDirectories({voices});
        state_ = std::make_unique<ProgramState>();
        window_ = std::make_unique<MainWindow>(*state_);
        window_->raiseCreationEvent();
        window_->showCentred();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    int rate() const { return state_->voice->GetRate().value_or(-99); }

    // Blocks until everything queued has been heard or `ms` passed; true when it was heard.
    bool everythingHeardWithin(std::int32_t ms) {
        const auto start = Clock::now();
        state_->voice->Speak(kSpeakNothing, std::nullopt, ms);
        return Clock::now() - start < std::chrono::milliseconds(ms);
    }

    // Runs a reading command the way the row says: its shortcut key while the edit box has
    // the focus, its button, or its menu item.
    void run(const QString& how, Command command) {
        static const QHash<Command, Qt::Key> keys = {{Command::StartReading, Qt::Key_F2},
                                                     {Command::PauseReading, Qt::Key_F3},
                                                     {Command::ResumeReading, Qt::Key_F4},
                                                     {Command::StopReading, Qt::Key_F6}};
        if (how == QStringLiteral("keys")) {
            window_->editBox->setFocus();
            QTest::keyClick(window_->editBox, keys.value(command));
        } else if (how == QStringLiteral("buttons")) {
            const QHash<Command, Button*> buttons = {
                {Command::StartReading, window_->startButton},
                {Command::PauseReading, window_->pauseButton},
                {Command::ResumeReading, window_->resumeButton},
                {Command::StopReading, window_->stopButton}};
            QTest::mouseClick(buttons.value(command), Qt::LeftButton);
        } else {
            window_->action(command)->trigger();
        }
    }

    QPoint sliderHandleCentre() const {
        QStyleOptionSlider option;
        option.initFrom(window_->rateSlider);
        option.orientation = Qt::Horizontal;
        option.minimum = window_->rateSlider->minimum();
        option.maximum = window_->rateSlider->maximum();
        option.sliderPosition = window_->rateSlider->sliderPosition();
        option.sliderValue = window_->rateSlider->value();
        option.tickPosition = window_->rateSlider->tickPosition();
        option.subControls = QStyle::SC_SliderHandle;
        return window_->rateSlider->style()
            ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                             window_->rateSlider)
            .center();
    }

    void sendMouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QWidget* slider = window_->rateSlider;
        QMouseEvent event(type, at, slider->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(slider, &event);
    }

  private slots:
    void initTestCase() {
        test::pinDisplayLocale("zh_CN.UTF-8");
        configureApplication();
        recorder_ = std::make_unique<test::MonitorRecorder>();
    }

    void init() { openWindow(voices_.path()); }

    void cleanup() {
        window_.reset();
        state_.reset();
    }

    void cleanupTestCase() { recorder_.reset(); }

    void lineSplit_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Lines>("lines");
        QTest::newRow("line, empty line, line, each ended")
            << QStringLiteral("甲\n\n乙\n") << Lines{"甲", "", "乙"};
        QTest::newRow("no final break") << QStringLiteral("甲\n乙") << Lines{"甲", "乙"};
        QTest::newRow("adjacent breaks")
            << QStringLiteral("甲\n\n\n乙") << Lines{"甲", "", "", "乙"};
        QTest::newRow("only breaks") << QStringLiteral("\n\n") << Lines{"", ""};
        QTest::newRow("leading break") << QStringLiteral("\n甲") << Lines{"", "甲"};
        QTest::newRow("empty text") << QString() << Lines{};
        QTest::newRow("no break") << QStringLiteral("春眠不觉晓") << Lines{"春眠不觉晓"};
        QTest::newRow("carriage return stays in the line")
            << QStringLiteral("甲\r\n乙") << Lines{"甲\r", "乙"};
    }

    void lineSplit() {
        QFETCH(QString, text);
        QFETCH(Lines, lines);
        QCOMPARE(splitText(text.toStdString(), ReadingCommands::kLineBreak), lines);
    }

    void lineSplitSeparatorCases() {
        QCOMPARE(splitText("甲乙", ""), (Lines{"甲乙"}));
        QCOMPARE(splitText("", ""), Lines{});
        QCOMPARE(splitText("a--b----c--", "--"), (Lines{"a", "b", "", "c"}));
        // Multi-byte separators match whole characters only.
        QCOMPARE(splitText("一。二。三", "。"), (Lines{"一", "二", "三"}));
    }

    void lineSplitOfABook() {
        // 2.5 MB of text in 20-character lines: one pass, every line kept.
        std::string book;
        const std::string line = "春天来了，花都开了，我们一起去公园散步吧。";
        std::size_t count = 0;
        while (book.size() < 2'500'000) {
            book += line;
            book += '\n';
            ++count;
        }
        const Lines lines = splitText(book, "\n");
        QCOMPARE(lines.size(), count);
        QCOMPARE(lines.front(), line);
        QCOMPARE(lines.back(), line);
    }

    void voiceListHoldsTheCatalogueWithTheDefaultVoiceCurrent() {
        QCOMPARE(window_->voiceList->count(), 2);
        QCOMPARE(window_->voiceList->itemText(0), QStringLiteral("English reader"));
        QCOMPARE(window_->voiceList->itemText(1), QStringLiteral("中文普通话"));
        QCOMPARE(window_->voiceList->currentIndex(), 1);
        QCOMPARE(state_->voice->GetSelectedVoiceIndex(), std::optional<std::size_t>(1));
        // The slider's rate is the voice's from the start.
        QCOMPARE(rate(), 0);

        openWindow(englishOnly_.path());
        QCOMPARE(window_->voiceList->count(), 1);
        QCOMPARE(window_->voiceList->currentIndex(), -1);
    }

    void startReadingUsesTheChosenVoice() {
        window_->editBox->setPlainText(QStringLiteral("hello"));
        window_->voiceList->setCurrentIndex(0);
        // Choosing alone changes nothing; start reading selects it.
        QCOMPARE(state_->voice->GetSelectedVoiceIndex(), std::optional<std::size_t>(1));
        run(QStringLiteral("buttons"), Command::StartReading);
        QCOMPARE(state_->voice->GetSelectedVoiceIndex(), std::optional<std::size_t>(0));
        QCOMPARE(state_->lines, (Lines{"hello"}));
        QCOMPARE(state_->position, 0);

        // With no voice chosen, the first Chinese voice reads.
        window_->voiceList->setCurrentIndex(-1);
        window_->editBox->setPlainText(QStringLiteral("甲\n乙\n丙"));
        run(QStringLiteral("buttons"), Command::StartReading);
        QCOMPARE(state_->voice->GetSelectedVoiceIndex(), std::optional<std::size_t>(1));
        QCOMPARE(state_->lines, (Lines{"甲", "乙", "丙"}));
        QCOMPARE(state_->position, 2);
        run(QStringLiteral("buttons"), Command::StopReading);
    }

    void readingCommandsAreHeard_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("shortcut keys in the edit box") << QStringLiteral("keys");
        QTest::newRow("buttons") << QStringLiteral("buttons");
        QTest::newRow("menu items") << QStringLiteral("menu");
    }

    void readingCommandsAreHeard() {
        QFETCH(QString, how);
        window_->editBox->setPlainText(longText(6));

        const auto started = Clock::now();
        run(how, Command::StartReading);
        QVERIFY2(msBetween(started, Clock::now()) < 1000, "start reading returns at once");
        QVERIFY2(recorder_->waitForSound(started, 3s), "speech after start reading");
        QTest::qWait(300);

        const auto paused = Clock::now();
        run(how, Command::PauseReading);
        const auto silentFrom = recorder_->waitForSilence(paused, 300ms, 3s);
        QVERIFY2(silentFrom.has_value(), "silence after pause");
        QVERIFY2(msBetween(paused, *silentFrom) <= 100,
                 qPrintable(QStringLiteral("%1 ms").arg(msBetween(paused, *silentFrom))));

        const auto resumed = Clock::now();
        run(how, Command::ResumeReading);
        QVERIFY2(recorder_->waitForSound(resumed, 1s), "sound again after resume");
        QTest::qWait(300);

        const auto stopped = Clock::now();
        run(how, Command::StopReading);
        const auto quietFrom = recorder_->waitForSilence(stopped, 300ms, 3s);
        QVERIFY2(quietFrom.has_value(), "silence after stop");
        QVERIFY2(msBetween(stopped, *quietFrom) <= 100,
                 qPrintable(QStringLiteral("%1 ms").arg(msBetween(stopped, *quietFrom))));
        QVERIFY2(everythingHeardWithin(2000), "nothing left queued after stop");
        QVERIFY2(!recorder_->waitForSound(stopped + 150ms, 500ms), "the stopped text stays gone");
    }

    void startReadingAgainStartsOverAudibly() {
        window_->editBox->setPlainText(longText(8));
        const auto first = Clock::now();
        run(QStringLiteral("keys"), Command::StartReading);
        QVERIFY(recorder_->waitForSound(first, 3s));

        // A short new text replaces the long one: it is heard and then everything is done.
        window_->editBox->setPlainText(QStringLiteral("你好。"));
        const auto second = Clock::now();
        run(QStringLiteral("keys"), Command::StartReading);
        QCOMPARE(state_->lines, (Lines{"你好。"}));
        QVERIFY2(everythingHeardWithin(5000), "the old reading is not queued behind the new one");
        const auto span = recorder_->soundSpan(second);
        QVERIFY(span.has_value());

        // Start reading while paused: the new reading is heard, not paused with the old one.
        window_->editBox->setPlainText(longText(4));
        run(QStringLiteral("keys"), Command::StartReading);
        QTest::qWait(300);
        run(QStringLiteral("keys"), Command::PauseReading);
        const auto paused = Clock::now();
        QVERIFY(recorder_->waitForSilence(paused, 300ms, 3s).has_value());
        const auto restarted = Clock::now();
        run(QStringLiteral("keys"), Command::StartReading);
        QVERIFY2(recorder_->waitForSound(restarted, 2s), "heard after a paused reading");
        run(QStringLiteral("keys"), Command::StopReading);
    }

    void emptyEditBoxReadsNothing() {
        QVERIFY(recorder_->waitForSilence(Clock::now(), 300ms, 3s).has_value());
        const auto started = Clock::now();
        run(QStringLiteral("keys"), Command::StartReading);
        QVERIFY(state_->lines.empty());
        QVERIFY(!recorder_->waitForSound(started, 800ms));
    }

    void rateFollowsTheSliderPosition_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("expectedRate");
        QTest::newRow("最慢") << 0 << -10;
        QTest::newRow("适中") << 10 << 0;
        QTest::newRow("最快") << 20 << 10;
        QTest::newRow("between") << 13 << 3;
    }

    void rateFollowsTheSliderPosition() {
        QFETCH(int, position);
        QFETCH(int, expectedRate);
        window_->rateSlider->setValue(position);
        QCOMPARE(rate(), expectedRate);
        // Start reading applies it as well, whatever the voice had.
        state_->voice->SetRate(expectedRate == 7 ? 6 : 7);
        run(QStringLiteral("menu"), Command::StartReading);
        QCOMPARE(rate(), expectedRate);
    }

    void rateFollowsKeysWheelAndMouse() {
        SliderBar* slider = window_->rateSlider;
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(slider->value(), 20);
        QCOMPARE(rate(), 10);
        QTest::keyClick(slider, Qt::Key_Home);
        QCOMPARE(rate(), -10);
        QTest::keyClick(slider, Qt::Key_PageUp);
        QCOMPARE(slider->value(), 5);
        QCOMPARE(rate(), -5);
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(rate(), -4);

        // The wheel: the rate is the position the wheel step left, not the one before it.
        const QPoint middle(slider->width() / 2, slider->height() / 2);
        QWheelEvent wheel(middle, slider->mapToGlobal(middle), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider, &wheel);
        QVERIFY(slider->value() != 6);
        QCOMPARE(rate(), slider->value() - 10);

        // The pointer moving over the slider applies the rate too.
        state_->voice->SetRate(9);
        QTest::mouseMove(slider, QPoint(5, 5));
        QTRY_COMPARE(rate(), slider->value() - 10);
    }

    void dragReleasedWithoutFurtherMovementKeepsTheRateOfTheEnd() {
        SliderBar* slider = window_->rateSlider;
        QCOMPARE(slider->value(), 10);
        const QPoint handle = sliderHandleCentre();
        const QPoint end(slider->width() + 40, handle.y());
        sendMouse(QEvent::MouseButtonPress, handle, Qt::LeftButton);
        sendMouse(QEvent::MouseMove, end, Qt::LeftButton);
        sendMouse(QEvent::MouseButtonRelease, end, Qt::NoButton);
        QCOMPARE(slider->value(), 20);
        QCOMPARE(rate(), 10);
    }

    void shortcutsAndEditingKeysInTheEditBox() {
        EditBox* edit = window_->editBox;
        edit->setFocus();
        QSignalSpy started(window_->action(Command::StartReading), &QAction::triggered);
        QSignalSpy stopped(window_->action(Command::StopReading), &QAction::triggered);
        QTest::keyClick(edit, Qt::Key_F2);
        QTest::keyClick(edit, Qt::Key_F6);
        QCOMPARE(started.count(), 1);
        QCOMPARE(stopped.count(), 1);
        for (const Command command : {Command::OpenText, Command::SaveText,
                                      Command::SetFontAndColour, Command::SetBackgroundColour}) {
            QSignalSpy spy(window_->action(command), &QAction::triggered);
            const QKeySequence key = window_->action(command)->shortcut();
            QTest::keySequence(edit, key);
            QVERIFY2(spy.count() == 1, qPrintable(key.toString()));
        }
        QVERIFY(edit->toPlainText().isEmpty());

        // The editing keys no menu item uses stay the edit box's own.
        QApplication::clipboard()->setText(QStringLiteral("粘贴的文字"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->toPlainText(), QStringLiteral("粘贴的文字"));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(edit->toPlainText().isEmpty());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("粘贴的文字"));
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->toPlainText(), QStringLiteral("粘贴的文字"));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QApplication::clipboard()->clear();
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("粘贴的文字"));
    }

    void menusAndTheirItems() {
        QStringList seen;
        for (QAction* menu : window_->menuBar()->actions()) {
            seen << menu->text();
            for (QAction* item : menu->menu()->actions()) {
                QVERIFY2(!item->isSeparator(), "no separators");
                seen << QStringLiteral("  %1\t%2")
                            .arg(item->text(), item->shortcut().toString(QKeySequence::NativeText));
            }
        }
        const QStringList expected = {
            QStringLiteral("文件（&F）"),
            QStringLiteral("  打开文件\tCtrl+O"),
            QStringLiteral("  保存文件\tCtrl+S"),
            QStringLiteral("  输出声音文件\tF5"),
            QStringLiteral("朗读（&S）"),
            QStringLiteral("  开始朗读\tF2"),
            QStringLiteral("  暂停朗读\tF3"),
            QStringLiteral("  继续朗读\tF4"),
            QStringLiteral("  停止朗读\tF6"),
            QStringLiteral("设置（&X）"),
            QStringLiteral("  设置字体与颜色\tCtrl+T"),
            QStringLiteral("  设置背景颜色\tCtrl+B"),
            QStringLiteral("帮助(&H)"),
            QStringLiteral("  使用说明\tCtrl+J"),
            QStringLiteral("  关于\tCtrl+L"),
        };
        QCOMPARE(seen, expected);
    }

    void altOpensAMenuAndEscClosesOnlyTheMenu() {
        window_->editBox->setFocus();
        QTest::keyClick(window_->editBox, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->title(), QStringLiteral("朗读（&S）"));
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        QTest::qWait(50);
        QVERIFY(window_->isVisible());
    }
};

QTEST_MAIN(ReadingTest)
#include "ReadingTest.moc"
