// Starting and stopping the real SMTP server (aiosmtpd) the mail and crash tests deliver to.
#include "support/kxTestSmtpServer.h"

#include <wx/filename.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

kxTestSmtpServer::kxTestSmtpServer(const std::vector<std::string>& arguments)
{
    const std::string script =
        (kxTestSourceDir() + wxS("/tests/mail/kxSmtpServer.py")).utf8_string();
    const std::string store = m_store.GetPath().utf8_string();
    const std::string log = store + "/server.log";
    std::vector<std::string> words = {"/usr/bin/python3", script, "--store", store};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);

    int input[2];
    int output[2];
    if (pipe2(input, O_CLOEXEC) != 0)
        return;
    if (pipe2(output, O_CLOEXEC) != 0)
    {
        close(input[0]);
        close(input[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    m_input = input[1];
    if (!spawned)
        m_pid = -1;

    // The first line of the server's output is its port.
    std::string line;
    pollfd entry{output[0], POLLIN, 0};
    while (spawned && line.find('\n') == std::string::npos && poll(&entry, 1, 15000) > 0)
    {
        char buffer[64];
        const ssize_t got = read(output[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        line.append(buffer, static_cast<size_t>(got));
    }
    close(output[0]);
    if (line.find('\n') != std::string::npos)
        m_port = std::atoi(line.c_str());
}

kxTestSmtpServer::~kxTestSmtpServer()
{
    // The server ends when its input closes; a server that does not is ended after a while.
    if (m_input >= 0)
        close(m_input);
    if (m_pid <= 0)
        return;
    for (int i = 0; i < 500; ++i)
    {
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
}

bool kxTestSmtpServer::WaitForMail(size_t index, kxTestStoredMail& mail, int ms) const
{
    const wxString name = m_store.File(wxString::Format(wxS("%zu"), index));
    if (!kxTestWaitFor([&] { return wxFileName::FileExists(name + wxS(".ready")); }, ms))
        return false;
    const wxString envelope = kxTestReadFile(name + wxS(".envelope"));
    wxArrayString lines = wxSplit(envelope.BeforeLast('\n'), '\n', 0);
    mail = kxTestStoredMail();
    if (!lines.empty())
    {
        mail.m_from = lines[0].utf8_string();
        for (size_t i = 1; i < lines.size(); ++i)
            mail.m_to.push_back(lines[i].utf8_string());
    }
    mail.m_data = kxTestReadBytes(name + wxS(".data"));
    return true;
}

size_t kxTestSmtpServer::MailCount() const
{
    size_t count = 0;
    while (wxFileName::FileExists(m_store.File(wxString::Format(wxS("%zu.ready"), count))))
        ++count;
    return count;
}

std::vector<std::string> kxTestSmtpServer::Commands() const
{
    std::vector<std::string> commands;
    const wxString file = m_store.File(wxS("commands"));
    if (!wxFileName::FileExists(file))
        return commands;
    for (const wxString& line : wxSplit(kxTestReadFile(file), '\n', 0))
        if (!line.empty())
            commands.push_back(line.utf8_string());
    return commands;
}
