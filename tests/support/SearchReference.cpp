// The literal tile matching and map search.
#include "support/SearchReference.h"

#include "app/ByteStream.h"

#include <algorithm>
#include <cstdlib>
#include <map>

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
    // No alignment matches every cell: the one with the most matched cells, if a row of it is half matched.
    int32_t most = 0;
    if (!found)
        for (int32_t level = 0; level <= 2; ++level)
            for (int32_t dy = 0; dy < th; ++dy)
                for (int32_t dx = 0; dx < tw; ++dx) {
                    int32_t matched = 0;
                    const int32_t columns = std::min(15, (sw - dx) / tw);
                    const int32_t rows = std::min(15, (sh - dy) / th);
                    for (int32_t r = 0; r < rows; ++r)
                        for (int32_t c = 0; c < columns; ++c)
                            for (int32_t tile = 0; tile < n; ++tile)
                                if (compare(r, c, dx, dy, tile, level) != 0) {
                                    ++matched;
                                    break;
                                }
                    if (matched > most) {
                        most = matched;
                        fdx = dx;
                        fdy = dy;
                        flevel = level;
                    }
                }
    if (!found && most > 0) {
        grid.Columns = std::min(15, (sw - fdx) / tw);
        grid.Rows = std::min(15, (sh - fdy) / th);
        for (int32_t r = 0; r < grid.Rows; ++r) {
            int32_t known = 0;
            for (int32_t c = 0; c < grid.Columns; ++c) {
                MatchCell& cell = grid.At(r, c);
                cell.TileNumber = -1;
                cell.Alternatives.clear();
                cell.Unknown = true;
                for (int32_t tile = 0; tile < n && cell.Unknown; ++tile) {
                    const int32_t result = compare(r, c, fdx, fdy, tile, flevel);
                    if (result == 0) continue;
                    cell = MatchCell{tile, result & 3, {}, false};
                    ++known;
                }
            }
            found = found || (known > 0 && 2 * known >= grid.Columns);
        }
    }
    if (found) {
        run.Matched = true;
        progress.Status(DuplicateSearchStatus);
        for (int32_t r = 0; r < grid.Rows; ++r)
            for (int32_t c = 0; c < grid.Columns; ++c) {
                if (grid.At(r, c).Unknown) {
                    const int32_t x = l + fdx + c * tw;
                    const int32_t y = t + fdy + r * th;
                    run.UnmatchedCells.push_back(PixelRect{x, y, x + tw, y + th});
                    continue;
                }
                for (int32_t t2 = grid.At(r, c).TileNumber + 1; t2 < n; ++t2)
                    if (compare(r, c, fdx, fdy, t2, flevel) != 0) {
                        grid.At(r, c).Alternatives.push_back(t2);
                        run.ResultLines.push_back(DuplicateTileLine(c, r, grid.At(r, c).TileNumber, t2));
                    }
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
    } else {
        run.IndexLines = {std::string(UnmatchedTilesLine), std::string(NoUsableRowReason)};
    }
    return run;
}

