#pragma once

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <memory>

// The drawing surface of a grid, kept between paints: what is drawn on it stays
// until drawn over, whether it was drawn from a draw-cell callback or straight
// from the game logic. Holds the text attributes the logic sets on it. Drawing
// is in the grid's logical pixels at the resolution of the grid's screen.
class TCanvas {
public:
    QFont Font;
    QColor FontColor = Qt::black;

    void Draw(int x, int y, const QPixmap& picture);
    void FillRect(const QRect& rect, const QColor& colour);
    // Text with its top-left corner at (x, y), no background.
    void TextOut(int x, int y, const QString& text);

private:
    friend class TDrawGrid;
    static void PrepareForPictures(QPainter& painter);
    QPainter& Painter();

    QPixmap surface_;
    QPainter* painting_ = nullptr; // open while the grid paints
    std::unique_ptr<QPainter> own_;
};

// A grid of fixed cells that does none of its own cell drawing. It raises
// OnDrawCell for each cell it repaints and OnSelectCell when a cell is to become
// current: on a left press on a cell, on entering another cell with the left
// button held, on an arrow key, and on Space for the current cell. The callback
// may refuse the cell; a refused press leaves the current cell where it was,
// while the arrow keys move it anyway, so that they can pass over a cell that
// refuses. Ctrl with an arrow moves the current cell and raises nothing. A
// disabled grid raises nothing. While the keyboard is in use the focus mark
// outlines the current cell of the grid that has the focus.
//
// Assistive technology sees a table of cells, each named and marked as
// OnDescribeCell tells; pressing a cell there selects it as a click does.
class TDrawGrid : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int colCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int rowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(int defaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
    Q_PROPERTY(int defaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)

public:
    using DrawCellHandler = std::function<void(int col, int row, const QRect& rect)>;
    using SelectCellHandler = std::function<void(int col, int row, bool& canSelect)>;
    // What a cell says to assistive technology: its name ("A", "QU"), whether
    // it is marked (checked) and a description that says what the mark means.
    struct TCellDescription {
        QString Name;
        bool Marked = false;
        QString Description;
        bool operator==(const TCellDescription&) const = default;
    };
    using DescribeCellHandler = std::function<TCellDescription(int col, int row)>;

    explicit TDrawGrid(QWidget* parent = nullptr);
    ~TDrawGrid() override;

    int ColCount() const { return cols_; }
    void SetColCount(int cols);
    int RowCount() const { return rows_; }
    void SetRowCount(int rows);
    int DefaultColWidth() const { return colWidth_; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return rowHeight_; }
    void SetDefaultRowHeight(int height);

    QRect CellRect(int col, int row) const;
    TCanvas& Canvas();
    int Col() const { return col_; }
    int Row() const { return row_; }

    DrawCellHandler OnDrawCell;
    SelectCellHandler OnSelectCell;
    // Set when OnDrawCell paints every cell whichever cell it is raised for. A
    // paint then raises it once, for the first cell it covers: nothing changes
    // during a paint, so every further call would draw the same pixels again.
    bool DrawCellPaintsAll = false;
    DescribeCellHandler OnDescribeCell;

    TCellDescription DescribeCell(int col, int row) const;
    // Selects a cell as a left press on it does, for a press that does not come
    // from the mouse: nothing while the grid is disabled or hidden.
    void PressCell(int col, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    bool CellAt(const QPoint& point, int& col, int& row) const;
    // Raises OnSelectCell; an accepted cell becomes current. True when it did.
    bool TrySelect(int col, int row);
    void MakeCurrent(int col, int row);
    // The arrow keys' move.
    void MoveCurrentCell(int col, int row);
    // Makes the surface fit the grid and its screen; true when it was made anew.
    bool EnsureSurface();
    void RaiseDrawCell(const QRegion& region);

    int cols_ = 5;
    int rows_ = 5;
    int colWidth_ = 47;
    int rowHeight_ = 47;
    int col_ = 0;
    int row_ = 0;
    bool dragging_ = false;
    int lastCol_ = -1;
    int lastRow_ = -1;
    TCanvas canvas_;
};

// Wires a board of dice to its window's handlers: draw, raised once a paint
// since it paints every die whichever cell it is raised for; select, for a
// press; describe, for assistive technology.
template <class TOwner>
void ConnectDice(TDrawGrid& grid, TOwner* owner, void (TOwner::*draw)(int, int, const QRect&),
                 void (TOwner::*select)(int, int, bool&),
                 TDrawGrid::TCellDescription (TOwner::*describe)(int, int) const) {
    grid.OnDrawCell = [owner, draw](int col, int row, const QRect& rect) {
        (owner->*draw)(col, row, rect);
    };
    grid.DrawCellPaintsAll = true;
    grid.OnSelectCell = [owner, select](int col, int row, bool& canSelect) {
        (owner->*select)(col, row, canSelect);
    };
    grid.OnDescribeCell = [owner, describe](int col, int row) {
        return (owner->*describe)(col, row);
    };
}
