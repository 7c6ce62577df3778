// The installer's names and the texts it shows, in one place: the logic shows them, the
// dialogs and the tests use the same constants.
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
extern const char kMsgShortPathNoAccess[]; // followed by the folder
extern const char kMsgNoLocalFolder[];
extern const char kMsgNoAccessLocalFolder[];
extern const char kMsgNoProgramFiles[];
extern const char kMsgNoAccessProgramFiles[];
extern const char kMsgRoamingLater[];
extern const char kMsgMultiUserLater[];
extern const char kMsgNoPreviousInstall[];
extern const char kMsgNoFolderToInstallInto[];

// CreatePath (caption: product name, stop icon).
extern const char kMsgNoDriveLetter[];
extern const char kMsgPathNotCreated[];

// Next (caption: install caption).
extern const char kMsgPathTooLong[];
extern const char kMsgSameFolder[];
extern const char kMsgFolderNotCreated[];
extern const char kMsgPermissions[];

// The install run (caption: install caption, stop icon).
extern const char kMsgPayloadNotCopied[]; // destination, destination
extern const char kMsgSourceMissing[];    // source
extern const char kMsgFileNotCopied[];    // source, destination, destination

// The install sequence.
extern const char kMsgInstallFailed[];
extern const char kMsgGroupNotCreated[];
extern const char kMsgClosingBoard[]; // product name

// The uninstaller's relaunch (caption: install caption, stop icon; the missing local
// folder is told with kMsgNoFolderToInstallInto, the copy's failures with kMsgSourceMissing
// and kMsgFileNotCopied).
extern const char kMsgNoUninstallPath[];

// The uninstaller (caption: product name).
extern const char kMsgConfirmUninstall[];    // product name
extern const char kMsgInstallNotFound[];     // product name, folder
extern const char kMsgUninstallWarning[];    // product name, folder, folder
extern const char kMsgUninstalled[];         // product name
extern const char kMsgFolderNotAllRemoved[]; // folder

} // namespace installer
