#pragma once

#include "TDrawGrid.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <vector>

// A TDrawGrid as assistive technology sees it: a table whose cells are named
// and marked by the grid's OnDescribeCell, in rows from the top, each row from
// the left.
class TAccessibleDrawGrid : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TAccessibleDrawGrid(TDrawGrid* grid);
    ~TAccessibleDrawGrid() override;

    // Tells assistive technology about every cell whose name or mark changed
    // since it last looked; does nothing while no assistive technology listens.
    static void CellsMayHaveChanged(TDrawGrid* grid);
    // Tells assistive technology that the grid's current cell has the focus,
    // so that a screen reader follows the keyboard's cursor.
    static void CurrentCellFocused(TDrawGrid* grid);

    TDrawGrid* Grid() const;

    // QAccessibleInterface
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    void AnnounceChanges();

    mutable QHash<int, QAccessible::Id> cells_; // by child index
    std::vector<TDrawGrid::TCellDescription> told_;
};

// One cell of a TDrawGrid: its description as name and mark, and a press
// action that selects it as a click does.
class TAccessibleGridCell : public QAccessibleInterface,
                            public QAccessibleTableCellInterface,
                            public QAccessibleActionInterface {
public:
    TAccessibleGridCell(TDrawGrid* grid, int col, int row);

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return col_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleActionInterface
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TDrawGrid> grid_;
    int col_;
    int row_;
};