namespace {

struct RowHit {
    int64_t Address;
    int32_t Row;
};

struct Candidate {
    int64_t Position;
    int32_t Offset;
};

// One SearchStep the plain way: SearchValues, then every position tested in every pass. A pass whose grid
// row 0 has more than 200 candidates (or too few cells known) starts from the row with the fewest.
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
                const int64_t sum = int64_t{static_cast<int32_t>(reader.ReadLongBE())} +
                                    options.Pointers.ChipRamOffset - options.Pointers.RipAddress;
                Values.push_back(static_cast<int32_t>(sum / PointerTileBytes(options.Pointers)));
                break;
            }
            }
        }
        N = static_cast<int64_t>(Values.size());
        Values.resize(Values.size() + 1024, 0);
        for (int32_t r = 0; r < Grid.Rows; ++r) {
            int32_t known = 0;
            for (int32_t c = 0; c < Grid.Columns; ++c)
                known += Grid.At(r, c).Unknown ? 0 : 1;
            if (known > 0 && 2 * known >= Grid.Columns) Usable.push_back(r);
        }
    }

    bool Execute() {
        if (Usable.empty()) return false;
        uint32_t m = Rule.FirstMask;
        do {
            for (int32_t s = 0; s <= Rule.LargestShift; ++s) {
                SearchPass(m, s);
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
    std::vector<int32_t> Usable;
    uint32_t M = 0;
    int32_t S = 0;

    uint32_t V(int64_t i) const { return (static_cast<uint32_t>(Values[static_cast<size_t>(i)]) >> S) & M; }

    bool IsUsable(int32_t r) const { return std::find(Usable.begin(), Usable.end(), r) != Usable.end(); }

    bool RowTest(int32_t r, int64_t q, int32_t o) const {
        for (int32_t c = 0; c < Grid.Columns; ++c) {
            const int32_t value = static_cast<int32_t>(V(q + c) - static_cast<uint32_t>(o));
            const MatchCell& cell = Grid.At(r, c);
            bool ok = cell.Unknown || value == cell.TileNumber;
            for (const int32_t alternative : cell.Alternatives)
                ok = ok || value == alternative;
            if (!ok) return false;
        }
        return true;
    }

    int32_t OffsetOf(int32_t r, int64_t q) const {
        if (Row.Mode != SearchMode::Offset) return 0;
        const int32_t a = AnchorColumn(Grid, r);
        return static_cast<int32_t>(V(q + a) - static_cast<uint32_t>(Grid.At(r, a).TileNumber));
    }

    std::vector<Candidate> AllCandidates(int32_t r) const {
        std::vector<Candidate> found;
        for (int64_t q = 0; q <= N; ++q) {
            const int32_t o = OffsetOf(r, q);
            if (RowTest(r, q, o) && std::llabs(static_cast<long long>(o)) <= 256) found.push_back({q, o});
        }
        return found;
    }

    int64_t WindowEnd(int64_t p) const {
        return std::min(N, p * Rule.BytesPerValue + 10240 / Rule.BytesPerValue);
    }

    void Detail(int32_t r, int32_t o, int64_t address) {
        if (Options.Detailed) Run.ResultLines.push_back(RowFoundLine(r, M, S, o, address));
    }

    void Record(int64_t address, int64_t stride, int32_t o) {
        RecordFind(Row, Grid, MapFind{address, stride, S, M, o}, LevelValues{[this](int64_t i) { return static_cast<uint32_t>(Values[static_cast<size_t>(i)]); }, N,
                                                            Options.TileCount},
                   Run);
    }

    void SearchPass(uint32_t m, int32_t s) {
        M = m;
        S = s;
        std::vector<Candidate> rowZero;
        if (IsUsable(0)) rowZero = AllCandidates(0);
        if (IsUsable(0) && rowZero.size() <= 200)
            PassFromRowZero(rowZero);
        else
            AnchoredPass();
        Progress.ProcessEvents();
        Progress.Advance();
    }

    void PassFromRowZero(const std::vector<Candidate>& candidates) {
        const int32_t bpv = Rule.BytesPerValue;
        int32_t accepted = 0;
        bool lastHadFinalRow = false;
        for (const Candidate& candidate : candidates) {
            const int64_t p = candidate.Position;
            const int32_t o = candidate.Offset;
            std::vector<RowHit> hits{{p * bpv + Row.Skip, 0}};
            Detail(0, o, p * bpv + Row.Skip);
            for (int32_t r = 1; r < Grid.Rows; ++r) {
                if (!IsUsable(r)) continue;
                int32_t found = 0;
                for (int64_t q = p + Grid.Columns; q <= WindowEnd(p); ++q) {
                    if (!RowTest(r, q, o)) continue;
                    hits.push_back({q * bpv + Row.Skip, r});
                    Detail(r, o, q * bpv + Row.Skip);
                    if (++found == 200) {
                        if (Options.Detailed) Run.ResultLines.push_back(BailingOutLine());
                        break;
                    }
                }
            }
            if (JackpotCheck(hits, o) && Options.Detailed) Run.ResultLines.emplace_back(EveryRowLine);
            lastHadFinalRow = std::any_of(hits.begin(), hits.end(),
                                          [this](const RowHit& h) { return h.Row == Usable.back(); });
            accepted += 1;
            if (accepted == 200) {
                if (Options.Detailed) Run.ResultLines.push_back(BailingOutLine());
                break;
            }
        }
        if (!Progress.Cancelled() && Options.Detailed && accepted > 0 && lastHadFinalRow)
            Run.ResultLines.emplace_back(EveryRowLine);
    }

    bool JackpotCheck(const std::vector<RowHit>& hits, int32_t o) {
        if (Usable.size() < 2) return false;
        const int32_t k1 = Usable[1];
        const int64_t a0 = hits[0].Address;
        for (const RowHit& h1 : hits) {
            if (h1.Row != k1 || (h1.Address - a0) % (k1 * Rule.BytesPerValue) != 0) continue;
            const int64_t stride = (h1.Address - a0) / k1;
            if (stride > 10240) continue;
            bool linedUp = true;
            for (const int32_t k : Usable)
                if (k > k1)
                    linedUp = linedUp && std::any_of(hits.begin(), hits.end(), [&](const RowHit& h) {
                                  return h.Row == k && h.Address == a0 + k * stride;
                              });
            Progress.ProcessEvents();
            if (linedUp) {
                Record(a0, stride, o);
                return true;
            }
        }
        return false;
    }

    void AnchoredPass() {
        if (Usable.size() < 2) return;
        int32_t anchor = -1;
        size_t fewest = 0;
        for (const int32_t r : Usable) {
            const size_t count = std::min<size_t>(AllCandidates(r).size(), 201);
            if (anchor < 0 || count < fewest) {
                anchor = r;
                fewest = count;
            }
        }
        if (Options.Detailed) Run.ResultLines.push_back(AnchorRowLine(anchor));
        const std::vector<Candidate> anchors = AllCandidates(anchor);
        std::map<int64_t, std::pair<int64_t, int32_t>> finds; // position: stride in values, offset
        for (size_t i = 0; i < anchors.size() && i < 200; ++i) {
            const Candidate& q = anchors[i];
            for (int64_t stride = 1; stride <= 10240 / Rule.BytesPerValue; ++stride) {
                const int64_t p = q.Position - anchor * stride;
                if (p < 0) break;
                if (finds.count(p) != 0) continue;
                bool linedUp = true;
                for (const int32_t k : Usable) {
                    const int64_t at = p + k * stride;
                    if (k > 0 && (at < p + Grid.Columns || at > WindowEnd(p))) linedUp = false;
                    linedUp = linedUp && RowTest(k, at, q.Offset);
                }
                if (!linedUp) continue;
                finds[p] = {stride, q.Offset};
                if (anchor == 0) break;
            }
            Progress.ProcessEvents();
        }
        if (anchors.size() > 200 && Options.Detailed) Run.ResultLines.push_back(BailingOutLine());
        for (const auto& [p, find] : finds)
            Record(p * Rule.BytesPerValue + Row.Skip, find.first * Rule.BytesPerValue, find.second);
    }
};

} // namespace

MapSearchRun ReferenceSearchForMap(std::span<const uint8_t> memory, const std::vector<std::string>& indexLines,
                                   const MapSearchOptions& options, MatchGrid& grid, SearchProgress& progress) {
    CheckMatchGridText(indexLines);
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
