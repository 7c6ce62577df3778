#include "installer/messages.h"

namespace installer {

const char kProductName[] = "Tessaro";
const char kInstallCaption[] = "Tessaro Installation";

const char kBoardFile[] = "KESTRUM.EXE";
const char kInstallerFile[] = "vqpsx.exe";
const char kReadMeFile[] = "README.TXT";
const char kReadMeIconFile[] = "README.ICO";
const char kUninstallIconFile[] = "UNINSTL.ICO";
const char kSampleFile[] = "SAMPLE.VQP";

const char kRelaunchWord[] = "UnInstall";
const char kUninstallWord[] = "UnInstall2";
const char kInstalledWord[] = "InstallingTheProgram";

const char kMsgShortPathNoAccess[] = "Unable to read/write access %s";
const char kMsgNoLocalFolder[] = "Unable to access your Local Folder.";
const char kMsgNoAccessLocalFolder[] = "Unable to read/write access your Local Folder.";
const char kMsgNoProgramFiles[] = "Unable to access your [Program Files] Folder.";
const char kMsgNoAccessProgramFiles[] = "Unable to read/write access your [Program Files] Folder.";
const char kMsgRoamingLater[] = "Roaming will be available in future versions.";
const char kMsgMultiUserLater[] = "Multi User will be available in future versions.";
const char kMsgNoPreviousInstall[] = "Unable to find a previous installation to upgrade.";
const char kMsgNoFolderToInstallInto[] = "Unable to access a folder to install into.";

const char kMsgNoDriveLetter[] =
    "The Path you Specified:\n%s\ncould not be created because it does "
    "not include a valid drive letter.";
const char kMsgPathNotCreated[] = "The Path you Specified:\n%s\ncould not be created.";

const char kMsgPathTooLong[] = "The Path you Specified is to long.";
const char kMsgSameFolder[] =
    "You can not install from the same directory that you are "
    "installing to.\n\nPlease select a different directory.";
const char kMsgFolderNotCreated[] =
    "The Path to the Folder you Specified:\n%s\ncould not be "
    "created.\n";
const char kMsgPermissions[] =
    "Permissions Problems\n\nIf you experience permissions problems it is most likely that you "
    "have a [Standard User] account. Changing your account to an [Administrator] account will "
    "fix this problem.\n\nYou can not change your [Standard User] account to an [Administrator] "
    "account while logged into your own account because, (you guessed it), you do not have "
    "permission.\n\nTo change your [Standard User] account to an [Administrator] account:\nLog "
    "off your account, log on to an [administrator account], change your account to an "
    "[Administrator] account, and reboot the computer.\n\nIf you are running Windows Vista:\no "
    "Click the [Start] button\no Locate and select [Switch User]\no Log on to an [administrator "
    "account]\no Click the [Start] button\no Select [Settings]\no Select [ Control Panel]\no "
    "Select [User Accounts]\no Select [Manage another account]\no Find and select [your user "
    "account]\no Select [Change the account type]\no Change your account to [Administrator]\no "
    "Select [Change Account Type]\no Reboot the computer";

const char kMsgPayloadNotCopied[] =
    "Copying to:\n%s\nThe file could not be copied.\n\no Is %s in "
    "use?\no Is your disk full?\n";
const char kMsgSourceMissing[] = "Source File:\n%s\nis missing!";
const char kMsgFileNotCopied[] =
    "Copying from:\n%s\nCopying to:\n%s\nThe file could not be copied.\n\no Is %s in use?\no Is "
    "your disk full?\no You may have specified an invalid destination.\n";

const char kMsgInstallFailed[] = "Conditions Prevented Proper Installation.";
const char kMsgGroupNotCreated[] = "There was an error while creating the group.";
const char kMsgClosingBoard[] =
    "Closing [%s] as it can not be running while doing this "
    "operation...";

const char kMsgNoUninstallPath[] = "Unable to create an uninstall path.";

const char kMsgConfirmUninstall[] = "Do you really want to UnInstall %s?";
const char kMsgInstallNotFound[] =
    "The installation of %s that you are UnInstalling from:\n%s\n"
    "can not be found.";
const char kMsgUninstallWarning[] =
    "You are UnInstalling [%s] from Folder:\n%s\n\nDoing this will remove folder:\n%s\nfrom "
    "this computer. It will also delete all the Tessaro projects and sub-folders that you may "
    "have in it.\n\nAre you sure you want to do this?";
const char kMsgUninstalled[] = "%s has been UnInstalled.";
const char kMsgFolderNotAllRemoved[] =
    "Tessaro could not remove every file from:\n%s\n\nClose any "
    "program that uses it and delete the folder yourself.";

} // namespace installer
