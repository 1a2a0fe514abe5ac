// The map data search. The table walk, the texts and the records follow the program's rules literally;
// the steps find their candidates fast: for each shift, one vectorised sweep over the values keeps only the
// positions whose first grid row agrees in the low bits that every mask of the step keeps, so each pass
// tests a short list instead of the whole memory, and later rows are only looked for where a find can use
// them. The passes, lines and finds are those of testing every position in every pass.
#include "search/MapSearch.h"

#include "app/Checked.h"
#include "app/IntegerText.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

namespace tavrik {

namespace {

using SearchType = MapSearchType;
using Layout = SearchLayout;
using Mode = SearchMode;
using Action = SearchAction;

// The value at a byte offset, big-endian; bytes past the end of memory read as 0 (the last value of a
// skip-2 step runs two bytes past it).
uint32_t ValueAt(std::span<const uint8_t> memory, size_t at, size_t bytes) {
    uint32_t value = 0;
    for (size_t b = 0; b < bytes; ++b)
        value = (value << 8) | (at + b < memory.size() ? memory[at + b] : 0u);
    return value;
}

// The truncating division of a pointer's tile offset by the tile's size, through a floating-point estimate
// corrected to the exact quotient (a division instruction per value costs more than the rest of the step).
class TileDivider {
  public:
    TileDivider(int64_t base, int64_t tileBytes) : Base(base), TileBytes(tileBytes), Inverse(1.0 / double(tileBytes)) {}
    uint32_t operator()(uint32_t value) const {
        const int64_t offset = static_cast<int64_t>(value) + Base;
        if (TileBytes < 0) return static_cast<uint32_t>(offset / TileBytes);
        const int64_t magnitude = offset < 0 ? -offset : offset;
        int64_t quotient = static_cast<int64_t>(double(magnitude) * Inverse);
        while (quotient > 0 && quotient * TileBytes > magnitude)
            --quotient;
        while ((quotient + 1) * TileBytes <= magnitude)
            ++quotient;
        return static_cast<uint32_t>(offset < 0 ? -quotient : quotient);
    }

