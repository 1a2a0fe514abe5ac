// tavrik-cli convert: reads any picture the program reads (by extension, as LoadImage does) and writes it as a
// 24-bit RGB PNG.
#include "Command.h"
#include "ConsoleDialogs.h"
#include "DataFileCli.h"

#include "app/Error.h"
#include "app/Files.h"
#include "imageio/ImageLoader.h"
#include "imageio/PngFile.h"

namespace tavrik::cli {

namespace {

Image ReadPicture(const std::string& in) {
    ConsoleDialogs dialogs;
    LoadedImage loaded = LoadImage(in, FileSearchPlaces{"", ExecutableFolder()}, dialogs);
    if (!loaded.Found) throw Error("cannot open " + in);
    if (!loaded.Picture) throw Error(NotAPictureMessage(in));
    if (loaded.Picture->Empty()) throw Error(in + " holds no picture that can be read");
    return std::move(*loaded.Picture);
}

struct ConvertOptions {
    std::string In;
    std::string Out;
};

void DeclareConvert(CLI::App& command, ConvertOptions& o) {
    command.add_option("IN", o.In, "a picture: PNG, BMP, IFF ILBM, NEOchrome or DEGAS")->required();
    command.add_option("OUT.png", o.Out, "the PNG file to write")->required();
}

int RunConvert(const ConvertOptions& o) {
    Image picture = ReadPicture(o.In);
    picture.ConvertTo(PixelFormat::Rgb24);
    SaveImagePng(picture, o.Out);
    return 0;
}

const CommandRegistration<ConvertOptions> registration{
    "convert", "Reads a picture (PNG, BMP, IFF ILBM, NEOchrome, DEGAS) and writes it as a 24-bit RGB PNG.",
    DeclareConvert, RunConvert};

} // namespace

} // namespace tavrik::cli
