// The floor for the start-up benchmark: one modal dialog from a template,
// built and linked the same way as the wizard, and nothing else.
#include <windows.h>

namespace {
INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) {
        EndDialog(hwnd, LOWORD(w));
        return TRUE;
    }
    return FALSE;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(1), nullptr, Proc, 0));
}
