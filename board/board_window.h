// The board window: the program's only main window, run as a modal dialog.
#pragma once
#include "ui/dialog.h"

class BoardWindow : public ui::Dialog {
  public:
    BoardWindow();

  protected:
    BOOL OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOk() override {} // Enter never ends the board
    void OnCancel() override;
    void OnDestroy() override;
    bool PreTranslate(MSG& msg) override;
    INT_PTR OnMessage(UINT msg, WPARAM w, LPARAM l, bool& handled) override;

  private:
    bool HandOverToRunningBoard();
    void ReadProgramFolder();
    void CreateFieldFont();
    void ApplyOptions();
    void ShowCurrentProject();
    void OnClose();
    void PaintIconic();
};
