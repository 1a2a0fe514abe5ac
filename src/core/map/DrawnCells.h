// The cells of a map's last draw as they lie in its picture: which decoded cell each cell of the picture
// shows, for the exports that write the map as a grid of tile numbers rather than as pixels.
#pragma once

#include "map/MapVariables.h"

#include <cstdint>
#include <vector>

namespace tavrik {

class DrawnCellGrid {
  public:
    DrawnCellGrid(int32_t columns, int32_t rows);

    int32_t Columns() const { return ColumnCount; }
    int32_t Rows() const { return RowCount; }
    // The decoded cell drawn at picture cell (row, column), or nothing when the draw's walk never reached it
    // (blocks that do not divide the map leave cells black).
    const TMapCell* At(int32_t row, int32_t column) const;
    void Set(int32_t row, int32_t column, const TMapCell* cell);

  private:
    int32_t ColumnCount;
    int32_t RowCount;
    std::vector<const TMapCell*> Cells;
};

// The picture cells of the last draw of map (DrawWidth x DrawHeight, Action Fighter's rows bottom-up as
// they are drawn). The grid points into map.Cells and is valid until the next draw.
DrawnCellGrid DrawnCells(const TMapVariables& map);

} // namespace tavrik
