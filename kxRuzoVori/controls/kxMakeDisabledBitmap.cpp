// Greying a bitmap for a disabled tool.
#include "kxRuzoVori/controls/kxMakeDisabledBitmap.h"

#include <wx/image.h>

#include <array>

namespace
{
// The greyed value of every channel value, computed once: 255 + (c - 255) * 0.4, truncated.
std::array<unsigned char, 256> MakeGreyTable()
{
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
    {
        const int grey = static_cast<int>(255.0 + (c - 255.0) * 0.4);
        table[c] = static_cast<unsigned char>(grey < 0 ? 0 : grey > 255 ? 255 : grey);
    }
    return table;
}
} // namespace

wxBitmap kxMakeDisabledBitmap(const wxBitmap& bitmap)
{
    if (!bitmap.IsOk())
        return wxBitmap();
    static const std::array<unsigned char, 256> grey = MakeGreyTable();
    wxImage image = bitmap.ConvertToImage();
    const bool masked = image.HasMask();
    // Greyed colours are light (every channel 153 or more): a light mask colour could be met by a
    // greyed pixel, which would then turn transparent. The mask is given a dark colour first.
    if (masked && image.GetMaskRed() >= grey[0] && image.GetMaskGreen() >= grey[0] &&
        image.GetMaskBlue() >= grey[0])
    {
        unsigned char red = 0, green = 0, blue = 0;
        if (image.FindFirstUnusedColour(&red, &green, &blue, 0, 0, 0))
        {
            image.Replace(image.GetMaskRed(), image.GetMaskGreen(), image.GetMaskBlue(), red, green,
                          blue);
            image.SetMaskColour(red, green, blue);
        }
    }
    const unsigned char maskRed = masked ? image.GetMaskRed() : 0;
    const unsigned char maskGreen = masked ? image.GetMaskGreen() : 0;
    const unsigned char maskBlue = masked ? image.GetMaskBlue() : 0;
    unsigned char* rgb = image.GetData();
    const size_t pixels = static_cast<size_t>(image.GetWidth()) * image.GetHeight();
    for (size_t i = 0; i < pixels; ++i, rgb += 3)
    {
        if (masked && rgb[0] == maskRed && rgb[1] == maskGreen && rgb[2] == maskBlue)
            continue;
        rgb[0] = grey[rgb[0]];
        rgb[1] = grey[rgb[1]];
        rgb[2] = grey[rgb[2]];
    }
    return wxBitmap(image);
}
