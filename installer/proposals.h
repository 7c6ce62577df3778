// Where to install: the folders the install dialog proposes, the rule for its first
// proposal and the chains its six option buttons run.
#pragma once
#include "installer/environment.h"
#include "installer/path_text.h"

namespace installer {

// The sub-folders of the local-user and program-files proposals.
extern const char kVendorFolder[];  // "Vontrel"
extern const char kProductFolder[]; // "vqp"

// The option buttons; a proposal's choice is one of them, or 0 for none.
constexpr int kChoiceNone = 0;
constexpr int kChoiceShortPath = 1001;
constexpr int kChoiceLocalUser = 1002;
constexpr int kChoiceProgramFiles = 1003;
constexpr int kChoiceRoaming = 1004;
constexpr int kChoiceMultiUser = 1005;
constexpr int kChoiceUpgrading = 1006;

// Two fixed folders on the Windows drive.
struct InstallPlaces {
    char legacyFolder[kPathSize]; // where older installations lived
    char shortFolder[kPathSize];  // the short path for easy use
};

// Writes the Windows folder's drive letter (upper case) into both templates.
void MakeInstallPlaces(const char* windowsFolder, InstallPlaces& places);
// The same from the environment's Windows folder (the templates' own drive without one).
void LoadInstallPlaces(Environment& env, InstallPlaces& places);

// The dialog's proposal: a folder and the option that stands for it.
struct Proposal {
    char folder[kPathSize] = "";
    int choice = kChoiceNone; // InstallChoice
};

// Each operation fills the proposal on success. On failure it sets the choice to the value
// that option gives up with, and tells the user why only when `tell` is set.
bool ProposeShortPath(Environment& env, const InstallPlaces& places, Proposal& p, bool tell);
bool ProposeLocalUser(Environment& env, Proposal& p, bool tell);
bool ProposeProgramFiles(Environment& env, Proposal& p, bool tell);
bool ProposeRoaming(Proposal& p, bool tell);
bool ProposeMultiUser(Proposal& p, bool tell);
bool ProposeUpgrade(Environment& env, const InstallPlaces& places, Proposal& p, bool tell);

// The proposal the dialog opens with: an earlier installation, the legacy folder, the short
// path, the local user's folder. False when not even the local folder can be used; the
// user has then been told.
bool FirstProposal(Environment& env, const InstallPlaces& places, Proposal& p);

// The chain of an option button (1001-1006): the first operation tells the user, the middle
// ones are silent, the last one (local user) tells again; it stops at the first success.
// A choice of 0 afterwards means no folder can be proposed.
void RunOptionChain(int clicked, Environment& env, const InstallPlaces& places, Proposal& p);

// The special folder with trailing blanks and backslashes removed; false when the shell
// has none.
bool TrimmedShellFolder(Environment& env, int csidl, char* out, size_t size);

} // namespace installer
