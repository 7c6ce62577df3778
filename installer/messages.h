// The installer's names and the texts it shows, in one place: the logic shows them, the
// dialogs and the tests use the same constants. Texts with something to fill in (%s) stand
// here in full, so that the compiler checks every call's arguments against them.
#pragma once

namespace installer {

// The product name, shown in titles and texts and the caption of the notices.
extern const char kProductName[]; // "Tessaro"
// Caption of the installer's stop and warning boxes; the others carry the product name.
extern const char kInstallCaption[];

// File names in the install folder.
extern const char kBoardFile[];     // "KESTRUM.EXE"
extern const char kInstallerFile[]; // "vqpsx.exe"
extern const char kReadMeFile[];
extern const char kReadMeIconFile[];
extern const char kUninstallIconFile[];
extern const char kSampleFile[];

// Command-line words.
extern const char kRelaunchWord[];  // "UnInstall"
extern const char kUninstallWord[]; // "UnInstall2"
extern const char kInstalledWord[]; // passed to the board after an install

// Proposals (caption: product name, information icon).
// Followed by the folder.
inline constexpr char kMsgShortPathNoAccess[] = "Unable to read/write access %s";
extern const char kMsgNoLocalFolder[];
extern const char kMsgNoAccessLocalFolder[];
extern const char kMsgNoProgramFiles[];
extern const char kMsgNoAccessProgramFiles[];
extern const char kMsgRoamingLater[];
extern const char kMsgMultiUserLater[];
extern const char kMsgNoPreviousInstall[];
extern const char kMsgNoFolderToInstallInto[];

// CreatePath (caption: product name, stop icon).
inline constexpr char kMsgNoDriveLetter[] =
    "The Path you Specified:\n%s\ncould not be created because it does "
    "not include a valid drive letter.";
inline constexpr char kMsgPathNotCreated[] = "The Path you Specified:\n%s\ncould not be created.";

// Next (caption: install caption).
extern const char kMsgPathTooLong[];
extern const char kMsgSameFolder[];
inline constexpr char kMsgFolderNotCreated[] =
    "The Path to the Folder you Specified:\n%s\ncould not be "
    "created.\n";
extern const char kMsgPermissions[];

// The install run (caption: install caption, stop icon).
// Destination, destination.
inline constexpr char kMsgPayloadNotCopied[] =
    "Copying to:\n%s\nThe file could not be copied.\n\no Is %s in "
    "use?\no Is your disk full?\n";
// Source.
inline constexpr char kMsgSourceMissing[] = "Source File:\n%s\nis missing!";
// Source, destination, destination.
inline constexpr char kMsgFileNotCopied[] =
    "Copying from:\n%s\nCopying to:\n%s\nThe file could not be copied.\n\no Is %s in use?\no Is "
    "your disk full?\no You may have specified an invalid destination.\n";

// The install sequence.
extern const char kMsgInstallFailed[];
extern const char kMsgGroupNotCreated[];
// Product name.
inline constexpr char kMsgClosingBoard[] =
    "Closing [%s] as it can not be running while doing this "
    "operation...";

// The uninstaller's relaunch (caption: install caption, stop icon; the missing local
// folder is told with kMsgNoFolderToInstallInto, the copy's failures with kMsgSourceMissing
// and kMsgFileNotCopied).
extern const char kMsgNoUninstallPath[];

// The uninstaller (caption: product name).
// Product name.
inline constexpr char kMsgConfirmUninstall[] = "Do you really want to UnInstall %s?";
// Product name, folder.
inline constexpr char kMsgInstallNotFound[] =
    "The installation of %s that you are UnInstalling from:\n%s\n"
    "can not be found.";
// Product name, folder, folder.
inline constexpr char kMsgUninstallWarning[] =
    "You are UnInstalling [%s] from Folder:\n%s\n\nDoing this will remove folder:\n%s\nfrom "
    "this computer. It will also delete all the Tessaro projects and sub-folders that you may "
    "have in it.\n\nAre you sure you want to do this?";
// Product name.
inline constexpr char kMsgUninstalled[] = "%s has been UnInstalled.";
// Folder.
inline constexpr char kMsgFolderNotAllRemoved[] =
    "Tessaro could not remove every file from:\n%s\n\nClose any "
    "program that uses it and delete the folder yourself.";

} // namespace installer
