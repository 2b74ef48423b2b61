// The HTTP client against the curl command line on the same work over loopback: 256 MiB from
// nginx into a file with SaveFile, over http and over https, then (reported without a goal)
// 64 MiB of text into a string with GetInputString and a 64 MiB multipart upload.
//
// Servers come from the test fixtures: nginx on a private configuration, and an upload sink in
// this process that reads a request body to its end before it answers.
#include "http/kxHttpTestServers.h"
#include "kxRuzoVori/http/wxHTTPBuilder.h"
#include "support/kxBenchSupport.h"
#include "support/kxTestCertificates.h"

#include <wx/ffile.h>
#include <wx/init.h>

#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace
{
const size_t kDownload = 256u << 20;
const size_t kText = 64u << 20;
const size_t kUpload = 64u << 20;

// Writes size bytes made by next() to path in pieces of 1 MiB.
template <typename Next> bool WriteFile(const wxString& path, size_t size, Next next)
{
    wxFFile file(path, wxS("wb"));
    std::string piece;
    for (size_t written = 0; file.IsOpened() && written < size; written += piece.size())
    {
        piece.clear();
        while (piece.size() < std::min<size_t>(1 << 20, size - written))
            next(piece);
        piece.resize(std::min(piece.size(), size - written));
        if (file.Write(piece.data(), piece.size()) != piece.size())
            return false;
    }
    return file.IsOpened() && file.Close();
}

bool Curl(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), {"curl", "--silent", "--fail", "--http1.0"});
    std::vector<char*> argv;
    for (std::string& word : arguments)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    return posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) == 0 &&
           waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Check(bool ok, const char* what)
{
    if (!ok)
        fprintf(stderr, "kxBenchHttp: %s failed\n", what);
    return ok;
}

// Reads one request with its whole body, then answers 200.
void Sink(int connection)
{
    std::string head = kxTestRawServer::ReadHead(connection);
    const size_t end = head.find("\r\n\r\n");
    if (end == std::string::npos)
        return;
    std::string lower = head.substr(0, end);
    for (char& c : lower)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    const size_t field = lower.find("content-length:");
    size_t left = field == std::string::npos ? 0 : std::stoul(lower.substr(field + 15));
    left -= std::min(left, head.size() - end - 4);
    std::vector<char> buffer(1 << 16);
    while (left > 0)
    {
        const ssize_t got = recv(connection, buffer.data(), std::min(left, buffer.size()), 0);
        if (got <= 0)
            return;
        left -= static_cast<size_t>(got);
    }
    kxTestRawServer::Write(connection, "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
}
} // namespace

int main()
{
    wxInitializer toolkit;
    kxTestNginx nginx;
    kxTestTempDir dir;
    const std::string ca = kxTestGetCertificates().CaFile();
    unsigned seed = 1;
    const bool ready =
        Check(toolkit.IsOk() && nginx.IsOk() && !dir.GetPath().empty(), "starting nginx") &&
        Check(WriteFile(nginx.WwwFile("big.bin"), kDownload,
                        [&seed](std::string& piece)
                        {
                            seed = seed * 1103515245 + 12345;
                            piece += static_cast<char>(seed >> 16);
                        }),
              "writing the download") &&
        Check(WriteFile(nginx.WwwFile("text.txt"), kText,
                        [](std::string& piece)
                        {
                            piece += "Gr\xc3\xbc\xc3\x9f"
                                     "e \xe2\x82\xac ";
                        }),
              "writing the text") &&
        Check(WriteFile(dir.File(wxS("upload.bin")), kUpload,
                        [](std::string& piece) { piece.append(4096, 'u'); }),
              "writing the upload");
    if (!ready)
        return 1;

    const wxString mine = dir.File(wxS("library.bin"));
    const std::string theirs = dir.File(wxS("curl.bin")).utf8_string();
    bool ok = true;
    printf("HTTP client against curl, medians of 7 runs\n");

    wxHTTPBuilder http;
    kxBenchCompare(
        "http-download-vs-curl",
        [&] { ok = Check(http.SaveFile(mine, nginx.Url("/big.bin")), "SaveFile") && ok; },
        [&] {
            ok = Check(Curl({"-o", theirs, nginx.Url("/big.bin").utf8_string()}), "curl") && ok;
        },
        kDownload);

    wxHTTPBuilder https;
    https.SetCertificateAuthorityFile(wxString::FromUTF8(ca));
    kxBenchCompare(
        "https-download-vs-curl",
        [&] { ok = Check(https.SaveFile(mine, nginx.TlsUrl("/big.bin")), "SaveFile") && ok; },
        [&]
        {
            ok = Check(Curl({"--cacert", ca, "-o", theirs, nginx.TlsUrl("/big.bin").utf8_string()}),
                       "curl") &&
                 ok;
        },
        kDownload);

    wxString text;
    kxBenchCompare(
        "text-into-string-vs-curl",
        [&]
        {
            text = http.GetInputString(nginx.Url("/text.txt"));
            ok = Check(text.length() > kText / 2, "GetInputString") && ok;
        },
        [&] {
            ok = Check(Curl({"-o", theirs, nginx.Url("/text.txt").utf8_string()}), "curl") && ok;
        },
        kText);

    kxTestRawServer sink(Sink);
    const wxString upload = dir.File(wxS("upload.bin"));
    kxBenchCompare(
        "multipart-upload-vs-curl",
        [&]
        {
            wxHTTPBuilder post;
            post.SetValue(wxS("file"), upload, wxHTTPBuilder::wxHTTP_TYPE_FILE);
            ok = Check(post.GetInputString(sink.Url("/upload"), dir.GetPath() + wxS("/")) ==
                           wxS("ok"),
                       "multipart upload") &&
                 ok;
        },
        [&]
        {
            ok = Check(Curl({"-o", "/dev/null", "-F", "file=@" + upload.utf8_string(),
                             sink.Url("/upload").utf8_string()}),
                       "curl upload") &&
                 ok;
        },
        kUpload);
    return ok ? 0 : 1;
}
