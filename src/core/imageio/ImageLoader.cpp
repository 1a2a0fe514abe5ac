// Picks the picture reader by extension and hands back a fresh 24-bit picture, so a failed load touches nothing.
#include "imageio/ImageLoader.h"

#include "app/TextHelpers.h"
#include "imageio/BmpFile.h"
#include "imageio/IlbmImage.h"
#include "imageio/NeoImage.h"
#include "imageio/PngFile.h"

#include <algorithm>
#include <array>
#include <exception>

namespace tavrik {

namespace {

constexpr std::array<std::string_view, 7> AtariExtensions = {".neo", ".pc1", ".pc2", ".pc3", ".pi1", ".pi2", ".pi3"};

bool IsAtariExtension(std::string_view extension) {
    return std::find(AtariExtensions.begin(), AtariExtensions.end(), extension) != AtariExtensions.end();
}

Image TakePicture(Image&& picture) {
    picture.ConvertTo(PixelFormat::Rgb24);
    return std::move(picture);
}

void ReadAtariPicture(const std::string& path, const std::string& extension, LoadedImage& result) {
    TNEOImage picture;
    if (extension == ".neo") picture.AtariFormat = TAtariFormat::afNEO;
    if (extension == ".pc1") picture.AtariFormat = TAtariFormat::afDEGASEliteCompressed;
    picture.LoadFromFile(path);
    result.AtariPalette = picture.PaletteIL;
    result.Picture = TakePicture(std::move(picture));
}

FileDialogRequest OpenRequest(std::string_view title, std::string_view filter, const std::string& initialName) {
    return FileDialogRequest{std::string(title), std::string(filter), initialName,
                             std::string(OpenFileDefaultExtension)};
}

} // namespace

bool IsPictureFileName(std::string_view fileName) {
    const std::string extension = LowerExtension(fileName);
    return extension == ".bmp" || extension == ".iff" || extension == ".png" || IsAtariExtension(extension);
}

LoadedImage LoadImage(const std::string& fileName, const FileSearchPlaces& places, Dialogs& dialogs) {
    LoadedImage result;
    const std::string path = ResolveFileName(fileName, places, dialogs);
    if (!PathIsFile(path)) return result;
    result.Found = true;
    const std::string extension = LowerExtension(path);
    if (extension == ".bmp") {
        result.Picture = ReadBmp(ReadWholeFile(path));
    } else if (extension == ".iff") {
        TILBMImage picture;
        picture.LoadFromFile(path);
        result.Picture = TakePicture(std::move(picture));
    } else if (IsAtariExtension(extension)) {
        ReadAtariPicture(path, extension, result);
    } else if (extension == ".png") {
        result.Picture = ReadPng(ReadWholeFile(path));
    }
    return result;
}

std::string NotAPictureMessage(const std::string& fileName) {
    return fileName + " is not a picture (.bmp, .iff, .neo, .pc1-.pc3, .pi1-.pi3 or .png)";
}

FileDialogRequest TileGraphicsOpenRequest(const std::string& initialName) {
    return OpenRequest(LoadTileGraphicsTitle, LoadTileGraphicsFilter, initialName);
}

FileDialogRequest DataFileOpenRequest(const std::string& initialName) {
    return OpenRequest(LoadDataFileTitle, LoadDataFileFilter, initialName);
}

OpenFileRoute RouteOpenedFile(std::string_view fileName) {
    if (LowerExtension(fileName) == ".ini") return OpenFileRoute::Project;
    return IsPictureFileName(fileName) ? OpenFileRoute::Picture : OpenFileRoute::DataFile;
}

} // namespace tavrik
