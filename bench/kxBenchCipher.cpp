// Triple DES and single DES in ECB mode over 16 MiB, kxCypher against OpenSSL's EVP ciphers
// (des-ede3-ecb, and des-ecb from OpenSSL's legacy provider).
#include "kxRuzoVori/cipher/kxCypher.h"
#include "support/kxBenchSupport.h"

#include <openssl/evp.h>
#include <openssl/provider.h>
#include <wx/init.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace
{
void OpenSslEcb(const EVP_CIPHER* cipher, const unsigned char* key,
                const std::vector<unsigned char>& in, std::vector<unsigned char>& out)
{
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    int written = 0;
    EVP_EncryptInit_ex(context, cipher, nullptr, key, nullptr);
    EVP_CIPHER_CTX_set_padding(context, 0);
    EVP_EncryptUpdate(context, out.data(), &written, in.data(), static_cast<int>(in.size()));
    EVP_CIPHER_CTX_free(context);
}
} // namespace

int main()
{
    wxInitializer toolkit;
    const size_t size = 16 << 20;
    std::mt19937 random(46);
    std::vector<unsigned char> plain(size), key(24), out(size);
    for (unsigned char& b : plain)
        b = static_cast<unsigned char>(random());
    for (unsigned char& b : key)
        b = static_cast<unsigned char>(random());
    wxMemoryBuffer in, cipher;
    in.AppendData(plain.data(), size);
    wxMemoryBuffer tripleKey, singleKey;
    tripleKey.AppendData(key.data(), 24);
    singleKey.AppendData(key.data(), 8);

    printf("ECB over %zu MiB\n", size >> 20);
    kxCypher triple(tripleKey, 0, 0);
    kxBenchCompare(
        "3des-vs-openssl", [&] { triple.EncryptBlock(in, cipher); },
        [&] { OpenSslEcb(EVP_des_ede3_ecb(), key.data(), plain, out); }, double(size), 5);
    if (memcmp(cipher.GetData(), out.data(), size) != 0)
        return 1;

    OSSL_PROVIDER* legacy = OSSL_PROVIDER_load(nullptr, "legacy");
    OSSL_PROVIDER* standard = OSSL_PROVIDER_load(nullptr, "default");
    EVP_CIPHER* des = EVP_CIPHER_fetch(nullptr, "DES-ECB", nullptr);
    if (!des)
    {
        printf("single DES: OpenSSL's legacy provider is not available\n");
        return 0;
    }
    kxCypher single(singleKey, 1, 0);
    kxBenchCompare(
        "des-vs-openssl", [&] { single.EncryptBlock(in, cipher); },
        [&] { OpenSslEcb(des, key.data(), plain, out); }, double(size), 5);
    const bool same = memcmp(cipher.GetData(), out.data(), size) == 0;
    EVP_CIPHER_free(des);
    OSSL_PROVIDER_unload(standard);
    OSSL_PROVIDER_unload(legacy);
    return same ? 0 : 1;
}
