// File dialogs start in the folder last used for their kind of file, each kind on its own.
#include "app/DialogFolders.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

TEST(DialogFolders, EachKindOfFileStartsWhereItWasLastChosen) {
    DialogFolders folders;
    const FileDialogRequest tiles{"Load Tile Graphics", "PNG File (*.png)|*.png", "", ".png"};
    const FileDialogRequest project{"Save Project", "INI File (*.ini)|*.ini", "", "ini"};
    EXPECT_EQ(folders.StartFolder(tiles), "");

    folders.Remember(tiles, "/games/shots/level1.png");
    folders.Remember(project, "/work/projects/level1.ini");
    EXPECT_EQ(folders.StartFolder(tiles), "/games/shots");
    EXPECT_EQ(folders.StartFolder(project), "/work/projects");
    // The same kind asked with another title or name still starts there.
    EXPECT_EQ(folders.StartFolder({"Save Map", tiles.Filter, "map.png", ".png"}), "/games/shots");
    // A name that brings its own folder is left to find it.
    EXPECT_EQ(folders.StartFolder({"Save Map", tiles.Filter, "/elsewhere/map.png", ".png"}), "");

    folders.Remember(tiles, "/games/other/level2.png");
    EXPECT_EQ(folders.StartFolder(tiles), "/games/other");
    folders.Remember(tiles, "bare.png"); // no folder: nothing to note
    EXPECT_EQ(folders.StartFolder(tiles), "/games/other");
}

} // namespace
} // namespace tavrik
