#ifndef KXRUZOVORI_CIPHER_WXTRIPLEDES_H
#define KXRUZOVORI_CIPHER_WXTRIPLEDES_H

#include "kxRuzoVori/cipher/kxDesKeySchedule.h"
#include "kxRuzoVori/kxExport.h"

#include <cstddef>

/// A single-block Triple DES engine (encrypt-decrypt-encrypt with three 8-byte keys), the cipher
/// of the command channel's identity proof and the engine behind kxCypher. It holds nothing but
/// key schedules, so it is trivially destructible and may be copied freely.
class KX_API wxTripleDES
{
public:
    /// key holds 24 bytes: K1, K2, K3. An encrypting engine computes E_K3(D_K2(E_K1(block))), a
    /// decrypting one the inverse.
    wxTripleDES(char const* key, bool decrypt);

    /// Transforms the 8 bytes at in into out; in and out may be the same block.
    void ProcessBlock(char* in, char* out);

private:
    // kxCypher runs whole buffers through the engine, two blocks at a time.
    friend class kxCypher;
    void ProcessBlocks(const unsigned char* in, unsigned char* out, size_t count) const;

    kxDesKeySchedule m_k1;
    kxDesKeySchedule m_k2;
    kxDesKeySchedule m_k3;
    bool m_decrypt;
};

#endif
