// The tree combo with check boxes, driven by simulated clicks.
#include "kxRuzoVori/controls/kxTreeComboCheckBox.h"
#include "support/kxGuiSupport.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include <vector>

namespace
{
// Plain squares stand for the check images, so a test can tell them apart by a pixel.
wxBitmap Square(const wxColour& colour)
{
    wxBitmap bitmap(16, 16);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(colour));
    dc.Clear();
    return bitmap;
}

class Data : public wxTreeItemData
{
public:
    explicit Data(int value) : m_value(value) {}
    int m_value;
};

// Hears the combo's closing event and keeps the texts it carried.
class Closings : public kxEventHandler
{
public:
    bool OnClosed(kxEventable&, kxParams& params)
    {
        m_texts.push_back(params.GetCount() == 1 ? params.Get(0).m_text : wxS("?"));
        return true;
    }
    std::vector<wxString> m_texts;
};

// A frame holding a combo with the tree
//   <none>, bread, fruit (apple, pear)
// whose pop-up the tests open and click as a user does.
class kxTreeComboGui : public testing::Test
{
protected:
    void Build(int mode)
    {
        m_frame =
            new wxFrame(nullptr, wxID_ANY, wxS("tree combo"), wxPoint(30, 30), wxSize(420, 360));
        m_combo = new kxTreeComboCheckBox(mode, Square(*wxBLUE), Square(*wxGREEN), Square(*wxWHITE),
                                          Square(*wxLIGHT_GREY), m_frame, wxID_ANY, wxPoint(10, 10),
                                          wxSize(260, -1), wxCB_READONLY);
        m_combo->AddHandler(kxTreeComboCheckBox::EVENT_POPUP_CLOSED,
                            static_cast<kxEventMethod>(&Closings::OnClosed), &m_closings);
        m_fruit = m_combo->AppendItem(m_combo->GetRoot(), wxS("fruit"), new Data(1), true);
        m_pear = m_combo->AppendItem(m_fruit, wxS("pear"), new Data(3), true);
        m_apple = m_combo->AppendItem(m_fruit, wxS("apple"), new Data(2), true);
        m_bread = m_combo->AppendItem(m_combo->GetRoot(), wxS("bread"), nullptr, true);
        ASSERT_TRUE(kxTestShow(m_frame));
    }

    void TearDown() override
    {
        if (m_frame)
            m_frame->Destroy();
        kxTestPumpEvents(50);
    }

    kxTreeComboPopup* Tree() const { return m_combo->GetTreeCtrl(); }

    void Click(wxWindow* window, const wxPoint& where)
    {
        kxTestClick(window, where);
        // Apart enough that two clicks never make a double click.
        kxTestPumpEvents(350);
    }

    void Open()
    {
        ASSERT_FALSE(m_combo->IsPopupShown());
        const wxSize size = m_combo->GetClientSize();
        Click(m_combo, wxPoint(size.x - 8, size.y / 2));
        ASSERT_TRUE(kxTestWaitFor([&] { return m_combo->IsPopupShown(); }, 5000));
        kxTestPumpEvents(100);
    }

    // Closes the pop-up the way a user does, by clicking beside it.
    void CloseOutside()
    {
        ASSERT_TRUE(m_combo->IsPopupShown());
        Click(m_frame, wxPoint(380, 320));
        ASSERT_TRUE(kxTestWaitFor([&] { return !m_combo->IsPopupShown(); }, 5000));
    }

    // A point of the tree on the item's label, or in the middle of its image or expand button,
    // found by the tree's own hit test.
    wxPoint PointOn(const wxTreeItemId& item, int part)
    {
        wxRect label;
        EXPECT_TRUE(Tree()->GetBoundingRect(item, label, true));
        const int y = label.GetTop() + label.GetHeight() / 2;
        wxPoint point(label.GetLeft() + 4, y);
        if (part != wxTREE_HITTEST_ONITEMLABEL)
        {
            int right = -1;
            int left = -1;
            for (int x = label.GetLeft(); x >= 0; --x)
            {
                int flags = 0;
                const bool on = Tree()->HitTest(wxPoint(x, y), flags) == item && (flags & part);
                if (on && right < 0)
                    right = x;
                if (on)
                    left = x;
                else if (right >= 0)
                    break;
            }
            point.x = (left + right) / 2;
        }
        int flags = 0;
        EXPECT_EQ(Tree()->HitTest(point, flags), item);
        EXPECT_TRUE(flags & part) << "hit test flags " << flags;
        return point;
    }

