// The fast map search step. A sweep keeps the positions at which a grid row agrees in the low bits that every
// mask of the step keeps, for every shift at once; the first few thousand are kept per row and shift, the rest
// are swept again when a pass gets that far, so memory stays bounded however many candidates a grid has. The
// memory is read in stretches as the step's values, and the rows after a candidate are scanned with the same
// vector kernels on their most selective column. A pass
// starts from grid row 0 as long as that row has at most 200 candidates; otherwise (a row of sky, water or
// wall) it starts from the row with the fewest candidates and reports every map position those lead to.
#include "search/MapSearchStep.h"

#include "search/SearchValues.h"
#include "search/SweepKernel.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace tavrik {

namespace {

using Mode = SearchMode;

// A grid row as a pass tests it: its known cells, the tile numbers each accepts (sorted), and in the offset
// mode the cell whose value gives the offset.
struct RowPattern {
    int32_t Row = 0;
    bool Usable = false;
    std::vector<int32_t> Columns;
    std::vector<std::vector<int32_t>> Accepted;
    int32_t OffsetColumn = 0;
    int32_t OffsetTile = 0;

    RowPattern(const MatchGrid& grid, int32_t row) : Row(row), Usable(RowIsUsable(grid, row)) {
        for (int32_t c = 0; c < grid.Columns; ++c) {
            const MatchCell& cell = grid.At(row, c);
            if (cell.Unknown) continue;
            std::vector<int32_t> tiles = cell.Alternatives;
            tiles.push_back(cell.TileNumber);
            std::sort(tiles.begin(), tiles.end());
            Columns.push_back(c);
            Accepted.push_back(std::move(tiles));
        }
        OffsetColumn = AnchorColumn(grid, row);
        OffsetTile = grid.At(row, OffsetColumn).TileNumber;
    }
    // The known column with the fewest tile numbers (the first of equals), as an index into Columns.
    size_t FewestTilesColumn() const {
        size_t fewest = 0;
        for (size_t i = 1; i < Accepted.size(); ++i)
            if (Accepted[i].size() < Accepted[fewest].size()) fewest = i;
        return fewest;
    }
};

// The loose test of one row: each known column (but the offset cell in the offset mode) agrees with one of
// its tile numbers in the low bits of the step's last mask. The two columns with the fewest wants are swept
// with the vector kernels, the others are checked at the positions they keep.
struct LooseRow {
    struct Column {
        int32_t Place;
        std::vector<uint32_t> Wants; // low bits, sorted, each once
    };
    std::vector<Column> Columns;
    int32_t Anchor = -1; // the offset cell in the offset mode

    LooseRow(const RowPattern& pattern, bool offsetMode, uint32_t lowMask) {
        if (offsetMode) Anchor = pattern.OffsetColumn;
        const uint32_t base = offsetMode ? static_cast<uint32_t>(pattern.OffsetTile) : 0;
        for (size_t i = 0; i < pattern.Columns.size(); ++i) {
            if (pattern.Columns[i] == Anchor) continue;
            Column column{pattern.Columns[i], {}};
            for (const int32_t tile : pattern.Accepted[i])
                column.Wants.push_back((static_cast<uint32_t>(tile) - base) & lowMask);
            std::sort(column.Wants.begin(), column.Wants.end());
            column.Wants.erase(std::unique(column.Wants.begin(), column.Wants.end()), column.Wants.end());
            Columns.push_back(std::move(column));
        }
        // The columns with the fewest wants are swept; one that wants too much filters nothing worth a sweep.
        std::stable_sort(Columns.begin(), Columns.end(),
                         [](const Column& a, const Column& b) { return a.Wants.size() < b.Wants.size(); });
    }
    // The columns the kernels sweep, into columns; returns how many.
    size_t KernelColumns(LooseColumn (&columns)[2]) const {
        size_t count = 0;
        for (; count < 2 && count < Columns.size() && Columns[count].Wants.size() <= MaxSweptWants; ++count)
            columns[count] = LooseColumn{Columns[count].Place, Columns[count].Wants.data(), Columns[count].Wants.size()};
        return count;
    }

    static constexpr size_t MaxSweptWants = SweepMaxWants;
};

// A stretch of values decoded once for every sweep over it, as wide as the step's values: the vector kernels
// then take as many positions at a time as the values allow.
class DecodedBlock {
  public:
    explicit DecodedBlock(int32_t bytesPerValue) : Width(bytesPerValue) {}

