// The command channel's topic, key and identity proof.
#include "kxRuzoVori/ipc/private/kxChannel.h"

#include "kxRuzoVori/cipher/wxTripleDES.h"

#include <wx/datetime.h>

#include <algorithm>
#include <cstring>

namespace kxChannel
{
const wxChar* const kTopic = wxS("kxTopic");

namespace
{
const size_t kProofSize = 16;
const size_t kBlockSize = 8;

const char kChannelKey[24] = {'\x5A', '\x1F', '\xC3', '\x27', '\x94', '\x6E', '\x0B', '\xD8',
                              '\x31', '\xA6', '\x7C', '\xE2', '\x4D', '\x98', '\x15', '\x63',
                              '\xBE', '\x02', '\x8F', '\x59', '\xF4', '\x36', '\xCA', '\x7D'};
} // namespace

const char* GetKey()
{
    return kChannelKey;
}

wxString GetToday()
{
    return wxDateTime::Now().Format(wxS("%Y-%m-%d"));
}

wxMemoryBuffer EncipherDate(const wxString& date)
{
    wxString padded = date;
    if (padded.length() < kProofSize)
        padded.append(kProofSize - padded.length(), wxS(' '));
    char block[kProofSize] = {};
    const wxCharBuffer bytes = padded.mb_str(wxConvISO8859_1);
    memcpy(block, bytes.data(), std::min(kProofSize, strlen(bytes.data())));
    wxTripleDES engine(GetKey(), false);
    wxMemoryBuffer proof(kProofSize);
    char* out = static_cast<char*>(proof.GetWriteBuf(kProofSize));
    engine.ProcessBlock(block, out);
    engine.ProcessBlock(block + kBlockSize, out + kBlockSize);
    proof.UngetWriteBuf(kProofSize);
    return proof;
}

wxString DecipherDate(const wxMemoryBuffer& proof)
{
    char block[kProofSize];
    memcpy(block, proof.GetData(), kProofSize);
    wxTripleDES engine(GetKey(), true);
    char plain[kProofSize + 1] = {};
    engine.ProcessBlock(block, plain);
    engine.ProcessBlock(block + kBlockSize, plain + kBlockSize);
    wxString text = wxString::FromUTF8(plain, kProofSize);
    text.Trim(true);
    return text;
}
} // namespace kxChannel
