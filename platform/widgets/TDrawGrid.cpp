#include "TDrawGrid.h"

#include "Accessibility.h"
#include "AccessibleGrid.h"
#include "FocusMark.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimer>
#include <cmath>

void TCanvas::PrepareForPictures(QPainter& painter) {
    // A picture painted for a screen scaled by 2 lands on a surface scaled by
    // 1.25 or 1.5 scaled down; at scale 1 and 2 it is copied pixel for pixel.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

QPainter& TCanvas::Painter() {
    if (painting_ != nullptr) {
        return *painting_;
    }
    // Outside a paint the logic draws straight onto the surface; the painter
    // stays open until the grid paints next.
    if (!own_) {
        own_ = std::make_unique<QPainter>(&surface_);
        PrepareForPictures(*own_);
    }
    return *own_;
}

void TCanvas::Draw(int x, int y, const QPixmap& picture) {
    if (!picture.isNull()) {
        Painter().drawPixmap(x, y, picture);
    }
}

void TCanvas::FillRect(const QRect& rect, const QColor& colour) {
    Painter().fillRect(rect, colour);
}

void TCanvas::TextOut(int x, int y, const QString& text) {
    QPainter& painter = Painter();
    painter.setFont(Font);
    painter.setPen(FontColor);
    painter.drawText(QRect(x, y, 4096, 4096), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     text);
}

TDrawGrid::TDrawGrid(QWidget* parent) : QWidget(parent) {
    InstallAccessibility();
    WatchKeyboardUse();
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TDrawGrid::~TDrawGrid() {
    canvas_.own_.reset();
}

void TDrawGrid::SetColCount(int cols) {
    cols_ = cols;
    update();
}

void TDrawGrid::SetRowCount(int rows) {
    rows_ = rows;
    update();
}

void TDrawGrid::SetDefaultColWidth(int width) {
    colWidth_ = width;
    update();
}

void TDrawGrid::SetDefaultRowHeight(int height) {
    rowHeight_ = height;
    update();
}

QRect TDrawGrid::CellRect(int col, int row) const {
    return {col * colWidth_, row * rowHeight_, colWidth_, rowHeight_};
}

bool TDrawGrid::EnsureSurface() {
    // The surface has a device pixel for each pixel of the screen the grid is
    // on, so what is drawn on it is drawn at the screen's full resolution; the
    // drawing itself stays in the grid's logical pixels.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(static_cast<int>(std::ceil(width() * ratio)),
                       static_cast<int>(std::ceil(height() * ratio)));
    if (canvas_.surface_.size() == pixels && canvas_.surface_.devicePixelRatio() == ratio) {
        return false;
    }
    canvas_.own_.reset();
    QPixmap surface(pixels);
    surface.setDevicePixelRatio(ratio);
    surface.fill(Qt::white);
    canvas_.surface_ = surface;
    return true;
}

TCanvas& TDrawGrid::Canvas() {
    EnsureSurface();
    if (canvas_.painting_ == nullptr) {
        update(); // what the logic draws now shows at the next paint
    }
    return canvas_;
}

void TDrawGrid::resizeEvent(QResizeEvent* event) {
    EnsureSurface();
    QWidget::resizeEvent(event);
}

void TDrawGrid::paintEvent(QPaintEvent* event) {
    // A new surface (the grid moved to a screen of another scale) holds nothing
    // yet: every cell is drawn again.
    const QRegion region = EnsureSurface() ? QRegion(rect()) : event->region();
    canvas_.own_.reset();
    {
        QPainter surfacePainter(&canvas_.surface_);
        TCanvas::PrepareForPictures(surfacePainter);
        canvas_.painting_ = &surfacePainter;
        RaiseDrawCell(region);
        canvas_.painting_ = nullptr;
    }
    QPainter screen(this);
    screen.setClipRegion(event->region());
    screen.drawPixmap(0, 0, canvas_.surface_);
    // On the screen only: the surface keeps what the logic drew.
    if (FocusMarkShown(this)) {
        PaintFocusMark(screen, CellRect(col_, row_));
    }
    // A repaint is where a cell's face or mark may have changed.
    TAccessibleDrawGrid::CellsMayHaveChanged(this);
}

TDrawGrid::TCellDescription TDrawGrid::DescribeCell(int col, int row) const {
    return OnDescribeCell ? OnDescribeCell(col, row) : TCellDescription{};
}

void TDrawGrid::PressCell(int col, int row) {
    if (isVisible() && col >= 0 && row >= 0 && col < cols_ && row < rows_) {
        TrySelect(col, row);
    }
}

void TDrawGrid::RaiseDrawCell(const QRegion& region) {
    if (!OnDrawCell) {
        return;
    }
    for (int col = 0; col < cols_; ++col) {
        for (int row = 0; row < rows_; ++row) {
            const QRect cell = CellRect(col, row);
            if (region.intersects(cell)) {
                OnDrawCell(col, row, cell);
                if (DrawCellPaintsAll) {
                    return;
                }
            }
        }
    }
}

bool TDrawGrid::CellAt(const QPoint& point, int& col, int& row) const {
    if (point.x() < 0 || point.y() < 0) {
        return false;
    }
    col = point.x() / colWidth_;
    row = point.y() / rowHeight_;
    return col < cols_ && row < rows_;
}

bool TDrawGrid::TrySelect(int col, int row) {
    if (!isEnabled()) {
        return false;
    }
    bool canSelect = true;
    if (OnSelectCell) {
        OnSelectCell(col, row, canSelect);
    }
    if (canSelect) {
        MakeCurrent(col, row);
    }
    return canSelect;
}

void TDrawGrid::MakeCurrent(int col, int row) {
    update(CellRect(col_, row_));
    col_ = col;
    row_ = row;
    update(CellRect(col_, row_));
    if (hasFocus()) {
        TAccessibleDrawGrid::CurrentCellFocused(this);
    }
}

void TDrawGrid::MoveCurrentCell(int col, int row) {
    // A refused cell (a picked bonus letter, the bonus die that has just
    // opened its round) still takes the cursor, or the keys could never get
    // past it. Not when the handler left the grid disabled (the game ended).
    if (!TrySelect(col, row) && isEnabled()) {
        MakeCurrent(col, row);
    }
}

void TDrawGrid::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    int col = 0;
    int row = 0;
    dragging_ = true;
    lastCol_ = -1;
    lastRow_ = -1;
    if (CellAt(event->position().toPoint(), col, row)) {
        lastCol_ = col;
        lastRow_ = row;
        TrySelect(col, row);
    }
}