    // The values from to last, with the margin the kernels and the rows read past them.
    void Decode(const SearchValues& values, int64_t from, int64_t last) {
        constexpr int64_t margin = MatchGridUsed + SweepOverread;
        From = from;
        Last = last;
        Decoded = true;
        const int64_t count = last - from + 1 + margin;
        if (Width == 1)
            Fill(Bytes, values, count);
        else if (Width == 2)
            Fill(Words, values, count);
        else
            Fill(Longs, values, count);
    }
    int64_t First() const { return From; }
    // Whether the values from to last are decoded, with their margin.
    bool Holds(int64_t from, int64_t last) const { return Decoded && from >= From && last <= Last; }
    uint32_t At(int64_t i) const {
        const auto k = static_cast<size_t>(i - From);
        return Width == 1 ? Bytes[k] : Width == 2 ? Words[k] : Longs[k];
    }
    // Calls f with a pointer to the values, of the width they were decoded in.
    template <typename F> void Visit(F&& f) const {
        if (Width == 1)
            f(Bytes.data());
        else if (Width == 2)
            f(Words.data());
        else
            f(Longs.data());
    }

  private:
    int32_t Width;
    bool Decoded = false;
    int64_t From = 0;
    int64_t Last = 0;
    std::vector<uint8_t> Bytes;
    std::vector<uint16_t> Words;
    std::vector<uint32_t> Longs;

    template <typename T> void Fill(std::vector<T>& storage, const SearchValues& values, int64_t count) {
        storage.resize(static_cast<size_t>(count));
        values.Read(From, count, storage.data());
    }
};

// A row's loosely agreeing positions for one shift: the first ones found, and where the sweep stopped keeping
// them when there were more.
struct SurvivorList {
    std::vector<int64_t> Positions;
    int64_t ResumeAt = -1; // -1: complete
};

constexpr size_t SurvivorCap = 4096;
constexpr int64_t SweepBlock = 4096;
// The stretch of values decoded for the rows scanned after a candidate: the whole window of a byte map's rows.
constexpr int64_t ScanStretch = 16384;

// A position a row matches at in a pass, with the offset it matches with.
struct Candidate {
    int64_t Position;
    int32_t Offset;
};

class StepSearch {
  public:
    StepSearch(const MapSearchRow& row, const MatchGrid& grid, const SearchValues& values,
               const MapSearchOptions& options, MapSearchRun& run, SearchProgress& progress)
        : Row(row), Grid(grid), Rule(SearchTypeRuleOf(row.Type)), Values(values), Count(values.Count()),
          Detailed(options.Detailed), Level{[&values](int64_t i) { return values.At(i); }, Count, options.TileCount},
          Run(run), Progress(progress), Block(Rule.BytesPerValue) {
        for (int32_t r = 0; r < grid.Rows; ++r) {
            Patterns.emplace_back(grid, r);
            Loose.emplace_back(Patterns.back(), row.Mode == Mode::Offset, Rule.LastMask);
            if (Patterns.back().Usable) UsableRows.push_back(r);
        }
        Survivors.resize(Patterns.size());
    }

    bool Search() {
        if (UsableRows.empty()) return false;
        for (uint32_t mask = Rule.FirstMask;;) {
            for (int32_t shift = 0; shift <= Rule.LargestShift; ++shift) {
                Pass(mask, shift);
                if (!Run.Matches.empty()) return true;
            }
            mask >>= 1;
            if (mask < Rule.LastMask || Progress.Cancelled()) break;
        }
        return !Run.Matches.empty();
    }

  private:
    const MapSearchRow& Row;
    const MatchGrid& Grid;
    SearchTypeRule Rule;
    const SearchValues& Values;
    int64_t Count;
    bool Detailed;
    LevelValues Level;
    MapSearchRun& Run;
    SearchProgress& Progress;
    std::vector<RowPattern> Patterns;
    std::vector<LooseRow> Loose;
    std::vector<int32_t> UsableRows;
    // Per row, built when a pass first needs the row: one list per shift.
    std::vector<std::vector<SurvivorList>> Survivors;
    uint32_t Mask = 0;
    int32_t Shift = 0;
    // The stretch of values a sweep or a candidate's row scans work on.
    DecodedBlock Block;
    std::vector<ShiftHit> ShiftHits;
    std::vector<int64_t> Positions;

