#include "xClasses.h"

#include "platform/widgets/TPlainCellDelegate.h"

TxListBox::TxListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new TPlainCellDelegate(this, itemHeight_));
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
    static_cast<TPlainCellDelegate*>(itemDelegate())->SetRowHeight(height);
    doItemsLayout();
}
