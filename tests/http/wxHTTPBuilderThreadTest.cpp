// Requests on the worker thread inside a running application: the finished event reaches a
// real window on the GUI thread.
#include "kxRuzoVori/http/wxHTTPBuilderThread.h"
#include "kxHttpTestServers.h"
#include "kxRuzoVori/http/wxHTTPBuilderEvent.h"
#include "kxRuzoVori/http/wxHTTPBuilderThreadObj.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <atomic>
#include <memory>
#include <string>

namespace
{
// A window that keeps the finished events it receives, and on which thread they came.
class Receiver : public wxFrame
{
public:
    Receiver() : wxFrame(nullptr, wxID_ANY, wxS("receiver"))
    {
        Bind(wxEVT_HTTPBUILDERTHREAD_FINISHED, &Receiver::OnFinished, this);
    }

    bool WaitForEvent() const
    {
        return kxTestWaitFor([this] { return m_events > 0; }, 60000);
    }

    int m_events = 0;
    bool m_onMainThread = false;
    int m_id = 0;
    bool m_finished = false;
    wxString m_data;
    wxObject* m_object = nullptr;

private:
    void OnFinished(wxHTTPBuilderEvent& event)
    {
        ++m_events;
        m_onMainThread = wxThread::IsMain();
        m_id = event.GetId();
        m_finished = event.GetFinished();
        m_data = event.GetData();
        m_object = event.GetEventObject();
    }
};

struct FrameCloser
{
    void operator()(wxFrame* frame) const { frame->Destroy(); }
};

std::unique_ptr<Receiver, FrameCloser> MakeReceiver()
{
    return std::unique_ptr<Receiver, FrameCloser>(new Receiver);
}

bool Start(wxHTTPBuilderThread* thread)
{
    return thread->Create() == wxTHREAD_NO_ERROR && thread->Run() == wxTHREAD_NO_ERROR;
}
} // namespace

TEST(HTTPBuilderThread, ResponseTextReachesTheWindow)
{
    kxTestNginx nginx;
    ASSERT_TRUE(nginx.IsOk());
    ASSERT_TRUE(nginx.Put("page.txt", "Gr\xc3\xbc\xc3\x9f"
                                      "e aus dem Thread"));
    auto receiver = MakeReceiver();

    // The same request on the GUI thread itself, while the application runs.
    wxHTTPBuilder builder;
    EXPECT_EQ(wxString::FromUTF8("Gr\xc3\xbc\xc3\x9f"
                                 "e aus dem Thread"),
              builder.GetInputString(nginx.Url("/page.txt")));

    wxHTTPBuilderThread* thread =
        new wxHTTPBuilderThread(receiver.get(), 42, &builder, nginx.Url("/page.txt"));
    EXPECT_EQ(42, thread->GetId());
    EXPECT_EQ(receiver.get(), thread->GetParent());
    ASSERT_TRUE(Start(thread));
    ASSERT_TRUE(receiver->WaitForEvent());
    EXPECT_TRUE(receiver->m_onMainThread);
    EXPECT_EQ(42, receiver->m_id);
    EXPECT_TRUE(receiver->m_finished);
    EXPECT_EQ(wxString::FromUTF8("Gr\xc3\xbc\xc3\x9f"
                                 "e aus dem Thread"),
              receiver->m_data);
    EXPECT_EQ(&builder, receiver->m_object);

    // A head request reports with an empty text; a download into a file too.
    auto head = MakeReceiver();
    thread = new wxHTTPBuilderThread(head.get(), 7, &builder, nginx.Url("/page.txt"));
    thread->GetHeadRequest(true);
    ASSERT_TRUE(Start(thread));
    ASSERT_TRUE(head->WaitForEvent());
    EXPECT_EQ(wxString(), head->m_data);
    EXPECT_EQ(200, builder.GetResponse());

    kxTestTempDir dir;
    auto download = MakeReceiver();
    thread = new wxHTTPBuilderThread(download.get(), 8, &builder, nginx.Url("/page.txt"));
    thread->SaveToFile(true, dir.File(wxS("page")));
    ASSERT_TRUE(Start(thread));
    ASSERT_TRUE(download->WaitForEvent());
    EXPECT_EQ(wxString(), download->m_data);
    EXPECT_EQ("Gr\xc3\xbc\xc3\x9f"
              "e aus dem Thread",
              kxTestReadBytes(dir.File(wxS("page"))));
}

TEST(HTTPBuilderThread, DeletingTheThreadEndsTheDownload)
{
    // A body without end: only the deletion ends this download.
    std::atomic<bool> serving{true};
    kxTestRawServer endless(
        [&serving](int connection)
        {
            kxTestRawServer::ReadHead(connection);
            bool ok = kxTestRawServer::Write(connection, "HTTP/1.0 200 OK\r\n\r\n");
            const std::string block(1 << 16, 'x');
            while (ok && serving)
                ok = kxTestRawServer::Write(connection, block);
        });
    auto receiver = MakeReceiver();
    kxTestTempDir dir;

    wxHTTPBuilderThreadObj builder;
    wxHTTPBuilderThread* thread =
        new wxHTTPBuilderThread(receiver.get(), 3, &builder, endless.Url("/"));
    builder.SetThread(thread);
    thread->SaveToFile(true, dir.File(wxS("endless")));
    ASSERT_TRUE(Start(thread));
    ASSERT_TRUE(kxTestWaitFor([&builder] { return builder.GetBytesRead() > (1 << 20); }, 60000));
    thread->Delete();
    const bool reported = receiver->WaitForEvent();
    serving = false;
    ASSERT_TRUE(reported);
    EXPECT_EQ(3, receiver->m_id);
    // The ended thread let go of the builder, whose stop flag stays set.
    EXPECT_EQ(nullptr, builder.GetThread());
    EXPECT_TRUE(builder.StopCheck());
    // The file holds exactly the blocks that were counted.
    EXPECT_EQ(static_cast<size_t>(builder.GetBytesRead()),
              kxTestReadBytes(dir.File(wxS("endless"))).size());
}
