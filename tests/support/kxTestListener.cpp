// A hostile loopback peer for the tests: silent, or pouring bytes.
#include "support/kxTestListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

int kxTestListen(int& port)
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener, 4) != 0 ||
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
