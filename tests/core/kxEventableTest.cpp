// Tests of kxEventable: firing, vetoes, handlers added, removed or destroyed on the way.
#include "kxRuzoVori/core/kxEventable.h"
#include "kxRuzoVori/core/kxException.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
// A subscriber that records its calls in a shared journal and answers as told.
class Recorder : public kxEventHandler
{
public:
    Recorder(std::vector<std::string>& journal, std::string name, bool answer = true)
        : m_journal(journal), m_name(std::move(name)), m_answer(answer)
    {
    }

    bool OnEvent(kxEventable&, kxParams&)
    {
        m_journal.push_back(m_name);
        if (m_action)
            m_action();
        return m_answer;
    }

    bool OnAppend(kxEventable&, kxParams& params)
    {
        params.AddText(wxString::FromUTF8(m_name));
        m_journal.push_back(m_name + ":" + std::to_string(params.GetCount()));
        return true;
    }

    std::function<void()> m_action;

private:
    std::vector<std::string>& m_journal;
    std::string m_name;
    bool m_answer;
};

const kxEventMethod onEvent = static_cast<kxEventMethod>(&Recorder::OnEvent);
const kxEventMethod onAppend = static_cast<kxEventMethod>(&Recorder::OnAppend);

wxString MessageOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const kxException& e)
    {
        return e.GetMsg();
    }
    return wxS("no exception");
}
} // namespace

TEST(kxEventable, FiringWithoutHandlersAnswersTrue)
{
    kxEventable eventable;
    eventable.RegisterEvent(1);
    EXPECT_TRUE(eventable.FireEvent(1));
    kxParams params;
    EXPECT_TRUE(eventable.PrivateFireEvent(1, params));
}

TEST(kxEventable, VetoIsTheAndOfAllAnswersAndEveryHandlerRuns)
{
    std::vector<std::string> journal;
    Recorder no(journal, "no", false), yes(journal, "yes", true);
    kxEventable eventable;
    eventable.RegisterEvent(5);
    eventable.AddHandler(5, onEvent, &no);
    eventable.AddHandler(5, onEvent, &yes);
    EXPECT_FALSE(eventable.FireEvent(5));
    EXPECT_EQ(journal, (std::vector<std::string>{"no", "yes"}));

    eventable.RemoveHandler(&no);
    EXPECT_TRUE(eventable.FireEvent(5));
}

TEST(kxEventable, SamePairAddedTwiceRunsTwiceAndHandlersShareTheBag)
{
    std::vector<std::string> journal;
    Recorder a(journal, "a"), b(journal, "b");
    kxEventable eventable;
    eventable.RegisterEvent(0);
    eventable.AddHandler(0, onAppend, &a);
    eventable.AddHandler(0, onAppend, &b);
    eventable.AddHandler(0, onAppend, &a);
    kxParams params;
    EXPECT_TRUE(eventable.FireEvent(0, params));
    EXPECT_EQ(journal, (std::vector<std::string>{"a:1", "b:2", "a:3"}));
    EXPECT_EQ(params.Get(1).m_text, wxS("b"));
}

TEST(kxEventable, UnknownAndDuplicateIds)
{
    std::vector<std::string> journal;
    Recorder r(journal, "r");
    kxEventable eventable;
    eventable.SetClassText(wxS("MyPublisher"));
    eventable.RegisterEvent(-1);
    eventable.AddHandler(-1, onEvent, &r);

    EXPECT_EQ(MessageOf([&] { eventable.FireEvent(3); }), wxS("Unknown event id"));
    EXPECT_EQ(MessageOf([&] { eventable.ValidateEvent(3); }), wxS("Unknown event id"));
    EXPECT_EQ(MessageOf([&] { eventable.AddHandler(3, onEvent, &r); }), wxS("Unknown event id"));
    EXPECT_EQ(MessageOf([&] { eventable.RegisterEvent(-1); }), wxS("Event is already registered"));
    EXPECT_NO_THROW(eventable.ValidateEvent(-1));
    try
    {
        eventable.FireEvent(4);
    }
    catch (const kxException& e)
    {
        EXPECT_EQ(e.GetClass(), wxS("MyPublisher"));
    }

    // The failed subscription left nothing behind, and the duplicate kept the existing list.
    eventable.RegisterEvent(3);
    EXPECT_TRUE(eventable.FireEvent(3));
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(eventable.FireEvent(-1));
    EXPECT_EQ(journal, (std::vector<std::string>{"r"}));
}

TEST(kxEventable, ThrowingHandlerEndsTheFiring)
{
    std::vector<std::string> journal;
    Recorder first(journal, "first"), thrower(journal, "thrower"), last(journal, "last");
    thrower.m_action = [] { throw kxException(wxS("boom"), wxS("host")); };
    kxEventable eventable;
    eventable.RegisterEvent(1);
    eventable.AddHandler(1, onEvent, &first);
    eventable.AddHandler(1, onEvent, &thrower);
    eventable.AddHandler(1, onEvent, &last);
    EXPECT_EQ(MessageOf([&] { eventable.FireEvent(1); }), wxS("boom"));
    EXPECT_EQ(journal, (std::vector<std::string>{"first", "thrower"}));
}

