// One peer of the command server as the wire sees it: the bytes it sent, cut into messages as
// they complete, the bytes still to be sent to it, and the moment by which it must have made
// progress. Internal to the library.
#ifndef KXRUZOVORI_IPC_PRIVATE_KXSERVERPEER_H
#define KXRUZOVORI_IPC_PRIVATE_KXSERVERPEER_H

#include "kxRuzoVori/ipc/private/kxIpcMessage.h"

#include <chrono>
#include <string>

class kxServerBaseConnection;
class kxServerSocket;

class kxServerPeer
{
public:
    typedef std::chrono::steady_clock Clock;

    explicit kxServerPeer(unsigned long key) : m_key(key) {}

    unsigned long GetKey() const { return m_key; }

    // Reads what the socket holds for this peer, as far as the buffer has room; false when the
    // peer closed its side or the connection broke. hungUp says the peer closed its side: then
    // everything it sent is read, to find its end.
    bool Receive(kxServerSocket& socket, bool hungUp);
    // Cuts the next whole message from what arrived: the greeting until the peer has a
    // connection, any other message afterwards.
    kxIpcMessage::Status Next(kxIpcMessage& message);
    bool HasInput() const { return !m_input.empty(); }

    // Queues bytes (taking them over when nothing else is queued) and sends what the socket
    // takes; false when the connection broke.
    bool Send(kxServerSocket& socket, std::string& bytes);
    // Sends what is queued, as far as the socket takes it; false when the connection broke.
    bool Flush(kxServerSocket& socket);
    bool IsSending() const { return m_sent < m_output.size(); }

    // The events this peer waits for now: input while there is room for it and the peer can
    // still send, output while anything is queued.
    int GetWanted() const;

    bool HasDeadline() const { return m_deadline != Clock::time_point::max(); }
    bool IsOverdue(Clock::time_point now) const { return now > m_deadline; }
    void SetDeadline(Clock::duration within) { m_deadline = Clock::now() + within; }
    void ClearDeadline() { m_deadline = Clock::time_point::max(); }

    // Its connection once the greeting was accepted.
    kxServerBaseConnection* m_connection = nullptr;
    // A message of this peer is being answered; its next ones wait.
    bool m_busy = false;
    // The peer closed its side: what it sent before is still served.
    bool m_ended = false;
    // The peer was refused: it is closed once what is queued for it went out.
    bool m_leaving = false;
    // The events the socket is watched for now.
    int m_watched = 0;

private:
    // Room for the longest message and a part of the next one.
    static const size_t kInputBytes = 32 * 1024;
    static_assert(kInputBytes > kxIpcMessage::kMessageBytes, "the longest message fits");

    unsigned long m_key;
    std::string m_input;
    std::string m_output;
    size_t m_sent = 0;
    Clock::time_point m_deadline = Clock::time_point::max();
};

#endif
