// Modeless dialogs: every loop of the framework hands them their keys, and OK, Cancel and
// Escape end them, as the installer's uninstall dialog needs while it waits.
#include <windows.h>
#include <gtest/gtest.h>

#include "ui/dialog.h"
#include "ui/pumped_wait.h"
#include "ui/window_stack.h"
#include "ui_test_ids.h"

namespace {

class ModelessProbe : public ui::Dialog {
  public:
    ModelessProbe() : ui::Dialog(IDD_MODELESS, false) {}
    int destroyed = 0;

  protected:
    void OnDestroy() override { ++destroyed; }
};

HWND Edit(const ModelessProbe& dialog) {
    return dialog.Item(IDE_MODELESS_TEXT);
}

void PostKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

} // namespace

TEST(Modeless, EscapeInAnEditEndsItWhileAPumpedWaitRuns) {
    ModelessProbe dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    HWND hwnd = dialog.Handle();
    ASSERT_TRUE(IsWindowVisible(hwnd));
    PostKey(Edit(dialog), VK_ESCAPE);
    ui::PumpedWait(200);
    EXPECT_FALSE(IsWindow(hwnd)) << "Escape reached the dialog manager and cancelled";
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_EQ(dialog.Result(), IDCANCEL);
    EXPECT_EQ(dialog.destroyed, 1);
}

TEST(Modeless, TheCancelAndOkButtonsEndIt) {
    ModelessProbe dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    PostMessageA(dialog.Item(IDCANCEL), BM_CLICK, 0, 0);
    ui::PumpedWait(200);
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_EQ(dialog.Result(), IDCANCEL);

    ASSERT_TRUE(dialog.CreateModeless(nullptr)) << "the object shows its window again";
    EXPECT_EQ(dialog.Result(), IDCANCEL) << "no result yet";
    PostKey(Edit(dialog), VK_RETURN); // the default button
    ui::PumpedWait(200);
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_EQ(dialog.Result(), IDOK);
    EXPECT_EQ(dialog.destroyed, 2);
}

namespace {

// A modal dialog whose loop, once idle, sends Escape to a modeless dialog and then ends.
class ModalWithModeless : public ui::Dialog {
  public:
    explicit ModalWithModeless(ModelessProbe& other) : ui::Dialog(IDD_PROBE), other_(other) {}
    bool otherOpenAtEnd = true;

  protected:
    void OnFirstIdle() override {
        ui::Dialog::OnFirstIdle();
        PostKey(Edit(other_), VK_ESCAPE);
        PostMessageA(Handle(), WM_COMMAND, IDB_PROBE_DONE, 0);
    }
    bool OnCommand(int id, int, HWND) override {
        if (id != IDB_PROBE_DONE)
            return false;
        otherOpenAtEnd = other_.Handle() != nullptr;
        End(IDOK);
        return true;
    }

  private:
    ModelessProbe& other_;
};

} // namespace

TEST(Modeless, TheModalLoopHandsItsKeysToo) {
    ui::ClearWindowStack();
    ModelessProbe modeless;
    ASSERT_TRUE(modeless.CreateModeless(nullptr));
    ModalWithModeless modal(modeless);
    EXPECT_EQ(modal.RunModal(nullptr), IDOK);
    EXPECT_FALSE(modal.otherOpenAtEnd) << "Escape ended the modeless dialog inside the modal loop";
    EXPECT_EQ(modeless.Result(), IDCANCEL);
}
