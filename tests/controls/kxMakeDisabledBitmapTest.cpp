// The greyed copy of a tool image: its colours and its transparency.
#include "kxRuzoVori/controls/kxMakeDisabledBitmap.h"

#include <gtest/gtest.h>
#include <wx/image.h>

namespace
{
// A 4 x 1 image: black, white, mid grey and a colour.
wxImage Strip()
{
    wxImage image(4, 1);
    image.SetRGB(0, 0, 0, 0, 0);
    image.SetRGB(1, 0, 255, 255, 255);
    image.SetRGB(2, 0, 128, 128, 128);
    image.SetRGB(3, 0, 10, 100, 200);
    return image;
}

void ExpectPixel(const wxImage& image, int x, int red, int green, int blue)
{
    EXPECT_EQ(image.GetRed(x, 0), red) << "pixel " << x;
    EXPECT_EQ(image.GetGreen(x, 0), green) << "pixel " << x;
    EXPECT_EQ(image.GetBlue(x, 0), blue) << "pixel " << x;
}
} // namespace

TEST(kxMakeDisabledBitmap, GreysEveryChannelTowardsWhite)
{
    const wxBitmap normal(Strip());
    const wxImage greyed = kxMakeDisabledBitmap(normal).ConvertToImage();
    ExpectPixel(greyed, 0, 153, 153, 153);
    ExpectPixel(greyed, 1, 255, 255, 255);
    ExpectPixel(greyed, 2, 204, 204, 204);
    // 255 - 245 * 0.4 = 157, 255 - 155 * 0.4 = 193, 255 - 55 * 0.4 = 233: truncated
    ExpectPixel(greyed, 3, 157, 193, 233);
    ExpectPixel(normal.ConvertToImage(), 0, 0, 0, 0);
    EXPECT_FALSE(kxMakeDisabledBitmap(wxNullBitmap).IsOk());
}

TEST(kxMakeDisabledBitmap, TransparencyStaysAsItWas)
{
    // Masked pixels stay transparent, even where the mask colour is one a greyed pixel could
    // take: 118 greys to 200.
    for (unsigned char mask : {1, 200})
    {
        wxImage image = Strip();
        image.SetRGB(1, 0, mask, mask, mask);
        image.SetRGB(2, 0, 118, 118, 118);
        image.SetMaskColour(mask, mask, mask);
        const wxImage greyed = kxMakeDisabledBitmap(wxBitmap(image)).ConvertToImage();
        ASSERT_TRUE(greyed.HasMask());
        EXPECT_TRUE(greyed.IsTransparent(1, 0)) << "mask " << int(mask);
        EXPECT_FALSE(greyed.IsTransparent(2, 0)) << "mask " << int(mask);
        ExpectPixel(greyed, 2, 200, 200, 200);
        ExpectPixel(greyed, 0, 153, 153, 153);
    }

    wxImage image = Strip();
    image.InitAlpha();
    image.SetAlpha(1, 0, 77);
    const wxImage greyed = kxMakeDisabledBitmap(wxBitmap(image)).ConvertToImage();
    ASSERT_TRUE(greyed.HasAlpha());
    EXPECT_EQ(greyed.GetAlpha(1, 0), 77);
    ExpectPixel(greyed, 2, 204, 204, 204);
}
