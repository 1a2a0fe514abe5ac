// The literal tile matching and map search.
#include "support/SearchReference.h"

#include "app/ByteStream.h"

#include <algorithm>
#include <cstdlib>

namespace tavrik::test {

namespace {

bool SamePixel(const Image& search, int32_t x, int32_t y, const Image& tiles, int32_t tx, int32_t ty) {
    if (x < 0 || y < 0 || x >= search.Width() || y >= search.Height()) return false;
    return (search.ColourAt(x, y) & 0xF0F0F0F0) == (tiles.ColourAt(tx, ty) & 0xF0F0F0F0);
}

bool FullMatch(const Image& search, int32_t sx, int32_t sy, const Image& tiles, int32_t tx, int32_t ty, int32_t width,
               int32_t height, bool mirror, bool flip) {
    for (int32_t x = 0; x < width; ++x)
        for (int32_t y = 0; y < height; ++y)
            if (!SamePixel(search, sx + x, sy + y, tiles, tx + (mirror ? width - 1 - x : x),
                           ty + (flip ? height - 1 - y : y)))
                return false;
    return true;
}

} // namespace

int32_t ReferenceCompareTile(const Image& searchImage, int32_t sx, int32_t sy, const Image& tiles, int32_t tx,
                             int32_t ty, int32_t width, int32_t height, int32_t flipLevel) {
    if (FullMatch(searchImage, sx, sy, tiles, tx, ty, width, height, false, false)) return 4;
    if (flipLevel >= 1 && FullMatch(searchImage, sx, sy, tiles, tx, ty, width, height, false, true)) return 1;
    if (flipLevel >= 2 && FullMatch(searchImage, sx, sy, tiles, tx, ty, width, height, true, false)) return 2;
    if (flipLevel >= 2 && FullMatch(searchImage, sx, sy, tiles, tx, ty, width, height, true, true)) return 3;
    return 0;
}

TileMatchRun ReferenceMatchTiles(const Image& searchImage, const Image& tiles, int32_t tw, int32_t th,
                                 const SelectionRect& selection, MatchGrid& grid, SearchProgress& progress) {
    TileMatchRun run;
    run.Selection = selection;
    const int32_t sheetColumns = tiles.Width() / tw;
    const int32_t n = sheetColumns * (tiles.Height() / th);
    const int32_t l = RoundHalfEven(selection.Left);
    const int32_t t = RoundHalfEven(selection.Top);
    const int32_t sw = RoundHalfEven(selection.Right - selection.Left);
    const int32_t sh = RoundHalfEven(selection.Bottom - selection.Top);
    auto compare = [&](int32_t r, int32_t c, int32_t dx, int32_t dy, int32_t tile, int32_t level) {
        return ReferenceCompareTile(searchImage, l + dx + c * tw, t + dy + r * th, tiles, (tile % sheetColumns) * tw,
                                    (tile / sheetColumns) * th, tw, th, level);
    };
    progress.Start(tw * th * 3);
    bool found = false;
    int32_t fdx = 0, fdy = 0, flevel = 0;
    for (int32_t level = 0; level <= 2 && !found; ++level)
        for (int32_t dy = 0; dy < th && !found; ++dy)
            for (int32_t dx = 0; dx < tw && !found; ++dx) {
                grid.Columns = std::min(15, (sw - dx) / tw);
                grid.Rows = std::min(15, (sh - dy) / th);
                progress.Advance();
                progress.Status(AlignmentStatus(dx, dy));
                progress.ProcessEvents();
                for (int32_t r = 0; r < grid.Rows; ++r)
                    for (int32_t c = 0; c < grid.Columns; ++c) {
                        grid.At(r, c).TileNumber = -1;
                        grid.At(r, c).Alternatives.clear();
                    }
                bool all = true;
                for (int32_t r = 0; r < grid.Rows && all; ++r)
                    for (int32_t c = 0; c < grid.Columns && all; ++c) {
                        for (int32_t tile = 0; tile < n; ++tile) {
                            const int32_t result = compare(r, c, dx, dy, tile, level);
                            if (result != 0) {
                                grid.At(r, c).TileNumber = tile;
                                grid.At(r, c).FlipCode = result & 3;
                                break;
                            }
                        }
                        all = grid.At(r, c).TileNumber != -1;
                    }
                if (all) {
                    found = true;
                    fdx = dx;
                    fdy = dy;
                    flevel = level;
                }
            }
    if (found) {
        run.Matched = true;
        progress.Status(DuplicateSearchStatus);
        for (int32_t r = 0; r < grid.Rows; ++r)
            for (int32_t c = 0; c < grid.Columns; ++c)
                for (int32_t t2 = grid.At(r, c).TileNumber + 1; t2 < n; ++t2)
                    if (compare(r, c, fdx, fdy, t2, flevel) != 0) {
                        grid.At(r, c).Alternatives.push_back(t2);
                        run.ResultLines.push_back(DuplicateTileLine(c, r, grid.At(r, c).TileNumber, t2));
                    }
        const int32_t rows = std::max(1, grid.Rows);
        const int32_t columns = std::max(1, grid.Columns);
        // No whole tile under the selection: "-1" cells rather than cells of an earlier run.
        if (grid.Rows == 0 || grid.Columns == 0)
            for (int32_t r = 0; r < rows; ++r)
                for (int32_t c = 0; c < columns; ++c)
                    grid.At(r, c) = MatchCell{};
        const double left = l + fdx;
        const double top = t + fdy;
        run.Selection = SelectionRect{left, top, left + columns * tw, top + rows * th};
        run.SelectionLabel = SelectionLabelText(run.Selection);
        run.IndexLines = MatchGridLines(grid, rows, columns);
    }
    bool unmatched = false;
    for (int32_t r = 0; r < grid.Rows; ++r)
        for (int32_t c = 0; c < grid.Columns; ++c)
            unmatched = unmatched || grid.At(r, c).TileNumber == -1;
    if (unmatched) run.IndexLines.emplace_back(UnmatchedTilesLine);
    return run;
}

namespace {

struct RowHit {
    int64_t Address;
    int32_t Row;
};

// One SearchStep the plain way: SearchValues, then every position tested in every pass.
class LiteralStep {
  public:
    LiteralStep(std::span<const uint8_t> memory, const MapSearchRow& row, const MatchGrid& grid,
                const MapSearchOptions& options, MapSearchRun& run, SearchProgress& progress)
        : Row(row), Grid(grid), Options(options), Run(run), Progress(progress), Rule(SearchTypeRuleOf(row.Type)) {
        ByteReader reader(memory, static_cast<size_t>(row.Skip));
        const size_t count = memory.size() / static_cast<size_t>(Rule.BytesPerValue);
        for (size_t i = 0; i < count; ++i) {
            switch (row.Type) {
            case MapSearchType::Byte: Values.push_back(reader.ReadByte()); break;
            case MapSearchType::Word: Values.push_back(reader.ReadWordBE()); break;
            case MapSearchType::Longword: Values.push_back(static_cast<int32_t>(reader.ReadLongBE())); break;
            case MapSearchType::Pointers: {
                const int64_t sum = static_cast<int64_t>(reader.ReadLongBE()) + options.Pointers.ChipRamOffset -
                                    options.Pointers.RipAddress;
                Values.push_back(static_cast<int32_t>(sum / PointerTileBytes(options.Pointers)));
                break;
            }
            }
        }
        N = static_cast<int64_t>(Values.size());
        Values.resize(Values.size() + 1024, 0);
    }

