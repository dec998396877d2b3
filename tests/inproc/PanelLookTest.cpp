// The panel's look and mouse behaviour: its shape and size, the picture on its face, the
// sliders' colours, dragging by the face, the hot spots that hide it, the cursor over them,
// staying hidden at start, and Enter and Escape doing nothing.
#include <doctest/doctest.h>
#include "tests/inproc/PanelFixture.h"
#include "tests/support/TempDir.h"
#include "ui/FileBitmap.h"

#include <string>
#include <vector>

namespace {
const COLORREF kMarker = RGB(1, 2, 3);  // what a canvas holds before anything paints on it

// A memory device context with a bitmap of its own, filled with kMarker.
class Canvas {
public:
    Canvas(int width, int height) : m_dc(CreateCompatibleDC(nullptr)) {
        HDC screen = GetDC(nullptr);
        m_bitmap.Reset(CreateCompatibleBitmap(screen, width, height));
        ReleaseDC(nullptr, screen);
        m_previous = SelectObject(m_dc.Get(), m_bitmap.Get());
        Fill(kMarker);
    }
    ~Canvas() { SelectObject(m_dc.Get(), m_previous); }
    HDC Dc() const { return m_dc.Get(); }
    void Fill(COLORREF colour) {
        UniqueBrush brush(CreateSolidBrush(colour));
        BITMAP info = {};
        GetObjectW(m_bitmap.Get(), sizeof info, &info);
        const RECT all = {0, 0, info.bmWidth, info.bmHeight};
        FillRect(m_dc.Get(), &all, brush.Get());
    }
    COLORREF Pixel(int x, int y) const { return GetPixel(m_dc.Get(), x, y); }

private:
    UniqueMemoryDC m_dc;
    UniqueBitmap m_bitmap;
    HGDIOBJ m_previous = nullptr;
};

// A 24-bit bitmap file, `width` x `height`, whose top row is `top` and every other row `rest`.
std::string BitmapFile(int width, int height, COLORREF top, COLORREF rest) {
    const int stride = (width * 3 + 3) & ~3;
    const DWORD pixels = static_cast<DWORD>(stride * height);
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + pixels;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up: the last row in the file is the top one
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::string data(reinterpret_cast<const char*>(&file), sizeof file);
    data.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int row = 0; row < height; ++row) {
        const COLORREF c = row == height - 1 ? top : rest;
        std::string line(stride, '\0');
        for (int x = 0; x < width; ++x) {
            line[x * 3 + 0] = static_cast<char>(GetBValue(c));
            line[x * 3 + 1] = static_cast<char>(GetGValue(c));
            line[x * 3 + 2] = static_cast<char>(GetRValue(c));
        }
        data += line;
    }
    return data;
}

std::wstring Picture(const PanelFixture& f) { return f.tree.Dir() + L"\\Resource\\bk.bmp"; }

bool WritePicture(const PanelFixture& f, int width, int height, COLORREF top, COLORREF rest) {
    const std::string data = BitmapFile(width, height, top, rest);
    return WriteBinaryFile(Picture(f), data.data(), data.size());
}

POINT ToScreen(HWND hwnd, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

LRESULT HitTest(HWND hwnd, int x, int y) {
    const POINT s = ToScreen(hwnd, x, y);
    return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y));
}