    uint32_t Raw(int64_t i, int32_t shift) const { return Values.At(i) >> shift; }
    uint32_t V(int64_t i) const { return Raw(i, Shift) & Mask; }
    int64_t Address(int64_t index) const { return index * Rule.BytesPerValue + Row.Skip; }

    bool RowTest(const RowPattern& pattern, int64_t q, int32_t offset) const {
        for (size_t i = 0; i < pattern.Columns.size(); ++i) {
            const auto value = static_cast<int32_t>(V(q + pattern.Columns[i]) - static_cast<uint32_t>(offset));
            const std::vector<int32_t>& accepted = pattern.Accepted[i];
            if (!std::binary_search(accepted.begin(), accepted.end(), value)) return false;
        }
        return true;
    }

    int32_t OffsetAt(const RowPattern& pattern, int64_t q) const {
        if (Row.Mode == Mode::Exact) return 0;
        return static_cast<int32_t>(V(q + pattern.OffsetColumn) - static_cast<uint32_t>(pattern.OffsetTile));
    }

    // --- The loose sweep and the survivor lists.

    uint32_t BlockRaw(int64_t i, int32_t shift) const { return Block.At(i) >> shift; }

    // Whether the row agrees loosely at p (inside the decoded block) with the shift.
    bool RowAgrees(const LooseRow& loose, int64_t p, int32_t shift) const {
        const uint32_t base = loose.Anchor >= 0 ? BlockRaw(p + loose.Anchor, shift) : 0;
        for (const LooseRow::Column& column : loose.Columns) {
            const uint32_t low = (BlockRaw(p + column.Place, shift) - base) & Rule.LastMask;
            if (!std::binary_search(column.Wants.begin(), column.Wants.end(), low)) return false;
        }
        return true;
    }

    // Appends to found[s] the positions from to last (inside the decoded block) at which the row agrees loosely
    // with shift s, for the shifts among the bits of shifts.
    void Sweep(const LooseRow& loose, int64_t from, int64_t last, uint32_t shifts,
               std::vector<std::vector<int64_t>>& found) {
        const int64_t first = Block.First();
        LooseColumn columns[2];
        const size_t swept = loose.KernelColumns(columns);
        const auto keep = [&](int64_t p, int32_t shift) {
            if (RowAgrees(loose, p, shift)) found[static_cast<size_t>(shift)].push_back(p);
        };
        if (swept > 0 && Rule.LargestShift > 0) {
            // Every shift at once, the columns not swept checked at the positions kept.
            ShiftHits.clear();
            Block.Visit([&](const auto* values) {
                if constexpr (sizeof(*values) > 1)
                    SweepShifts(values, from - first, last - first, loose.Anchor, shifts, columns, swept, ShiftHits);
            });
            for (const ShiftHit& hit : ShiftHits)
                for (uint32_t bits = hit.Shifts; bits != 0; bits &= bits - 1)
                    keep(hit.Position + first, __builtin_ctz(bits));
            return;
        }
        for (uint32_t bits = shifts; bits != 0; bits &= bits - 1) {
            const int32_t shift = __builtin_ctz(bits);
            if (swept == 0) {
                for (int64_t p = from; p <= last; ++p)
                    keep(p, shift);
                continue;
            }
            Positions.clear();
            Block.Visit([&](const auto* values) {
                SweepColumns(values, from - first, last - first, loose.Anchor, shift, Rule.LastMask, columns, swept,
                             Positions);
            });
            for (const int64_t p : Positions)
                keep(p + first, shift);
        }
    }

