// The DES tables, the key schedule and the table-driven block function.
#include "kxRuzoVori/cipher/kxDesKeySchedule.h"

#include "kxRuzoVori/core/private/kxBytes.h"

#include <array>

namespace
{
// The tables of the DES standard, bit positions counted from 1 at the most significant bit.
constexpr unsigned char kPermutedChoice1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
    35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
    46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr unsigned char kPermutedChoice2[48] = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr unsigned char kKeyShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr unsigned char kPermutationP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23,
                                             26, 5, 18, 31, 10, 2,  8,  24, 14, 32, 27,
                                             3,  9, 19, 13, 30, 6,  22, 11, 4,  25};

constexpr unsigned char kSBoxes[8][4][16] = {
    {{14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7},
     {0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8},
     {4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0},
     {15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13}},
    {{15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10},
     {3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5},
     {0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15},
     {13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9}},
    {{10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8},
     {13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1},
     {13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7},
     {1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12}},
    {{7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15},
     {13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9},
     {10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4},
     {3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14}},
    {{2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9},
     {14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6},
     {4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14},
     {11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3}},
    {{12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11},
     {10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8},
     {9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6},
     {4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13}},
    {{4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1},
     {13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6},
     {1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2},
     {6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12}},
    {{13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7},
     {1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2},
     {7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8},
     {2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11}}};

// The halves travel rotated right by this many bits: then the four even-numbered 6-bit groups of
// the expansion sit in the low six bits of the four bytes of the half, and the four odd-numbered
// ones in the same places after a rotation by four, so a round needs no expansion table.
constexpr int kRotation = 3;

constexpr std::uint32_t RotateRight(std::uint32_t value, int bits)
{
    return (value >> bits) | (value << (32 - bits));
}

constexpr std::uint32_t RotateLeft(std::uint32_t value, int bits)
{
    return (value << bits) | (value >> (32 - bits));
}

// One S-box followed by the permutation P, for every 6-bit input, with the result already rotated
// the way the halves are kept.
using kxSpTables = std::array<std::array<std::uint32_t, 64>, 8>;

constexpr kxSpTables MakeSpTables()
{
    kxSpTables tables{};
    for (int box = 0; box < 8; ++box)
    {
        for (int input = 0; input < 64; ++input)
        {
            const int row = ((input >> 4) & 2) | (input & 1);
            const int column = (input >> 1) & 15;
            const std::uint32_t substituted = std::uint32_t(kSBoxes[box][row][column])
                                              << (28 - 4 * box);
            std::uint32_t permuted = 0;
            for (int bit = 0; bit < 32; ++bit)
                if (substituted & (0x80000000u >> (kPermutationP[bit] - 1)))
                    permuted |= 0x80000000u >> bit;
            tables[box][input] = RotateRight(permuted, kRotation);
        }
    }
    return tables;
}

constexpr kxSpTables kSp = MakeSpTables();

// Exchanges the bits of a selected by mask << shift with the bits of b selected by mask.
inline void SwapBits(std::uint32_t& a, std::uint32_t& b, int shift, std::uint32_t mask)
{
    const std::uint32_t t = ((a >> shift) ^ b) & mask;
    b ^= t;
    a ^= t << shift;
}

inline std::uint32_t Feistel(std::uint32_t half, std::uint32_t even, std::uint32_t odd)
{
    const std::uint32_t e = (half & 0x3f3f3f3fu) ^ even;
    const std::uint32_t o = (RotateLeft(half, 4) & 0x3f3f3f3fu) ^ odd;
    return kSp[0][e >> 24] ^ kSp[2][(e >> 16) & 0xff] ^ kSp[4][(e >> 8) & 0xff] ^ kSp[6][e & 0xff] ^
           kSp[1][o >> 24] ^ kSp[3][(o >> 16) & 0xff] ^ kSp[5][(o >> 8) & 0xff] ^ kSp[7][o & 0xff];
}
} // namespace

