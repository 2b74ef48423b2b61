// The serialization stream's wire format: doubles, dates and counted strings.
#include "kxRuzoVori/serialize/private/wxSerializeFormat.h"

#include <wx/image.h>

#include <cstring>

namespace wxSerializeFormat
{
namespace
{
int CountLeadingZeros(wxUint64 v)
{
    int n = 0;
    for (wxUint64 bit = wxUint64(1) << 63; bit != 0 && (v & bit) == 0; bit >>= 1)
        ++n;
    return n;
}

bool IsValidDate(unsigned day, unsigned month, unsigned year, unsigned hour, unsigned minute,
                 unsigned second, unsigned millisecond)
{
    if (month > 11 || day < 1 || hour > 23 || minute > 59 || second > 59 || millisecond > 999)
        return false;
    return day <= wxDateTime::GetNumberOfDays(static_cast<wxDateTime::Month>(month),
                                              static_cast<int>(year));
}
} // namespace

unsigned char* PutExtended(unsigned char* p, double value)
{
    wxUint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    const unsigned sign = static_cast<unsigned>(bits >> 63) << 15;
    const unsigned exponent = static_cast<unsigned>(bits >> 52) & 0x7FF;
    const wxUint64 fraction = bits & ((wxUint64(1) << 52) - 1);
    unsigned top = 0;
    wxUint64 mantissa = 0;
    if (exponent == 0x7FF)
    {
        // A NaN comes out quiet, as the hardware widens it; its payload stays.
        top = 0x7FFF;
        mantissa = (wxUint64(1) << 63) | (fraction << 11);
        if (fraction != 0)
            mantissa |= wxUint64(1) << 62;
    }
    else if (exponent != 0)
    {
        top = exponent + (16383 - 1023);
        mantissa = (wxUint64(1) << 63) | (fraction << 11);
    }
    else if (fraction != 0)
    {
        const int shift = CountLeadingZeros(fraction);
        top = static_cast<unsigned>(16383 - 1074 + 63 - shift);
        mantissa = fraction << shift;
    }
    p = kxPutBE16(p, static_cast<wxUint16>(sign | top));
    return kxPutBE64(p, mantissa);
}

double GetExtended(const unsigned char* p)
{
    const wxUint16 top = kxGetBE16(p);
    wxUint64 mantissa = kxGetBE64(p + 2);
    const wxUint64 sign = wxUint64(top >> 15) << 63;
    const int exponent = top & 0x7FFF;
    wxUint64 bits = sign;
    if (exponent == 0x7FFF)
    {
        wxUint64 fraction = (mantissa >> 11) & ((wxUint64(1) << 52) - 1);
        if ((mantissa << 1) != 0 && fraction == 0)
            fraction = wxUint64(1) << 51;
        bits |= (wxUint64(0x7FF) << 52) | fraction;
    }
    else if (mantissa != 0)
    {
        const int shift = CountLeadingZeros(mantissa);
        mantissa <<= shift;
        // Unbiased exponent of the leading one; the denormal exponent reads as 1.
        int unbiased = (exponent == 0 ? 1 : exponent) - 16383 - shift;
        if (unbiased > 1023)
        {
            bits |= wxUint64(0x7FF) << 52;
        }
        else
        {
            int drop = 11;
            if (unbiased < -1022)
                drop += -1022 - unbiased;
            wxUint64 kept = 0;
            bool up = false;
            if (drop < 64)
            {
                kept = mantissa >> drop;
                const wxUint64 rest = mantissa & ((wxUint64(1) << drop) - 1);
                const wxUint64 half = wxUint64(1) << (drop - 1);
                up = rest > half || (rest == half && (kept & 1) != 0);
            }
            else if (drop == 64)
            {
                up = mantissa > (wxUint64(1) << 63);
            }
            if (up)
                ++kept;
            if (unbiased < -1022)
            {
                // Subnormal: rounding up into the smallest normal sets the exponent field.
                bits |= kept;
            }
            else
            {
                if (kept == (wxUint64(1) << 53))
                {
                    kept >>= 1;
                    ++unbiased;
                }
                if (unbiased > 1023)
                    bits |= wxUint64(0x7FF) << 52;
                else
                    bits |= (wxUint64(unbiased + 1023) << 52) | (kept & ((wxUint64(1) << 52) - 1));
            }
        }
    }
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

wxUint32 CountUnits(const wxString& text)
{
    wxUint32 count = 0;
    for (wxString::const_iterator it = text.begin(); it != text.end(); ++it)
        count += wxUint32(*it) > 0xFFFF ? 2 : 1;
    return count;
}

void PutDate(unsigned char* p, const wxDateTime& value)
{
    std::memset(p, 0, kDateTimeSize);
    if (!value.IsValid())
        return;
    const wxDateTime::Tm tm = value.GetTm(wxDateTime::Local);
    p[0] = static_cast<unsigned char>(tm.mday);
    p[1] = static_cast<unsigned char>(tm.mon);
    kxPutBE16(p + 2, static_cast<wxUint16>(tm.year));
    p[4] = static_cast<unsigned char>(tm.hour);
    p[5] = static_cast<unsigned char>(tm.min);
    p[6] = static_cast<unsigned char>(tm.sec);
    kxPutBE16(p + 7, static_cast<wxUint16>(tm.msec));
}

wxDateTime GetDate(const unsigned char* bytes)
{
    const unsigned day = bytes[0];
    const unsigned month = bytes[1];
    const unsigned year = kxGetBE16(bytes + 2);
    const unsigned hour = bytes[4];
    const unsigned minute = bytes[5];
    const unsigned second = bytes[6];
    const unsigned millisecond = kxGetBE16(bytes + 7);
    // An invalid date is written with day 0; fields no calendar has read back as invalid too.
    if (!IsValidDate(day, month, year, hour, minute, second, millisecond))
        return wxDateTime();
    return wxDateTime(static_cast<wxDateTime::wxDateTime_t>(day),
                      static_cast<wxDateTime::Month>(month), static_cast<int>(year),
                      static_cast<wxDateTime::wxDateTime_t>(hour),
                      static_cast<wxDateTime::wxDateTime_t>(minute),
                      static_cast<wxDateTime::wxDateTime_t>(second),
                      static_cast<wxDateTime::wxDateTime_t>(millisecond));
}

void AddImageHandlers()
{
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
        wxImage::AddHandler(new wxPNGHandler);
    if (wxImage::FindHandler(wxBITMAP_TYPE_JPEG) == nullptr)
        wxImage::AddHandler(new wxJPEGHandler);
}
} // namespace wxSerializeFormat
