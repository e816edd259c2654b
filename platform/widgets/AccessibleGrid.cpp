#include "AccessibleGrid.h"

#include "Accessibility.h"

#include <QWidget>
#include <QWindow>

TAccessibleDrawGrid::TAccessibleDrawGrid(TDrawGrid* grid)
    : QAccessibleWidget(grid, QAccessible::Table) {
    for (int row = 0; row < grid->RowCount(); ++row) {
        for (int col = 0; col < grid->ColCount(); ++col) {
            told_.push_back(grid->DescribeCell(col, row));
        }
    }
}

TAccessibleDrawGrid::~TAccessibleDrawGrid() {
    for (QAccessible::Id id : std::as_const(cells_)) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

TDrawGrid* TAccessibleDrawGrid::Grid() const {
    return static_cast<TDrawGrid*>(widget());
}

void TAccessibleDrawGrid::CellsMayHaveChanged(TDrawGrid* grid) {
    if (!QAccessible::isActive()) {
        return;
    }
    if (auto* table =
            dynamic_cast<TAccessibleDrawGrid*>(QAccessible::queryAccessibleInterface(grid))) {
        table->AnnounceChanges();
    }
}

void TAccessibleDrawGrid::CurrentCellFocused(TDrawGrid* grid) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleEvent focused(grid, QAccessible::Focus);
    focused.setChild(grid->Row() * grid->ColCount() + grid->Col());
    QAccessible::updateAccessibility(&focused);
}

QAccessibleInterface* TAccessibleDrawGrid::focusChild() const {
    return Grid()->hasFocus() ? cellAt(Grid()->Row(), Grid()->Col()) : nullptr;
}

void TAccessibleDrawGrid::AnnounceChanges() {
    const int cells = childCount();
    told_.resize(static_cast<std::size_t>(cells));
    for (int index = 0; index < cells; ++index) {
        const int col = index % columnCount();
        const int row = index / columnCount();
        const TDrawGrid::TCellDescription now = Grid()->DescribeCell(col, row);
        TDrawGrid::TCellDescription& told = told_[static_cast<std::size_t>(index)];
        if (now == told) {
            continue;
        }
        QAccessibleInterface* cell = child(index);
        if (now.Name != told.Name) {
            QAccessibleEvent renamed(cell, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&renamed);
        }
        if (now.Description != told.Description) {
            QAccessibleEvent described(cell, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&described);
        }
        if (now.Marked != told.Marked) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent marked(cell, changed);
            QAccessible::updateAccessibility(&marked);
        }
        told = now;
    }
}

int TAccessibleDrawGrid::columnCount() const {
    return Grid()->ColCount();
}

int TAccessibleDrawGrid::rowCount() const {
    return Grid()->RowCount();
}

int TAccessibleDrawGrid::childCount() const {
    return columnCount() * rowCount();
}

QAccessibleInterface* TAccessibleDrawGrid::child(int index) const {
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    // Each cell keeps one interface for the life of the grid, so that
    // assistive technology can hold on to it.
    auto known = cells_.constFind(index);
    if (known != cells_.constEnd()) {
        return QAccessible::accessibleInterface(*known);
    }
    auto* cell = new TAccessibleGridCell(Grid(), index % columnCount(), index / columnCount());
    cells_.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface* TAccessibleDrawGrid::cellAt(int row, int column) const {
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) {
        return nullptr;
    }
    return child(row * columnCount() + column);
}

int TAccessibleDrawGrid::indexOfChild(const QAccessibleInterface* child) const {
    for (auto cell = cells_.constBegin(); cell != cells_.constEnd(); ++cell) {
        if (QAccessible::accessibleInterface(cell.value()) == child) {
            return cell.key();
        }
    }
    return -1;
}

QAccessibleInterface* TAccessibleDrawGrid::childAt(int x, int y) const {
    const QPoint local = Grid()->mapFromGlobal(QPoint(x, y));
    for (int row = 0; row < rowCount(); ++row) {
        for (int col = 0; col < columnCount(); ++col) {
            if (Grid()->CellRect(col, row).contains(local)) {
                return cellAt(row, col);
            }
        }
    }
    return nullptr;
}

void* TAccessibleDrawGrid::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

TAccessibleGridCell::TAccessibleGridCell(TDrawGrid* grid, int col, int row)
    : grid_(grid), col_(col), row_(row) {}

bool TAccessibleGridCell::isValid() const {
    return grid_ != nullptr && col_ < grid_->ColCount() && row_ < grid_->RowCount();
}

QWindow* TAccessibleGridCell::window() const {
    return grid_ != nullptr ? grid_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* TAccessibleGridCell::parent() const {
    return QAccessible::queryAccessibleInterface(grid_.data());
}

QString TAccessibleGridCell::text(QAccessible::Text type) const {
    if (!isValid()) {
        return {};
    }
    switch (type) {
    case QAccessible::Name:
        return grid_->DescribeCell(col_, row_).Name;
    case QAccessible::Description:
        return grid_->DescribeCell(col_, row_).Description;
    default:
        return {};
    }
}

QRect TAccessibleGridCell::rect() const {
    if (!isValid()) {
        return {};
    }
    const QRect cell = grid_->CellRect(col_, row_);
    return {grid_->mapToGlobal(cell.topLeft()), cell.size()};
}

QAccessible::State TAccessibleGridCell::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.disabled = !grid_->isEnabled();
    state.invisible = !grid_->isVisible();
    state.checked = grid_->DescribeCell(col_, row_).Marked;
    state.focusable = grid_->focusPolicy() != Qt::NoFocus;
    state.focused = grid_->hasFocus() && grid_->Col() == col_ && grid_->Row() == row_;
    return state;
}

void* TAccessibleGridCell::interface_cast(QAccessible::InterfaceType type) {
    switch (type) {
    case QAccessible::TableCellInterface:
        return static_cast<QAccessibleTableCellInterface*>(this);
    case QAccessible::ActionInterface:
        return static_cast<QAccessibleActionInterface*>(this);
    default:
        return nullptr;
    }
}

QStringList TAccessibleGridCell::actionNames() const {
    return {pressAction()};
}

void TAccessibleGridCell::doAction(const QString& actionName) {
    if (actionName == pressAction() && isValid()) {
        TDrawGrid* grid = grid_;
        PressSoon(grid, [grid, col = col_, row = row_] { grid->PressCell(col, row); });
    }
}