void kxDesKeySchedule::Build(const unsigned char* key, bool decrypt)
{
    std::uint64_t key64 = 0;
    for (int i = 0; i < 8; ++i)
        key64 = (key64 << 8) | key[i];
    std::uint32_t c = 0, d = 0;
    for (int i = 0; i < 28; ++i)
    {
        c = (c << 1) | std::uint32_t((key64 >> (64 - kPermutedChoice1[i])) & 1);
        d = (d << 1) | std::uint32_t((key64 >> (64 - kPermutedChoice1[i + 28])) & 1);
    }
    for (int round = 0; round < 16; ++round)
    {
        const int shift = kKeyShifts[round];
        c = ((c << shift) | (c >> (28 - shift))) & 0x0fffffffu;
        d = ((d << shift) | (d >> (28 - shift))) & 0x0fffffffu;
        const std::uint64_t cd = (std::uint64_t(c) << 28) | d;
        std::uint32_t groups[8] = {};
        for (int bit = 0; bit < 48; ++bit)
            groups[bit / 6] =
                (groups[bit / 6] << 1) | std::uint32_t((cd >> (56 - kPermutedChoice2[bit])) & 1);
        const int slot = decrypt ? 15 - round : round;
        m_even[slot] = (groups[0] << 24) | (groups[2] << 16) | (groups[4] << 8) | groups[6];
        m_odd[slot] = (groups[1] << 24) | (groups[3] << 16) | (groups[5] << 8) | groups[7];
    }
}

void kxDesKeySchedule::Rounds(std::uint32_t& left, std::uint32_t& right) const
{
    std::uint32_t l = left, r = right;
    for (int round = 0; round < 16; round += 2)
    {
        l ^= Feistel(r, m_even[round], m_odd[round]);
        r ^= Feistel(l, m_even[round + 1], m_odd[round + 1]);
    }
    left = r;
    right = l;
}

void kxDesKeySchedule::Rounds(std::uint32_t& left1, std::uint32_t& right1, std::uint32_t& left2,
                              std::uint32_t& right2) const
{
    std::uint32_t l1 = left1, r1 = right1, l2 = left2, r2 = right2;
    for (int round = 0; round < 16; round += 2)
    {
        l1 ^= Feistel(r1, m_even[round], m_odd[round]);
        l2 ^= Feistel(r2, m_even[round], m_odd[round]);
        r1 ^= Feistel(l1, m_even[round + 1], m_odd[round + 1]);
        r2 ^= Feistel(l2, m_even[round + 1], m_odd[round + 1]);
    }
    left1 = r1;
    right1 = l1;
    left2 = r2;
    right2 = l2;
}

void kxDesKeySchedule::InitialPermutation(const unsigned char* in, std::uint32_t& left,
                                          std::uint32_t& right)
{
    std::uint32_t l = kxGetBE32(in), r = kxGetBE32(in + 4);
    SwapBits(l, r, 4, 0x0f0f0f0fu);
    SwapBits(l, r, 16, 0x0000ffffu);
    SwapBits(r, l, 2, 0x33333333u);
    SwapBits(r, l, 8, 0x00ff00ffu);
    SwapBits(l, r, 1, 0x55555555u);
    left = RotateRight(l, kRotation);
    right = RotateRight(r, kRotation);
}

void kxDesKeySchedule::FinalPermutation(std::uint32_t left, std::uint32_t right, unsigned char* out)
{
    std::uint32_t l = RotateLeft(left, kRotation), r = RotateLeft(right, kRotation);
    SwapBits(l, r, 1, 0x55555555u);
    SwapBits(r, l, 8, 0x00ff00ffu);
    SwapBits(r, l, 2, 0x33333333u);
    SwapBits(l, r, 16, 0x0000ffffu);
    SwapBits(l, r, 4, 0x0f0f0f0fu);
    kxPutBE32(out, l);
    kxPutBE32(out + 4, r);
}

void kxDesKeySchedule::ProcessBlock(const unsigned char* in, unsigned char* out) const
{
    std::uint32_t left, right;
    InitialPermutation(in, left, right);
    Rounds(left, right);
    FinalPermutation(left, right, out);
}

void kxDesKeySchedule::ProcessBlocks(const unsigned char* in, unsigned char* out,
                                     size_t count) const
{
    size_t i = 0;
    for (; i + 2 <= count; i += 2)
    {
        std::uint32_t l1, r1, l2, r2;
        InitialPermutation(in + 8 * i, l1, r1);
        InitialPermutation(in + 8 * i + 8, l2, r2);
        Rounds(l1, r1, l2, r2);
        FinalPermutation(l1, r1, out + 8 * i);
        FinalPermutation(l2, r2, out + 8 * i + 8);
    }
    if (i < count)
        ProcessBlock(in + 8 * i, out + 8 * i);
}
