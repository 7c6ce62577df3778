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

const char kMsgNoLocalFolder[] = "Unable to access your Local Folder.";
const char kMsgNoAccessLocalFolder[] = "Unable to read/write access your Local Folder.";
const char kMsgNoProgramFiles[] = "Unable to access your [Program Files] Folder.";
const char kMsgNoAccessProgramFiles[] = "Unable to read/write access your [Program Files] Folder.";
const char kMsgRoamingLater[] = "Roaming will be available in future versions.";
const char kMsgMultiUserLater[] = "Multi User will be available in future versions.";
const char kMsgNoPreviousInstall[] = "Unable to find a previous installation to upgrade.";
const char kMsgNoFolderToInstallInto[] = "Unable to access a folder to install into.";

const char kMsgPathTooLong[] = "The Path you Specified is to long.";
const char kMsgSameFolder[] =
    "You can not install from the same directory that you are "
    "installing to.\n\nPlease select a different directory.";
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

const char kMsgInstallFailed[] = "Conditions Prevented Proper Installation.";
const char kMsgGroupNotCreated[] = "There was an error while creating the group.";
const char kMsgNoUninstallPath[] = "Unable to create an uninstall path.";

} // namespace installer