  private:
    int64_t Base;
    int64_t TileBytes;
    double Inverse;
};

// SearchValues: the memory image from byte skip on as values of the type, followed by the zero padding.
std::vector<int32_t> DecodeSearchValues(std::span<const uint8_t> memory, const SearchTypeRule& rule, SearchType type,
                                        int32_t skip, const PointerTiles& pointers, int64_t tileBytes) {
    const size_t bytes = static_cast<size_t>(rule.BytesPerValue);
    const size_t count = memory.size() / bytes;
    const size_t start = static_cast<size_t>(skip);
    // Values lying wholly inside memory are read without bounds checks.
    const size_t whole = memory.size() >= start ? std::min(count, (memory.size() - start) / bytes) : 0;
    std::vector<int32_t> values(count + SearchValuePadding, 0);
    const uint8_t* m = memory.data() + start;
    if (bytes == 1) {
        for (size_t i = 0; i < whole; ++i)
            values[i] = m[i];
    } else if (bytes == 2) {
        for (size_t i = 0; i < whole; ++i)
            values[i] = (m[2 * i] << 8) | m[2 * i + 1];
    } else {
        for (size_t i = 0; i < whole; ++i) {
            uint32_t word;
            std::memcpy(&word, m + 4 * i, sizeof word);
            values[i] = static_cast<int32_t>(__builtin_bswap32(word));
        }
    }
    for (size_t i = whole; i < count; ++i)
        values[i] = static_cast<int32_t>(ValueAt(memory, start + i * bytes, bytes));
    if (type == SearchType::Pointers) {
        const TileDivider divide(static_cast<int64_t>(pointers.ChipRamOffset) - pointers.RipAddress, tileBytes);
        for (size_t i = 0; i < count; ++i)
            values[i] = static_cast<int32_t>(divide(static_cast<uint32_t>(values[i])));
    }
    return values;
}

// What a column of grid row 0 asks of the values at a position in the loose test.
struct LooseColumn {
    int64_t Column;
    const uint32_t* Wants;
    size_t WantCount;
};

// The positions from to last at which the value of a column (less the anchor's value in the offset mode),
// shifted, agrees with one of its wants in the bits of lowMask; 32 positions at a time, as four vectors of
// eight, with the hits gathered as the bits of one mask.
[[gnu::target_clones("avx2", "default")]] void SweepColumn(const int32_t* values, int64_t from, int64_t last,
                                                           int64_t anchor, int32_t shift, uint32_t lowMask,
                                                           LooseColumn column, std::vector<int64_t>& found) {
    using Lanes = uint32_t __attribute__((vector_size(32)));
    constexpr int64_t laneCount = 8;
    constexpr int64_t block = 4 * laneCount;
    const Lanes laneBits{1, 2, 4, 8, 16, 32, 64, 128};
    for (int64_t p = from; p <= last; p += block) {
        Lanes bits{};
        for (int64_t v = 0; v < 4; ++v) {
            const int32_t* at = values + p + v * laneCount;
            Lanes diff;
            std::memcpy(&diff, at + column.Column, sizeof diff);
            diff >>= shift;
            if (anchor >= 0) {
                Lanes base;
                std::memcpy(&base, at + anchor, sizeof base);
                diff -= base >> shift;
            }
            Lanes hit{};
            for (size_t k = 0; k < column.WantCount; ++k)
                hit |= (Lanes)(((diff - column.Wants[k]) & lowMask) == 0);
            bits |= (hit & laneBits) << static_cast<uint32_t>(v * laneCount);
        }
        uint64_t quarters[4];
        std::memcpy(quarters, &bits, sizeof quarters);
        const uint64_t folded = quarters[0] | quarters[1] | quarters[2] | quarters[3];
        // Bit b stands for position p + b: lane i holds the bits i, 8 + i, 16 + i and 24 + i.
        for (uint32_t mask = static_cast<uint32_t>(folded | (folded >> 32)); mask != 0; mask &= mask - 1) {
            const int64_t position = p + __builtin_ctz(mask);
            if (position <= last) found.push_back(position);
        }
    }
}

class FastStep {
  public:
    FastStep(const MapSearchRow& row, const MatchGrid& grid, const std::vector<int32_t>& values, int64_t count,
             bool detailed, MapSearchRun& run, SearchProgress& progress)
        : Row(row), Grid(grid), Rule(SearchTypeRuleOf(row.Type)), Values(values), Count(count), Detailed(detailed),
          Run(run), Progress(progress), Anchor(row.Mode == Mode::Offset ? AnchorColumn(grid) : 0),
          Survivors(static_cast<size_t>(Rule.LargestShift) + 1) {}

