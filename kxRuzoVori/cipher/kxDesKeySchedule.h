// The sixteen round keys of one DES key, laid out for the table-driven block function, plus that
// block function. Internal to the cipher classes: it is not part of the exported interface.
#ifndef KXRUZOVORI_CIPHER_KXDESKEYSCHEDULE_H
#define KXRUZOVORI_CIPHER_KXDESKEYSCHEDULE_H

#include <cstddef>
#include <cstdint>

class kxDesKeySchedule
{
public:
    // Builds the round keys of the 8-byte key (parity bits ignored), stored in the order the
    // rounds of one direction use them, so that one block function serves both directions.
    void Build(const unsigned char* key, bool decrypt);

    // One whole DES block, big-endian in and out; in and out may be the same block.
    void ProcessBlock(const unsigned char* in, unsigned char* out) const;

    // count consecutive blocks, two at a time so that their rounds overlap in the processor;
    // in and out may be the same buffer.
    void ProcessBlocks(const unsigned char* in, unsigned char* out, size_t count) const;

    // The sixteen rounds on a block already through the initial permutation, with both halves
    // kept rotated right by one bit; the halves come back swapped, ready for the next pass or for
    // the final permutation, so chained passes skip the permutations in between.
    void Rounds(std::uint32_t& left, std::uint32_t& right) const;

    // The same on two independent blocks at once.
    void Rounds(std::uint32_t& left1, std::uint32_t& right1, std::uint32_t& left2,
                std::uint32_t& right2) const;

    static void InitialPermutation(const unsigned char* in, std::uint32_t& left,
                                   std::uint32_t& right);
    static void FinalPermutation(std::uint32_t left, std::uint32_t right, unsigned char* out);

private:
    // Per round, the eight 6-bit key groups: the even-numbered groups one per byte (group 0 in
    // the top byte) and the odd-numbered ones likewise, matching how the rounds cut the half.
    std::uint32_t m_even[16];
    std::uint32_t m_odd[16];
};

#endif
