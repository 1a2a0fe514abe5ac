// Reading any supported picture file by its extension, and the "Open..." dialog's filters and file routing.
#pragma once

#include "app/Dialogs.h"
#include "app/Files.h"
#include "app/IntList.h"
#include "imageio/Image.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavrik {

struct LoadedImage {
    // Whether a file was found under the resolved name.
    bool Found = false;
    // The picture as 24-bit of its size; absent when nothing was read (an unknown extension), so the caller's target keeps what it had. A reader that stopped early gives an empty picture.
    std::optional<Image> Picture;
    // For the Atari ST formats only: the colours to put into the WorkingPalette's colour list and entries
    // 0 to n - 1 (empty when the reader stopped before the palette).
    std::optional<TIntList> AtariPalette;
};

// Resolves the name (ResolveFileName), then reads the file by its lower-case extension: ".bmp", ".iff",
// ".neo", ".pc1"-".pc3", ".pi1"-".pi3", ".png"; other extensions read nothing. A damaged file of any of
// these formats throws tavrik::Error; nothing is returned then, so the caller's image stays as it was.
LoadedImage LoadImage(const std::string& fileName, const FileSearchPlaces& places, Dialogs& dialogs);
// The reason given when a file of another extension is read as a picture.
std::string NotAPictureMessage(const std::string& fileName);

// Whether LoadImage reads pictures of this file name's extension.
bool IsPictureFileName(std::string_view fileName);

// The "Open..." dialogs: from the tiles "..." button, and from the menu item or the save-state "..." button.
inline constexpr std::string_view LoadTileGraphicsTitle = "Load Tile Graphics";
inline constexpr std::string_view LoadTileGraphicsFilter =
    "Image File (*.png;*.bmp;*.iff;*.neo;*.pc1;*.pi1)|*.png;*.bmp;*.iff;*.neo;*.pc1;*.pi1|PNG File (*.png)|*.png|"
    "Bitmap File (*.bmp)|*.bmp|ILBM File (*.iff)|*.iff|NEO File (*.neo)|*.neo|DEGAS Compressed File "
    "(*.pc1)|*.pc1|DEGAS File (*.pi1)|*.pi1|All Files (*.*)|*.*";
inline constexpr std::string_view LoadDataFileTitle = "Load Data File";
inline constexpr std::string_view LoadDataFileFilter =
    "Tavrik File (*.uss;*.ini;*.png;*.bmp;*.iff;*.neo;*.pc1;*.pi1)|*.uss;*.ini;*.png;*.bmp;*.iff;*.neo;*.pc1;"
    "*.pi1|WinUAE Save State File (*.uss)|*.uss|INI File (*.ini)|*.ini|PNG File (*.png)|*.png|Bitmap File "
    "(*.bmp)|*.bmp|ILBM File (*.iff)|*.iff|NEO File (*.neo)|*.neo|DEGAS Compressed File (*.pc1)|*.pc1|DEGAS File "
    "(*.pi1)|*.pi1|All Files (*.*)|*.*";
inline constexpr std::string_view OpenFileDefaultExtension = ".png";

// The dialog requests, with the initial name taken from the edit field beside the button.
FileDialogRequest TileGraphicsOpenRequest(const std::string& initialName);
FileDialogRequest DataFileOpenRequest(const std::string& initialName);

// Where a file chosen in either dialog goes: ".ini" is a project, picture extensions become the tiles,
// anything else is loaded as memory.
enum class OpenFileRoute : uint8_t { Project, Picture, DataFile };
OpenFileRoute RouteOpenedFile(std::string_view fileName);

} // namespace tavrik