RECT ChildRect(HWND parent, int id) {
    RECT r = {};
    GetWindowRect(GetDlgItem(parent, id), &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A panel that stays up for the whole test: the start-up hide timer is stopped.
bool StartVisible(PanelFixture& f) {
    if (!f.Start()) return false;
    KillTimer(f.Hwnd(), kTimerHideAtStart);
    return IsWindowVisible(f.Hwnd()) != FALSE;
}

std::string UserIniWithHide(const char* value) {
    std::string text = "[SoftInfo]\r\nVersion=3.0.1\r\n[Device]\r\n";
    if (value) text += std::string("bHideTelvarionDlg=") + value + "\r\n";
    return text;
}
}  // namespace

TEST_CASE("panel look: the panel is a 300x305 rounded window with both sliders in place") {
    PanelFixture f;
    REQUIRE(StartVisible(f));
    const HWND hwnd = f.Hwnd();

    RECT window = {};
    GetWindowRect(hwnd, &window);
    CHECK(window.right - window.left == 300);
    CHECK(window.bottom - window.top == 305);

    // The platform's rounded rectangle leaves out the last column and row, as its ellipses do.
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    UniqueRegion expected(CreateRoundRectRgn(0, 0, 300, 305, 50, 50));
    REQUIRE(region);
    CHECK(GetWindowRgn(hwnd, region.Get()) == COMPLEXREGION);
    // Same area (the window system may store it in fewer rectangles, so compare by difference).
    UniqueRegion difference(CreateRectRgn(0, 0, 0, 0));
    CHECK(CombineRgn(difference.Get(), region.Get(), expected.Get(), RGN_XOR) == NULLREGION);
    CHECK_FALSE(PtInRegion(region.Get(), 1, 1));
    CHECK_FALSE(PtInRegion(region.Get(), 297, 302));
    CHECK(PtInRegion(region.Get(), 150, 0));
    CHECK(PtInRegion(region.Get(), 0, 150));

    const RECT speaker = ChildRect(hwnd, IDC_SLIDER_SPEAKER);
    const RECT mic = ChildRect(hwnd, IDC_SLIDER_MIC);
    CHECK(speaker.left == 51);
    CHECK(speaker.top == 96);
    CHECK(speaker.right - speaker.left == 80);
    CHECK(speaker.bottom - speaker.top == 15);
    CHECK(mic.left == 167);
    CHECK(mic.top == 96);
    CHECK(mic.right - mic.left == 80);
    CHECK(mic.bottom - mic.top == 15);
    CHECK_FALSE(IsWindowVisible(GetDlgItem(hwnd, IDC_HIDDEN_BUTTON_RIGHT)));
    CHECK_FALSE(IsWindowVisible(GetDlgItem(hwnd, IDC_HIDDEN_BUTTON_LEFT)));
}

TEST_CASE("panel look: a plain left click on a hot spot hides the panel; elsewhere the face drags it") {
    PanelFixture f;
    REQUIRE(StartVisible(f));
    const HWND hwnd = f.Hwnd();

    struct Case {
        int x, y;
        WPARAM keys;
        bool hides;
    };
    // The hot spots are 262..278 x 25..39 and 242..258 x 25..39, both ends included.
    const Case cases[] = {
        {262, 25, MK_LBUTTON, true},
        {278, 39, MK_LBUTTON, true},
        {242, 25, MK_LBUTTON, true},
        {258, 39, MK_LBUTTON, true},
        {279, 40, MK_LBUTTON, false},
        {279, 30, MK_LBUTTON, false},
        {262, 24, MK_LBUTTON, false},
        {260, 30, MK_LBUTTON, false},  // between the two
        {241, 30, MK_LBUTTON, false},
        {262, 25, MK_LBUTTON | MK_SHIFT, false},
        {262, 25, MK_LBUTTON | MK_CONTROL, false},
        {242, 25, MK_LBUTTON | MK_RBUTTON, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.x);
        CAPTURE(c.y);
        CAPTURE(c.keys);
        ShowWindow(hwnd, SW_SHOW);
        REQUIRE(IsWindowVisible(hwnd));
        // The press reaches the panel as a client click only on the hot spots; anywhere else
        // the hit test makes it a caption press, which drags.
        if (c.keys == MK_LBUTTON) CHECK(HitTest(hwnd, c.x, c.y) == (c.hides ? HTCLIENT : HTCAPTION));
        SendMessageW(hwnd, WM_LBUTTONDOWN, c.keys, MAKELPARAM(c.x, c.y));
        CHECK((IsWindowVisible(hwnd) == FALSE) == c.hides);
        CHECK(IsWindow(hwnd));
    }
}

TEST_CASE("panel look: the hand cursor shows over the hot spots and the arrow one pixel outside") {
    PanelFixture f;
    REQUIRE(StartVisible(f));
    const HWND hwnd = f.Hwnd();
    // The cursor must be able to reach the hot spots: put the panel on the screen's top-left.
    SetWindowPos(hwnd, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    REQUIRE(hand != arrow);

    struct Case {
        int x, y;
        bool hand;
    };
    const Case cases[] = {
        {262, 25, true}, {278, 39, true}, {242, 25, true}, {258, 39, true},
        {279, 39, false}, {262, 24, false}, {259, 30, false}, {242, 40, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.x);
        CAPTURE(c.y);
        const POINT s = ToScreen(hwnd, c.x, c.y);
        REQUIRE(SetCursorPos(s.x, s.y));
        POINT now = {};
        GetCursorPos(&now);
        REQUIRE(now.x == s.x);
        REQUIRE(now.y == s.y);
        SetCursor(nullptr);
        const LRESULT hit = HitTest(hwnd, c.x, c.y);
        const LRESULT handled = SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(hit, WM_MOUSEMOVE));
        CHECK(GetCursor() == (c.hand ? hand : arrow));
        if (c.hand) CHECK(handled == TRUE);
    }
}

TEST_CASE("panel look: the sliders' backgrounds are the speaker and microphone colours") {
    PanelFixture f;
    REQUIRE(StartVisible(f));
    const HWND hwnd = f.Hwnd();
    Canvas canvas(80, 15);

    struct Case {
        int id;
        COLORREF colour;
    };
    for (const Case& c : {Case{IDC_SLIDER_SPEAKER, RGB(163, 233, 34)}, Case{IDC_SLIDER_MIC, RGB(230, 248, 34)}}) {
        CAPTURE(c.id);
        const HWND slider = GetDlgItem(hwnd, c.id);
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.Dc()), reinterpret_cast<LPARAM>(slider)));
        LOGBRUSH info = {};
        REQUIRE(GetObjectW(brush, sizeof info, &info) == sizeof info);
        CHECK(info.lbStyle == BS_SOLID);
        CHECK(info.lbColor == c.colour);

        // And the trackbar really paints with it.
        canvas.Fill(kMarker);
        SendMessageW(slider, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
        CHECK(canvas.Pixel(0, 0) == c.colour);
    }

    // Any other control gets the dialog's usual answer.
    const auto other = reinterpret_cast<HBRUSH>(SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.Dc()),
                                                              reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDC_HIDDEN_BUTTON_LEFT))));
    LOGBRUSH info = {};
    REQUIRE(GetObjectW(other, sizeof info, &info) == sizeof info);
    CHECK(info.lbColor == GetSysColor(COLOR_3DFACE));
}

