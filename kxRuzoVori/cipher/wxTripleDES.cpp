// Triple DES on single blocks: three key schedules, encrypt-decrypt-encrypt.
#include "kxRuzoVori/cipher/wxTripleDES.h"

wxTripleDES::wxTripleDES(char const* key, bool decrypt) : m_decrypt(decrypt)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(key);
    m_k1.Build(bytes, decrypt);
    m_k2.Build(bytes + 8, !decrypt);
    m_k3.Build(bytes + 16, decrypt);
}

void wxTripleDES::ProcessBlock(char* in, char* out)
{
    std::uint32_t left, right;
    kxDesKeySchedule::InitialPermutation(reinterpret_cast<const unsigned char*>(in), left, right);
    // The final permutation of one pass and the initial permutation of the next cancel out, so
    // the three passes run back to back on the permuted halves.
    const kxDesKeySchedule& first = m_decrypt ? m_k3 : m_k1;
    const kxDesKeySchedule& last = m_decrypt ? m_k1 : m_k3;
    first.Rounds(left, right);
    m_k2.Rounds(left, right);
    last.Rounds(left, right);
    kxDesKeySchedule::FinalPermutation(left, right, reinterpret_cast<unsigned char*>(out));
}

void wxTripleDES::ProcessBlocks(const unsigned char* in, unsigned char* out, size_t count) const
{
    const kxDesKeySchedule& first = m_decrypt ? m_k3 : m_k1;
    const kxDesKeySchedule& last = m_decrypt ? m_k1 : m_k3;
    for (size_t i = 0; i < count; i += 2)
    {
        // Both blocks are read before either is written, so in and out may be one buffer.
        const bool pair = i + 1 < count;
        std::uint32_t l1, r1, l2 = 0, r2 = 0;
        kxDesKeySchedule::InitialPermutation(in + 8 * i, l1, r1);
        if (pair)
            kxDesKeySchedule::InitialPermutation(in + 8 * i + 8, l2, r2);
        first.Rounds(l1, r1, l2, r2);
        m_k2.Rounds(l1, r1, l2, r2);
        last.Rounds(l1, r1, l2, r2);
        kxDesKeySchedule::FinalPermutation(l1, r1, out + 8 * i);
        if (pair)
            kxDesKeySchedule::FinalPermutation(l2, r2, out + 8 * i + 8);
    }
}