    // The lists of a row for every shift, swept block by block so each block is read from the cache for every
    // shift; a list stops growing at its cap and remembers where.
    void BuildSurvivors(int32_t row) {
        std::vector<SurvivorList>& lists = Survivors[static_cast<size_t>(row)];
        lists.resize(static_cast<size_t>(Rule.LargestShift) + 1);
        std::vector<std::vector<int64_t>> blocks(lists.size());
        uint32_t open = (uint32_t{2} << Rule.LargestShift) - 1;
        // A cancel ends the sweep: the passes then see only the positions before it, and stop.
        for (int64_t from = 0; from <= Count && open != 0 && !Progress.Cancelled(); from += SweepBlock) {
            const int64_t last = std::min(Count, from + SweepBlock - 1);
            Block.Decode(Values, from, last);
            for (std::vector<int64_t>& block : blocks)
                block.clear();
            Sweep(Loose[static_cast<size_t>(row)], from, last, open, blocks);
            for (size_t shift = 0; shift < lists.size(); ++shift) {
                SurvivorList& list = lists[shift];
                const std::vector<int64_t>& block = blocks[shift];
                if (list.ResumeAt >= 0) continue;
                const size_t room = SurvivorCap - list.Positions.size();
                list.Positions.insert(list.Positions.end(), block.begin(),
                                      block.begin() + static_cast<std::ptrdiff_t>(std::min(room, block.size())));
                if (block.size() > room) {
                    list.ResumeAt = list.Positions.back() + 1;
                    open &= ~(uint32_t{1} << shift);
                }
            }
        }
    }

    // Calls visit with the row's loosely agreeing positions for the pass's shift in increasing order, until
    // it returns false.
    template <typename Visit> void ForEachSurvivor(int32_t row, Visit&& visit) {
        if (Survivors[static_cast<size_t>(row)].empty()) BuildSurvivors(row);
        const SurvivorList& list = Survivors[static_cast<size_t>(row)][static_cast<size_t>(Shift)];
        for (const int64_t p : list.Positions)
            if (!visit(p)) return;
        std::vector<std::vector<int64_t>> blocks(static_cast<size_t>(Shift) + 1);
        for (int64_t from = list.ResumeAt; from >= 0 && from <= Count && !Progress.Cancelled(); from += SweepBlock) {
            blocks.back().clear();
            const int64_t last = std::min(Count, from + SweepBlock - 1);
            Block.Decode(Values, from, last);
            Sweep(Loose[static_cast<size_t>(row)], from, last, uint32_t{1} << Shift, blocks);
            for (const int64_t p : blocks.back())
                if (!visit(p)) return;
        }
    }

    // The row's first limit candidates of the pass.
    std::vector<Candidate> Candidates(int32_t row, size_t limit) {
        std::vector<Candidate> found;
        const RowPattern& pattern = Patterns[static_cast<size_t>(row)];
        ForEachSurvivor(row, [&](int64_t p) {
            const int32_t offset = OffsetAt(pattern, p);
            if (RowTest(pattern, p, offset) && std::llabs(static_cast<long long>(offset)) <= SearchOffsetLimit)
                found.push_back(Candidate{p, offset});
            return found.size() < limit;
        });
        return found;
    }

    // --- The passes.

    void Pass(uint32_t mask, int32_t shift) {
        Mask = mask;
        Shift = shift;
        const size_t limit = static_cast<size_t>(SearchHitLimit);
        std::vector<Candidate> first;
        if (Patterns[0].Usable) first = Candidates(0, limit + 1);
        if (Patterns[0].Usable && first.size() <= limit)
            PassFromRowZero(first);
        else
            AnchoredPass(first.size());
        // A pass without a jackpot check still lets a Cancel click through.
        Progress.ProcessEvents();
        Progress.Advance();
    }

    void AddRowLine(int32_t row, int32_t offset, int64_t address) {
        if (Detailed) Run.ResultLines.push_back(RowFoundLine(row, Mask, Shift, offset, address));
    }

    int64_t RowWindowEnd(int64_t p) const {
        return std::min(Count, p * Rule.BytesPerValue + SearchRowWindow / Rule.BytesPerValue);
    }

    // Every candidate of row 0 with the hits of the other rows in its window (at most 200 a row).
    void PassFromRowZero(const std::vector<Candidate>& candidates) {
        int32_t accepted = 0;
        bool lastReachedLastRow = false;
        for (const Candidate& candidate : candidates) {
            std::vector<std::vector<int64_t>> hits(static_cast<size_t>(Grid.Rows));
            hits[0].push_back(Address(candidate.Position));
            AddRowLine(0, candidate.Offset, Address(candidate.Position));
            for (const int32_t r : UsableRows)
                if (r > 0) hits[static_cast<size_t>(r)] = ScanRow(r, candidate.Position, candidate.Offset);
            if (JackpotCheck(hits, candidate.Offset) && Detailed) Run.ResultLines.emplace_back(EveryRowLine);
            lastReachedLastRow = !hits[static_cast<size_t>(UsableRows.back())].empty();
            if (++accepted == SearchHitLimit) {
                if (Detailed) Run.ResultLines.push_back(BailingOutLine());
                break;
            }
        }
        if (!Progress.Cancelled() && Detailed && accepted > 0 && lastReachedLastRow)
            Run.ResultLines.emplace_back(EveryRowLine);
    }

