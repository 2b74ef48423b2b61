#include "kxRuzoVori/platform/kxPlatformSocket.h"

#include <gtest/gtest.h>
#include <wx/socket.h>

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
