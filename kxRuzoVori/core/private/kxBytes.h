// Big-endian numbers in byte arrays, the order of the library's wire and file formats. The
// compiler turns each into one load or store and a byte swap.
#ifndef KXRUZOVORI_CORE_PRIVATE_KXBYTES_H
#define KXRUZOVORI_CORE_PRIVATE_KXBYTES_H

#include <cstdint>
#include <cstring>

namespace kxBytesDetail
{
template <class T> T FromHost(T value)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return value;
#else
    if constexpr (sizeof(T) == 2)
        return __builtin_bswap16(value);
    else if constexpr (sizeof(T) == 4)
        return __builtin_bswap32(value);
    else
        return __builtin_bswap64(value);
#endif
}

template <class T> T Get(const unsigned char* p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return FromHost(value);
}

template <class T> unsigned char* Put(unsigned char* p, T value)
{
    value = FromHost(value);
    std::memcpy(p, &value, sizeof value);
    return p + sizeof value;
}
} // namespace kxBytesDetail

// The number whose bytes, most significant first, are at p.
inline std::uint16_t kxGetBE16(const unsigned char* p)
{
    return kxBytesDetail::Get<std::uint16_t>(p);
}

inline std::uint32_t kxGetBE32(const unsigned char* p)
{
    return kxBytesDetail::Get<std::uint32_t>(p);
}

inline std::uint64_t kxGetBE64(const unsigned char* p)
{
    return kxBytesDetail::Get<std::uint64_t>(p);
}

// Writes value at p, most significant byte first; returns the place after it.
inline unsigned char* kxPutBE16(unsigned char* p, std::uint16_t value)
{
    return kxBytesDetail::Put(p, value);
}

inline unsigned char* kxPutBE32(unsigned char* p, std::uint32_t value)
{
    return kxBytesDetail::Put(p, value);
}

inline unsigned char* kxPutBE64(unsigned char* p, std::uint64_t value)
{
    return kxBytesDetail::Put(p, value);
}

// The same, least significant byte first (the order of the toolkit's IPC framing).
inline std::uint32_t kxGetLE32(const unsigned char* p)
{
    return __builtin_bswap32(kxGetBE32(p));
}

inline unsigned char* kxPutLE32(unsigned char* p, std::uint32_t value)
{
    return kxPutBE32(p, __builtin_bswap32(value));
}

#endif
