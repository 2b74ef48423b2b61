// Hostile loopback peers for the tests: silent, pouring bytes, or never answering a connect.
#include "support/kxTestListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

int kxTestListen(int& port, int backlog)
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener, backlog) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    {
        if (listener >= 0)
            close(listener);
        return -1;
    }
    port = ntohs(address.sin_port);
    return listener;
}

kxTestListener::kxTestListener(std::string pour) : m_pour(std::move(pour))
{
    m_socket = kxTestListen(m_port);
    if (m_pour.empty() || m_socket < 0)
        return;
    m_thread = std::thread(
        [this]
        {
            const int peer = accept(m_socket, nullptr, nullptr);
            if (peer < 0)
                return;
            while (!m_stop && send(peer, m_pour.data(), m_pour.size(), MSG_NOSIGNAL) > 0)
            {
            }
            close(peer);
        });
}

kxTestListener::~kxTestListener()
{
    m_stop = true;
    // Wakes a pending accept.
    shutdown(m_socket, SHUT_RDWR);
    if (m_thread.joinable())
        m_thread.join();
    close(m_socket);
}

kxTestFullListener::kxTestFullListener()
{
    m_socket = kxTestListen(m_port, 0);
    if (m_socket < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(m_port));
    // A queue of length 0 holds one connection; the attempts after it already wait in vain.
    for (int i = 0; i < 3; ++i)
    {
        const int filler = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (filler < 0)
            break;
        connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        m_fillers.push_back(filler);
    }
}

kxTestFullListener::~kxTestFullListener()
{
    for (const int filler : m_fillers)
        close(filler);
    if (m_socket >= 0)
        close(m_socket);
}
