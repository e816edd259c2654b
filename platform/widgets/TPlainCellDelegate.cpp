#include "TPlainCellDelegate.h"

#include <QPainter>

TPlainCellDelegate::TPlainCellDelegate(QWidget* control, int rowHeight)
    : QStyledItemDelegate(control), control_(control), rowHeight_(rowHeight) {}

void TPlainCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QPalette& colours = control_->palette();
    painter->fillRect(option.rect, colours.color(QPalette::Active, QPalette::Base));
    painter->setFont(control_->font());
    painter->setPen(colours.color(QPalette::Active, QPalette::Text));
    painter->drawText(option.rect.adjusted(2, 0, 0, 0),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data().toString());
}

QSize TPlainCellDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    const QSize natural = QStyledItemDelegate::sizeHint(option, index);
    return {natural.width(), rowHeight_ > 0 ? rowHeight_ : natural.height()};
}
