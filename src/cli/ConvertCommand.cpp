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

int RunConvert(const CommandArguments& arguments) {
    const OptionReader options(arguments, {});
    const std::string& in = options.Positional(0, "IN");
    const std::string& out = options.Positional(1, "OUT.png");
    options.ExpectPositionals(2);
    Image picture = ReadPicture(in);
    picture.ConvertTo(PixelFormat::Rgb24);
    SaveImagePng(picture, out);
    return 0;
}

const CommandRegistration registration{
    {"convert", "IN OUT.png",
     "Reads a picture (PNG, BMP, IFF ILBM, NEOchrome, DEGAS) and writes it as a 24-bit RGB PNG.", &RunConvert}};

} // namespace

} // namespace tavrik::cli
