// The demo data's paths, manifest and index pictures.
#include "support/DemoData.h"

#include "app/Error.h"
#include "support/PictureTestFiles.h"

namespace tavrik::test {

std::string ExampleFile(const std::string& name) { return std::string(TAVRIK_EXAMPLES_DIR) + "/" + name; }

const JsonValue& DemoManifest() {
    static const JsonValue manifest = JsonValue::ParseFile(ExampleFile("demo-manifest.json"));
    return manifest;
}

std::vector<Colour> ManifestColours(const JsonValue& texts) {
    std::vector<Colour> colours;
    for (const JsonValue& text : texts.Elements())
        colours.push_back(ColourTextToColour(text.AsString()));
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
    const JsonValue& manifest = DemoManifest();
    const JsonValue& tiles = manifest["TilesAcbm"];
    const JsonValue& ripper = tiles["Ripper"];
    const JsonValue& level = manifest["LevelMap"];
    const auto number = [](const JsonValue& value) { return std::to_string(value.AsInt()); };
    std::vector<std::string> arguments{"map",
                                       ExampleFile(manifest["SaveState"].AsString()),
                                       "-o",
                                       out,
                                       "--address",
                                       "+" + tiles["AddressText"].AsString(),
                                       "--bitplanes",
                                       number(ripper["Bitplanes"]),
                                       "--tile",
                                       number(ripper["TileWidth"]) + "x" + number(ripper["TileHeight"]),
                                       "--size",
                                       number(ripper["RipWidth"]) + "x" + number(ripper["RipHeight"]),
                                       "--palette",
                                       "copper",
                                       "--map-address",
                                       "+" + level["AddressText"].AsString(),
                                       "--map-width",
                                       number(level["Width"]),
                                       "--map-height",
                                       number(level["Height"])};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
}

} // namespace tavrik::test