TEST(kxEventable, RemovalDuringAFiringSkipsLaterEntriesOfThatFiring)
{
    std::vector<std::string> journal;
    Recorder remover(journal, "remover"), victim(journal, "victim"), other(journal, "other");
    kxEventable eventable;
    eventable.RegisterEvent(1);
    eventable.AddHandler(1, onEvent, &victim);
    eventable.AddHandler(1, onEvent, &remover);
    eventable.AddHandler(1, onEvent, &victim);
    eventable.AddHandler(1, onEvent, &other);
    remover.m_action = [&] { eventable.RemoveHandler(&victim); };
    EXPECT_TRUE(eventable.FireEvent(1));
    EXPECT_EQ(journal, (std::vector<std::string>{"victim", "remover", "other"}));
}

TEST(kxEventable, HandlersAddedDuringAFiringRunFromTheNextFiring)
{
    std::vector<std::string> journal;
    Recorder adder(journal, "adder"), late(journal, "late");
    kxEventable eventable;
    eventable.RegisterEvent(1);
    eventable.AddHandler(1, onEvent, &adder);
    // Enough additions to force the list to move while it is being walked.
    adder.m_action = [&]
    {
        for (int i = 0; i < 64; ++i)
            eventable.AddHandler(1, onEvent, &late);
        adder.m_action = nullptr;
    };
    EXPECT_TRUE(eventable.FireEvent(1));
    EXPECT_EQ(journal, (std::vector<std::string>{"adder"}));
    journal.clear();
    EXPECT_TRUE(eventable.FireEvent(1));
    EXPECT_EQ(journal.size(), 65u);
}

TEST(kxEventable, HandlerDestroyedFirstIsSkipped)
{
    std::vector<std::string> journal;
    auto doomed = std::make_unique<Recorder>(journal, "doomed");
    Recorder survivor(journal, "survivor");
    kxEventable eventable;
    eventable.RegisterEvent(1);
    eventable.RegisterEvent(2);
    eventable.AddHandler(1, onEvent, doomed.get());
    eventable.AddHandler(2, onEvent, doomed.get());
    eventable.AddHandler(1, onEvent, &survivor);
    doomed.reset();
    EXPECT_TRUE(eventable.FireEvent(1));
    EXPECT_TRUE(eventable.FireEvent(2));
    EXPECT_EQ(journal, (std::vector<std::string>{"survivor"}));
}

TEST(kxEventable, HandlerDestroyedDuringAFiring)
{
    std::vector<std::string> journal;
    Recorder* victim = new Recorder(journal, "victim");
    Recorder killer(journal, "killer"), after(journal, "after");
    kxEventable eventable;
    eventable.RegisterEvent(1);
    eventable.AddHandler(1, onEvent, victim);
    eventable.AddHandler(1, onEvent, &killer);
    eventable.AddHandler(1, onEvent, victim);
    eventable.AddHandler(1, onEvent, &after);
    killer.m_action = [&] { delete victim; };
    EXPECT_TRUE(eventable.FireEvent(1));
    EXPECT_EQ(journal, (std::vector<std::string>{"victim", "killer", "after"}));
}

// Every order of destruction, with and without RemoveHandler first: under the sanitizers a
// visit to a dead object would be reported.
TEST(kxEventable, DestructionInEveryOrder)
{
    std::vector<std::string> journal;
    for (int removeFirst = 0; removeFirst < 2; ++removeFirst)
    {
        for (int eventableFirst = 0; eventableFirst < 2; ++eventableFirst)
        {
            auto handler = std::make_unique<Recorder>(journal, "h");
            auto a = std::make_unique<kxEventable>();
            auto b = std::make_unique<kxEventable>();
            a->RegisterEvent(1);
            b->RegisterEvent(1);
            a->AddHandler(1, onEvent, handler.get());
            b->AddHandler(1, onEvent, handler.get());
            if (removeFirst)
                a->RemoveHandler(handler.get());
            if (eventableFirst)
            {
                a.reset();
                handler.reset();
                EXPECT_TRUE(b->FireEvent(1));
            }
            else
            {
                handler.reset();
                EXPECT_TRUE(a->FireEvent(1));
                EXPECT_TRUE(b->FireEvent(1));
            }
        }
    }
    EXPECT_TRUE(journal.empty());
}

namespace
{
// A publisher that is also its own subscriber, through a second base.
class SelfSubscriber : public wxObject, public kxEventable, public kxEventHandler
{
public:
    SelfSubscriber()
    {
        RegisterEvent(0);
        AddHandler(0, static_cast<kxEventMethod>(&SelfSubscriber::OnEvent), this);
    }

    bool OnEvent(kxEventable& sender, kxParams&)
    {
        ++m_calls;
        return &sender == this;
    }

    int m_calls = 0;
};
} // namespace

TEST(kxEventable, PublisherSubscribedToItselfThroughASecondBase)
{
    auto* both = new SelfSubscriber;
    EXPECT_TRUE(both->FireEvent(0));
    EXPECT_TRUE(both->FireEvent(0));
    EXPECT_EQ(both->m_calls, 2);
    delete both;
}