    void ClickLabel(const wxTreeItemId& item)
    {
        Click(Tree(), PointOn(item, wxTREE_HITTEST_ONITEMLABEL));
    }
    void ClickIcon(const wxTreeItemId& item)
    {
        Click(Tree(), PointOn(item, wxTREE_HITTEST_ONITEMICON));
    }

    // The colour the user sees in the middle of the item's image.
    wxColour ImageColour(const wxTreeItemId& item)
    {
        const wxPoint point = PointOn(item, wxTREE_HITTEST_ONITEMICON);
        const wxImage shown = kxTestCapture(Tree());
        return wxColour(shown.GetRed(point.x, point.y), shown.GetGreen(point.x, point.y),
                        shown.GetBlue(point.x, point.y));
    }

    // What the field shows: the combo's own text, apart from the states' text.
    wxString Shown() const { return m_combo->wxComboCtrl::GetValue(); }

    wxFrame* m_frame = nullptr;
    kxTreeComboCheckBox* m_combo = nullptr;
    Closings m_closings;
    wxTreeItemId m_fruit, m_apple, m_pear, m_bread;
};
} // namespace

TEST_F(kxTreeComboGui, CascadingChecksFollowTheClicksOnLabelsAndImages)
{
    Build(kxTreeComboPopup::MODE_CHECK_DOWN);
    const wxTreeItemId none = Tree()->GetNoneItem();
    EXPECT_EQ(m_combo->GetValue(), wxS("")) << "nothing clicked yet";
    Open();

    ClickLabel(m_fruit);
    EXPECT_TRUE(Tree()->IsGrayed(m_fruit));
    EXPECT_EQ(ImageColour(m_fruit), *wxLIGHT_GREY);
    EXPECT_FALSE(m_combo->IsChecked(m_apple));
    EXPECT_FALSE(m_combo->IsChecked(m_pear));
    EXPECT_EQ(m_combo->GetValue(), wxS("fruit"));
    EXPECT_TRUE(m_combo->IsPopupShown()) << "check modes stay open";

    ClickIcon(m_fruit);
    EXPECT_EQ(m_combo->GetValue(), wxS("fruit,apple,pear"));
    EXPECT_FALSE(Tree()->IsGrayed(m_fruit));
    EXPECT_EQ(ImageColour(m_apple), *wxGREEN);

    ClickLabel(m_fruit);
    EXPECT_EQ(m_combo->GetValue(), wxS("<none>")) << "unchecking the last checks <none>";
    EXPECT_FALSE(m_combo->IsChecked(m_apple));
    EXPECT_TRUE(m_combo->IsChecked(none));
    EXPECT_EQ(ImageColour(m_apple), *wxWHITE);
    EXPECT_EQ(ImageColour(none), *wxGREEN);

    ClickIcon(m_apple);
    ClickLabel(m_bread);
    EXPECT_EQ(m_combo->GetValue(), wxS("bread,apple")) << "in tree order";
    EXPECT_FALSE(m_combo->IsChecked(none));
    EXPECT_EQ(Shown(), wxS("")) << "the field changes when the pop-up closes";

    CloseOutside();
    ASSERT_EQ(m_closings.m_texts.size(), 1u);
    EXPECT_EQ(m_closings.m_texts[0], wxS("bread,apple"));
    EXPECT_EQ(Shown(), wxS("bread,apple"));

    Open();
    ClickLabel(none);
    EXPECT_EQ(m_combo->GetValue(), wxS("<none>"));
    EXPECT_FALSE(m_combo->IsChecked(m_apple));
    EXPECT_FALSE(m_combo->IsChecked(m_bread));
    ClickLabel(none);
    EXPECT_TRUE(m_combo->IsChecked(none)) << "a checked <none> stays checked";
    EXPECT_TRUE(m_combo->IsPopupShown());
    CloseOutside();
    ASSERT_EQ(m_closings.m_texts.size(), 2u);
    EXPECT_EQ(m_closings.m_texts[1], wxS("<none>"));
    EXPECT_EQ(Shown(), wxS("<none>"));
}

