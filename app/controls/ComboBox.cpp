#include "app/controls/ComboBox.h"

#include <QAbstractItemView>
#include <QListView>
#include <QStyledItemDelegate>

namespace lusheng::app {
namespace {

class TallerItems : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(0, ComboBox::kExtraItemHeight);
    }
};

} // namespace

ComboBox::ComboBox(int createdHeight, QWidget* parent)
    : QComboBox(parent), createdHeight_(std::max(createdHeight, kMinimumCreatedHeight)) {
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    setFocusPolicy(Qt::StrongFocus);
    // A plain list view, so that the list looks the same under every style and scrolls
    // when the items do not fit.
    setView(new QListView(this));
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setItemDelegate(new TallerItems(this));
    const int listHeight = createdHeight_ - sizeHint().height();
    setMaxVisibleItems(std::max(1, listHeight / itemHeight()));
    setCurrentIndex(-1);
}

int ComboBox::itemHeight() const {
    QStyleOptionViewItem option;
    option.initFrom(view());
    option.text = QStringLiteral("语");
    option.features = QStyleOptionViewItem::HasDisplay;
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), view()).height() +
           kExtraItemHeight;
}

} // namespace lusheng::app
