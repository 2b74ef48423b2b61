// Tests of the platform layer's socket options.
#include "kxRuzoVori/platform/kxPlatformSocket.h"

#include <gtest/gtest.h>
#include <wx/socket.h>

#include <cerrno>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

TEST(PlatformSocket, SmallWritesGoOutAtOnce)
{
    wxIPV4address address;
    address.LocalHost();
    address.Service(0);
    wxSocketServer server(address);
    ASSERT_TRUE(server.IsOk());
    ASSERT_TRUE(server.GetLocal(address));

    wxSocketClient client;
    ASSERT_TRUE(client.Connect(address, true));
    EXPECT_FALSE(kxPlatform::IsSocketNoDelay(client));
    EXPECT_TRUE(kxPlatform::SetSocketNoDelay(client));
    EXPECT_TRUE(kxPlatform::IsSocketNoDelay(client));

    wxSocketClient unconnected;
    EXPECT_FALSE(kxPlatform::SetSocketNoDelay(unconnected));
}

TEST(PlatformSocket, TransfersWaitNoLongerThanAllowed)
{
    int pair[2];
    ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, pair));
    char buffer[16];
    int error = 0;
    EXPECT_EQ(-1, kxPlatform::ReceiveFromSocket(pair[0], buffer, sizeof buffer, 50, error));
    EXPECT_EQ(ETIMEDOUT, error);

    // A blocking descriptor does not make them block.
    EXPECT_EQ(5, kxPlatform::SendOnSocket(pair[1], "hello", 5, 1000, error));
    EXPECT_EQ(3, kxPlatform::ReceiveFromSocket(pair[0], buffer, 3, 1000, error));
    const long rest = kxPlatform::ReceiveFromSocket(pair[0], buffer, sizeof buffer, 1000, error);
    ASSERT_EQ(2, rest);
    EXPECT_EQ("lo", std::string(buffer, rest));

    // A full peer times the sender out; a peer that has gone raises no signal.
    const std::string big(1 << 22, 'x');
    EXPECT_EQ(-1, kxPlatform::SendOnSocket(pair[1], big.data(), big.size(), 50, error));
    EXPECT_EQ(ETIMEDOUT, error);
    close(pair[0]);
    EXPECT_EQ(-1, kxPlatform::SendOnSocket(pair[1], "x", 1, 1000, error));
    EXPECT_TRUE(error == EPIPE || error == ECONNRESET) << error;
    // The unread bytes the peer dropped may make its going a reset rather than an end.
    const long gone = kxPlatform::ReceiveFromSocket(pair[1], buffer, sizeof buffer, 1000, error);
    EXPECT_TRUE(gone == 0 || (gone == -1 && error == ECONNRESET)) << gone << " " << error;
    close(pair[1]);
}
