#pragma once

#include <QStyledItemDelegate>

// Draws a list line or grid cell as plain text on the control's own background:
// 2 pixels in from the left, centred vertically, and never a selection
// highlight or focus rectangle, whichever cell is current.
class TPlainCellDelegate : public QStyledItemDelegate {
public:
    // rowHeight > 0 fixes the height of every line.
    explicit TPlainCellDelegate(QWidget* control, int rowHeight = 0);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void SetRowHeight(int height) { rowHeight_ = height; }

private:
    QWidget* control_;
    int rowHeight_;
};
