#include "app/controls/ColorPicker.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace lusheng::app {
namespace {

constexpr int kPaletteColumns = 8;
constexpr int kSwatchSize = 18;

QPixmap swatch(const QColor& colour, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, size - 1, size - 1);
    return pixmap;
}

} // namespace

const QList<PaletteColour>& ColorPicker::paletteColours() {
    static const QList<PaletteColour> colours = {
        {QColor(0x00, 0x00, 0x00), QStringLiteral("黑色")},
        {QColor(0x99, 0x33, 0x00), QStringLiteral("褐色")},
        {QColor(0x33, 0x33, 0x00), QStringLiteral("橄榄绿")},
        {QColor(0x00, 0x33, 0x00), QStringLiteral("深绿")},
        {QColor(0x00, 0x33, 0x66), QStringLiteral("深青")},
        {QColor(0x00, 0x00, 0x80), QStringLiteral("深蓝")},
        {QColor(0x33, 0x33, 0x99), QStringLiteral("靛蓝")},
        {QColor(0x33, 0x33, 0x33), QStringLiteral("灰色-80%")},
        {QColor(0x80, 0x00, 0x00), QStringLiteral("深红")},
        {QColor(0xFF, 0x66, 0x00), QStringLiteral("橙色")},
        {QColor(0x80, 0x80, 0x00), QStringLiteral("深黄")},
        {QColor(0x00, 0x80, 0x00), QStringLiteral("绿色")},
        {QColor(0x00, 0x80, 0x80), QStringLiteral("青色")},
        {QColor(0x00, 0x00, 0xFF), QStringLiteral("蓝色")},
        {QColor(0x66, 0x66, 0x99), QStringLiteral("蓝灰")},
        {QColor(0x80, 0x80, 0x80), QStringLiteral("灰色-50%")},
        {QColor(0xFF, 0x00, 0x00), QStringLiteral("红色")},
        {QColor(0xFF, 0x99, 0x00), QStringLiteral("浅橙色")},
        {QColor(0x99, 0xCC, 0x00), QStringLiteral("酸橙色")},
        {QColor(0x33, 0x99, 0x66), QStringLiteral("海绿")},
        {QColor(0x33, 0xCC, 0xCC), QStringLiteral("水绿色")},
        {QColor(0x33, 0x66, 0xFF), QStringLiteral("浅蓝")},
        {QColor(0x80, 0x00, 0x80), QStringLiteral("紫罗兰")},
        {QColor(0x99, 0x99, 0x99), QStringLiteral("灰色-40%")},
        {QColor(0xFF, 0x00, 0xFF), QStringLiteral("粉红")},
        {QColor(0xFF, 0xCC, 0x00), QStringLiteral("金色")},
        {QColor(0xFF, 0xFF, 0x00), QStringLiteral("黄色")},
        {QColor(0x00, 0xFF, 0x00), QStringLiteral("鲜绿")},
        {QColor(0x00, 0xFF, 0xFF), QStringLiteral("青绿")},
        {QColor(0x00, 0xCC, 0xFF), QStringLiteral("天蓝")},
        {QColor(0x99, 0x33, 0x66), QStringLiteral("梅红")},
        {QColor(0xC0, 0xC0, 0xC0), QStringLiteral("灰色-25%")},
        {QColor(0xFF, 0x99, 0xCC), QStringLiteral("玫瑰红")},
        {QColor(0xFF, 0xCC, 0x99), QStringLiteral("茶色")},
        {QColor(0xFF, 0xFF, 0x99), QStringLiteral("浅黄")},
        {QColor(0xCC, 0xFF, 0xCC), QStringLiteral("浅绿")},
        {QColor(0xCC, 0xFF, 0xFF), QStringLiteral("浅青绿")},
        {QColor(0x99, 0xCC, 0xFF), QStringLiteral("淡蓝")},
        {QColor(0xCC, 0x99, 0xFF), QStringLiteral("淡紫")},
        {QColor(0xFF, 0xFF, 0xFF), QStringLiteral("白色")},
    };
    return colours;
}

ColorPicker::ColorPicker(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("颜色选择器"));
    setAccessibleDescription(colour_.name());
    connect(this, &QAbstractButton::clicked, this, &ColorPicker::showPalette);
}

void ColorPicker::setColour(const QColor& colour) {
    colour_ = colour;
    setAccessibleDescription(colour.name());
    update();
}

QSize ColorPicker::sizeHint() const {
    return {104, 24};
}

void ColorPicker::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.features = QStyleOptionButton::None;
    if (isDown()) {
        option.state |= QStyle::State_Sunken;
    } else {
        option.state |= QStyle::State_Raised;
    }
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    // The colour fills the face; a small arrow at the right says that a palette drops down.
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const int arrowWidth = std::min(12, contents.width() / 3);
    QRect colourArea = contents.adjusted(1, 1, -arrowWidth - 3, -1);
    painter.fillRect(colourArea, colour_);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(colourArea.adjusted(0, 0, -1, -1));

    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect =
        QRect(contents.right() - arrowWidth, contents.top(), arrowWidth, contents.height());
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void ColorPicker::showPalette() {
    if (palette_) {
        return;
    }
    auto* popup = new QFrame(this, Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    popup->setObjectName(QStringLiteral("调色板"));
    auto* layout = new QVBoxLayout(popup);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    const QList<PaletteColour>& colours = paletteColours();
    for (qsizetype i = 0; i < colours.size(); ++i) {
        auto* entry = new QToolButton(popup);
        entry->setIcon(QIcon(swatch(colours[i].colour, kSwatchSize)));
        entry->setIconSize(QSize(kSwatchSize, kSwatchSize));
        entry->setAutoRaise(true);
        entry->setToolTip(colours[i].name);
        entry->setAccessibleName(colours[i].name);
        entry->setObjectName(colours[i].colour.name());
        const QColor colour = colours[i].colour;
        connect(entry, &QToolButton::clicked, this, [this, colour] { choose(colour); });
        grid->addWidget(entry, static_cast<int>(i / kPaletteColumns),
                        static_cast<int>(i % kPaletteColumns));
    }
    layout->addLayout(grid);
    auto* other = new QPushButton(otherColoursText(), popup);
    other->setAutoDefault(false);
    connect(other, &QPushButton::clicked, this, &ColorPicker::chooseOtherColour);
    layout->addWidget(other);

    palette_ = popup;
    popup->adjustSize();
    popup->move(mapToGlobal(QPoint(0, height())));
    popup->show();
}

void ColorPicker::choose(const QColor& colour) {
    if (palette_) {
        palette_->close();
    }
    setColour(colour);
    emit colourChosen();
}

void ColorPicker::chooseOtherColour() {
    if (palette_) {
        palette_->close();
    }
    QColorDialog dialog(colour_, window());
    dialog_ = &dialog;
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    dialog_ = nullptr;
    if (confirmed && dialog.selectedColor().isValid()) {
        choose(dialog.selectedColor());
    }
}

} // namespace lusheng::app
