// Choosing the rip that decodes a screen's planes as they lie in memory.
#include "screen/PlaneLayout.h"

namespace tavrik {

namespace {

// Whether the second field's lines sit halfway along the first field's line strides.
bool FieldsInterleave(const PlaneLayout& layout) {
    if (!layout.SecondField) return false;
    for (int32_t p = 0; p < layout.Planes; ++p) {
        const size_t i = static_cast<size_t>(p);
        const int64_t half = layout.RowStrides[i] / 2;
        if (layout.RowStrides[i] % 2 != 0 || int64_t{(*layout.SecondField)[i]} - layout.Pointers[i] != half) return false;
    }
    return true;
}

} // namespace

void SetRipLayout(ScreenDescription& screen, const PlaneLayout& layout) {
    PlaneLayout bitmap = layout;
    if (FieldsInterleave(layout)) {
        for (int32_t& stride : bitmap.RowStrides)
            stride /= 2;
        bitmap.Lines *= 2;
    }
    const int64_t stride = bitmap.RowStrides[0];
    const int64_t gap = bitmap.Planes > 1 ? int64_t{bitmap.Pointers[1]} - bitmap.Pointers[0] : 0;
    screen.Address = bitmap.Pointers[0];
    screen.RipHeight = bitmap.Lines;
    screen.SkipMode = 1;
    if (bitmap.Planes > 1 && gap >= bitmap.RowBytes && stride == gap * bitmap.Planes) {
        // Interleaved: each line holds every plane's row in turn.
        screen.Mode = RipMode::AmigaIlbm;
        screen.RipWidth = bitmap.RowBytes * 8;
        screen.Skip = static_cast<int32_t>(gap - bitmap.RowBytes);
    } else {
        // Planes one after another; the ripped line is the whole stride, so the modulo's bytes show at the right.
        screen.Mode = RipMode::AmigaAcbm;
        const int64_t rowBytes = stride >= bitmap.RowBytes ? stride : bitmap.RowBytes;
        screen.RipWidth = static_cast<int32_t>(rowBytes * 8);
        screen.Skip = static_cast<int32_t>(bitmap.Planes > 1 ? gap - rowBytes * bitmap.Lines : 0);
    }
}

} // namespace tavrik
