// The control kinds of the reader's window, each on its own.

#include "app/BackgroundPicture.h"
#include "app/JpegDecoder.h"
#include "app/controls/Button.h"
#include "app/controls/ColorPicker.h"
#include "app/controls/ComboBox.h"
#include "app/controls/CommonDlg.h"
#include "app/controls/SliderBar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QFrame>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace lusheng::app;

Q_DECLARE_METATYPE(SliderBar::Settings)

class ControlsTest : public QObject {
    Q_OBJECT

  private slots:
    void fileFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<FileFilter>>("pairs");
        const QString text = QStringLiteral("文本文档（*.txt)");
        QTest::newRow("one pair") << QStringLiteral("文本文档（*.txt)|*.txt")
                                  << QList<FileFilter>{{text, "*.txt"}};
        QTest::newRow("two pairs") << QStringLiteral("Wave|*.wav|All|*.*")
                                   << QList<FileFilter>{{"Wave", "*.wav"}, {"All", "*.*"}};
        QTest::newRow("trailing white space")
            << QStringLiteral("Wave|*.wav \t\n") << QList<FileFilter>{{"Wave", "*.wav"}};
        QTest::newRow("already ends in ||")
            << QStringLiteral("Wave|*.wav||") << QList<FileFilter>{{"Wave", "*.wav"}};
        QTest::newRow("empty") << QString() << QList<FileFilter>{};
        QTest::newRow("only white space") << QStringLiteral("  ") << QList<FileFilter>{};
        QTest::newRow("ends at an empty description")
            << QStringLiteral("A|*.a||B|*.b") << QList<FileFilter>{{"A", "*.a"}};
        QTest::newRow("description without pattern")
            << QStringLiteral("A|*.a|B") << QList<FileFilter>{{"A", "*.a"}, {"B", ""}};
    }

    void fileFilters() {
        QFETCH(QString, filter);
        QFETCH(QList<FileFilter>, pairs);
        QCOMPARE(parseFileFilter(filter), pairs);
    }

    void dialogKindIsClamped() {
        CommonDlg dialog;
        const std::pair<int, DialogKind> cases[] = {
            {-5, DialogKind::OpenFile}, {0, DialogKind::OpenFile}, {1, DialogKind::SaveFile},
            {2, DialogKind::Font},      {3, DialogKind::Help},     {9, DialogKind::Help}};
        for (const auto& [value, kind] : cases) {
            dialog.setKind(value);
            QCOMPARE(dialog.kind, kind);
        }
        dialog.initialFilter = -3;
        QCOMPARE(dialog.initialFilterIndex(), 0);
    }

    void sliderSettingsAreClamped_data() {
        QTest::addColumn<SliderBar::Settings>("settings");
        QTest::addColumn<QList<int>>("expected"); // minimum, maximum, value, single, page, tick
        QTest::newRow("rate slider")
            << SliderBar::Settings{0, 20, 10, 1, 5, 1} << QList<int>{0, 20, 10, 1, 5, 1};
        QTest::newRow("bounds swapped")
            << SliderBar::Settings{20, 0, 10, 1, 5, 1} << QList<int>{0, 20, 10, 1, 5, 1};
        QTest::newRow("position above")
            << SliderBar::Settings{0, 20, 35, 1, 5, 1} << QList<int>{0, 20, 20, 1, 5, 1};
        QTest::newRow("position below")
            << SliderBar::Settings{0, 20, -4, 1, 5, 1} << QList<int>{0, 20, 0, 1, 5, 1};
        QTest::newRow("sizes below one")
            << SliderBar::Settings{0, 20, 10, 0, -2, 0} << QList<int>{0, 20, 10, 1, 1, 1};
        QTest::newRow("sizes beyond the range")
            << SliderBar::Settings{0, 20, 10, 50, 30, 21} << QList<int>{0, 20, 10, 20, 20, 20};
    }

    void sliderSettingsAreClamped() {
        QFETCH(SliderBar::Settings, settings);
        QFETCH(QList<int>, expected);
        SliderBar slider(settings);
        QCOMPARE((QList<int>{slider.minimum(), slider.maximum(), slider.value(),
                             slider.singleStep(), slider.pageStep(), slider.tickInterval()}),
                 expected);
    }

    void sliderReportsPointerAndWheelBeforeMoving() {
        SliderBar slider({0, 20, 10, 1, 5, 1});
        slider.resize(184, 32);
        slider.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slider));
        QList<int> seenAt;
        connect(&slider, &SliderBar::wheelTurned,
                [&](int steps, int keys) { seenAt << slider.value() << steps << keys; });
        QWheelEvent wheel(QPointF(90, 16), slider.mapToGlobal(QPointF(90, 16)), QPoint(),
                          QPoint(0, 240), Qt::NoButton, Qt::ControlModifier | Qt::ShiftModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&slider, &wheel);
        // Seen with the slider still at 10; the wheel then moves it on.
        QCOMPARE(seenAt, (QList<int>{10, 2, 3}));
        QVERIFY(slider.value() != 10);

        QSignalSpy moves(&slider, &SliderBar::mouseMoved);
        QTest::mouseMove(&slider, QPoint(30, 7));
        QTRY_VERIFY(!moves.isEmpty());
        QCOMPARE(moves.last().at(0).toInt(), 30);
        QCOMPARE(moves.last().at(1).toInt(), 7);
        QCOMPARE(moves.last().at(2).toInt(), 0);
    }

    void comboBoxItemsAreOnePixelTaller() {
        ComboBox box(20);
        QCOMPARE(box.createdHeight(), 160);
        QCOMPARE(box.currentIndex(), -1);
        QVERIFY(!box.isEditable());
        box.addItems({QStringLiteral("甲"), QStringLiteral("乙")});
        QStyleOptionViewItem option;
        option.initFrom(box.view());
        const QModelIndex first = box.model()->index(0, 0);
        QStyledItemDelegate plain;
        QCOMPARE(box.itemDelegate()->sizeHint(option, first).height(),
                 plain.sizeHint(option, first).height() + 1);
        QCOMPARE(box.currentIndex(), 0);
    }

    void wrappingButtonCaption() {
        Button button(QStringLiteral("设置字体与颜色"));
        button.resize(96, 32);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        const QRect area = button.captionArea();
        const QFontMetrics metrics(button.font());
        const QRect laidOut = metrics.boundingRect(area, Button::kCaptionFlags, button.text());
        // Whatever the font, the whole caption is laid out inside the button's label area.
        QVERIFY2(area.contains(laidOut) ||
                     metrics.horizontalAdvance(button.text()) > area.width() * 2,
                 qPrintable(QStringLiteral("%1 in %2").arg(laidOut.width()).arg(area.width())));
        if (metrics.horizontalAdvance(button.text()) > area.width()) {
            QVERIFY(laidOut.height() > metrics.height());
        }
        QVERIFY(!button.autoDefault() && !button.isDefault());
    }

    void colourPickerPalette() {
        ColorPicker picker;
        picker.resize(104, 24);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QSignalSpy chosen(&picker, &ColorPicker::colourChosen);
        QCOMPARE(picker.colour(), QColor(Qt::black));

        for (const auto& names = ColorPicker::paletteColours(); const auto& entry : names) {
            QVERIFY2(entry.name != QStringLiteral("透明"), "offers no colour");
        }

        // Picking a colour, then the same colour again: two choices.
        const QColor yellow(0xFF, 0xFF, 0x99);
        for (int round = 1; round <= 2; ++round) {
            QTest::mouseClick(&picker, Qt::LeftButton);
            QTRY_VERIFY(picker.openPalette() != nullptr && picker.openPalette()->isVisible());
            auto* entry = picker.openPalette()->findChild<QToolButton*>(yellow.name());
            QVERIFY(entry != nullptr);
            QTest::mouseClick(entry, Qt::LeftButton);
            QCOMPARE(chosen.count(), round);
            QCOMPARE(picker.colour(), yellow);
            QTRY_VERIFY(picker.openPalette() == nullptr);
        }

        // Closing the palette without a choice changes nothing.
        QTest::mouseClick(&picker, Qt::LeftButton);
        QTRY_VERIFY(picker.openPalette() != nullptr);
        picker.openPalette()->close();
        QTRY_VERIFY(picker.openPalette() == nullptr);
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(picker.colour(), yellow);
    }

    void colourPickerOtherColours() {
        ColorPicker picker;
        picker.setColour(QColor(10, 20, 30));
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QSignalSpy chosen(&picker, &ColorPicker::colourChosen);

        // Answers the colour dialog once it is open: `colour` to confirm, invalid to cancel.
        auto answer = [&](QColor colour, QColor* startedAt) {
            QTimer::singleShot(0, [&picker, colour, startedAt] {
                auto* other = picker.openPalette()->findChild<QPushButton*>();
                QVERIFY(other != nullptr);
                QCOMPARE(other->text(), ColorPicker::otherColoursText());
                QTimer::singleShot(0, [&picker, colour, startedAt] {
                    QColorDialog* dialog = picker.openColourDialog();
                    QVERIFY(dialog != nullptr);
                    *startedAt = dialog->currentColor();
                    if (colour.isValid()) {
                        dialog->setCurrentColor(colour);
                        dialog->accept();
                    } else {
                        dialog->reject();
                    }
                });
                other->click();
            });
            QTest::mouseClick(&picker, Qt::LeftButton);
            QTRY_VERIFY(picker.openColourDialog() == nullptr && picker.openPalette() == nullptr);
        };

        QColor startedAt;
        answer(QColor(200, 100, 50), &startedAt);
        QCOMPARE(startedAt, QColor(10, 20, 30));
        QTRY_COMPARE(chosen.count(), 1);
        QCOMPARE(picker.colour(), QColor(200, 100, 50));

        answer(QColor(), &startedAt);
        QCOMPARE(startedAt, QColor(200, 100, 50));
        QTest::qWait(20);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(picker.colour(), QColor(200, 100, 50));
    }

    void jpegDecoding() {
        const QByteArray jpeg = builtInBackgroundJpeg();
        QVERIFY(jpeg.startsWith("\xFF\xD8"));
        const QImage picture = decodeBackgroundPicture(jpeg);
        QCOMPARE(picture.size(), QSize(960, 720));
        QCOMPARE(picture.format(), QImage::Format_RGB888);
        // libjpeg decodes the same picture Qt's own reader does.
        QImage reference;
        QVERIFY(reference.loadFromData(jpeg, "JPEG"));
        QCOMPARE(picture, reference.convertToFormat(QImage::Format_RGB888));

        const QByteArray broken[] = {QByteArray(), QByteArray("not a picture"),
                                     QByteArray("\xFF\xD8\xFF\xE0", 4), jpeg.left(jpeg.size() / 2),
                                     jpeg.left(200)};
        for (const QByteArray& bytes : broken) {
            QVERIFY(decodeBackgroundPicture(bytes).isNull());
        }
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
