// OpenSSL's DES as the reference for the cipher tests, plus small helpers shared by them.
#ifndef KXTESTS_CIPHER_KXCIPHERTESTSUPPORT_H
#define KXTESTS_CIPHER_KXCIPHERTESTSUPPORT_H

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <openssl/des.h>

#include <wx/buffer.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using kxBytes = std::vector<unsigned char>;

inline kxBytes kxBytesFromHex(const std::string& hex)
{
    kxBytes bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

inline kxBytes kxRandomBytes(std::mt19937& random, size_t length)
{
    kxBytes bytes(length);
    for (unsigned char& b : bytes)
        b = static_cast<unsigned char>(random());
    return bytes;
}

inline wxMemoryBuffer kxBufferOf(const kxBytes& bytes)
{
    wxMemoryBuffer buffer;
    if (!bytes.empty())
        buffer.AppendData(bytes.data(), bytes.size());
    return buffer;
}

inline kxBytes kxBytesOf(const wxMemoryBuffer& buffer)
{
    const unsigned char* data = static_cast<const unsigned char*>(buffer.GetData());
    return kxBytes(data, data + buffer.GetDataLen());
}

// ECB over whole blocks with OpenSSL: one key (8 bytes) for DES, three (24 bytes) for EDE3.
inline kxBytes kxOpenSslEcb(const kxBytes& key, const kxBytes& data, bool encrypt)
{
    kxBytes out(data.size());
    DES_key_schedule ks[3];
    const size_t keys = key.size() / 8;
    for (size_t k = 0; k < keys; ++k)
    {
        DES_cblock part;
        memcpy(part, key.data() + 8 * k, 8);
        DES_set_key_unchecked(&part, &ks[k]);
    }
    for (size_t i = 0; i + 8 <= data.size(); i += 8)
    {
        const_DES_cblock in;
        DES_cblock result;
        memcpy(in, data.data() + i, 8);
        if (keys == 1)
            DES_ecb_encrypt(&in, &result, &ks[0], encrypt ? DES_ENCRYPT : DES_DECRYPT);
        else
            DES_ecb3_encrypt(&in, &result, &ks[0], &ks[1], &ks[2],
                             encrypt ? DES_ENCRYPT : DES_DECRYPT);
        memcpy(out.data() + i, result, 8);
    }
    return out;
}

// The last block of Triple DES CBC with a zero initial value over data (a multiple of 8 long).
inline kxBytes kxOpenSslCbcMac(const kxBytes& key, const kxBytes& data)
{
    DES_key_schedule ks[3];
    for (int k = 0; k < 3; ++k)
    {
        DES_cblock part;
        memcpy(part, key.data() + 8 * k, 8);
        DES_set_key_unchecked(&part, &ks[k]);
    }
    DES_cblock iv = {};
    kxBytes out(data.size());
    DES_ede3_cbc_encrypt(data.data(), out.data(), static_cast<long>(data.size()), &ks[0], &ks[1],
                         &ks[2], &iv, DES_ENCRYPT);
    return kxBytes(out.end() - 8, out.end());
}

// True for the DES weak and semi-weak keys, whose parity bits are ignored.
inline bool kxIsWeakDesKey(const unsigned char* key)
{
    DES_cblock block;
    memcpy(block, key, 8);
    DES_set_odd_parity(&block);
    return DES_is_weak_key(&block) != 0;
}

#pragma GCC diagnostic pop

#endif
