// The command client: starting, proving and stopping the server, and sending commands.
#include "kxRuzoVori/ipc/kxClient.h"

#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/private/kxLibraryException.h"
#include "kxRuzoVori/ipc/private/kxChannel.h"
#include "kxRuzoVori/ipc/private/kxClientBase.h"
#include "kxRuzoVori/kxHelpers/kxEncoding.h"
#include "kxRuzoVori/kxHelpers/kxProcess.h"
#include "kxRuzoVori/serialize/wxSerialize.h"

#include <wx/filefn.h>
#include <wx/mstream.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace
{
const long kClientTimeout = 10;
const long kConnectTimeoutMs = 20000;
// Between two connection attempts while the server comes up.
const unsigned long kConnectRetryMs = 500;
const long kStopTimeoutMs = 20000;
// How long a killed server may take to vanish from the process table.
const long kKillWaitMs = 5000;
// The stop-all step gives up after this many rounds: a process that can be neither stopped
// nor killed (another user's, say) would otherwise keep it going forever.
const int kStopAllRounds = 16;

kxException ClientException(const wxString& message)
{
    return kxException(message, kxLibraryClassText());
}
} // namespace

kxClient::kxClient(wxString serverFile, bool stopAll, wxString host, wxString port)
    : m_stopAll(stopAll), m_client(nullptr), m_serverFile(serverFile), m_host(host), m_port(port),
      m_serverPid(0)
{
}

kxClient::~kxClient()
{
    if (m_client)
    {
        m_client->Disconnect();
        delete m_client;
    }
}

void kxClient::Connect()
{
    if (IsConnected())
        return;
    if (!wxFileExists(m_serverFile))
        throw ClientException(kxTranslate(
            wxS("Internal error in constructor kxClient::Connect(). Server file is not exist.")));
    if (m_host.empty() || m_port.empty())
        throw ClientException(kxTranslate(wxS("Internal error in constructor kxClient::Connect(). "
                                              "Server host or port is not set.")));
    if (m_stopAll)
        PrivateStopAllServers();
    PrivateCreateServerIfItDown();
    if (!m_client)
        m_client = new kxClientBase(this, &kxClient::PrivateOnDisconnect, kClientTimeout);
    wxStopWatch watch;
    for (;;)
    {
        if (m_client->Connect(m_host, m_port, kxChannel::kTopic))
        {
            PrivateValidateServer();
            PrivateGetServerPID();
            return;
        }
        if (watch.Time() > kConnectTimeoutMs)
            break;
        wxMilliSleep(kConnectRetryMs);
    }
    throw ClientException(kxTranslate(wxS("Server connection timeout is expired")));
}

bool kxClient::IsConnected()
{
    return m_client && m_client->IsConnected() && m_serverPid != 0 &&
           kxIsProcessExists(m_serverPid);
}

void kxClient::PrivateCreateServerIfItDown()
{
    unsigned long id = 0;
    if (kxIsProcessExists(m_serverFile, &id))
    {
        m_serverPid = id;
        return;
    }
    unsigned long error = 0;
    // The server gets time to come up in the connection attempts of Connect().
    if (kxExecute(m_serverFile, g_kxEmptyULong, wxString(), &error))
        return;
    throw ClientException(
        wxString::Format(kxTranslate(wxS("Can not execute server process in file %s. Error code: "
                                         "%d")),
                         m_serverFile, static_cast<int>(error)));
}

void kxClient::PrivateStopAllServers()
{
    // The step is public: a host calling it on a live connection must not lose it.
    if (IsConnected())
        return;
    if (m_client)
    {
        m_client->Disconnect();
        delete m_client;
        m_client = nullptr;
    }
    m_client = new kxClientBase(this, &kxClient::PrivateOnDisconnectLocal, kClientTimeout);
    unsigned long found = 0;
    for (int round = 0; kxIsProcessExists(m_serverFile, &found); ++round)
    {
        if (round == kStopAllRounds)
        {
            delete m_client;
            m_client = nullptr;
            throw ClientException(
                wxString::Format(kxTranslate(wxS("Can not stop server process %d in file %s")),
                                 static_cast<int>(found), m_serverFile));
        }
        bool stopped = false;
        if (m_client->Connect(m_host, m_port, kxChannel::kTopic))
        {
            try
            {
                PrivateGetServerPID();
                stopped = m_client->StopServer(m_serverPid, kStopTimeoutMs);
            }
            catch (const kxException&)
            {
                // Not a server that answers: it is killed below.
            }
        }
        if (!stopped)
        {
            wxKill(static_cast<long>(found), wxSIGKILL, nullptr, wxKILL_NOCHILDREN);
            kxWaitProcess(found, kKillWaitMs);
        }
    }
    delete m_client;
    m_client = nullptr;
}

