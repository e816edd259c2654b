#pragma once

#include <QListWidget>

// The found-words list: text lines drawn with the control's own colours and
// font, 2 pixels in from the left and centred vertically, and never a selection
// highlight or a focus rectangle, so it looks the same whichever line is
// current. With VertScrollBar false it shows no vertical scroll bar, yet still
// scrolls to the current line.
class TxListBox : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(bool vertScrollBar READ VertScrollBar WRITE SetVertScrollBar)
    Q_PROPERTY(int itemHeight READ ItemHeight WRITE SetItemHeight)

public:
    explicit TxListBox(QWidget* parent = nullptr);

    bool VertScrollBar() const { return vertScrollBar_; }
    void SetVertScrollBar(bool shown);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);

private:
    bool vertScrollBar_ = false;
    int itemHeight_ = 16;
};
