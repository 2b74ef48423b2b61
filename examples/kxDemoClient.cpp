// The demo's client host: it starts its server program (kxDemoServer, beside it), proves that
// the server is genuine, learns its process id, sends a few commands, stops it and prints a
// transcript. It exits 0 only when every step did what it should.
#include "kxRuzoVori/kxRuzoVori.h"

#include <wx/init.h>
#include <wx/socket.h>
#include <wx/utils.h>

#include <cstdio>
#include <string>

namespace
{
bool s_ok = true;

// The text as UTF-8 for printf; the temporary lives until the end of the printing statement.
std::string Utf8(const wxString& text)
{
    return text.utf8_string();
}

wxString Shorten(const wxString& text)
{
    return text.length() <= 80
               ? text
               : text.Left(40) + wxString::Format(wxS("... (%zu characters)"), text.length());
}

// Sends one command and checks its outcome against what the demo expects.
void Run(kxClient& client, const wxString& command, const wxString& argument, bool expectSuccess,
         const wxString& expectReply = wxString())
{
    bool success = false;
    const wxString reply = client.Command(command, argument, success);
    bool good = success == expectSuccess && (expectReply.empty() || reply == expectReply);
    printf("  > %-8s %-32s -> %s %s%s\n", Utf8(command).c_str(),
           Utf8(wxS("\"") + Shorten(argument) + wxS("\"")).c_str(),
           success ? "ok" : "failed:", Utf8(Shorten(reply)).c_str(),
           good ? "" : "   <-- unexpected");
    s_ok = s_ok && good;
}

// A port on this machine nothing listens on.
wxString FreePort()
{
    wxIPV4address address;
    address.LocalHost();
    address.Service(0);
    wxSocketServer probe(address);
    if (!probe.IsOk() || !probe.GetLocal(address))
        return wxString();
    return wxString::Format(wxS("%u"), static_cast<unsigned>(address.Service()));
}
} // namespace

int main()
{
    wxInitializer toolkit;
    if (!toolkit.IsOk())
        return 1;

    printf("kxRuzoVori demo: the command channel\n");
    const wxString server = kxGetAppDir() + wxS("kxDemoServer");
    const wxString port = FreePort();
    // The server program reads its port from the environment it inherits.
    wxSetEnv(wxS("KX_DEMO_PORT"), port);
    printf("  server program %s, port %s on localhost\n", Utf8(server).c_str(), Utf8(port).c_str());

    try
    {
        kxClient client(server, true, wxS("localhost"), port);
        unsigned long pid = 0;
        const bool wasRunning = kxIsProcessExists(server, &pid);
        client.Connect();
        kxIsProcessExists(server, &pid);
        printf("  connect: server %s, identified, process id %lu\n",
               wasRunning ? "was running" : "started", pid);
        s_ok = s_ok && client.IsConnected();

        bool success = false;
        const wxString proof = client.Command(wxS("cmd_identify"), success);
        printf("  > cmd_identify -> %s (today's date, enciphered)\n", Utf8(proof).c_str());
        const wxString record = client.Command(wxS("cmd_getpid"), success);
        printf("  > cmd_getpid   -> %s (serialized process id)\n", Utf8(record).c_str());
        s_ok = s_ok && record.Right(8) == wxString::Format(wxS("%08lX"), pid);

        Run(client, wxS("echo"), wxString::FromUTF8("Grüße aus dem Client 😀"), true,
            wxString::FromUTF8("Grüße aus dem Client 😀"));
        Run(client, wxS("upper"), wxS("command channel"), true, wxS("COMMAND CHANNEL"));
        Run(client, wxS("describe"), wxS("three little words"), true);
        wxString big;
        for (int i = 0; big.length() < 10240; ++i)
            big += wxString::Format(wxS("%d "), i);
        Run(client, wxS("echo"), big, true, big);
        Run(client, wxS("divide"), wxS("84/2"), true, wxS("42"));
        Run(client, wxS("divide"), wxS("1/0"), false);
        Run(client, wxS("launch"), wxS("rockets"), false, wxS("unknown command \"launch\""));

        const bool stopped = client.StopServer(10000);
        printf("  stop: %s\n", stopped ? "the server agreed and its process ended" : "FAILED");
        s_ok = s_ok && stopped && !kxIsProcessExists(pid);
    }
    catch (const kxException& e)
    {
        printf("  error: %s\n", Utf8(e.GetMsg()).c_str());
        s_ok = false;
    }
    printf("demo %s\n", s_ok ? "succeeded" : "FAILED");
    return s_ok ? 0 : 1;
}
