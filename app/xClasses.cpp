#include "xClasses.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Paints a line as the plain owner-draw of a list box would with the selected
// and focused states cleared: background, then the text on one line.
class TPlainLineDelegate : public QStyledItemDelegate {
public:
    explicit TPlainLineDelegate(TxListBox* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QPalette& colours = list_->palette();
        painter->fillRect(option.rect, colours.color(QPalette::Active, QPalette::Base));
        painter->setFont(list_->font());
        painter->setPen(colours.color(QPalette::Active, QPalette::Text));
        const QRect text = option.rect.adjusted(2, 0, 0, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, index.data().toString());
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), list_->ItemHeight()};
    }

private:
    TxListBox* list_;
};

} // namespace

TxListBox::TxListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new TPlainLineDelegate(this));
    setUniformItemSizes(true);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetVertScrollBar(false);
}

void TxListBox::SetVertScrollBar(bool shown) {
    vertScrollBar_ = shown;
    setVerticalScrollBarPolicy(shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    viewport()->update();
}

void TxListBox::SetItemHeight(int height) {
    itemHeight_ = height;
    doItemsLayout();
}
