// The demo data's paths, manifest and index pictures.
#include "support/DemoData.h"

#include "app/Error.h"
#include "support/PictureTestFiles.h"
#include "support/TextFiles.h"

namespace tavrik::test {

std::string ExampleFile(const std::string& name) { return std::string(TAVRIK_EXAMPLES_DIR) + "/" + name; }

const nlohmann::json& DemoManifest() {
    static const nlohmann::json manifest = ReadJsonFile(ExampleFile("demo-manifest.json"));
    return manifest;
}

std::vector<Colour> ManifestColours(const nlohmann::json& texts) {
    std::vector<Colour> colours;
    for (const nlohmann::json& text : texts)
        colours.push_back(ColourTextToColour(text.get<std::string>()));
    return colours;
}

Image ReadIndexPicture(const std::string& name) {
    const std::string path = ExampleFile(name);
    const Pnm picture = ReadPnm(path);
    if (picture.MaxValue != 255) throw Error(path + " is no 8-bit grey picture");
    Image indexes(picture.Width, picture.Height, PixelFormat::Indexed8);
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) {
            const Rgb pixel = picture.At(x, y);
            if (pixel.R != pixel.G || pixel.G != pixel.B) throw Error(path + " is no grey picture");
            indexes.Row(y)[x] = pixel.R;
        }
    return indexes;
}

std::vector<std::string> DemoLevelMapArguments(const std::string& out, const std::vector<std::string>& options) {
    const nlohmann::json& manifest = DemoManifest();
    const nlohmann::json& tiles = manifest.at("TilesAcbm");
    const nlohmann::json& ripper = tiles.at("Ripper");
    const nlohmann::json& level = manifest.at("LevelMap");
    const auto number = [](const nlohmann::json& value) { return std::to_string(value.get<int64_t>()); };
    std::vector<std::string> arguments{"map",
                                       ExampleFile(manifest.at("SaveState").get<std::string>()),
                                       "-o",
                                       out,
                                       "--address",
                                       "+" + tiles.at("AddressText").get<std::string>(),
                                       "--bitplanes",
                                       number(ripper.at("Bitplanes")),
                                       "--tile",
                                       number(ripper.at("TileWidth")) + "x" + number(ripper.at("TileHeight")),
                                       "--size",
                                       number(ripper.at("RipWidth")) + "x" + number(ripper.at("RipHeight")),
                                       "--palette",
                                       "copper",
                                       "--map-address",
                                       "+" + level.at("AddressText").get<std::string>(),
                                       "--map-width",
                                       number(level.at("Width")),
                                       "--map-height",
                                       number(level.at("Height"))};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
}

} // namespace tavrik::test
