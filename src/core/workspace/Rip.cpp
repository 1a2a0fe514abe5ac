// The rip procedure, step by step as the ripper's controls drive it.
#include "workspace/Rip.h"

#include "app/Checked.h"
#include "app/Limits.h"
#include "ripper/PlanarDecoder.h"
#include "ripper/TileSheet.h"

#include <algorithm>

namespace tavrik {

namespace {

// The rip's own adjustments of the parameters, which last until the next reading: the sprite tile width,
// the rip area raised to one tile, and at most eight planes.
void AdjustParameters(RipParameters& p, RipperState& state) {
    if (p.Mode == static_cast<int32_t>(RipMode::Sprites)) p.TileWidth = p.Bitplanes == 1 ? 32 : 16;
    state.SheetWidth = p.RipWidth;
    state.SheetHeight = p.RipHeight;
    p.RipWidth = std::max(p.RipWidth, p.TileWidth);
    p.RipHeight = std::max(p.RipHeight, p.TileHeight);
    p.Bitplanes = std::min(p.Bitplanes, 8);
    CheckRipSize(p.RipWidth, p.RipHeight);
}

// Resizes only when needed, so a rip of the same size keeps the pixel buffer.
void PrepareTarget(Image& target, int32_t width, int32_t height) {
    if (target.Width() != width || target.Height() != height || target.Format() != PixelFormat::Indexed8)
        target.Reset(width, height, PixelFormat::Indexed8);
}

RearrangeSettings RearrangeSettingsOf(const RipParameters& p, int32_t sheetWidth) {
    return {p.TilesPerBlockAcross, p.TilesPerBlockDown, p.TilesPerBlockDirection,
            p.BlockTileWidth,      p.BlockTileHeight,   sheetWidth};
}

} // namespace

RipResult Rip(Workspace& workspace, const RipControls& controls, RipControlUpdates& updates) {
    RipperState& state = workspace.Ripper;
    if (state.RipSuspended) return {RipOutcome::Suspended, updates, std::nullopt};
    updates = ReadRipParameters(controls, state, workspace.Addresses());
    state.UseLoadedTiles = controls.UseLoadedTiles;
    if (state.UseLoadedTiles) return {RipOutcome::LoadedTilesKept, updates, std::nullopt};

    RipParameters& p = state.Parameters;
    Image& target = controls.Rearrange ? workspace.RearrangeSource : workspace.TileSheet;
    AdjustParameters(p, state);
    PrepareTarget(target, p.RipWidth, p.RipHeight);
    TileDecodeRequest request;
    request.TilesAcross = CheckedDiv(p.RipWidth, p.TileWidth);
    request.TilesDown = CheckedDiv(p.RipHeight, p.TileHeight);
    state.TileCount = TileCount(p);
    ApplyPalette(workspace);
    if (p.Mode == static_cast<int32_t>(RipMode::C64)) {
        p.TileWidth = 8;
        p.TileHeight = 8;
    }
    request.Parameters = p;
    request.Order = state.Order;
    request.SpriteBank = controls.SpriteBankIndex;
    // Fills the background and decodes in one pass over the target.
    DecodeTiles(workspace.Memory.MemoryImage, request, target);
    if (controls.Rearrange)
        Rearrange(workspace.RearrangeSource, workspace.TileSheet, RearrangeSettingsOf(p, state.SheetWidth));
    state.SheetWidth = workspace.TileSheet.Width();
    state.SheetHeight = workspace.TileSheet.Height();

    RipResult result{RipOutcome::Ripped, updates, std::nullopt};
    if (ShowsGrid(workspace.TileSheet, workspace.Grid.GridEnabled, p.ActualTileWidth, p.ActualTileHeight))
        result.GridImage = BuildGridImage(workspace.TileSheet, p.ActualTileWidth, p.ActualTileHeight,
                                          workspace.Grid.GridThickness, workspace.Palette.Entries);
    return result;
}

RipResult Rip(Workspace& workspace, const RipControls& controls) {
    RipControlUpdates updates;
    return Rip(workspace, controls, updates);
}

const Image& ShownImage(const RipResult& result, const Workspace& workspace) {
    return result.GridImage ? *result.GridImage : workspace.TileSheet;
}

void ApplyPalette(Workspace& workspace) {
    if (workspace.Ripper.UseLoadedTiles) return;
    for (Image& map : workspace.MapImages) {
        if (map.Width() == 0 || map.Height() == 0)
            map.Reset(map.Width() == 0 ? 16 : map.Width(), map.Height() == 0 ? 16 : map.Height(), map.Format());
    }
    const std::array<PaletteEntry, 256>& entries = workspace.Palette.Entries;
    workspace.TileSheet.ColourTable = entries;
    workspace.RearrangeSource.ColourTable = entries;
    for (Image& map : workspace.MapImages)
        map.ColourTable = entries;
}

} // namespace tavrik