    bool Search() {
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
    const std::vector<int32_t>& Values;
    int64_t Count;
    bool Detailed;
    MapSearchRun& Run;
    SearchProgress& Progress;
    int32_t Anchor;
    std::vector<std::vector<int32_t>> Survivors;
    bool SurvivorsBuilt = false;
    uint32_t Mask = 0;
    int32_t Shift = 0;

    uint32_t Raw(int64_t i) const { return static_cast<uint32_t>(Values[static_cast<size_t>(i)]) >> Shift; }
    uint32_t V(int64_t i) const { return Raw(i) & Mask; }

    bool RowTest(int32_t r, int64_t q, int32_t offset) const {
        for (int32_t c = 0; c < Grid.Columns; ++c)
            if (!Grid.At(r, c).Accepts(static_cast<int32_t>(V(q + c) - static_cast<uint32_t>(offset)))) return false;
        return true;
    }

    int64_t Address(int64_t index) const { return index * Rule.BytesPerValue + Row.Skip; }

    // What the loose test of a column compares: value - base - want agrees with 0 in the low bits that the
    // smallest mask keeps, where base is the anchor's value in the offset mode.
    std::vector<uint32_t> Wants(int32_t column) const {
        const MatchCell& cell = Grid.At(0, column);
        const uint32_t anchorTile = Row.Mode == Mode::Offset ? static_cast<uint32_t>(Grid.At(0, Anchor).TileNumber) : 0;
        std::vector<uint32_t> wants{static_cast<uint32_t>(cell.TileNumber) - anchorTile};
        for (const int32_t alternative : cell.Alternatives)
            wants.push_back(static_cast<uint32_t>(alternative) - anchorTile);
        return wants;
    }

    bool LooseColumnPasses(int64_t p, int32_t column, const std::vector<uint32_t>& wants) const {
        const uint32_t base = Row.Mode == Mode::Offset ? Raw(p + Anchor) : 0;
        const uint32_t value = Raw(p + column) - base;
        for (const uint32_t want : wants)
            if (((value - want) & Rule.LastMask) == 0) return true;
        return false;
    }

    // The positions 0 to Count whose row 0 can match in some pass with this shift.
    // The positions 0 to Count whose row 0 can match in some pass with this shift. The first call sweeps
    // memory once for all shifts, a block at a time, so each block is read from the cache for every shift.
    const std::vector<int32_t>& SurvivorsOf(int32_t shift) {
        if (!SurvivorsBuilt) BuildSurvivors();
        return Survivors[static_cast<size_t>(shift)];
    }

    void BuildSurvivors() {
        SurvivorsBuilt = true;
        const bool offset = Row.Mode == Mode::Offset;
        // The columns the loose test looks at: all but the anchor in the offset mode (it always agrees).
        std::vector<int32_t> columns;
        for (int32_t c = 0; c < Grid.Columns; ++c)
            if (!(offset && c == Anchor)) columns.push_back(c);
        std::vector<std::vector<uint32_t>> wants;
        for (const int32_t c : columns)
            wants.push_back(Wants(c));
        const LooseColumn first{columns[0], wants[0].data(), wants[0].size()};
        constexpr int64_t blockSize = 4096;
        std::vector<int64_t> firstColumns;
        for (int64_t from = 0; from <= Count; from += blockSize)
            for (int32_t shift = 0; shift <= Rule.LargestShift; ++shift) {
                firstColumns.clear();
                SweepColumn(Values.data(), from, std::min(Count, from + blockSize - 1), offset ? Anchor : -1, shift,
                            Rule.LastMask, first, firstColumns);
                for (const int64_t p : firstColumns)
                    if (RestOfRowPasses(p, columns, wants, shift))
                        Survivors[static_cast<size_t>(shift)].push_back(static_cast<int32_t>(p));
            }
    }

    bool RestOfRowPasses(int64_t p, const std::vector<int32_t>& columns,
                         const std::vector<std::vector<uint32_t>>& wants, int32_t shift) {
        const int32_t saved = Shift;
        Shift = shift;
        bool passes = true;
        for (size_t i = 1; i < columns.size() && passes; ++i)
            passes = LooseColumnPasses(p, columns[i], wants[i]);
        Shift = saved;
        return passes;
    }

    void AddRowLine(int32_t row, int32_t offset, int64_t address) {
        if (Detailed) Run.ResultLines.push_back(RowFoundLine(row, Mask, Shift, offset, address));
    }

    // The hits of grid row r for the candidate at p, in increasing order. Without the detailed lines, the
    // scan stops where a hit can no longer line up with the rows before it.
    std::vector<int64_t> ScanRow(int32_t r, int64_t p, int32_t offset) {
        const int64_t perValue = SearchRowWindow / Rule.BytesPerValue;
        int64_t last = std::min(Count, p * Rule.BytesPerValue + perValue);
        if (!Detailed) last = std::min(last, p + r * perValue);
        std::vector<int64_t> hits;
        for (int64_t q = p + Grid.Columns; q <= last; ++q) {
            if (!RowTest(r, q, offset)) continue;
            hits.push_back(Address(q));
            AddRowLine(r, offset, Address(q));
            if (static_cast<int32_t>(hits.size()) == SearchHitLimit) {
                if (Detailed) Run.ResultLines.push_back(BailingOutLine());
                break;
            }
        }
        return hits;
    }

    bool JackpotCheck(const std::vector<std::vector<int64_t>>& hits, int32_t offset) {
        const int64_t a0 = hits[0][0];
        for (const int64_t a1 : hits.size() > 1 ? hits[1] : std::vector<int64_t>{}) {
            const int64_t stride = a1 - a0;
            if (stride > SearchRowWindow) break;
            bool linedUp = true;
            for (size_t k = 2; k < hits.size() && linedUp; ++k)
                linedUp = std::binary_search(hits[k].begin(), hits[k].end(), a0 + static_cast<int64_t>(k) * stride);
            Progress.ProcessEvents();
            if (!linedUp) continue;
            Run.ResultLines.push_back(JackpotLine(a0, Rule.BytesPerValue, stride / Rule.BytesPerValue));
            Run.Matches.push_back(MakeMapMatch(Row, a0, Shift, Mask, offset, stride));
            return true;
        }
        return false;
    }

    void Pass(uint32_t mask, int32_t shift) {
        Mask = mask;
        Shift = shift;
        int32_t accepted = 0;
        bool lastReachedLastRow = false;
        for (const int32_t candidate : SurvivorsOf(shift)) {
            const int64_t p = candidate;
            const int32_t offset =
                Row.Mode == Mode::Exact
                    ? 0
                    : static_cast<int32_t>(V(p + Anchor) - static_cast<uint32_t>(Grid.At(0, Anchor).TileNumber));
            if (!RowTest(0, p, offset) || std::llabs(static_cast<long long>(offset)) > SearchOffsetLimit) continue;
            std::vector<std::vector<int64_t>> hits{{Address(p)}};
            AddRowLine(0, offset, Address(p));
            for (int32_t r = 1; r < Grid.Rows; ++r)
                hits.push_back(ScanRow(r, p, offset));
            if (JackpotCheck(hits, offset) && Detailed) Run.ResultLines.emplace_back(EveryRowLine);
            lastReachedLastRow = !hits.back().empty();
            if (++accepted == SearchHitLimit) {
                if (Detailed) Run.ResultLines.push_back(BailingOutLine());
                break;
            }
        }
        if (!Progress.Cancelled() && Detailed && accepted > 0 && lastReachedLastRow)
            Run.ResultLines.emplace_back(EveryRowLine);
        Progress.Advance();
    }
};

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
           " offset=" + std::to_string(offset) + " at " + Hex(static_cast<uint32_t>(address));
}

std::string BailingOutLine() {
    return "Bailing out, " + std::to_string(SearchHitLimit) + " matches! This line is not a good match!";
}

std::string JackpotLine(int64_t address, int32_t bytesPerValue, int64_t mapWidth) {
    return "Jackpot! $" + Hex(static_cast<uint32_t>(address)) + " with " + std::to_string(bytesPerValue) +
           " bytes per tile, map width " + std::to_string(mapWidth);
}

bool GridTooSmallForSearch(const MatchGrid& grid) {
    return grid.Columns < 3 || grid.Rows < 1 || grid.Columns * grid.Rows < 4;
}

int32_t AnchorColumn(const MatchGrid& grid) {
    for (int32_t c = 0; c < grid.Columns; ++c)
        if (grid.At(0, c).Alternatives.empty()) return c;
    return 0;
}

MapMatch MakeMapMatch(const MapSearchRow& row, int64_t address, int32_t shift, uint32_t mask, int32_t offset,
                      int64_t stride) {
    const SearchTypeRule rule = SearchTypeRuleOf(row.Type);
    const int16_t cells = CheckedCast<int16_t>(stride / rule.BytesPerValue);
    const bool vertical = row.Layout == Layout::Vertical;
    MapMatch match;
    match.Address = CheckedCast<int32_t>(address);
    match.Shift = shift;
    match.Mask = mask;
    match.Offset = offset;
    match.Vertical = vertical ? 1 : 0;
    match.Width = vertical ? 0 : cells;
    match.Height = vertical ? cells : 0;
    match.BytesPerValue = rule.BytesPerValue;
    match.MemoryType = row.Type;
    return match;
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
    bool succeeded = false;
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
    // Several rows of the table read memory as the same values: each reading is decoded once per search.
    std::map<std::pair<SearchType, int32_t>, std::vector<int32_t>> decoded;
    const auto step = [&](const MapSearchRow& row, const MatchGrid& g, MapSearchRun& run) {
        if (GridTooSmallForSearch(g)) return false;
        const int64_t tileBytes = PointerTileBytes(options.Pointers);
        if (row.Type == SearchType::Pointers && tileBytes == 0) {
            run.ResultLines.emplace_back(PointerTilesEmptyLine);
            return false;
        }
        const SearchTypeRule rule = SearchTypeRuleOf(row.Type);
        std::vector<int32_t>& values = decoded[{row.Type, row.Skip}];
        if (values.empty()) values = DecodeSearchValues(memory, rule, row.Type, row.Skip, options.Pointers, tileBytes);
        const int64_t count = static_cast<int64_t>(values.size() - SearchValuePadding);
        return FastStep(row, g, values, count, options.Detailed, run, progress).Search();
    };
    return WalkMapSearchTable(indexLines, options.SearchLongs, grid, progress, step);
}

} // namespace tavrik