TEST_F(kxTreeComboGui, ParentsFollowTheirChildren)
{
    Build(kxTreeComboPopup::MODE_CHECK_UP);
    Open();
    ClickLabel(m_apple);
    EXPECT_TRUE(Tree()->IsGrayed(m_apple)) << "an item below the top is grayed first";
    EXPECT_FALSE(m_combo->IsChecked(m_fruit)) << "its parent is left alone on that step";
    ClickIcon(m_apple);
    EXPECT_FALSE(Tree()->IsGrayed(m_apple));
    EXPECT_TRUE(Tree()->IsGrayed(m_fruit));
    EXPECT_EQ(m_combo->GetValue(), wxS("fruit,apple"));

    ClickLabel(m_pear);
    ClickLabel(m_pear);
    EXPECT_TRUE(m_combo->IsChecked(m_fruit));
    EXPECT_FALSE(Tree()->IsGrayed(m_fruit));
    EXPECT_EQ(ImageColour(m_fruit), *wxGREEN);
    EXPECT_EQ(m_combo->GetValue(), wxS("fruit,apple,pear"));

    ClickLabel(m_apple);
    EXPECT_TRUE(Tree()->IsGrayed(m_fruit));
    EXPECT_EQ(ImageColour(m_fruit), *wxLIGHT_GREY);
    EXPECT_EQ(m_combo->GetValue(), wxS("fruit,pear"));

    ClickLabel(m_bread);
    EXPECT_EQ(m_combo->GetValue(), wxS("bread,fruit,pear")) << "a top-level item checks at once";
    CloseOutside();
    ASSERT_EQ(m_closings.m_texts.size(), 1u);
    EXPECT_EQ(m_closings.m_texts[0], wxS("bread,fruit,pear"));
}

TEST_F(kxTreeComboGui, SingleChoiceShowsThePathAndCloses)
{
    Build(kxTreeComboPopup::MODE_SINGLE);
    EXPECT_EQ(Tree()->GetImageList(), nullptr);
    Open();
    ClickLabel(m_apple);
    ASSERT_TRUE(kxTestWaitFor([&] { return !m_combo->IsPopupShown(); }, 5000));
    EXPECT_EQ(m_combo->GetValue(), wxS("fruit/apple"));
    EXPECT_EQ(Shown(), wxS("fruit/apple"));
    ASSERT_EQ(m_closings.m_texts.size(), 1u);
    EXPECT_EQ(m_closings.m_texts[0], wxS("fruit/apple"));
    EXPECT_EQ(static_cast<Data*>(m_combo->GetCurrentClientData())->m_value, 2);

    Open();
    ClickLabel(m_apple);
    ASSERT_TRUE(kxTestWaitFor([&] { return !m_combo->IsPopupShown(); }, 5000));
    EXPECT_EQ(m_combo->GetValue(), wxS("fruit/apple")) << "choosing it again keeps it";

    Open();
    ClickLabel(m_bread);
    ASSERT_TRUE(kxTestWaitFor([&] { return !m_combo->IsPopupShown(); }, 5000));
    EXPECT_EQ(m_combo->GetValue(), wxS("bread"));
    EXPECT_FALSE(m_combo->IsChecked(m_apple));

    Open();
    ClickLabel(Tree()->GetNoneItem());
    ASSERT_TRUE(kxTestWaitFor([&] { return !m_combo->IsPopupShown(); }, 5000));
    EXPECT_EQ(m_combo->GetValue(), wxS("<none>"));
    EXPECT_FALSE(m_combo->IsChecked(m_bread));
    ASSERT_EQ(m_closings.m_texts.size(), 4u);
    EXPECT_EQ(m_closings.m_texts[3], wxS("<none>"));
    EXPECT_EQ(Shown(), wxS("<none>"));
}

