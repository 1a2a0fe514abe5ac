// The project file's sections and keys, written and read in the order the program has always used.
#include "project/ProjectFile.h"

#include "app/Error.h"
#include "app/Files.h"
#include "app/IniFile.h"
#include "app/IntegerText.h"
#include "app/TextHelpers.h"
#include "map/MapItems.h"

#include <algorithm>
#include <filesystem>

namespace tavrik {

namespace fs = std::filesystem;

namespace {

// What the controls hold at most. A project edited by hand (or damaged) may name a width of two billion
// tiles or a count of lines no memo could hold; it loads with the value held to these limits.
constexpr int32_t MaxTileSide = 4096;
constexpr int32_t MaxRipSide = 32767;
constexpr int32_t MaxMapSide = 32767;
constexpr int32_t MaxTilesPerBlock = 99;
constexpr int32_t MaxMemoLines = 10000;
constexpr int32_t GfxModeCount = 5;
constexpr int32_t SkipModeCount = 2;

std::string MapSection(size_t index) { return index == 0 ? "Map" : "Map2"; }

// A number text held to [low, high]; text that is no number is kept for the field's own reading rules.
std::string HeldNumberText(const std::string& text, int32_t low, int32_t high) {
    const std::optional<int32_t> value = ParseIntegerText(Trim(text));
    if (!value || (*value >= low && *value <= high)) return text;
    return std::to_string(std::clamp(*value, low, high));
}

int32_t ItemIndex(const IniFile& ini, const std::string& section, const std::string& key, int32_t fallback,
                  int32_t count) {
    return std::clamp(ini.Integer(section, key, fallback), 0, count - 1);
}

EditableComboText ComboText(const std::string& text) {
    const auto item = std::find(TileSizeItems.begin(), TileSizeItems.end(), text);
    const int32_t index = item == TileSizeItems.end() ? -1 : static_cast<int32_t>(item - TileSizeItems.begin());
    return EditableComboText{index, text};
}

std::string ColourText(Colour colour) {
    return "$" + Hex(RedOf(colour), 2) + Hex(GreenOf(colour), 2) + Hex(BlueOf(colour), 2);
}

// Lines kept as "<prefix>1" ... "<prefix>N" with the count under countKey. Keys past the count that an older
// save left behind are removed so the file says what the project holds.
void WriteLines(IniFile& ini, const std::string& section, const std::string& countKey, const std::string& prefix,
                const std::vector<std::string>& lines) {
    ini.SetInteger(section, countKey, static_cast<int64_t>(lines.size()));
    for (size_t k = 0; k < lines.size(); ++k)
        ini.SetText(section, prefix + std::to_string(k + 1), lines[k]);
    for (size_t k = lines.size() + 1; ini.HasKey(section, prefix + std::to_string(k)); ++k)
        ini.RemoveKey(section, prefix + std::to_string(k));
}

std::vector<std::string> ReadLines(const IniFile& ini, const std::string& section, const std::string& countKey,
                                   const std::string& prefix) {
    const int32_t count = std::clamp(ini.Integer(section, countKey, 0), 0, MaxMemoLines);
    std::vector<std::string> lines;
    for (int32_t k = 1; k <= count; ++k)
        lines.push_back(ini.Text(section, prefix + std::to_string(k)));
    return lines;
}

bool UsesSkipBytes(const ProjectMap& map) {
    const std::string& text = map.Controls.SkipBytes;
    return !text.empty() && text != "0";
}

// The file keeps the offset the field reads, never the display form.
std::string StoredAddressText(const std::string& fieldText, const AddressMode& addresses) {
    return DollarHexWide(static_cast<uint64_t>(ParseAddress(fieldText, addresses)));
}

void WriteGfx(IniFile& ini, const ProjectFile& p, const AddressMode& addresses) {
    const RipControls& c = p.Ripper;
    const char* s = "Gfx";
    ini.SetText(s, "Address", StoredAddressText(c.Address, addresses));
    ini.SetText(s, "PaletteAddress", StoredAddressText(p.PaletteAddress, addresses));
    ini.SetText(s, "TileWidth", c.TileWidth);
    ini.SetText(s, "TileHeight", c.TileHeight);
    ini.SetText(s, "Bitplanes", c.Bitplanes);
    ini.SetText(s, "SkipBytes", c.SkipBytes);
    ini.SetInteger(s, "SkipMode", c.SkipModeIndex);
    ini.SetText(s, "RipWidth", c.RipWidth);
    ini.SetText(s, "RipHeight", c.RipHeight);
    ini.SetInteger(s, "Mode", c.ModeIndex);
    ini.SetBool(s, "MaskBefore", c.MaskBefore);
    ini.SetBool(s, "MaskAfter", c.MaskAfter);
    ini.SetText(s, "ActualTileSize", c.ActualTileSize.Text);
    ini.SetText(s, "CopperlistStopYPos", c.CopperlistStopYPos);
    ini.SetText(s, "TilesPerBlockAcross", c.TilesPerBlockAcross);
    ini.SetText(s, "TilesPerBlockDown", c.TilesPerBlockDown);
    ini.SetInteger(s, "TilesPerBlockDirection", c.TilesPerBlockDirectionIndex);
    ini.SetText(s, "TilesPerBlockSize", c.TilesPerBlockSize.Text);
    ini.SetBool(s, "Rearrange", c.Rearrange);
    ini.SetBool(s, "UseLoadedTiles", c.UseLoadedTiles);
}

// The file names of a project as they are written into the file at path.
struct NameWriter {
    const std::string& ProjectPath;
    const FileSearchPlaces& Places;
    std::string operator()(const std::string& name) const { return StoredFileName(name, ProjectPath, Places); }
};

void WriteMap(IniFile& ini, const ProjectMap& map, size_t index, const NameWriter& stored) {
    const MapControls& c = map.Controls;
    const std::string s = MapSection(index);
    ini.SetText(s, "FileName", stored(map.FileName));
    ini.SetText(s, "Address", c.Address);
    ini.SetText(s, "WidthInTiles", c.WidthInTiles);
    ini.SetText(s, "HeightInTiles", c.HeightInTiles);
    ini.SetInteger(s, "MemoryType", c.MemoryTypeIndex);
    ini.SetInteger(s, "Direction", c.DirectionIndex);
    ini.SetText(s, "Mask", c.Mask);
    ini.SetText(s, "Shift", c.Shift);
    ini.SetInteger(s, "ScaleMode", map.ScaleModeIndex);
    ini.SetText(s, "TrimTiles", c.TrimTiles);
    ini.SetText(s, "SkipBytes", c.SkipBytes);
    ini.SetText(s, "FlipYMask", c.FlipYMask);
    ini.SetText(s, "FlipXMask", c.FlipXMask);
    ini.SetBool(s, "FlipYMaskEnabled", map.FlipYMaskEnabled);
    ini.SetBool(s, "FlipXMaskEnabled", map.FlipXMaskEnabled);
    WriteLines(ini, s, "ReplaceCount", "Replace", map.Replacements);
    ini.SetText(s, "Adjust", c.Adjust);
    ini.SetText(s, "TilesPerBlockAcross", c.TilesPerBlockAcross);
    ini.SetText(s, "TilesPerBlockDown", c.TilesPerBlockDown);
    ini.SetInteger(s, "TilesPerBlockDirection", c.TilesPerBlockDirectionIndex);
    if (index == 0) ini.SetText(s, "ActualTileSize", c.TileSize.Text);
    ini.SetText(s, "CustomGame", c.CustomGame);
    if (index == 0) ini.SetBool(s, "UseLoadedMap", map.UseLoadedMap);
}

const char* const SelectionKeys[] = {"SelectionLeft", "SelectionTop", "SelectionRight", "SelectionBottom"};

void WriteSearch(IniFile& ini, const ProjectSearch& search, const NameWriter& stored) {
    const char* s = "Search";
    ini.SetText(s, "FileName", stored(search.FileName));
    WriteLines(ini, s, "IndexCount", "Indexes", search.IndexLines);
    if (!search.Selection) return;
    const ProjectSelection& e = *search.Selection;
    const int32_t edges[] = {e.Left, e.Top, e.Right, e.Bottom};
    for (size_t i = 0; i < 4; ++i)
        ini.SetInteger(s, SelectionKeys[i], edges[i]);
}

void WritePalette(IniFile& ini, const std::array<Colour, 256>& colours) {
    for (size_t i = 0; i < colours.size(); ++i)
        ini.SetText("Palette", "Colour" + std::to_string(i), ColourText(colours[i]));
}

std::string HeldText(const IniFile& ini, const std::string& section, const std::string& key,
                     const std::string& fallback, int32_t low, int32_t high) {
    return HeldNumberText(ini.Text(section, key, fallback), low, high);
}

void ReadGfx(const IniFile& ini, ProjectFile& p, const AddressMode& addresses) {
    RipControls& c = p.Ripper;
    const char* s = "Gfx";
    c.Address = StoredAddressToText(ini.Text(s, "Address", "$0"), addresses);
    p.PaletteAddress = StoredAddressToText(ini.Text(s, "PaletteAddress", "$0"), addresses);
    c.TileWidth = HeldText(ini, s, "TileWidth", "16", 1, MaxTileSide);
    c.TileHeight = HeldText(ini, s, "TileHeight", "16", 1, MaxTileSide);
    c.Bitplanes = HeldText(ini, s, "Bitplanes", "1", 1, 8);
    c.SkipBytes = ini.Text(s, "SkipBytes", "0");
    c.SkipModeIndex = ItemIndex(ini, s, "SkipMode", 0, SkipModeCount);
    c.RipWidth = HeldText(ini, s, "RipWidth", "320", 1, MaxRipSide);
    c.RipHeight = HeldText(ini, s, "RipHeight", "256", 1, MaxRipSide);
    c.ModeIndex = ItemIndex(ini, s, "Mode", c.ModeIndex, GfxModeCount);
    c.MaskBefore = ini.Bool(s, "MaskBefore", false);
    c.MaskAfter = ini.Bool(s, "MaskAfter", false);
    c.ActualTileSize = ComboText(ini.Text(s, "ActualTileSize", std::string(TileSizeItems[0])));
    c.TilesPerBlockAcross = HeldText(ini, s, "TilesPerBlockAcross", "1", 1, MaxTilesPerBlock);
    c.TilesPerBlockDown = HeldText(ini, s, "TilesPerBlockDown", "1", 1, MaxTilesPerBlock);
    c.TilesPerBlockDirectionIndex = ItemIndex(ini, s, "TilesPerBlockDirection", 0, 2);
    c.TilesPerBlockSize = ComboText(ini.Text(s, "TilesPerBlockSize", std::string(TileSizeItems[0])));
    c.Rearrange = ini.Bool(s, "Rearrange", false);
    c.UseLoadedTiles = ini.Bool(s, "UseLoadedTiles", false);
}

void ReadMap(const IniFile& ini, ProjectMap& map, size_t index) {
    MapControls& c = map.Controls;
    const std::string s = MapSection(index);
    map.FileName = ini.Text(s, "FileName");
    c.Address = ini.Text(s, "Address", "0");
    c.WidthInTiles = HeldText(ini, s, "WidthInTiles", "0", 0, MaxMapSide);
    c.HeightInTiles = HeldText(ini, s, "HeightInTiles", "0", 0, MaxMapSide);
    c.MemoryTypeIndex = ItemIndex(ini, s, "MemoryType", 0, static_cast<int32_t>(MapMemoryTypeItems.size()));
    c.DirectionIndex = ItemIndex(ini, s, "Direction", 0, static_cast<int32_t>(MapDirectionItems.size()));
    c.Mask = ini.Text(s, "Mask", "$ffff");
    c.Shift = ini.Text(s, "Shift", "0");
    map.ScaleModeIndex = ItemIndex(ini, s, "ScaleMode", 1, static_cast<int32_t>(MapScaleModeItems.size()));
    c.TrimTiles = HeldText(ini, s, "TrimTiles", "0", 0, MaxMapSide);
    c.SkipBytes = ini.Text(s, "SkipBytes", "0");
    c.FlipYMask = ini.Text(s, "FlipYMask", "$0");
    c.FlipXMask = ini.Text(s, "FlipXMask", "$0");
    map.FlipYMaskEnabled = ini.Bool(s, "FlipYMaskEnabled", false);
    map.FlipXMaskEnabled = ini.Bool(s, "FlipXMaskEnabled", false);
    map.Replacements = ReadLines(ini, s, "ReplaceCount", "Replace");
    c.Adjust = ini.Text(s, "Adjust", "0");
    c.TilesPerBlockAcross = HeldText(ini, s, "TilesPerBlockAcross", "1", 1, MaxTilesPerBlock);
    c.TilesPerBlockDown = HeldText(ini, s, "TilesPerBlockDown", "1", 1, MaxTilesPerBlock);
    c.TilesPerBlockDirectionIndex = ItemIndex(ini, s, "TilesPerBlockDirection", 0, 2);
    if (index == 0) c.TileSize = ComboText(ini.Text(s, "ActualTileSize", std::string(SameAsTiles)));
    c.CustomGame = Trim(ini.Text(s, "CustomGame"));
    if (index == 0) map.UseLoadedMap = ini.Bool(s, "UseLoadedMap", false);
}

void ReadSearch(const IniFile& ini, ProjectSearch& search) {
    const char* s = "Search";
    search.FileName = ini.Text(s, "FileName");
    search.IndexLines = ReadLines(ini, s, "IndexCount", "Indexes");
    ProjectSelection e;
    int32_t* edges[] = {&e.Left, &e.Top, &e.Right, &e.Bottom};
    for (size_t i = 0; i < 4; ++i)
        *edges[i] = std::clamp(ini.Integer(s, SelectionKeys[i], 0), 0, MaxRipSide);
    search.Selection.reset();
    if (e.Right > e.Left && e.Bottom > e.Top) search.Selection = e;
}

std::optional<std::array<Colour, 256>> ReadPalette(const IniFile& ini) {
    if (!ini.HasKey("Palette", "Colour0")) return std::nullopt;
    std::array<Colour, 256> colours{};
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = ColourTextToColour(Trim(ini.Text("Palette", "Colour" + std::to_string(i))));
    return colours;
}

// A project names at least one value in one of its own sections; anything else (a picture, the settings
// file, an empty file) was chosen by mistake and must not reset the work to defaults.
bool HoldsProjectValues(const IniFile& ini) {
    for (const char* section : {"File", "Gfx", "Map", "Map2", "Search", "Palette"})
        if (!ini.Keys(section).empty()) return true;
    return false;
}

std::string ProjectText(const std::string& path) {
    if (!PathIsFile(path)) throw Error("The project " + path + " cannot be opened: there is no such file.");
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

ProjectFile NewProjectFile() {
    ProjectFile p;
    p.Ripper.Address = "$0";
    for (size_t i = 0; i < p.Maps.size(); ++i) {
        MapControls& c = p.Maps[i].Controls;
        c.Address = "0";
        c.WidthInTiles = i == 0 ? "64" : "0";
        c.HeightInTiles = i == 0 ? "64" : "0";
        c.Mask = "$ffff";
    }
    return p;
}

std::string StoredFileName(const std::string& name, const std::string& projectPath, const FileSearchPlaces& places) {
    const std::string found = LocateFile(name, places);
    if (!PathIsFile(found)) return name;
    const fs::path file(AbsolutePath(found));
    const fs::path folder = fs::path(AbsolutePath(projectPath)).parent_path();
    const fs::path relative = file.lexically_relative(folder);
    if (relative.empty() || *relative.begin() == "..") return file.string();
    return relative.string();
}

std::string ProjectNameForSave(const std::string& chosen) { return ReplaceExtension(chosen, ".ini"); }

void SaveProjectFile(const ProjectFile& project, const std::string& path, const ProjectSaveContext& context) {
    IniFile ini;
    if (!ini.Load(path)) throw Error("Cannot read " + path);
    const NameWriter stored{path, context.Places};
    ini.SetText("File", "GfxFileName", stored(project.GfxFileName));
    ini.SetText("File", "GfxTilesFileName", stored(project.GfxTilesFileName));
    ini.SetText("File", "ChipMemoryOffset", DollarHex(project.ChipMemoryOffset));
    ini.SetText("General", "Original", "$" + project.MachineId);
    WriteGfx(ini, project, context.Addresses);
    for (size_t i = 0; i < project.Maps.size(); ++i)
        WriteMap(ini, project.Maps[i], i, stored);
    WriteSearch(ini, project.Search, stored);
    WritePalette(ini, project.Palette.value_or(std::array<Colour, 256>{}));
    // An older build reading map skip bytes it does not know would draw a different map: it is warned.
    if (std::any_of(project.Maps.begin(), project.Maps.end(), UsesSkipBytes))
        ini.SetInteger("General", "MinimumBuildRequired", SkipBytesBuild);
    else
        ini.RemoveKey("General", "MinimumBuildRequired");
    ini.Save(path);
}

ProjectLoad LoadProjectFile(const std::string& path, const ProjectFile& current, const AddressMode& addresses,
                            int32_t programBuild) {
    return ParseProjectText(ProjectText(path), path, current, addresses, programBuild);
}

ProjectLoad ParseProjectText(const std::string& text, const std::string& path, const ProjectFile& current,
                             const AddressMode& addresses, int32_t programBuild) {
    ProjectLoad load;
    IniFile ini;
    ini.LoadText(text);
    if (!HoldsProjectValues(ini)) throw Error("The file " + path + " is not a Tavrik project.");
    ProjectFile& p = load.Project;
    p.Ripper.ModeIndex = current.Ripper.ModeIndex;
    p.Ripper.CopperlistStopYPos = current.Ripper.CopperlistStopYPos;
    p.Ripper.SpriteBankIndex = current.Ripper.SpriteBankIndex;
    p.Order = current.Order;
    p.MachineId = current.MachineId;
    p.GfxFileName = ini.Text("File", "GfxFileName");
    p.GfxTilesFileName = ini.Text("File", "GfxTilesFileName");
    p.ChipMemoryOffset = static_cast<uint32_t>(ini.Integer("File", "ChipMemoryOffset", 0));
    ReadGfx(ini, p, addresses);
    for (size_t i = 0; i < p.Maps.size(); ++i)
        ReadMap(ini, p.Maps[i], i);
    ReadSearch(ini, p.Search);
    p.Palette = ReadPalette(ini);
    load.MinimumBuildRequired = ini.Integer("General", "MinimumBuildRequired", 0);
    if (load.MinimumBuildRequired > programBuild) load.NewerBuildWarning = NewerBuildWarning(path);
    return load;
}

std::string NewerBuildWarning(const std::string& path) {
    return "The project '" + FileNamePart(path) +
           "' was created in a newer version of Tavrik. You need to update to a newer version to safely load "
           "this project!\r\r(If you save this project, you will lose some of the settings. Go to the Help menu "
           "to update to a newer version!)";
}

int32_t ProgramBuild() { return TAVRIK_VERSION_BUILD; }

} // namespace tavrik
