// The bitmap painter: a resource drawn unscaled and centred, as the splash and the
// installer's backdrop show their pictures.
#include <windows.h>
#include <gtest/gtest.h>

#include "ui/bitmap.h"
#include "ui_test_ids.h"

namespace {

// The probe picture is 6 x 4 pixels; pixel (x, y) has red 40x + 10, green 60y + 5, blue 200.
COLORREF ProbePixel(int x, int y) {
    return RGB(40 * x + 10, 60 * y + 5, 200);
}

class Canvas {
  public:
    Canvas(int width, int height) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        RECT all = {0, 0, width, height};
        FillRect(dc_, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

  private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

const COLORREF kWhite = RGB(255, 255, 255);

} // namespace

TEST(Bitmap, IsDrawnUnscaledInTheMiddle) {
    Canvas canvas(20, 10);
    RECT client = {0, 0, 20, 10};
    ASSERT_TRUE(ui::DrawBitmapCentred(canvas.Dc(), client, IDBMP_PROBE));
    // Left at 20 / 2 - 6 / 2 = 7, top at 10 / 2 - 4 / 2 = 3.
    EXPECT_EQ(canvas.At(7, 3), ProbePixel(0, 0));
    EXPECT_EQ(canvas.At(12, 3), ProbePixel(5, 0));
    EXPECT_EQ(canvas.At(7, 6), ProbePixel(0, 3)) << "rows are not turned upside down";
    EXPECT_EQ(canvas.At(12, 6), ProbePixel(5, 3));
    EXPECT_EQ(canvas.At(6, 3), kWhite);
    EXPECT_EQ(canvas.At(13, 6), kWhite);
    EXPECT_EQ(canvas.At(7, 2), kWhite);
    EXPECT_EQ(canvas.At(7, 7), kWhite);
}

TEST(Bitmap, ASmallerClientCutsTheEdgesEvenly) {
    Canvas canvas(4, 2);
    RECT client = {0, 0, 4, 2};
    ASSERT_TRUE(ui::DrawBitmapCentred(canvas.Dc(), client, IDBMP_PROBE));
    // Left at 2 - 3 = -1, top at 1 - 2 = -1: one column and one row are cut on each side.
    EXPECT_EQ(canvas.At(0, 0), ProbePixel(1, 1));
    EXPECT_EQ(canvas.At(3, 1), ProbePixel(4, 2));
}

TEST(Bitmap, AMissingResourceDrawsNothing) {
    Canvas canvas(20, 10);
    RECT client = {0, 0, 20, 10};
    EXPECT_FALSE(ui::DrawBitmapCentred(canvas.Dc(), client, 4321));
    EXPECT_EQ(canvas.At(10, 5), kWhite);
}
