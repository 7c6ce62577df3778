#include "dialogs/help_texts.h"

#include "dialogs/help.h"
#include "resources/kestrum_ids.h"

namespace {

// The texts are shown exactly as written here, wording and spelling included.
const char kOverviewText[] =
    "Tessaro Overview\r\n\r\n"
    "There are 33 text fields per page or project. You can have as many pages as "
    "you want. You can have 1000s of fields if you wish. Any one of these 1000s of "
    "fields can be easily copied into the Windows clipboard using the [Copy] "
    "button found just to the left of said field. Once copied, the text can be "
    "pasted into any Windows application. Each field holds up to 10240 text "
    "characters. You can copy from other editors and word processors and paste "
    "directly into these fields, or put the blinking cursor in the edit box and "
    "select the [Edit], [Edit Text Field].\r\n\r\n"
    "You can also right-click the button, select [Edit Text Field] and edit the "
    "field.\r\n\r\n"
    "Any time you copy text from another Windows application, you can paste into "
    "these fields using a variety of methods. One easy method of copying and "
    "pasting from one application or program to another is to use the Copy command "
    "[Ctrl+C] and the Paste command [Ctrl+V].\r\n\r\n"
    "To help you remember what is in each text field, you can edit its copy button "
    "by selecting [Edit], [Rename Buttons].\r\n\r\n"
    "To rename just one button, you can right-click the button, select [Rename "
    "Buttons] and rename it.\r\n\r\n"
    "Once you have Tessaro set up the way you want it, you can save it for future "
    "use and/or modification. Saving this profile is known as saving a project. "
    "You can have as many projects or pages as you want.\r\n\r\n\r\n";

const char kMinimizeOnCopy[] =
    "[X]Minimize On Each Copy\r\n\r\n"
    "When this option is checked, Tessaro minimizes each time you select one of "
    "the Tessaro copy buttons. This is handy if you are filling in a form that "
    "takes the whole screen.\r\n\r\n"
    "Example:\r\n"
    "When you need some data, click the Tessaro button on the [Taskbar] and "
    "Tessaro will appear over the top of your form. Select the Tessaro copy button "
    "that you need. Tessaro will copy the data into the Windows clipboard and "
    "minimize until you need it again, leaving your form where you can get to it "
    "easily.\r\n\r\n\r\n";

const char kTopMost[] =
    "[X]Tessaro TopMost\r\n\r\n"
    "When this option is checked, Tessaro becomes a TopMost Application. This is "
    "handy if you are filling in a form and want to move Tessaro around on top of "
    "the form. With Tessaro TopMost, it will not fall into the background even if "
    "you click on the form or other applications.\r\n\r\n\r\n";

const char kChangeProject[] =
    "[Open Project]\r\n\r\n"
    "Rather than selecting [File], [Open Project], you select the project that you "
    "want from the [Project] combo box, located at the top right in Tessaro.\r\n\r\n\r\n";

const char kRenameOneButton[] =
    "To rename just one button, you can right-click the button, select [Rename "
    "Buttons] and rename it.\r\n\r\n\r\n";

const char kNewProject[] =
    "[File], [New Project]\r\n\r\n"
    "Sets all Tessaro buttons and text fields blank so you can start a new project.\r\n\r\n\r\n";

const char kOpenProject[] =
    "[Open Project]\r\n\r\n"
    "Open a Tessaro project that you saved earlier, or one of the SAMPLE.VQP files "
    "that came with Tessaro.\r\n\r\n"
    "To open a project, select the [Change Project] combo box, located at the top "
    "right in Tessaro.\r\n\r\n\r\n";

const char kSaveProject[] =
    "[File], [Save Project]\r\n\r\n"
    "Save any changes to the current Tessaro project.\r\n\r\n\r\n";

const char kSaveAsProject[] =
    "[File], [SaveAs Project]\r\n\r\n"
    "Save the current Tessaro project under a new name. If you open an existing "
    "project, make some changes, and select [File], [SaveAs Project]; you now have "
    "two projects. This is an easy way to create a new project, especially if the "
    "two are similar.\r\n\r\n\r\n";

const char kExit[] =
    "[File], [Exit]\r\n\r\n"
    "Exit Tessaro.\r\n\r\n\r\n";

const char kRenameButtons[] =
    "[Edit], [Rename Buttons]\r\n\r\n"
    "To help you remember what is in each field, you can edit its copy button by "
    "selecting [Edit], [Rename Buttons].\r\n\r\n"
    "To rename just one button, you can right-click the button, select [Rename "
    "Buttons] and rename it.\r\n\r\n\r\n";

const char kEditTextField[] =
    "[Edit], [Edit Text Field]\r\n\r\n"
    "Place your blinking cursor in the field you want to edit and select [Edit], "
    "[Edit Text Field].\r\n\r\n"
    "You can also right-click the button, select [Edit Text Field] and edit the "
    "field.\r\n\r\n\r\n";

const char kFind[] =
    "[Edit], [Find]\r\n\r\n"
    "This will load the [Find in Projects] dialog box.\r\n\r\n"
    "You can search through the current project or all the projects for text "
    "fields and/or buttons that you specify.\r\n\r\n"
    "You can specify the text to search for and set any options that will help in "
    "the search.\r\n\r\n"
    "To start searching at the beginning of the project(s), click on the [Find "
    "First] button. If the text string is found, you can click on the [Find Next] "
    "button to find the next occurrence of the text string.\r\n\r\n"
    "To copy the found project field to the clipboard, click on the [Copy this "
    "Text Field to the Windows Clipboard] button.\r\n\r\n"
    "To copy the found project field to the clipboard and exit the [Find in "
    "Projects] dialog box, click on the on the [Copy and Close] button.\r\n\r\n"
    "To just close this box, click on the [Just Close] button.\r\n\r\n\r\n";

const char kReposition[] =
    "[Configure], [Reposition Buttons and Text Fields]\r\n\r\n"
    "Click all 33 copy buttons in the order that you want them to be. When all 33 "
    "buttons have been clicked, the buttons and their associated text fields will "
    "be repositioned to reflect your selections. Once you begin this procedure, "
    "you must select all 33 copy buttons before Tessaro will once again become "
    "functional.\r\n\r\n\r\n";

const char kConsolidate[] =
    "[Configure], [Consolidate Projects]\r\n\r\n"
    "Alphabetically consolidate projects over the full range of several or all of "
    "the projects.\r\n\r\n"
    "Select all the projects that you want to consolidate. The project names will "
    "remain the same, but the fields will be redistributed, alphabetically, over "
    "the full range of all the projects.\r\n\r\n\r\n";

const char kUseTray[] =
    "[Options], [Use Tray instead of Taskbar]\r\n\r\n"
    "When this menu item is checked, an ICON appears in the system tray and the "
    "taskbar button disappears anytime Tessaro in minimized. One click on the tray "
    "ICON with the the left mouse button and Tessaro is reactivated.\r\n\r\n\r\n";

const char kHideInTray[] =
    "[Options], [Hide in Tray at Startup if Use Tray is Checked]\r\n\r\n"
    "If [Use Tray instead of Taskbar] and this [Hide in Tray at Startup if Use "
    "Tray is Checked] are checked, then Tessaro will minimize into the system tray "
    "when you start it.\r\n\r\n"
    "One left-click on the Tessaro tray ICON will reactivated it.\r\n\r\n\r\n";

const char kAutoPaste[] =
    "[Options], [Auto Paste into Application]\r\n\r\n"
    "If [Auto Paste into Application] is checked, then Tessaro will automatically "
    "paste the selected message into the application for you.\r\n\r\n\r\n";

// Help-menu commands 32792-32808 in order.
const char* const kTopics[] = {
    kMinimizeOnCopy, kTopMost,       kChangeProject, kRenameOneButton, kNewProject,    kOpenProject,
    kSaveProject,    kSaveAsProject, kExit,          kRenameButtons,   kEditTextField, kFind,
    kReposition,     kConsolidate,   kUseTray,       kHideInTray,      kAutoPaste,
};
static_assert(sizeof kTopics / sizeof kTopics[0] == IDM_HELP_LAST_TOPIC - IDM_HELP_FIRST_TOPIC + 1,
              "one text per Help-menu topic");

// "[Open Project]" comes twice: the Change Project topic, then the Open Project topic.
const char* const kOverviewParts[kOverviewPartCount] = {
    kOverviewText,  kRenameButtons, kEditTextField, kFind,        kMinimizeOnCopy, kTopMost,
    kChangeProject, kNewProject,    kOpenProject,   kSaveProject, kSaveAsProject,  kExit,
    kReposition,    kConsolidate,   kUseTray,       kHideInTray,  kAutoPaste,
};

} // namespace

const char* HelpTopicText(int commandId) {
    if (commandId == IDM_RENAME_HELP)
        return kRenameButtons;
    if (commandId < IDM_HELP_FIRST_TOPIC || commandId > IDM_HELP_LAST_TOPIC)
        return nullptr;
    return kTopics[commandId - IDM_HELP_FIRST_TOPIC];
}

const char* OverviewPart(int index) {
    if (index < 0 || index >= kOverviewPartCount)
        return nullptr;
    return kOverviewParts[index];
}