    bool Execute() {
        const int32_t anchor = AnchorColumn(Grid);
        uint32_t m = Rule.FirstMask;
        do {
            for (int32_t s = 0; s <= Rule.LargestShift; ++s) {
                SearchPass(m, s, anchor);
                if (!Run.Matches.empty()) return true;
            }
            m = m >> 1;
        } while (m >= Rule.LastMask && !Progress.Cancelled());
        return !Run.Matches.empty();
    }

  private:
    const MapSearchRow& Row;
    const MatchGrid& Grid;
    const MapSearchOptions& Options;
    MapSearchRun& Run;
    SearchProgress& Progress;
    SearchTypeRule Rule;
    std::vector<int32_t> Values;
    int64_t N = 0;

    uint32_t V(int64_t i, uint32_t m, int32_t s) const {
        return (static_cast<uint32_t>(Values[static_cast<size_t>(i)]) >> s) & m;
    }

    bool RowTest(int32_t r, int64_t q, int32_t o, uint32_t m, int32_t s) const {
        for (int32_t c = 0; c < Grid.Columns; ++c) {
            const int32_t value = static_cast<int32_t>(V(q + c, m, s) - static_cast<uint32_t>(o));
            const MatchCell& cell = Grid.At(r, c);
            bool ok = value == cell.TileNumber;
            for (const int32_t alternative : cell.Alternatives)
                ok = ok || value == alternative;
            if (!ok) return false;
        }
        return true;
    }

