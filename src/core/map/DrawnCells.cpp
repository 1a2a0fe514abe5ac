// Replaying the walk of the last draw to find where each decoded cell was drawn.
#include "map/DrawnCells.h"

#include "map/MapWalk.h"

#include <algorithm>

namespace tavrik {

DrawnCellGrid::DrawnCellGrid(int32_t columns, int32_t rows)
    : ColumnCount(std::max(columns, 0)), RowCount(std::max(rows, 0)),
      Cells(static_cast<size_t>(ColumnCount) * static_cast<size_t>(RowCount), nullptr) {}

const TMapCell* DrawnCellGrid::At(int32_t row, int32_t column) const {
    if (row < 0 || column < 0 || row >= RowCount || column >= ColumnCount) return nullptr;
    return Cells[static_cast<size_t>(row) * static_cast<size_t>(ColumnCount) + static_cast<size_t>(column)];
}

void DrawnCellGrid::Set(int32_t row, int32_t column, const TMapCell* cell) {
    Cells[static_cast<size_t>(row) * static_cast<size_t>(ColumnCount) + static_cast<size_t>(column)] = cell;
}

DrawnCellGrid DrawnCells(const TMapVariables& map) {
    DrawnCellGrid grid(map.DrawWidth, map.DrawHeight);
    const bool bottomUp = map.CustomGameId == static_cast<int32_t>(CustomGame::ActionFighter);
    // The walk visits cells outside the picture when the blocks do not divide it; those are not drawn.
    MapWalk walk(map, std::max(map.TilesPerBlockAcross, 1), std::max(map.TilesPerBlockDown, 1));
    const int64_t visits = int64_t{grid.Columns()} * grid.Rows();
    for (int64_t visit = 0; visit < visits; ++visit, walk.Advance()) {
        if (walk.Row() >= grid.Rows() || walk.Column() >= grid.Columns()) continue;
        const auto row = static_cast<int32_t>(walk.Row());
        const auto column = static_cast<int32_t>(walk.Column());
        grid.Set(bottomUp ? grid.Rows() - 1 - row : row, column, CellAt(map, row, column));
    }
    return grid;
}

} // namespace tavrik