TEST_CASE("panel look: the sliders leave their background unerased") {
    PanelFixture f;
    REQUIRE(StartVisible(f));
    Canvas canvas(80, 15);
    for (int id : {IDC_SLIDER_SPEAKER, IDC_SLIDER_MIC}) {
        CAPTURE(id);
        canvas.Fill(kMarker);
        CHECK(SendMessageW(GetDlgItem(f.Hwnd(), id), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0) == TRUE);
        CHECK(canvas.Pixel(0, 0) == kMarker);
        CHECK(canvas.Pixel(79, 14) == kMarker);
    }
}

TEST_CASE("panel look: the face is bk.bmp at its own size over the default background") {
    PanelFixture f;
    const COLORREF top = RGB(200, 10, 20), rest = RGB(10, 120, 240);
    REQUIRE(WritePicture(f, 40, 20, top, rest));
    REQUIRE(StartVisible(f));
    Canvas canvas(300, 305);
    const auto erase = [&] {
        canvas.Fill(kMarker);
        return SendMessageW(f.Hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
    };

    CHECK(erase() != 0);
    CHECK(canvas.Pixel(0, 0) == top);
    CHECK(canvas.Pixel(39, 0) == top);
    CHECK(canvas.Pixel(0, 1) == rest);
    CHECK(canvas.Pixel(39, 19) == rest);
    // Not stretched: beyond the picture the default erase shows.
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    CHECK(canvas.Pixel(40, 0) == face);
    CHECK(canvas.Pixel(0, 20) == face);
    CHECK(canvas.Pixel(299, 304) == face);

    SUBCASE("the picture is read at every erase") {
        REQUIRE(WritePicture(f, 10, 10, rest, top));
        CHECK(erase() != 0);
        CHECK(canvas.Pixel(0, 0) == rest);
        CHECK(canvas.Pixel(0, 5) == top);
        CHECK(canvas.Pixel(20, 15) == face);
    }
    SUBCASE("without the picture only the default background remains") {
        REQUIRE(DeleteFileW(Picture(f).c_str()));
        CHECK(erase() != 0);
        CHECK(canvas.Pixel(0, 0) == face);
        CHECK(canvas.Pixel(150, 150) == face);
        CHECK(IsWindow(f.Hwnd()));
    }
    SUBCASE("a picture that is not a bitmap is ignored") {
        REQUIRE(WriteTextFile(Picture(f), "not a bitmap"));
        CHECK(erase() != 0);
        CHECK(canvas.Pixel(0, 0) == face);
    }
}

TEST_CASE("panel look: erasing the face again and again does not use up GDI objects") {
    // Each erase creates a bitmap and a memory context. Counting objects is not possible under
    // Wine (GetGuiResources answers 0), so the test fills the process's GDI table until only
    // a few thousand entries are free and then erases more times than that: one object kept
    // per erase would fill the table, and the last erases would paint nothing.
    PanelFixture f;
    REQUIRE(StartVisible(f));
    Canvas canvas(300, 305);
    const RECT all = {0, 0, 300, 305};
    UniqueBrush marker(CreateSolidBrush(kMarker));
    COLORREF expected = CLR_INVALID;
    {
        CFileBitmap picture;
        REQUIRE(picture.Load(Picture(f).c_str(), false));
        UniqueMemoryDC source(CreateCompatibleDC(nullptr));
        SelectedObject selected(source.Get(), picture.Get());
        expected = GetPixel(source.Get(), 0, 0);
    }
    REQUIRE(expected != kMarker);

    constexpr size_t kFree = 2000;
    constexpr int kCycles = 3000;
    std::vector<UniqueBrush> filler;
    filler.reserve(70000);
    for (;;) {
        HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
        if (!brush) break;
        filler.emplace_back(brush);
        if (filler.size() >= 70000) break;  // a table larger than expected: stop filling
    }
    REQUIRE(filler.size() > kFree);
    filler.resize(filler.size() - kFree);

    const DWORD start = GetTickCount();
    int painted = 0;
    for (int i = 0; i < kCycles; ++i) {
        FillRect(canvas.Dc(), &all, marker.Get());
        SendMessageW(f.Hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
        painted += canvas.Pixel(0, 0) == expected;
    }
    const DWORD elapsed = GetTickCount() - start;
    std::vector<UniqueBrush> more;
    for (size_t i = 0; i < kFree / 2; ++i) more.emplace_back(CreateSolidBrush(RGB(8, 8, 8)));
    const bool roomLeft = more.back().Get() != nullptr;
    more.clear();
    const size_t filled = filler.size();
    filler.clear();

    MESSAGE(kCycles << " erases with " << kFree << " free GDI entries (" << filled << " filled) in " << elapsed << " ms");
    CHECK(painted == kCycles);
    CHECK(roomLeft);
}

TEST_CASE("panel look: bHideTelvarionDlg \"1\" keeps the panel hidden at start, anything else leaves it to the timer") {
    struct Case {
        const char* value;
        bool hidden;
    };
    const Case cases[] = {{"1", true}, {"0", false}, {"", false}, {"1x", false}, {nullptr, false}};
    for (const Case& c : cases) {
        const std::string shown = c.value ? std::string("\"") + c.value + "\"" : "(missing)";
        CAPTURE(shown);
        PanelFixture f;
        f.tree.WriteUserIni(UserIniWithHide(c.value));
        REQUIRE(f.Start());
        const HWND hwnd = f.Hwnd();
        CHECK(f.panel->HideAtStart() == c.hidden);
        CHECK((IsWindowVisible(hwnd) == FALSE) == c.hidden);
        // Timer 3 runs only for a panel that showed.
        CHECK((KillTimer(hwnd, kTimerHideAtStart) != FALSE) == !c.hidden);
        if (!c.hidden) continue;

        // Show requests work again once the few at start are used up.
        int requests = 0;
        while (!IsWindowVisible(hwnd) && requests < 10) {
            ShowWindow(hwnd, SW_SHOW);
            ++requests;
        }
        CHECK(IsWindowVisible(hwnd));
        CHECK(requests <= 6);
        f.panel->HidePanel();
        CHECK_FALSE(IsWindowVisible(hwnd));
        ShowWindow(hwnd, SW_SHOW);
        CHECK(IsWindowVisible(hwnd));
    }
}

TEST_CASE("panel look: without the hide flag the panel shows at start and is hidden two seconds later") {
    PanelFixture f;
    f.tree.WriteUserIni(UserIniWithHide("0"));
    const DWORD start = GetTickCount();
    REQUIRE(f.Start());
    CHECK(IsWindowVisible(f.Hwnd()));
    CHECK(PumpUntil([&] { return !IsWindowVisible(f.Hwnd()); }, 5000));
    const DWORD elapsed = GetTickCount() - start;
    CHECK(elapsed >= 1800);
    CHECK(IsWindow(f.Hwnd()));
}

TEST_CASE("panel look: Enter and Escape leave the panel open") {
    PanelFixture f;
    REQUIRE(StartVisible(f));
    const HWND hwnd = f.Hwnd();
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        CAPTURE(key);
        // What the modal loop does with the key: the dialog manager turns it into IDOK or IDCANCEL.
        MSG msg = {hwnd, WM_KEYDOWN, key, 0, GetTickCount(), {}};
        IsDialogMessageW(hwnd, &msg);
        PumpFor(0);
        CHECK(IsWindow(hwnd));
        CHECK(IsWindowVisible(hwnd));
    }
    for (int command : {IDOK, IDCANCEL}) {
        CAPTURE(command);
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
        PumpFor(0);
        CHECK(IsWindow(hwnd));
        CHECK(IsWindowVisible(hwnd));
    }
}

TEST_CASE("panel look: CFileBitmap loads by path or by a name beside the program") {
    PanelFixture f;
    REQUIRE(WritePicture(f, 3, 2, RGB(1, 1, 1), RGB(2, 2, 2)));

    CFileBitmap holder;
    CHECK(holder.Load(L"\\Resource\\bk.bmp", true));
    BITMAP info = {};
    REQUIRE(GetObjectW(holder.Get(), sizeof info, &info) == sizeof info);
    CHECK(info.bmWidth == 3);
    CHECK(info.bmHeight == 2);

    CHECK(holder.Load(Picture(f).c_str(), false));
    CHECK(holder.Get());
    // The name is appended as it stands: without its own backslash it names another file.
    CHECK_FALSE(holder.Load(L"Resource\\bk.bmp", true));
    CHECK_FALSE(holder.Get());

    // A name too long for a path loads nothing, whichever way it is given.
    const std::wstring longName = L"\\" + std::wstring(400, L'a') + L".bmp";
    CHECK(holder.Load(L"\\Resource\\bk.bmp", true));
    CHECK_FALSE(holder.Load(longName.c_str(), true));
    CHECK_FALSE(holder.Get());
    CHECK_FALSE(holder.Load(longName.c_str(), false));
}