    void Detail(int32_t r, uint32_t m, int32_t s, int32_t o, int64_t address) {
        if (Options.Detailed) Run.ResultLines.push_back(RowFoundLine(r, m, s, o, address));
    }

    void SearchPass(uint32_t m, int32_t s, int32_t anchor) {
        const int32_t bpv = Rule.BytesPerValue;
        int32_t accepted = 0;
        bool lastHadFinalRow = false;
        for (int64_t p = 0; p <= N; ++p) {
            int32_t o = 0;
            if (Row.Mode == SearchMode::Offset)
                o = static_cast<int32_t>(V(p + anchor, m, s) - static_cast<uint32_t>(Grid.At(0, anchor).TileNumber));
            if (!(RowTest(0, p, o, m, s) && std::llabs(static_cast<long long>(o)) <= 256)) continue;
            std::vector<RowHit> hits{{p * bpv + Row.Skip, 0}};
            Detail(0, m, s, o, p * bpv + Row.Skip);
            for (int32_t r = 1; r < Grid.Rows; ++r) {
                int32_t found = 0;
                const int64_t last = std::min(N, p * bpv + 10240 / bpv);
                for (int64_t q = p + Grid.Columns; q <= last; ++q) {
                    if (!RowTest(r, q, o, m, s)) continue;
                    hits.push_back({q * bpv + Row.Skip, r});
                    Detail(r, m, s, o, q * bpv + Row.Skip);
                    if (++found == 200) {
                        if (Options.Detailed) Run.ResultLines.push_back(BailingOutLine());
                        break;
                    }
                }
            }
            if (JackpotCheck(hits, m, s, o) && Options.Detailed) Run.ResultLines.emplace_back(EveryRowLine);
            lastHadFinalRow =
                std::any_of(hits.begin(), hits.end(), [this](const RowHit& h) { return h.Row == Grid.Rows - 1; });
            accepted += 1;
            if (accepted == 200) {
                if (Options.Detailed) Run.ResultLines.push_back(BailingOutLine());
                break;
            }
        }
        if (!Progress.Cancelled() && Options.Detailed && accepted > 0 && lastHadFinalRow)
            Run.ResultLines.emplace_back(EveryRowLine);
        Progress.Advance();
    }

    bool JackpotCheck(const std::vector<RowHit>& hits, uint32_t m, int32_t s, int32_t o) {
        const int64_t a0 = hits[0].Address;
        for (const RowHit& h1 : hits) {
            if (h1.Row != 1 || h1.Address - a0 > 10240) continue;
            const int64_t stride = h1.Address - a0;
            bool linedUp = true;
            if (Grid.Rows != 2)
                for (int32_t k = 2; k < Grid.Rows; ++k)
                    linedUp = linedUp && std::any_of(hits.begin(), hits.end(), [&](const RowHit& h) {
                                  return h.Row == k && h.Address == a0 + k * stride;
                              });
            Progress.ProcessEvents();
            if (linedUp) {
                Run.ResultLines.push_back(JackpotLine(a0, Rule.BytesPerValue, stride / Rule.BytesPerValue));
                Run.Matches.push_back(MakeMapMatch(Row, a0, s, m, o, stride));
                return true;
            }
        }
        return false;
    }
};

} // namespace

MapSearchRun ReferenceSearchForMap(std::span<const uint8_t> memory, const std::vector<std::string>& indexLines,
                                   const MapSearchOptions& options, MatchGrid& grid, SearchProgress& progress) {
    const auto step = [&](const MapSearchRow& row, const MatchGrid& g, MapSearchRun& run) {
        if (g.Columns < 3 || g.Rows < 1 || g.Columns * g.Rows < 4) return false;
        if (row.Type == MapSearchType::Pointers && PointerTileBytes(options.Pointers) == 0) {
            run.ResultLines.emplace_back(PointerTilesEmptyLine);
            return false;
        }
        return LiteralStep(memory, row, g, options, run, progress).Execute();
    };
    return WalkMapSearchTable(indexLines, options.SearchLongs, grid, progress, step);
}

} // namespace tavrik::test
