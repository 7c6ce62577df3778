#include "installer/backdrop.h"

#include "base/scoped.h"
#include "base/text.h"
#include "installer/close_board.h"
#include "installer/command_line.h"
#include "installer/install_sequence.h"
#include "installer/legacy_ini.h"
#include "installer/look.h"
#include "installer/messages.h"
#include "installer/uninstall_sequence.h"
#include "resources/vqpsx_ids.h"
#include "ui/bitmap.h"
#include "ui/dialog.h"
#include "ui/window.h"
#include "ui/window_stack.h"

namespace installer {

namespace {

constexpr char kInstallTitle[] = "%s Installation";
constexpr char kUninstallTitle[] = "%s UnInstalling";
// The restored size, in dialog units; the backdrop shows maximised.
constexpr int kWidthUnits = 181;
constexpr int kHeightUnits = 103;

class Backdrop : public ui::Window {
  public:
    Backdrop(Environment& env, const BackdropRuns& runs) : env_(env), runs_(runs) {}
    // Gone before the members: its last messages still reach this class.
    ~Backdrop() override { Destroy(); }

    int Run(const char* commandLine);

  protected:
    LRESULT OnMessage(UINT msg, WPARAM w, LPARAM l, bool& handled) override;
    void OnPaint(HDC dc) override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnDestroy() override;

  private:
    bool CreateHidden();
    void SetIcon();
    void Start(Mode mode);
    void ShowAndPost(const char* title, int command);
    void PaintPicture(HDC dc);
    void End(int result);

    Environment& env_;
    const BackdropRuns& runs_;
    InstallPlaces places_;
    base::ScopedIcon icon_;
    bool stacked_ = false;
    bool commandRan_ = false; // each run happens once
    bool running_ = false;    // a run is going: closing the window waits for its end
    int result_ = IDCANCEL;
};

bool Backdrop::CreateHidden() {
    const LONG units = GetDialogBaseUnits();
    ui::WindowSpec shape;
    shape.className = "TessaroBackdrop";
    shape.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    shape.exStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;
    shape.width = kWidthUnits * LOWORD(units) / 4;
    shape.height = kHeightUnits * HIWORD(units) / 8;
    shape.x = shape.y = 0;
    shape.background = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    if (!Create(shape))
        return false;
    // Message boxes and the dialogs of the runs belong to the backdrop.
    ui::PushWindow(nullptr, Handle());
    stacked_ = true;
    return true;
}

void Backdrop::SetIcon() {
    icon_.Reset((HICON)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_INSTALLER),
                                  IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                  GetSystemMetrics(SM_CYSMICON), 0));
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, (LPARAM)icon_.Get());
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, (LPARAM)icon_.Get());
}

int Backdrop::Run(const char* commandLine) {
    const Mode mode = ChooseMode(commandLine);
    if (!CreateHidden())
        return IDCANCEL;
    SetIcon();
    ui::CentreOnDesktop(Handle());
    LoadInstallPlaces(env_, places_);
    CloseRunningBoard(env_, runs_.wait);
    MigrateLegacyIni(env_);
    Start(mode);

    // The backdrop's own loop: it ends when the backdrop goes.
    MSG msg;
    while (Handle()) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage((int)msg.wParam); // for whoever runs a loop outside
            break;
        }
        if (ui::HandToModelessDialog(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return result_;
}

void Backdrop::Start(Mode mode) {
    char title[128];
    switch (mode) {
    case Mode::Install:
        base::FormatText(title, sizeof title, kInstallTitle, kProductName);
        ShowAndPost(title, IDM_RUN_INSTALL);
        return;
    case Mode::Uninstall:
        base::FormatText(title, sizeof title, kUninstallTitle, kProductName);
        ShowAndPost(title, IDM_RUN_UNINSTALL);
        return;
    case Mode::Relaunch:
        running_ = true;
        result_ = runs_.relaunch ? runs_.relaunch(Handle(), env_) : IDCANCEL;
        running_ = false;
        End(result_);
        return;
    }
}

void Backdrop::ShowAndPost(const char* title, int command) {
    SetWindowTextA(Handle(), title);
    ShowWindow(Handle(), SW_MAXIMIZE);
    UpdateWindow(Handle());
    PostMessageA(Handle(), WM_COMMAND, command, 0);
}

bool Backdrop::OnCommand(int id, int, HWND control) {
    if ((id != IDM_RUN_INSTALL && id != IDM_RUN_UNINSTALL) || control != nullptr)
        return false;
    if (commandRan_)
        return true;
    commandRan_ = true;
    running_ = true;
    int result = IDCANCEL;
    if (id == IDM_RUN_INSTALL && runs_.install)
        result = runs_.install(Handle(), env_, places_);
    else if (id == IDM_RUN_UNINSTALL && runs_.uninstall)
        result = runs_.uninstall(Handle(), env_);
    running_ = false;
    End(result);
    return true;
}

void Backdrop::OnDestroy() {
    if (stacked_)
        ui::PopWindow();
    stacked_ = false;
}

void Backdrop::End(int result) {
    result_ = result;
    ShowWaitCursor(false);
    Destroy();
}

LRESULT Backdrop::OnMessage(UINT msg, WPARAM w, LPARAM l, bool& handled) {
    handled = true;
    switch (msg) {
    case WM_SIZE: {
        const LRESULT result = DefWindowProcA(Handle(), msg, w, l);
        if (w != SIZE_MINIMIZED) {
            HDC dc = GetDC(Handle());
            PaintPicture(dc);
            ReleaseDC(Handle(), dc);
        }
        return result;
    }
    case WM_QUERYDRAGICON: return (LRESULT)icon_.Get();
    case WM_SETCURSOR:
        if (KeepWaitCursor())
            return TRUE;
        break;
    case WM_CLOSE:
        // A run owns the backdrop until it ends; otherwise closing cancels.
        if (!running_)
            End(IDCANCEL);
        return 0;
    }
    handled = false;
    return 0;
}

void Backdrop::OnPaint(HDC dc) {
    if (!IsIconic(Handle())) {
        PaintPicture(dc);
        return;
    }
    RECT client;
    GetClientRect(Handle(), &client);
    SendMessageA(Handle(), WM_ICONERASEBKGND, (WPARAM)dc, 0);
    DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
             (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, icon_.Get());
}

void Backdrop::PaintPicture(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    ui::DrawBitmapCentred(dc, client, IDBMP_BACKDROP);
}

} // namespace

BackdropRuns InstallerRuns() {
    BackdropRuns runs;
    runs.install = RunInstallSequence;
    runs.uninstall = RunUninstallSequence;
    runs.relaunch = RunRelaunch;
    runs.wait = InstallerWait;
    return runs;
}

int RunBackdrop(Environment& env, const char* commandLine, const BackdropRuns& runs) {
    Backdrop backdrop(env, runs);
    return backdrop.Run(commandLine);
}

} // namespace installer
