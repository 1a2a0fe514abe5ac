// Loading a picture as the tiles and going back to ripped tiles.
#include "workspace/TilePictures.h"

#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "imageio/ImageLoader.h"
#include "palette/PaletteOperations.h"
#include "workspace/Rip.h"

#include <exception>
#include <vector>

namespace tavrik {

namespace {

// The colours an Atari ST picture carries become the start of the working palette.
bool HandOnAtariPalette(Workspace& workspace, const TIntList& pictureColours) {
    try {
        std::vector<Colour> colours;
        colours.reserve(pictureColours.Values().size());
        for (int32_t value : pictureColours.Values())
            colours.push_back(static_cast<Colour>(value));
        SetPaletteColours(workspace.Palette, colours);
        ApplyPalette(workspace);
        return true;
    } catch (const std::exception&) {
        // The picture is taken all the same.
        return false;
    }
}

void GiveMapImagesFormatOf(Workspace& workspace, const Image& sheet) {
    for (Image& map : workspace.MapImages)
        map.ConvertTo(sheet.Format());
}

} // namespace

TilePictureLoad LoadTilePicture(Workspace& workspace, const std::string& fileName, Dialogs& dialogs) {
    TilePictureLoad result;
    const std::string name = Trim(fileName);
    if (name.empty()) return result;
    LoadedImage loaded = LoadImage(name, FileSearchPlaces{workspace.ProjectFileName, workspace.ProgramFolder}, dialogs);
    result.Found = loaded.Found;
    if (!loaded.Found) return result;
    if (!loaded.Picture) throw Error(NotAPictureMessage(name));
    if (loaded.AtariPalette) result.PaletteChanged = HandOnAtariPalette(workspace, *loaded.AtariPalette);
    workspace.TileSheet = std::move(*loaded.Picture);
    GiveMapImagesFormatOf(workspace, workspace.TileSheet);
    workspace.Ripper.UseLoadedTiles = true;
    return result;
}

void ReturnToIndexedTiles(Workspace& workspace) {
    workspace.TileSheet.ConvertTo(PixelFormat::Indexed8);
    for (Image& map : workspace.MapImages)
        map.ConvertTo(PixelFormat::Indexed8);
    workspace.Ripper.UseLoadedTiles = false;
}

} // namespace tavrik
