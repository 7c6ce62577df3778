// The board window: the program's only main window, run as a modal dialog.
#pragma once
#include "settings/settings.h"
#include "ui/dialog.h"

class BoardWindow : public ui::Dialog {
  public:
    // The board keeps its settings in store: the real one, or a scratch one in tests.
    explicit BoardWindow(const settings::Store& store);

  protected:
    BOOL OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOk() override {} // Enter never ends the board
    void OnCancel() override;
    void OnDestroy() override;
    bool PreTranslate(MSG& msg) override;
    void OnFirstIdle() override;
    INT_PTR OnMessage(UINT msg, WPARAM w, LPARAM l, bool& handled) override;

  private:
    bool HandOverToRunningBoard();
    void ReadProgramFolder();
    void ApplyOptions();
    void ShowCurrentProject();
    void OnClose();
    void PaintIconic();

    bool reportUnreadable_ = false; // the current project is there but could not be read
};
