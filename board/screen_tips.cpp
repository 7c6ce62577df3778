#include "board/screen_tips.h"

#include "board/board.h"
#include "board/startup_trace.h"
#include "resources/kestrum_ids.h"
#include "ui/tooltip.h"

namespace {

const char kMinOnCopyTip[] =
    "When this option is checked, Tessaro minimizes each time you select one of the Tessaro "
    "copy buttons. This is handy if you are filling in a form that takes the whole screen. "
    "Example: When you need some data, click the Tessaro button on the [Taskbar] and Tessaro "
    "will appear over the top of your form. Select the Tessaro copy button that you need. "
    "Tessaro will copy the data into the Windows clipboard and minimize until you need it "
    "again, leaving your form where you can get to it easily.";
const char kTopMostTip[] =
    "When this option is checked, Tessaro becomes a TopMost Application. This is handy if you "
    "are filling in a form and want to move Tessaro around on top of the form. With Tessaro "
    "TopMost, it will not fall into the background even if you click on the form or other "
    "applications.";
const char kSelectorTip[] =
    "Open a Tessaro project that you saved earlier, or one of the "
    "SAMPLE.VQP files that came with Tessaro.";
const char kMarkerTip[] = "The position where the next item will be put when you select it.";
const char kLabelTip[] =
    "The position that this item will be put after all selecting is completed.";
const char kCopyButtonTip[] =
    "Select this button to copy text into the Windows clipboard. Then you can go into any "
    "program and use the [Edit], [Paste] command or [Ctrl+V] to paste the text. o- To rename "
    "this button you can [Right Click] this button and select [Rename Button]. o- To edit the "
    "field just to the right you can [Right Click] this button and select [Edit Text Field]. "
    "o- To rename this button or edit the last slected text field from the main menu select "
    "[Edit], [Rename Button] or [Edit Text Field].";
const char kFieldTip[] =
    "This field holds up to 10240 text characters. To edit it you can: o- [Right Click] the "
    "button just to the left and select [Edit Text Field]. o- Type directly into it. o- [Right "
    "Click], and use the [Undo, Cut, Copy, Paste, Select All] menu.";

ui::Tooltip g_tips; // exists only while screen tips are on

bool AddTip(int id, const char* text) {
    return g_tips.AddTool(GetDlgItem(g_board.window, id), text);
}

} // namespace

const char* ScreenTipText(int id) {
    if (id == IDX_MIN_ON_COPY)
        return kMinOnCopyTip;
    if (id == IDX_TOPMOST)
        return kTopMostTip;
    if (id == IDC_PROJECTS)
        return kSelectorTip;
    if (id >= MarkerId(0) && id <= MarkerId(kSlotCount - 1))
        return kMarkerTip;
    if (id >= LabelId(0) && id <= LabelId(kSlotCount - 1))
        return kLabelTip;
    if (id >= IDB_COPY_FIRST && id <= IDE_FIELD_LAST)
        return (id - IDB_COPY_FIRST) % 2 == 0 ? kCopyButtonTip : kFieldTip;
    return nullptr;
}

void ShowScreenTips(bool enable) {
    if (!enable) {
        g_tips.Destroy();
        return;
    }
    if (g_tips.Exists() || !g_tips.Create(g_board.window))
        return;
    TraceStartup("screen tips control created");
    // Ids 1001 to 1135 in order: check boxes, selector, markers, labels, then each slot's
    // copy button followed by its field. A board without its first control gets no tips.
    if (!AddTip(IDX_MIN_ON_COPY, kMinOnCopyTip))
        return;
    for (int id = IDX_MIN_ON_COPY + 1; id <= IDE_FIELD_LAST; ++id)
        AddTip(id, ScreenTipText(id));
    g_tips.Activate(true);
}

HWND ScreenTipsControl() {
    return g_tips.Handle();
}

void RelayToScreenTips(const MSG& msg) {
    g_tips.Relay(msg);
}