void TDrawGrid::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    int col = 0;
    int row = 0;
    if (!dragging_ || !(event->buttons() & Qt::LeftButton) ||
        !CellAt(event->position().toPoint(), col, row)) {
        return;
    }
    if (col != lastCol_ || row != lastRow_) {
        lastCol_ = col;
        lastRow_ = row;
        TrySelect(col, row);
    }
}

void TDrawGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
    }
}

void TDrawGrid::keyPressEvent(QKeyEvent* event) {
    int col = col_;
    int row = row_;
    switch (event->key()) {
    case Qt::Key_Space:
        // The die under the cursor, the one the cursor starts on too; a held
        // key picks once.
        event->accept();
        if (!event->isAutoRepeat()) {
            TrySelect(col_, row_);
        }
        return;
    case Qt::Key_Left:
        col = std::max(0, col - 1);
        break;
    case Qt::Key_Right:
        col = std::min(cols_ - 1, col + 1);
        break;
    case Qt::Key_Up:
        row = std::max(0, row - 1);
        break;
    case Qt::Key_Down:
        row = std::min(rows_ - 1, row + 1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (col == col_ && row == row_) {
        return;
    }
    // With Ctrl held the cursor moves without selecting, as the pointer moves
    // without the button held: the way to reach a die without picking the
    // dice on the way (the bonus word's first letter may lie at the far end).
    if (event->modifiers() & Qt::ControlModifier) {
        MakeCurrent(col, row);
    } else {
        MoveCurrentCell(col, row);
    }
}

void TDrawGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // After the toolkit has told assistive technology that the grid has the
    // focus: then the cell that has it within the grid.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus()) {
            TAccessibleDrawGrid::CurrentCellFocused(this);
        }
    });
}