TEST_F(kxTreeComboGui, TheExpandButtonFoldsWithoutChecking)
{
    Build(kxTreeComboPopup::MODE_CHECK_DOWN);
    Open();
    EXPECT_TRUE(Tree()->IsExpanded(m_fruit)) << "the pop-up opens fully expanded";
    Click(Tree(), PointOn(m_fruit, wxTREE_HITTEST_ONITEMBUTTON));
    EXPECT_FALSE(Tree()->IsExpanded(m_fruit));
    EXPECT_FALSE(m_combo->IsChecked(m_fruit));
    for (const wxTreeItemId& item : {Tree()->GetNoneItem(), m_bread, m_fruit, m_apple, m_pear})
        EXPECT_FALSE(Tree()->IsSelected(item)) << "the tree never shows a selection";
    EXPECT_TRUE(m_combo->IsPopupShown());
    EXPECT_LE(m_combo->GetPopupWindow()->GetSize().GetHeight(), kxTreeComboPopup::MAX_HEIGHT);
    // The frame goes with the pop-up still open.
}

// Enough items to need more than the highest pop-up allowed.
TEST_F(kxTreeComboGui, ThePopupIsAtMostTwoHundredPixelsHigh)
{
    Build(kxTreeComboPopup::MODE_CHECK_DOWN);
    for (int i = 0; i < 40; ++i)
        m_combo->AppendItem(m_combo->GetRoot(), wxString::Format(wxS("item %d"), i));
    EXPECT_EQ(Tree()->GetAdjustedSize(100, 500, 900), wxSize(100, 200));
    EXPECT_EQ(Tree()->GetAdjustedSize(100, 150, 900), wxSize(100, 150));
    Open();
    EXPECT_LE(m_combo->GetPopupWindow()->GetSize().GetHeight(), kxTreeComboPopup::MAX_HEIGHT);
    EXPECT_GT(m_combo->GetPopupWindow()->GetSize().GetHeight(), 100);
    CloseOutside();
}

