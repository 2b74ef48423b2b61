// A hostile peer on loopback: a listener whose peers the system accepts but that never says a
// word, or that pours the same bytes out to its first peer until that peer hangs up; and one
// that never even answers a connect.
#ifndef KXTESTS_KXTESTLISTENER_H
#define KXTESTS_KXTESTLISTENER_H

#include <atomic>
#include <string>
#include <thread>
#include <vector>

// A socket listening on 127.0.0.1 at a port the system chose, stored in port; -1 on failure.
int kxTestListen(int& port, int backlog = 4);

class kxTestListener
{
public:
    explicit kxTestListener(std::string pour = std::string());
    ~kxTestListener();
    kxTestListener(const kxTestListener&) = delete;
    kxTestListener& operator=(const kxTestListener&) = delete;

    int Port() const { return m_port; }

private:
    std::string m_pour;
    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// A listener whose queue of pending connections is full and never emptied: the system drops
// every further connect attempt unanswered, as for a host gone from the network.
class kxTestFullListener
{
public:
    kxTestFullListener();
    ~kxTestFullListener();
    kxTestFullListener(const kxTestFullListener&) = delete;
    kxTestFullListener& operator=(const kxTestFullListener&) = delete;

    bool IsOk() const { return m_socket >= 0; }
    int Port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
    std::vector<int> m_fillers;
};

#endif
