// The map data search: the table of representations walked step by step, the report lines, and a find
// turned into a MapMatch with the whole level it lies in. The steps themselves are in MapSearchStep.cpp.
#include "search/MapSearch.h"

#include "search/MapSearchStep.h"

#include "app/Checked.h"
#include "app/IntegerText.h"

#include <algorithm>

namespace tavrik {

namespace {

using SearchType = MapSearchType;
using Layout = SearchLayout;
using Mode = SearchMode;
using Action = SearchAction;

} // namespace

const std::array<MapSearchRow, 19> MapSearchTable{{
    {"Checking for horizontal byte data...", Action::Step, SearchType::Byte, Layout::Horizontal, Mode::Exact, 0, false,
     true},
    {"Checking for horizontal word data...", Action::Step, SearchType::Word, Layout::Horizontal, Mode::Exact, 0, false,
     true},
    {"Checking for horizontal longword pointer data...", Action::Step, SearchType::Pointers, Layout::Horizontal,
     Mode::Exact, 0, true, true},
    {"Checking for horizontal longword data + 2...", Action::Step, SearchType::Pointers, Layout::Horizontal,
     Mode::Exact, 2, true, true},
    {"Checking for horizontal longword data...", Action::Step, SearchType::Longword, Layout::Horizontal, Mode::Exact, 0,
     true, true},
    {"Checking for vertical map...", Action::Transpose},
    {"Checking for vertical byte data...", Action::Step, SearchType::Byte, Layout::Vertical, Mode::Exact, 0, false,
     true},
    {"Checking for vertical word data...", Action::Step, SearchType::Word, Layout::Vertical, Mode::Exact, 0, false,
     true},
    {"Checking for vertical longword data...", Action::Step, SearchType::Longword, Layout::Vertical, Mode::Exact, 0,
     true, true},
    {"Checking for vertical longword pointer data...", Action::Step, SearchType::Pointers, Layout::Vertical,
     Mode::Exact, 0, true, true},
    {"Checking for vertical longword data + 2...", Action::Step, SearchType::Pointers, Layout::Vertical, Mode::Exact, 2,
     true, true},
    {"", Action::Parse},
    {"Checking for fuzzy horizontal byte data...", Action::Step, SearchType::Byte, Layout::Horizontal, Mode::Offset, 0,
     false, true},
    {"Checking for fuzzy horizontal word data...", Action::Step, SearchType::Word, Layout::Horizontal, Mode::Offset, 0,
     false, true},
    {"Checking for fuzzy longword data...", Action::Step, SearchType::Longword, Layout::Horizontal, Mode::Offset, 0,
     true, false},
    {"Checking for fuzzy vertical map...", Action::Transpose},
    {"Checking for fuzzy vertical byte data...", Action::Step, SearchType::Byte, Layout::Vertical, Mode::Offset, 0,
     false, true},
    {"Checking for fuzzy vertical word data...", Action::Step, SearchType::Word, Layout::Vertical, Mode::Offset, 0,
     false, true},
    {"Checking for fuzzy vertical longword data...", Action::Step, SearchType::Longword, Layout::Vertical, Mode::Offset,
     0, true, false},
}};

SearchTypeRule SearchTypeRuleOf(MapSearchType type) {
    switch (type) {
    case SearchType::Byte: return {1, 0xFF, 0x3F, 0};
    case SearchType::Word: return {2, 0xFFFF, 0x7F, 8};
    case SearchType::Longword: return {4, 0xFFFFFFFF, 0x7F, 24};
    case SearchType::Pointers: return {4, 0xFFFFFFFF, 0xFFFFF, 8};
    }
    return {1, 0xFF, 0x3F, 0};
}

int64_t PointerTileBytes(const PointerTiles& pointers) {
    const int64_t pixels = CheckedMul<int64_t>(pointers.TileWidth, pointers.TileHeight);
    return CheckedMul<int64_t>(pixels, pointers.Bitplanes) / 8;
}

std::string RowFoundLine(int32_t row, uint32_t mask, int32_t shift, int32_t offset, int64_t address) {
    return "Row " + std::to_string(row) + " found match mask=$" + Hex(mask) + " shift=" + std::to_string(shift) +
           " offset=" + std::to_string(offset) + " at " + HexWide(static_cast<uint64_t>(address));
}

std::string BailingOutLine() {
    return "Bailing out, " + std::to_string(SearchHitLimit) + " matches! This line is not a good match!";
}

std::string JackpotLine(int64_t address, int32_t bytesPerValue, int64_t mapWidth, int32_t unknownCells) {
    std::string line = "Jackpot! $" + HexWide(static_cast<uint64_t>(address)) + " with " +
                       std::to_string(bytesPerValue) + " bytes per tile, map width " + std::to_string(mapWidth);
    if (unknownCells > 0) line += " (" + std::to_string(unknownCells) + " cells unknown)";
    return line;
}

std::string LevelLine(const MapMatch& match) {
    return "Level map at $" + HexWide(static_cast<uint64_t>(match.MapAddress)) + ": " +
           std::to_string(LevelWidth(match)) + " x " + std::to_string(LevelHeight(match)) + " tiles";
}

std::string RowLeftOutLine(int32_t row) {
    return "Row " + std::to_string(row) + " of the grid left out: fewer than half of its cells are known";
}

std::string AnchorRowLine(int32_t row) {
    return "Starting from row " + std::to_string(row) + ", the row with the fewest candidates";
}

bool GridTooSmallForSearch(const MatchGrid& grid) {
    return grid.Columns < 3 || grid.Rows < 1 || grid.Columns * grid.Rows < 4;
}

int32_t AnchorColumn(const MatchGrid& grid, int32_t row) {
    int32_t firstKnown = -1;
    for (int32_t c = 0; c < grid.Columns; ++c) {
        const MatchCell& cell = grid.At(row, c);
        if (cell.Unknown) continue;
        if (cell.Alternatives.empty()) return c;
        if (firstKnown < 0) firstKnown = c;
    }
    return std::max(firstKnown, 0);
}

namespace {

// Whether the values at index i, under the grid's columns, are tile numbers of the rip after the find's shift,
// mask and offset, and not all zero.
bool IsLevelRow(const LevelValues& level, int64_t i, int32_t columns, const MapFind& find) {
    if (i < 0 || i + columns > level.Count) return false;
    bool cleared = true;
    for (int32_t c = 0; c < columns; ++c) {
        const uint32_t raw = level.Value(i + c);
        const auto tile = static_cast<int32_t>(((raw >> find.Shift) & find.Mask) - static_cast<uint32_t>(find.Offset));
        if (tile < 0 || tile >= level.TileCount) return false;
        cleared = cleared && raw == 0;
    }
    return !cleared;
}

// The level around the find's rows: its first row's address and its rows.
void MeasureLevel(const MatchGrid& grid, const MapFind& find, int32_t bytesPerValue, int32_t skip,
                  const LevelValues& level, MapMatch& match) {
    if (level.TileCount <= 0) return;
    const int64_t index = (find.Address - skip) / bytesPerValue;
    const int64_t stride = find.Stride / bytesPerValue;
    int32_t rows = grid.Rows;
    int64_t first = index;
    while (rows < LevelRowLimit && IsLevelRow(level, first - stride, grid.Columns, find)) {
        first -= stride;
        ++rows;
    }
    for (int64_t next = index + grid.Rows * stride;
         rows < LevelRowLimit && IsLevelRow(level, next, grid.Columns, find); next += stride)
        ++rows;
    match.MapAddress = first * bytesPerValue + skip;
    match.MapRows = rows;
}

// The lines of the rows left out of the grid as typed; whether any row is left to search.
bool ReportUsableRows(const MatchGrid& grid, MapSearchRun& run) {
    bool any = false;
    for (int32_t r = 0; r < grid.Rows; ++r) {
        if (RowIsUsable(grid, r))
            any = true;
        else
            run.ResultLines.push_back(RowLeftOutLine(r));
    }
    if (!any && grid.Rows > 0 && grid.Columns > 0) run.ResultLines.emplace_back(NoUsableRowLine);
    return any || grid.Rows == 0;
}

} // namespace

MapMatch MakeMapMatch(const MapSearchRow& row, const MatchGrid& grid, const MapFind& find, const LevelValues& level) {
    const SearchTypeRule rule = SearchTypeRuleOf(row.Type);
    const int16_t cells = CheckedCast<int16_t>(find.Stride / rule.BytesPerValue);
    const bool vertical = row.Layout == Layout::Vertical;
    MapMatch match;
    match.Address = find.Address;
    match.Shift = find.Shift;
    match.Mask = find.Mask;
    match.Offset = find.Offset;
    match.Vertical = vertical ? 1 : 0;
    match.Width = vertical ? 0 : cells;
    match.Height = vertical ? cells : 0;
    match.BytesPerValue = rule.BytesPerValue;
    match.MemoryType = row.Type;
    MeasureLevel(grid, find, rule.BytesPerValue, row.Skip, level, match);
    return match;
}

void RecordFind(const MapSearchRow& row, const MatchGrid& grid, const MapFind& find, const LevelValues& level,
                MapSearchRun& run) {
    const MapMatch match = MakeMapMatch(row, grid, find, level);
    run.ResultLines.push_back(
        JackpotLine(find.Address, match.BytesPerValue, find.Stride / match.BytesPerValue, UnknownCellCount(grid)));
    if (match.MapRows > 0) run.ResultLines.push_back(LevelLine(match));
    run.Matches.push_back(match);
}

MapSearchRun WalkMapSearchTable(const std::vector<std::string>& indexLines, bool searchLongs, MatchGrid& grid,
                                SearchProgress& progress, const MapSearchStep& step) {
    MapSearchRun run;
    size_t reported = 0;
    const auto report = [&] {
        for (; reported < run.ResultLines.size(); ++reported)
            progress.ResultLine(run.ResultLines[reported]);
    };
    progress.Start(SearchProgressMaximum);
    ParseMatchGrid(indexLines, grid);
    run.NoUsableRow = !ReportUsableRows(grid, run);
    bool succeeded = run.NoUsableRow;
    for (const MapSearchRow& row : MapSearchTable) {
        if (succeeded || progress.Cancelled()) break;
        if (row.LongsOnly && !searchLongs) continue;
        if (!row.Message.empty()) run.ResultLines.emplace_back(row.Message);
        report();
        switch (row.Action) {
        case Action::Transpose: TransposeMatchGrid(grid); break;
        case Action::Parse: ParseMatchGrid(indexLines, grid); break;
        case Action::Step:
            if (step(row, grid, run) && row.Consulted) succeeded = true;
            break;
        }
        report();
    }
    run.Cancelled = progress.Cancelled();
    run.ResultLines.emplace_back(FinishedLine);
    report();
    return run;
}

MapSearchRun SearchForMap(std::span<const uint8_t> memory, const std::vector<std::string>& indexLines,
                          const MapSearchOptions& options, MatchGrid& grid, SearchProgress& progress) {
    CheckMatchGridText(indexLines);
    const auto step = [&](const MapSearchRow& row, const MatchGrid& g, MapSearchRun& run) {
        if (GridTooSmallForSearch(g)) return false;
        if (row.Type == SearchType::Pointers && PointerTileBytes(options.Pointers) == 0) {
            run.ResultLines.emplace_back(PointerTilesEmptyLine);
            return false;
        }
        return RunSearchStep(row, g, SearchValues(memory, row.Type, row.Skip, options.Pointers), options, run,
                             progress);
    };
    return WalkMapSearchTable(indexLines, options.SearchLongs, grid, progress, step);
}

} // namespace tavrik
