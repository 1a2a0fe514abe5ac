// A project: everything the user set up for one game (data and tile files, the Tile Ripper's controls,
// both maps' controls, the Map Search tab's values, the 256 palette colours) as a plain record, and its INI
// file. The GUI reads its widgets into a ProjectFile before saving and writes one back into them after
// loading; the command line takes one as the base of its options.
#pragma once

#include "app/Address.h"
#include "app/Colour.h"
#include "app/Files.h"
#include "map/MapSettings.h"
#include "ripper/RipControls.h"
#include "ripper/RipParameters.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrik {

inline constexpr const char* ProjectDialogFilter = "INI File (*.ini)|*.ini|All Files (*.*)|*.*";
inline constexpr const char* OpenProjectTitle = "Open Project";
inline constexpr const char* SaveProjectTitle = "Save Project";
inline constexpr const char* AutoSavedProjectName = "AutoSavedProject.ini";
// The build that first wrote map "SkipBytes"; older builds would lose it.
inline constexpr int32_t SkipBytesBuild = 57;

// One map tab ("Map" or "Map2"). The first tab's "Actual tile size:" is Controls.TileSize; UseLoadedMap is
// the first tab's alone.
struct ProjectMap {
    std::string FileName; // Edit<P>FileName, the map data file
    MapControls Controls;
    bool FlipYMaskEnabled = false;         // CheckBox<P>FlipYMask
    bool FlipXMaskEnabled = false;         // CheckBox<P>FlipXMask
    int32_t ScaleModeIndex = 1;            // ComboBox<P>ScaleMode: "Normal", "Scale to fit"
    std::vector<std::string> Replacements; // lines of Memo<P>TileIndexReplacements
    bool UseLoadedMap = false;             // CheckBoxMapUseLoadedMap
};

struct ProjectSelection {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

struct ProjectSearch {
    std::string FileName;                      // EditSearchFileName, the screenshot
    std::vector<std::string> IndexLines;       // MemoSearchIndexes, the match grid text
    std::optional<ProjectSelection> Selection; // the SearchSelection's edges, when it exists
};

struct ProjectFile {
    std::string GfxFileName;      // EditGfxFileName, the data file
    std::string GfxTilesFileName; // EditGfxTilesFileName, the tile picture
    // ChipRamOffset when saving; the stored value (SavedChipRamOffset) after a load.
    uint32_t ChipMemoryOffset = 0;
    std::string MachineId; // written as "Original"; not read back
    RipControls Ripper;
    std::string PaletteAddress = "$0"; // EditGfxPaletteAddress
    BitplaneOrder Order = DefaultBitplaneOrder;
    std::array<ProjectMap, 2> Maps;
    ProjectSearch Search;
    // The WorkingPalette's 256 entries; absent when a loaded project had no "Colour0" (the data file's colours
    // stay).
    std::optional<std::array<Colour, 256>> Palette;
};

// NewProject's controls: map 1 at 64 x 64, map 2 at 0 x 0, masks "$ffff", the rip at 320 x 256 from $0.
ProjectFile NewProjectFile();

struct ProjectSaveContext {
    AddressMode Addresses;   // how the address fields read (their texts are stored as file offsets)
    FileSearchPlaces Places; // where the names of the controls are found now (the project opened before)
};

// The stored form of a data file's name in the project saved as projectPath: relative to the project's
// folder when the file lies in or below it, otherwise absolute, so that the project opens from any
// current folder. A file that cannot be found anywhere keeps its name as it is.
std::string StoredFileName(const std::string& name, const std::string& projectPath, const FileSearchPlaces& places);

// The name Save Project writes for a name chosen in its dialog: the extension becomes ".ini".
std::string ProjectNameForSave(const std::string& chosen);

// Writes every key of project into path, updating an existing file's keys in place and keeping its other
// keys. The file is replaced safely: on failure the old file is untouched and tavrik::Error says why.
void SaveProjectFile(const ProjectFile& project, const std::string& path, const ProjectSaveContext& context);

struct ProjectLoad {
    ProjectFile Project;
    int32_t MinimumBuildRequired = 0;
    // The warning to show (OK button) when the project needs a newer build; empty otherwise.
    std::string NewerBuildWarning;
};

// Reads path into a record. Missing or unreadable keys take the defaults of the file's tables; item
// indexes and sizes out of range are held to the controls' limits. The controls the file does not hold
// (the graphics mode when missing, the copper stop line, the sprite bank, the bitplane order) keep current's
// values. addresses turns the stored rip and palette addresses into the fields' texts. Throws tavrik::Error
// saying why when the file cannot be read or holds no project value at all (another kind of file).
ProjectLoad LoadProjectFile(const std::string& path, const ProjectFile& current, const AddressMode& addresses,
                            int32_t programBuild);

// The same on a project file's text (path names the file in the warning only).
ProjectLoad ParseProjectText(const std::string& text, const std::string& path, const ProjectFile& current,
                             const AddressMode& addresses, int32_t programBuild);

// The newer-build warning for a project file.
std::string NewerBuildWarning(const std::string& path);

// The program's build number (the fourth number of its version).
int32_t ProgramBuild();

} // namespace tavrik