    // The hits of grid row r for the candidate at p, in increasing order. Without the detailed lines, the
    // scan stops where a hit can no longer line up with the rows before it.
    std::vector<int64_t> ScanRow(int32_t r, int64_t p, int32_t offset) {
        const int64_t perValue = SearchRowWindow / Rule.BytesPerValue;
        int64_t last = RowWindowEnd(p);
        if (!Detailed) last = std::min(last, p + r * perValue);
        const RowPattern& pattern = Patterns[static_cast<size_t>(r)];
        std::vector<int64_t> hits;
        ForEachPossibleHit(pattern, p + Grid.Columns, last, offset, [&](int64_t q) {
            if (!RowTest(pattern, q, offset)) return true;
            hits.push_back(Address(q));
            AddRowLine(r, offset, Address(q));
            if (static_cast<int32_t>(hits.size()) < SearchHitLimit) return true;
            if (Detailed) Run.ResultLines.push_back(BailingOutLine());
            return false;
        });
        return hits;
    }

    // Calls visit, until it returns false, with the positions from first to last in increasing order at which
    // the row's most selective known column holds one of its tile numbers with the offset (in the pass's shift
    // and mask), swept in stretches with the vector kernel.
    template <typename Visit> void ForEachPossibleHit(const RowPattern& pattern, int64_t first, int64_t last,
                                                      int32_t offset, Visit&& visit) {
        const size_t column = pattern.FewestTilesColumn();
        if (pattern.Accepted[column].size() > LooseRow::MaxSweptWants) {
            for (int64_t q = first; q <= last; ++q)
                if (!visit(q)) return;
            return;
        }
        std::vector<uint32_t> wants;
        for (const int32_t tile : pattern.Accepted[column])
            wants.push_back(static_cast<uint32_t>(tile) + static_cast<uint32_t>(offset));
        const LooseColumn swept{pattern.Columns[column], wants.data(), wants.size()};
        for (int64_t from = first; from <= last; from += ScanStretch) {
            const int64_t stretchLast = std::min(last, from + ScanStretch - 1);
            if (!Block.Holds(from, stretchLast)) Block.Decode(Values, from, from + ScanStretch - 1);
            const int64_t origin = Block.First();
            Positions.clear();
            Block.Visit([&](const auto* values) {
                SweepColumns(values, from - origin, stretchLast - origin, -1, Shift, Mask, &swept, 1, Positions);
            });
            for (const int64_t q : Positions)
                if (!visit(q + origin)) return;
        }
    }

    // The stride comes from the hits of the first usable row after row 0; the other usable rows must have a
    // hit where it puts them.
    bool JackpotCheck(const std::vector<std::vector<int64_t>>& hits, int32_t offset) {
        if (UsableRows.size() < 2) return false;
        const int64_t k1 = UsableRows[1];
        const int64_t a0 = hits[0][0];
        for (const int64_t a1 : hits[static_cast<size_t>(k1)]) {
            if ((a1 - a0) % (k1 * Rule.BytesPerValue) != 0) continue;
            const int64_t stride = (a1 - a0) / k1;
            if (stride > SearchRowWindow) break;
            bool linedUp = true;
            for (size_t i = 2; i < UsableRows.size() && linedUp; ++i) {
                const std::vector<int64_t>& row = hits[static_cast<size_t>(UsableRows[i])];
                linedUp = std::binary_search(row.begin(), row.end(), a0 + UsableRows[i] * stride);
            }
            Progress.ProcessEvents();
            if (!linedUp) continue;
            RecordFind(Row, Grid, MapFind{a0, stride, Shift, Mask, offset}, Level, Run);
            return true;
        }
        return false;
    }

