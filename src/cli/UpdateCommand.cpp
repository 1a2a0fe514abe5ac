// tavrik-cli update: asks the update server for its newest version and, unless only asked to check,
// downloads it and replaces the program's files without a question; on failure the folder stays as it was.
#include "Command.h"

#include "app/Error.h"
#include "app/Files.h"
#include "app/IniFile.h"
#include "app/Settings.h"
#include "update/InstallUpdate.h"
#include "update/UpdateCheck.h"

#include <filesystem>
#include <iostream>

#include <unistd.h>

namespace tavrik::cli {

namespace {

constexpr const char* ProgramName = "tavrik";

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

// The download's progress as one line on a terminal, rewritten in place; nothing when output is logged.
class TerminalProgress : public TransferEvents {
  public:
    void WorkBegin(uint64_t expectedBytes) override { Expected = expectedBytes; }
    void Work(uint64_t bytesSoFar) override {
        // Each percent, or each megabyte when the server announces no length.
        const uint64_t step = Expected > 0 ? bytesSoFar * 100 / Expected : bytesSoFar >> 20;
        if (!OnTerminal || step == Shown) return;
        Shown = step;
        std::cerr << "\rDownloaded " << bytesSoFar;
        if (Expected > 0) std::cerr << " of " << Expected;
        std::cerr << " bytes" << std::flush;
    }
    void WorkEnd() override {
        if (OnTerminal && Shown != NoneShown) std::cerr << "\n";
    }

  private:
    static constexpr uint64_t NoneShown = UINT64_MAX;
    const bool OnTerminal = isatty(STDERR_FILENO) != 0;
    uint64_t Expected = 0;
    uint64_t Shown = NoneShown;
};

std::string ConfiguredUpdateServer(const std::string& folder) {
    IniFile settings;
    if (!settings.Load(SettingsFolder(folder) + SettingsFileName)) return {};
    return settings.Text(SettingsSection, "UpdateServer");
}

struct UpdateOptions {
    std::optional<std::string> Server;
    std::optional<std::string> Folder;
    bool Check = false;
};

void DeclareUpdate(CLI::App& command, UpdateOptions& o) {
    command.add_option("--server", o.Server, "the update site (default: the \"UpdateServer\" setting)")
        ->type_name("URL");
    command.add_option("--folder", o.Folder, "the program folder to update (default: the installed program's)")
        ->type_name("DIR");
    command.add_flag("--check", o.Check, "only say whether a newer version is available");
}

int RunUpdate(const UpdateOptions& o) {
    const std::string folder = WithSeparator(o.Folder.value_or(ExecutableFolder()));
    const UpdateRequest request{o.Server.value_or(ConfiguredUpdateServer(folder)), RunningVersion(),
                                ProgramFiles{folder, ProgramName}};
    if (!HasUpdateServer(request.UpdateServer))
        throw Error("no update server is configured: give --server URL or set \"UpdateServer\" in " +
                    SettingsFolder(folder) + SettingsFileName);
    const ServerVersion server = CheckUpdateServer(request);
    if (!server.Newer) {
        std::cout << LatestVersionMessage(request.Version) << "\n";
        return 0;
    }
    std::cout << AvailableMessage(server.File.Newest, request.Version) << "\n";
    if (o.Check) return 0;
    if (!std::filesystem::is_directory(folder)) throw Error(folder + " is not a folder");
    if (!ProgramFolderWritable(folder)) throw Error(PackageManagerMessage(folder));
    std::cout << "Downloading " << ArchiveUrl(request.UpdateServer) << "\n" << std::flush;
    TerminalProgress progress;
    const std::vector<uint8_t> archive = DownloadUpdate(request, server.File, &progress);
    InstallUpdate(archive, request.Files);
    std::cout << "Tavrik in " << folder << " was replaced by version " << VersionText(server.File.Newest) << "\n";
    return 0;
}

const CommandRegistration<UpdateOptions> registration{
    "update",
    "Checks the update server (default: the \"UpdateServer\" setting) for a newer Tavrik and, without --check, "
    "downloads it and replaces the program's files in DIR (default: the installed program's folder).",
    DeclareUpdate, RunUpdate};

} // namespace

} // namespace tavrik::cli