TEST_F(kxTreeComboGui, HostCallsCheckFindWalkAndClear)
{
    Build(kxTreeComboPopup::MODE_CHECK_DOWN);
    const wxTreeItemId none = Tree()->GetNoneItem();

    // Sorted on insertion: <none> first, then natural order.
    wxTreeItemIdValue cookie;
    EXPECT_EQ(Tree()->GetFirstChild(m_combo->GetRoot(), cookie), none);
    EXPECT_EQ(Tree()->GetNextChild(m_combo->GetRoot(), cookie), m_bread);
    EXPECT_EQ(Tree()->GetFirstChild(m_fruit, cookie), m_apple);

    // The walk passes over <none> and gives every item before its children.
    wxTreeItemId at;
    std::vector<wxTreeItemId> walked;
    std::vector<int> values;
    wxTreeItemData* found = m_combo->GetFirstItemData(at);
    while (at.IsOk() && walked.size() < 10)
    {
        walked.push_back(at);
        values.push_back(found ? static_cast<Data*>(found)->m_value : 0);
        found = m_combo->GetNextItemData(at);
        if (at == walked.back())
            break;
    }
    EXPECT_EQ(walked, (std::vector<wxTreeItemId>{m_bread, m_fruit, m_apple, m_pear}));
    EXPECT_EQ(values, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(m_combo->GetNextItemData(at), nullptr) << "the end stays the end";
    EXPECT_EQ(at, m_pear);

    // A host check advances the click cycle; the check flag decides the descendants.
    EXPECT_FALSE(m_combo->CheckItem(wxTreeItemId(), true));
    EXPECT_FALSE(m_combo->CheckItem(wxS("plum"), true));
    EXPECT_EQ(m_combo->GetValue(), wxS("")) << "refused checks change nothing";
    EXPECT_TRUE(m_combo->CheckItem(wxS("pear"), true));
    EXPECT_EQ(m_combo->GetValue(), wxS("pear"));
    EXPECT_TRUE(m_combo->CheckItem(m_fruit, true));
    EXPECT_TRUE(Tree()->IsGrayed(m_fruit));
    EXPECT_TRUE(m_combo->CheckItem(m_fruit, false));
    EXPECT_EQ(m_combo->GetValue(), wxS("fruit")) << "grayed to checked, children cleared";
    EXPECT_TRUE(m_combo->CheckItem(m_apple, true, true));
    EXPECT_TRUE(m_combo->CheckItem(m_bread, false, true));
    EXPECT_EQ(m_combo->GetValue(), wxS("fruit,apple"));
    EXPECT_EQ(static_cast<Data*>(m_combo->GetCurrentClientData())->m_value, 2);

    std::vector<wxTreeItemData*> data;
    std::vector<bool> checked;
    data.push_back(nullptr);
    EXPECT_TRUE(m_combo->GetSelection(data, checked));
    ASSERT_EQ(data.size(), 2u);
    EXPECT_EQ(static_cast<Data*>(data[0])->m_value, 1);
    EXPECT_EQ(static_cast<Data*>(data[1])->m_value, 2);
    EXPECT_EQ(checked, (std::vector<bool>{true, true}));

    // A host may set its own text; the states keep theirs.
    m_combo->SetValue(wxS("custom"));
    EXPECT_EQ(Shown(), wxS("custom"));
    EXPECT_EQ(m_combo->GetValue(), wxS("fruit,apple"));

    m_combo->Clear();
    EXPECT_EQ(m_combo->GetValue(), wxS("<none>"));
    EXPECT_EQ(Shown(), wxS("<none>"));
    EXPECT_EQ(Tree()->GetChildrenCount(m_combo->GetRoot()), 1u);
    EXPECT_TRUE(m_combo->IsChecked(Tree()->GetNoneItem()));
    EXPECT_EQ(m_combo->GetFirstItemData(at), nullptr);
    // Asked by text: the id of a deleted item may come back as the id of a new one, since the
    // toolkit's ids are the items' addresses.
    EXPECT_FALSE(m_combo->CheckItem(wxS("apple"), true)) << "items of before the clear are gone";
    EXPECT_TRUE(m_combo->GetSelection(data, checked));
    EXPECT_TRUE(data.empty());
}

TEST_F(kxTreeComboGui, SortingKeepsNoneFirstAndNumbersInOrder)
{
    Build(kxTreeComboPopup::MODE_SINGLE);
    const wxTreeItemId root = m_combo->GetRoot();
    Tree()->DeleteChildren(m_fruit);
    const wxTreeItemId a10 = m_combo->AppendItem(m_fruit, wxS("a10"));
    const wxTreeItemId other = m_combo->AppendItem(m_fruit, wxS("<none>"));
    const wxTreeItemId a2 = m_combo->AppendItem(m_fruit, wxS("a2"));
    const wxTreeItemId b = m_combo->AppendItem(root, wxS("B1"));
    m_combo->SortAll(wxTreeItemId());
    wxTreeItemIdValue cookie;
    EXPECT_EQ(Tree()->GetFirstChild(m_fruit, cookie), other);
    EXPECT_EQ(Tree()->GetNextChild(m_fruit, cookie), a2);
    EXPECT_EQ(Tree()->GetNextChild(m_fruit, cookie), a10);
    EXPECT_EQ(Tree()->GetFirstChild(root, cookie), Tree()->GetNoneItem());
    EXPECT_EQ(Tree()->GetNextChild(root, cookie), b) << "letters compare without case";
    EXPECT_EQ(Tree()->GetNextChild(root, cookie), m_bread);
    EXPECT_LT(Tree()->OnCompareItems(Tree()->GetNoneItem(), m_bread), 0);
    EXPECT_GT(Tree()->OnCompareItems(m_bread, Tree()->GetNoneItem()), 0);

    // Deleted items leave no state behind to be found again.
    EXPECT_TRUE(m_combo->CheckItem(b, true, true));
    EXPECT_TRUE(m_combo->CheckItem(a2, true, true));
    EXPECT_EQ(m_combo->GetValue(), wxS("B1"));
    Tree()->Delete(a2);
    EXPECT_EQ(m_combo->GetValue(), wxS("B1"));
    EXPECT_EQ(m_combo->GetCurrentClientData(), nullptr);
    EXPECT_FALSE(m_combo->CheckItem(wxS("a2"), true));
}