void kxClient::PrivateValidateServer()
{
    bool success = false;
    const wxString reply = Command(wxS("cmd_identify"), success);
    wxString date;
    if (reply.length() == 32)
    {
        const wxMemoryBuffer proof = kxStrHEXToMemoryBuffer(reply);
        if (proof.GetDataLen() == 16)
            date = kxChannel::DecipherDate(proof);
    }
    if (date.empty() || date != kxChannel::GetToday())
    {
        m_client->Disconnect();
        throw ClientException(kxTranslate(wxS("Can not identify server")));
    }
}

void kxClient::PrivateGetServerPID()
{
    bool success = false;
    const wxString reply = Command(wxS("cmd_getpid"), success);
    unsigned int pid = 0;
    if (success)
    {
        const wxMemoryBuffer bytes = kxStrHEXToMemoryBuffer(reply);
        wxMemoryInputStream stream(bytes.GetData(), bytes.GetDataLen());
        wxSerialize reader(stream, 0, wxString(), false);
        if (!reader.ReadUint32(pid))
            pid = 0;
    }
    // A peer without a process id would leave a connection that looks alive to the next
    // Connect(); it is dropped like one that failed to identify itself.
    if (pid == 0)
    {
        m_client->Disconnect();
        throw ClientException(
            kxTranslate(wxS("Internal error in kxClient::Connect(). Can not receive server PID")));
    }
    m_serverPid = pid;
}

wxString kxClient::Command(wxString command, wxString argument, bool& success)
{
    if (!m_client)
        throw ClientException(kxTranslate(wxS("Can not call Command() method. Client object is "
                                              "not created. Call this method after Connect()")));
    success = true;
    if (command.empty())
    {
        success = false;
        return kxTranslate(wxS("Empty server commands are not support."));
    }
    try
    {
        const wxString reply = m_client->Command(command, argument, wxS("\n"));
        if (reply.StartsWith(wxS("err:")))
        {
            success = false;
            return reply.Mid(4);
        }
        return reply;
    }
    catch (const kxException& e)
    {
        success = false;
        return e.GetMsg();
    }
    catch (...)
    {
        success = false;
        return kxTranslate(wxS("Can't execute command")) + wxS(" \"") + command + wxS("\"");
    }
}

wxString kxClient::Command(wxString command, bool& success)
{
    return Command(command, wxString(), success);
}

bool kxClient::StopServer(long timeout)
{
    return m_client && m_client->StopServer(m_serverPid, timeout);
}

void kxClient::Disconnect()
{
    if (m_client)
        m_client->Disconnect();
}

long kxClient::GetTimeout()
{
    if (!m_client)
        throw ClientException(kxTranslate(wxS("Can not get timeout before client object created")));
    return m_client->GetTimeout();
}

void kxClient::SetTimeout(long seconds)
{
    if (!m_client)
        throw ClientException(
            kxTranslate(wxS("Can not setup timeout before client object created")));
    if (!m_client->IsConnected())
        throw ClientException(kxTranslate(wxS("Can not setup timeout before connection object "
                                              "created. Call this method after Connect().")));
    m_client->SetTimeout(seconds);
}

unsigned char kxClient::ProtectedGetErrorCount()
{
    return m_client ? m_client->GetErrorCount() : 0;
}

bool kxClient::PrivateOnDisconnect()
{
    return ProtectedOnDisconnect();
}

bool kxClient::PrivateOnDisconnectLocal()
{
    return true;
}
