#include "toolkit/win32/picture_box.h"

#include "toolkit/win32/messages.h"
#include "toolkit/win32/pictures.h"

namespace toolkit::win32 {
namespace {

struct PictureBoxData {
    Picture picture;
    COLORREF backColor;
    int dpi;
};

PictureBoxData* DataOf(HWND window) {
    return reinterpret_cast<PictureBoxData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void Paint(HWND window, HDC dc) {
    const PictureBoxData* data = DataOf(window);
    if (!data)
        return;
    RECT client;
    GetClientRect(window, &client);
    HBRUSH back = CreateSolidBrush(data->backColor);
    FillRect(dc, &client, back);
    DeleteObject(back);
    DrawPicture(dc, data->picture, 0, 0, data->dpi);
}

LRESULT CALLBACK PictureBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_NCDESTROY:
            delete DataOf(window);
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            Paint(window, dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(window, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(window);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void RegisterPictureBoxClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PictureBoxProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kPictureBoxClass;
    RegisterClassA(&windowClass);
}

HWND CreatePictureBox(HWND parent, int id, DWORD style, int x, int y, int width, int height,
                      Picture picture, Rgb backColor, int dpi) {
    auto* data = new PictureBoxData{picture, RGB(backColor.r, backColor.g, backColor.b), dpi};
    HWND window = CreateWindowExA(0, kPictureBoxClass, "", style, x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleA(nullptr), data);
    if (!window)
        delete data;
    return window;
}

}  // namespace toolkit::win32
