// velmora-test: desktop
#include <gtest/gtest.h>
#include "shell/app_globals.h"
#include "shell/picture_dialogs.h"
#include "shell/startup.h"
#include "support/test_support.h"
#include <cstring>
#include <string>
#include <vector>

namespace {

// A 24-bit BMP of 8 x 8 pixels in one colour.
std::vector<unsigned char> SolidBmp(unsigned char red, unsigned char green, unsigned char blue)
{
    const int size = 8, stride = size * 3, bits = stride * size;
    std::vector<unsigned char> file(14 + 40 + bits, 0);
    auto put32 = [&](size_t at, unsigned value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<unsigned>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, size);
    put32(22, size);
    file[26] = 1;
    file[28] = 24;
    put32(34, bits);
    for (int i = 0; i < size * size; ++i) {
        file[54 + i * 3] = blue;
        file[54 + i * 3 + 1] = green;
        file[54 + i * 3 + 2] = red;
    }
    return file;
}

struct DialogRun {
    RECT placement = {0, 0, 0, 0}, client = {0, 0, 0, 0};
    COLORREF pixel = CLR_INVALID;
    bool seen = false;
    int ticks = 0;
};
DialogRun dialogRun;

// Runs inside the dialog's modal loop: looks at the dialog, then clicks it away.
VOID CALLBACK InspectAndClick(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowExA(nullptr, nullptr, MAKEINTATOM(32770), nullptr);
    while (dialog && GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId())
        dialog = FindWindowExA(nullptr, dialog, MAKEINTATOM(32770), nullptr);
    if (!dialog || !IsWindowVisible(dialog))
        return;
    // Other tests' windows may lie over the middle of the screen: keep this one on top
    // and read again until its pixels can be seen (a second at most).
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateWindow(dialog);
    HDC dc = GetDC(dialog);
    dialogRun.pixel = GetPixel(dc, 3, 3);
    ReleaseDC(dialog, dc);
    if (dialogRun.pixel == CLR_INVALID && ++dialogRun.ticks < 20)
        return;
    KillTimer(nullptr, timer);
    dialogRun.seen = true;
    GetWindowRect(dialog, &dialogRun.placement);
    GetClientRect(dialog, &dialogRun.client);
    SendMessageA(dialog, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
}

class PictureDialogs : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InitStartupState(GetModuleHandleA(nullptr), nullptr));
        dialogRun = DialogRun();
    }
    INT_PTR Run(DLGPROC procedure)
    {
        SetTimer(nullptr, 0, 50, InspectAndClick);
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(PictureDialogTemplate), nullptr,
                               procedure, 0);
    }
};

TEST_F(PictureDialogs, AboutBoxShowsItsPictureCentredAndClosesOnAClick)
{
    ASSERT_TRUE(vtest::WriteFileBytes("Z!QW.ZSI", SolidBmp(255, 0, 0)));
    EXPECT_EQ(1, Run(AboutDlgProc));
    ASSERT_TRUE(dialogRun.seen);
    EXPECT_EQ((screenWidth - 506) / 2, dialogRun.placement.left);
    EXPECT_EQ((screenHeight - 356) / 2, dialogRun.placement.top);
    EXPECT_EQ(506, dialogRun.placement.right - dialogRun.placement.left);
    EXPECT_EQ(356, dialogRun.placement.bottom - dialogRun.placement.top);
    EXPECT_EQ(RGB(255, 0, 0), dialogRun.pixel);
    // The zone window, made from the same template, shows the zone maps shipped whole.
    for (const char* map : {"USA", "AKHI", "EUROPE", "CANADA", "AUSTRALIA"}) {
        const auto f = vtest::ReadFileBytes(vtest::SourceFilePath(std::string("ZONES/") + map + ".HZN"));
        EXPECT_TRUE(f.size() > 26 && (f[18] | f[19] << 8) == dialogRun.client.right &&
                    (f[22] | f[23] << 8) == dialogRun.client.bottom) << map;
    }
}

TEST_F(PictureDialogs, PictureDialogShowsTheOtherPicture)
{
    ASSERT_TRUE(vtest::WriteFileBytes("Z!QW.ZSI", SolidBmp(255, 0, 0)));
    ASSERT_TRUE(vtest::WriteFileBytes("Z!.SID", SolidBmp(0, 0, 255)));
    EXPECT_EQ(1, Run(PictureDlgProc));
    ASSERT_TRUE(dialogRun.seen);
    EXPECT_EQ(RGB(0, 0, 255), dialogRun.pixel);
}

TEST_F(PictureDialogs, MissingPictureLeavesTheDialogBlank)
{
    EXPECT_EQ(1, Run(AboutDlgProc));
    ASSERT_TRUE(dialogRun.seen);
    EXPECT_NE(CLR_INVALID, dialogRun.pixel);
    EXPECT_NE(RGB(255, 0, 0), dialogRun.pixel);
    EXPECT_NE(RGB(0, 0, 255), dialogRun.pixel);
}

} // namespace
