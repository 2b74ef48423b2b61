#include "kxRuzoVori/ipc/private/kxChannel.h"

#include "kxRuzoVori/cipher/wxTripleDES.h"

#include <wx/datetime.h>

#include <algorithm>
#include <cstring>

namespace kxChannel
{
const wxChar* const TOPIC = wxS("kxTopic");

namespace
{
const size_t PROOF_SIZE = 16;
const size_t BLOCK_SIZE = 8;

const char CHANNEL_KEY[24] = {'\x5A', '\x1F', '\xC3', '\x27', '\x94', '\x6E', '\x0B', '\xD8',
                              '\x31', '\xA6', '\x7C', '\xE2', '\x4D', '\x98', '\x15', '\x63',
                              '\xBE', '\x02', '\x8F', '\x59', '\xF4', '\x36', '\xCA', '\x7D'};
} // namespace

const char* GetKey()
{
    return CHANNEL_KEY;
}

wxString GetToday()
{
    return wxDateTime::Now().Format(wxS("%Y-%m-%d"));
}

wxMemoryBuffer EncipherDate(const wxString& date)
{
    wxString padded = date;
    if (padded.length() < PROOF_SIZE)
        padded.append(PROOF_SIZE - padded.length(), wxS(' '));
    char block[PROOF_SIZE] = {};
    const wxCharBuffer bytes = padded.mb_str(wxConvISO8859_1);
    memcpy(block, bytes.data(), std::min(PROOF_SIZE, strlen(bytes.data())));
    wxTripleDES engine(GetKey(), false);
    wxMemoryBuffer proof(PROOF_SIZE);
    char* out = static_cast<char*>(proof.GetWriteBuf(PROOF_SIZE));
    engine.ProcessBlock(block, out);
    engine.ProcessBlock(block + BLOCK_SIZE, out + BLOCK_SIZE);
    proof.UngetWriteBuf(PROOF_SIZE);
    return proof;
}

wxString DecipherDate(const wxMemoryBuffer& proof)
{
    char block[PROOF_SIZE];
    memcpy(block, proof.GetData(), PROOF_SIZE);
    wxTripleDES engine(GetKey(), true);
    char plain[PROOF_SIZE + 1] = {};
    engine.ProcessBlock(block, plain);
    engine.ProcessBlock(block + BLOCK_SIZE, plain + BLOCK_SIZE);
    wxString text = wxString::FromUTF8(plain, PROOF_SIZE);
    text.Trim(true);
    return text;
}
} // namespace kxChannel
