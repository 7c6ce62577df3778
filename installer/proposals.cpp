#include "installer/proposals.h"

#include "base/text.h"
#include "installer/messages.h"
#include "settings/settings.h"
#include "ui/message.h"

namespace installer {

const char kVendorFolder[] = "Vontrel";
const char kProductFolder[] = "vqp";

namespace {

const char kLegacyTemplate[] = "?:\\Program Files\\KESTRUM";
const char kShortTemplate[] = "C:\\vqp";

// A notice with nothing to fill in.
void Tell(bool tell, const char* text) {
    if (tell)
        ui::ShowMessage(MB_ICONINFORMATION, "%s", text);
}

bool Accept(Proposal& p, const char* folder, int choice) {
    base::CopyText(p.folder, sizeof p.folder, folder);
    p.choice = choice;
    return true;
}

bool Reject(Proposal& p, int choice) {
    p.choice = choice;
    return false;
}

// Local user and program files: the special folder must be found and exist; its "Vontrel"
// and "vqp" sub-folders are made later, at Next.
bool ProposeSpecial(Environment& env, Proposal& p, bool tell, int csidl, int choice,
                    const char* notFound, const char* noAccess) {
    char special[kPathSize];
    if (!TrimmedShellFolder(env, csidl, special, sizeof special)) {
        Tell(tell, notFound);
        return Reject(p, kChoiceNone);
    }
    if (!env.FolderExists(special)) {
        Tell(tell, noAccess);
        return Reject(p, kChoiceNone);
    }
    char folder[kPathSize];
    base::FormatText(folder, sizeof folder, "%s\\%s\\%s", special, kVendorFolder, kProductFolder);
    return Accept(p, folder, choice);
}

// An earlier installation recorded in the settings: the folder as stored, when it holds
// the board program.
bool RecordedInstallation(Environment& env, char* out, size_t size) {
    char recorded[kMaxInstallFolder];
    env.ReadSetting(settings::kConfigure, settings::kThisProgramDir, nullptr, recorded,
                    sizeof recorded);
    if (recorded[0] == '\0')
        return false;
    char folder[kPathSize];
    char board[kPathSize];
    base::CopyText(folder, sizeof folder, recorded);
    TrimTrailing(folder, kFolderTrim);
    if (!JoinPath(board, sizeof board, folder, kBoardFile) || !env.FileExists(board))
        return false;
    base::CopyText(out, size, recorded);
    return true;
}

// The short-path folder is made on the way: it counts when it exists afterwards.
bool ShortPathUsable(Environment& env, const InstallPlaces& places) {
    env.MakeFolder(places.shortFolder);
    return env.FolderExists(places.shortFolder);
}

} // namespace

void MakeInstallPlaces(const char* windowsFolder, InstallPlaces& places) {
    base::CopyText(places.legacyFolder, sizeof places.legacyFolder, kLegacyTemplate);
    base::CopyText(places.shortFolder, sizeof places.shortFolder, kShortTemplate);
    char drive = windowsFolder ? windowsFolder[0] : '\0';
    if (drive == '\0')
        return;
    drive = base::FoldCase(drive);
    places.legacyFolder[0] = drive;
    places.shortFolder[0] = drive;
}

void LoadInstallPlaces(Environment& env, InstallPlaces& places) {
    char windows[kPathSize] = "";
    env.WindowsFolder(windows, sizeof windows);
    MakeInstallPlaces(windows, places);
}

bool TrimmedShellFolder(Environment& env, int csidl, char* out, size_t size) {
    if (!env.ShellFolder(csidl, out, size))
        return false;
    TrimTrailing(out, kFolderTrim);
    return true;
}

bool ProposeShortPath(Environment& env, const InstallPlaces& places, Proposal& p, bool tell) {
    if (ShortPathUsable(env, places))
        return Accept(p, places.shortFolder, kChoiceShortPath);
    if (tell)
        ui::ShowMessage(MB_ICONINFORMATION, kMsgShortPathNoAccess, places.shortFolder);
    return Reject(p, kChoiceNone);
}

bool ProposeLocalUser(Environment& env, Proposal& p, bool tell) {
    return ProposeSpecial(env, p, tell, kCsidlLocalAppData, kChoiceLocalUser, kMsgNoLocalFolder,
                          kMsgNoAccessLocalFolder);
}

bool ProposeProgramFiles(Environment& env, Proposal& p, bool tell) {
    return ProposeSpecial(env, p, tell, kCsidlProgramFiles, kChoiceProgramFiles, kMsgNoProgramFiles,
                          kMsgNoAccessProgramFiles);
}

bool ProposeRoaming(Proposal& p, bool tell) {
    Tell(tell, kMsgRoamingLater);
    return Reject(p, kChoiceLocalUser);
}

bool ProposeMultiUser(Proposal& p, bool tell) {
    Tell(tell, kMsgMultiUserLater);
    return Reject(p, kChoiceLocalUser);
}

bool ProposeUpgrade(Environment& env, const InstallPlaces& places, Proposal& p, bool tell) {
    char folder[kPathSize];
    if (RecordedInstallation(env, folder, sizeof folder))
        return Accept(p, folder, kChoiceUpgrading);
    if (env.FolderExists(places.legacyFolder))
        return Accept(p, places.legacyFolder, kChoiceUpgrading);
    Tell(tell, kMsgNoPreviousInstall);
    return Reject(p, kChoiceLocalUser);
}

bool FirstProposal(Environment& env, const InstallPlaces& places, Proposal& p) {
    char folder[kPathSize];
    if (RecordedInstallation(env, folder, sizeof folder))
        return Accept(p, folder, kChoiceUpgrading);
    if (env.FolderExists(places.legacyFolder))
        return Accept(p, places.legacyFolder, kChoiceUpgrading);
    if (ShortPathUsable(env, places))
        return Accept(p, places.shortFolder, kChoiceShortPath);
    if (ProposeLocalUser(env, p, false))
        return true;
    ui::ShowMessage(MB_ICONINFORMATION, "%s", kMsgNoFolderToInstallInto);
    return false;
}

namespace {

enum class Operation { ShortPath, LocalUser, ProgramFiles, Roaming, MultiUser, Upgrade };

struct Chain {
    int clicked;
    int length;
    Operation operations[4];
};

using O = Operation;
constexpr Chain kChains[] = {
    {kChoiceShortPath, 3, {O::ShortPath, O::Upgrade, O::LocalUser}},
    {kChoiceLocalUser, 1, {O::LocalUser}},
    {kChoiceProgramFiles, 4, {O::ProgramFiles, O::Upgrade, O::ShortPath, O::LocalUser}},
    {kChoiceRoaming, 4, {O::Roaming, O::Upgrade, O::ShortPath, O::LocalUser}},
    {kChoiceMultiUser, 4, {O::MultiUser, O::Upgrade, O::ShortPath, O::LocalUser}},
    {kChoiceUpgrading, 3, {O::Upgrade, O::ShortPath, O::LocalUser}},
};

bool Run(Operation op, Environment& env, const InstallPlaces& places, Proposal& p, bool tell) {
    switch (op) {
    case O::ShortPath: return ProposeShortPath(env, places, p, tell);
    case O::LocalUser: return ProposeLocalUser(env, p, tell);
    case O::ProgramFiles: return ProposeProgramFiles(env, p, tell);
    case O::Roaming: return ProposeRoaming(p, tell);
    case O::MultiUser: return ProposeMultiUser(p, tell);
    case O::Upgrade: return ProposeUpgrade(env, places, p, tell);
    }
    return false;
}

} // namespace

void RunOptionChain(int clicked, Environment& env, const InstallPlaces& places, Proposal& p) {
    for (const Chain& chain : kChains) {
        if (chain.clicked != clicked)
            continue;
        for (int i = 0; i < chain.length; ++i) {
            const bool tell = i == 0 || i == chain.length - 1;
            if (Run(chain.operations[i], env, places, p, tell))
                return;
        }
        return;
    }
}

} // namespace installer