    // The usable row with the fewest candidates (at most 201 counted; the first of equals).
    int32_t FewestCandidatesRow(size_t rowZeroCount) {
        int32_t best = -1;
        size_t fewest = 0;
        for (const int32_t r : UsableRows) {
            const size_t count =
                r == 0 ? rowZeroCount : Candidates(r, static_cast<size_t>(SearchHitLimit) + 1).size();
            if (best < 0 || count < fewest) {
                best = r;
                fewest = count;
            }
        }
        return best;
    }

    // Whether every usable row but the anchor matches where the stride puts it from p.
    bool RowsLineUp(int64_t p, int64_t stride, int32_t offset, int32_t anchor) const {
        for (const int32_t k : UsableRows) {
            const int64_t q = p + k * stride;
            if (k > 0 && (q < p + Grid.Columns || q > RowWindowEnd(p))) return false;
            if (k != anchor && !RowTest(Patterns[static_cast<size_t>(k)], q, offset)) return false;
        }
        return true;
    }

    // Whether every usable row matches with the offset somewhere it can lie from the anchor candidates
    // first to last. Candidates all over memory are not checked (taken as possible).
    bool EveryRowCanMatch(int32_t anchor, int64_t first, int64_t last, int32_t offset) const {
        constexpr int64_t checkedSpread = int64_t{1} << 20;
        if (last - first > checkedSpread) return true;
        const int64_t largestStride = SearchRowWindow / Rule.BytesPerValue;
        for (const int32_t k : UsableRows) {
            if (k == anchor) continue;
            const int64_t reach = int64_t{k - anchor} * largestStride;
            const int64_t from = std::max<int64_t>(0, k > anchor ? first + (k - anchor) : first + reach);
            const int64_t to = std::min(Count, k > anchor ? last + reach : last - (anchor - k));
            bool somewhere = false;
            for (int64_t x = from; x <= to && !somewhere; ++x)
                somewhere = RowTest(Patterns[static_cast<size_t>(k)], x, offset);
            if (!somewhere) return false;
        }
        return true;
    }

    // The first 200 candidates of the anchor row, each tried with every stride; every position of the grid's
    // first row they lead to is a find (with its smallest stride), reported in address order. Candidates
    // whose offset no other row can match with (a grid of inconsistent rows over cleared memory) are passed
    // over at once.
    void AnchoredPass(size_t rowZeroCount) {
        if (UsableRows.size() < 2) return;
        const int32_t anchor = FewestCandidatesRow(rowZeroCount);
        if (Detailed) Run.ResultLines.push_back(AnchorRowLine(anchor));
        const std::vector<Candidate> anchors = Candidates(anchor, static_cast<size_t>(SearchHitLimit) + 1);
        const size_t tried = std::min(anchors.size(), static_cast<size_t>(SearchHitLimit));
        const int64_t largestStride = SearchRowWindow / Rule.BytesPerValue;
        std::map<int64_t, MapFind> finds;
        std::map<int32_t, bool> possible; // by offset
        const auto canMatch = [&](int32_t offset) {
            const auto [known, added] = possible.try_emplace(offset, false);
            if (added)
                known->second = EveryRowCanMatch(anchor, anchors[0].Position, anchors[tried - 1].Position, offset);
            return known->second;
        };
        for (size_t i = 0; i < tried; ++i) {
            const Candidate& q = anchors[i];
            const bool worthTrying = canMatch(q.Offset);
            for (int64_t stride = 1; worthTrying && stride <= largestStride; ++stride) {
                const int64_t p = q.Position - anchor * stride;
                if (p < 0) break;
                if (finds.contains(p) || !RowsLineUp(p, stride, q.Offset, anchor)) continue;
                finds[p] = MapFind{Address(p), stride * Rule.BytesPerValue, Shift, Mask, q.Offset};
                if (anchor == 0) break;
            }
            Progress.ProcessEvents();
        }
        if (anchors.size() > static_cast<size_t>(SearchHitLimit) && Detailed)
            Run.ResultLines.push_back(BailingOutLine());
        for (const auto& [p, find] : finds)
            RecordFind(Row, Grid, find, Level, Run);
    }
};

} // namespace

bool RunSearchStep(const MapSearchRow& row, const MatchGrid& grid, const SearchValues& values,
                   const MapSearchOptions& options, MapSearchRun& run, SearchProgress& progress) {
    return StepSearch(row, grid, values, options, run, progress).Search();
}

} // namespace tavrik
