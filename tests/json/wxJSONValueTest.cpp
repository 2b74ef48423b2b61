// Building and querying values, sharing and copy-on-write, comments and comparison, as a host
// uses them, and values that cross threads.
#include "kxRuzoVori/json/wxJSONValue.h"

#include <gtest/gtest.h>

#include <climits>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace
{
wxMemoryBuffer Bytes(std::initializer_list<unsigned char> bytes)
{
    wxMemoryBuffer buff(0);
    for (unsigned char b : bytes)
        buff.AppendData(&b, 1);
    return buff;
}
} // namespace

TEST(wxJSONValueTypes, IntegersReportTheNarrowestRange)
{
    EXPECT_EQ(wxJSONValue(5).GetType(), wxJSONTYPE_SHORT);
    EXPECT_EQ(wxJSONValue(-32768).GetType(), wxJSONTYPE_SHORT);
    EXPECT_EQ(wxJSONValue(32768).GetType(), wxJSONTYPE_LONG);
    EXPECT_EQ(wxJSONValue(100000).GetType(), wxJSONTYPE_LONG);
    EXPECT_EQ(wxJSONValue(INT_MIN).GetType(), wxJSONTYPE_LONG);
    EXPECT_EQ(wxJSONValue(1LL << 40).GetType(), wxJSONTYPE_INT64);
    EXPECT_EQ(wxJSONValue(5u).GetType(), wxJSONTYPE_USHORT);
    EXPECT_EQ(wxJSONValue(65536u).GetType(), wxJSONTYPE_ULONG);
    EXPECT_EQ(wxJSONValue(4294967296ULL).GetType(), wxJSONTYPE_UINT64);
    // long is wider than 32 bits here, but the type rules keep 32-bit ranges.
    EXPECT_EQ(wxJSONValue(5000000000L).GetType(), wxJSONTYPE_INT64);
    EXPECT_EQ(wxJSONValue(static_cast<short>(-3)).GetType(), wxJSONTYPE_SHORT);
    EXPECT_EQ(wxJSONValue(static_cast<unsigned short>(3)).GetType(), wxJSONTYPE_USHORT);
}

TEST(wxJSONValueTypes, OtherKindsAndTheirNames)
{
    EXPECT_EQ(wxJSONValue().GetType(), wxJSONTYPE_NULL);
    EXPECT_EQ(wxJSONValue(true).GetType(), wxJSONTYPE_BOOL);
    EXPECT_EQ(wxJSONValue(1.5).GetType(), wxJSONTYPE_DOUBLE);
    EXPECT_EQ(wxJSONValue(wxString("x")).GetType(), wxJSONTYPE_STRING);
    EXPECT_EQ(wxJSONValue(L"x").GetType(), wxJSONTYPE_STRING);
    EXPECT_EQ(wxJSONValue("x").GetType(), wxJSONTYPE_STRING);
    EXPECT_EQ(wxJSONValue(static_cast<const wchar_t*>(nullptr)).AsString(), "");
    EXPECT_EQ(wxJSONValue(wxJSONTYPE_CSTRING).GetType(), wxJSONTYPE_STRING);
    EXPECT_EQ(wxJSONValue(wxJSONTYPE_ARRAY).GetType(), wxJSONTYPE_ARRAY);
    EXPECT_EQ(wxJSONValue(wxJSONTYPE_OBJECT).GetType(), wxJSONTYPE_OBJECT);
    EXPECT_EQ(wxJSONValue(Bytes({1, 2})).GetType(), wxJSONTYPE_MEMORYBUFF);
    EXPECT_EQ(wxJSONValue(static_cast<wxJSONType>(40)).GetType(), wxJSONTYPE_INVALID);

    EXPECT_EQ(wxJSONValue::TypeToString(wxJSONTYPE_INVALID), "wxJSONTYPE_INVALID");
    EXPECT_EQ(wxJSONValue::TypeToString(wxJSONTYPE_USHORT), "wxJSONTYPE_USHORT");
    EXPECT_EQ(wxJSONValue::TypeToString(wxJSONTYPE_MEMORYBUFF), "wxJSONTYPE_MEMORYBUFF");
    EXPECT_EQ(wxJSONValue::TypeToString(static_cast<wxJSONType>(17)), "");

    wxJSONValue cleared(3);
    cleared.Clear();
    EXPECT_FALSE(cleared.IsValid());
    EXPECT_EQ(cleared.GetType(), wxJSONTYPE_INVALID);
    EXPECT_EQ(cleared.Size(), -1);
    EXPECT_EQ(cleared.AsString(), "<invalid>");
}

// A type constant makes a value of that type, by construction or by assignment, and never the
// number the constant is.
TEST(wxJSONValueTypes, TypeConstantsMakeValuesOfThatType)
{
    wxJSONValue v(5);
    v = wxJSONTYPE_OBJECT;
    EXPECT_TRUE(v.IsObject());
    EXPECT_EQ(v.Size(), 0);
    v["a"] = 1;
    v = wxJSONTYPE_ARRAY;
    EXPECT_TRUE(v.IsArray());
    EXPECT_EQ(v.Size(), 0);
    v = wxJSONTYPE_NULL;
    EXPECT_TRUE(v.IsNull());
    wxJSONValue made = wxJSONTYPE_STRING;
    EXPECT_TRUE(made.IsString());
    EXPECT_EQ(made.AsString(), "");
    wxJSONValue member;
    member["list"] = wxJSONTYPE_ARRAY;
    EXPECT_TRUE(member["list"].IsArray());
}

TEST(wxJSONValueTypes, SignedAndUnsignedNeverMix)
{
    wxJSONValue s(5);
    wxJSONValue u(5u);
    EXPECT_TRUE(s.IsInt() && s.IsShort() && s.IsLong() && s.IsInt32() && s.IsInt64());
    EXPECT_FALSE(s.IsUInt() || s.IsUShort() || s.IsUInt64());
    EXPECT_TRUE(u.IsUInt() && u.IsUShort() && u.IsULong() && u.IsUInt32() && u.IsUInt64());
    EXPECT_FALSE(u.IsInt() || u.IsShort() || u.IsInt64());

    unsigned ui = 77;
    EXPECT_FALSE(s.AsUInt(ui));
    EXPECT_EQ(ui, 77u);
    int i = 77;
    EXPECT_FALSE(u.AsInt(i));
    EXPECT_EQ(i, 77);
    EXPECT_TRUE(u.AsUInt(ui));
    EXPECT_EQ(ui, 5u);

    wxJSONValue big(100000);
    short sh = 1;
    EXPECT_FALSE(big.AsShort(sh));
    EXPECT_EQ(sh, 1);
    long l = 0;
    EXPECT_TRUE(big.AsLong(l));
    EXPECT_EQ(l, 100000);

    wxJSONValue huge(1LL << 40);
    EXPECT_FALSE(huge.AsInt(i));
    long long ll = 0;
    EXPECT_TRUE(huge.AsInt64(ll));
    EXPECT_EQ(ll, 1LL << 40);
    unsigned long long ull = 0;
    EXPECT_FALSE(huge.AsUInt64(ull));

    double d = 0;
    EXPECT_FALSE(wxJSONValue(1).AsDouble(d)); // integers are not converted
    EXPECT_TRUE(wxJSONValue(2.5).AsDouble(d));
    EXPECT_EQ(d, 2.5);
    bool b = false;
    EXPECT_FALSE(wxJSONValue(1).AsBool(b));
    EXPECT_TRUE(wxJSONValue(true).AsBool(b));
    EXPECT_TRUE(b);
    wxString str = "kept";
    EXPECT_FALSE(wxJSONValue(1).AsString(str));
    EXPECT_EQ(str, "kept");
}

TEST(wxJSONValueText, AsStringDescribesEveryKind)
{
    EXPECT_EQ(wxJSONValue().AsString(), "null");
    EXPECT_EQ(wxJSONValue(-12).AsString(), "-12");
    EXPECT_EQ(wxJSONValue(LLONG_MIN).AsString(), "-9223372036854775808");
    EXPECT_EQ(wxJSONValue(ULLONG_MAX).AsString(), "18446744073709551615");
    EXPECT_EQ(wxJSONValue(0.1).AsString(), "0.1");
    EXPECT_EQ(wxJSONValue(1.0 / 3).AsString(), "0.3333333333");
    EXPECT_EQ(wxJSONValue(false).AsString(), "false");
    EXPECT_EQ(wxJSONValue(Bytes({1, 2, 3})).AsString(), "(3)");

    wxJSONValue array;
    array.Append(1);
    array.Append(2);
    EXPECT_EQ(array.AsString(), "[2]");
    wxJSONValue object;
    object["a"] = 1;
    EXPECT_EQ(object.AsString(), "{1}");

    EXPECT_EQ(wxString(wxJSONValue(L"wide").AsCString()), "wide");
    EXPECT_EQ(wxJSONValue(3).AsCString(), nullptr);
}

TEST(wxJSONValueContainers, ItemGrowsArraysAndCreatesMembers)
{
    wxJSONValue v(wxString("text"));
    wxJSONValue& last = v.Item(3);
    EXPECT_TRUE(v.IsArray());
    EXPECT_EQ(v.Size(), 4);
    EXPECT_TRUE(last.IsNull());
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_TRUE(v[i].IsNull());
    last = 7;
    EXPECT_EQ(v[3].AsInt(), 7);

    wxJSONValue o(12);
    o["name"] = "Ann";
    o["age"] = 33;
    EXPECT_TRUE(o.IsObject());
    EXPECT_EQ(o.Size(), 2);
    EXPECT_TRUE(o["missing"].IsNull());
    EXPECT_EQ(o.Size(), 3);
    EXPECT_TRUE(o.HasMember("name"));
    EXPECT_FALSE(o.HasMember("Name"));
    wxArrayString names = o.GetMemberNames();
    names.Sort();
    ASSERT_EQ(names.GetCount(), 3u);
    EXPECT_EQ(names[0], "age");
    EXPECT_EQ(names[2], "name");

    wxJSONValue empty;
    empty[""] = 1; // an empty name is a name like any other
    EXPECT_TRUE(empty.HasMember(""));
    EXPECT_EQ(empty.Size(), 1);
}

TEST(wxJSONValueContainers, ReadOnlyAccessCreatesNothing)
{
    wxJSONValue o;
    o["a"] = 1;
    o["list"].Append(true);
    const wxJSONValue& c = o;
    EXPECT_EQ(c.ItemAt("a").AsInt(), 1);
    EXPECT_FALSE(c.ItemAt("b").IsValid());
    EXPECT_FALSE(c.ItemAt(0).IsValid());
    EXPECT_EQ(c.Find("b"), nullptr);
    EXPECT_EQ(c.Find(0), nullptr);
    ASSERT_NE(c.Find("list"), nullptr);
    EXPECT_TRUE(c.Find("list")->ItemAt(0).AsBool());
    EXPECT_FALSE(c.Find("list")->ItemAt(1).IsValid());
    EXPECT_EQ(c.Get("b", wxJSONValue(9)).AsInt(), 9);
    EXPECT_EQ(c.Get("a", wxJSONValue(9)).AsInt(), 1);
    EXPECT_EQ(c.Size(), 2);

    EXPECT_FALSE(wxJSONValue(3).HasMember(0));
    EXPECT_FALSE(wxJSONValue(3).HasMember("a"));
    EXPECT_TRUE(o.HasMember(1)); // an object answers by its member count
    EXPECT_FALSE(o.HasMember(2));
    EXPECT_EQ(wxJSONValue(3).Size(), -1);
    EXPECT_EQ(wxJSONValue(3).AsArray(), nullptr);
    EXPECT_EQ(wxJSONValue(3).GetMemberNames().GetCount(), 0u);
}

TEST(wxJSONValueContainers, AppendAndRemove)
{
    wxJSONValue a(true);
    a.Append(1);
    a.Append(2u);
    a.Append(2.5);
    a.Append(L"s");
    a.Append("u");
    a.Append(wxString("w"));
    a.Append(Bytes({9}));
    const char raw[] = {1, 2};
    a.Append(raw, 2);
    a.Append(false);
    EXPECT_EQ(a.Size(), 9); // the boolean was dropped, not kept as an element
    EXPECT_TRUE(a[1].IsUInt());
    EXPECT_EQ(a[7].AsMemoryBuff().GetDataLen(), 2u);

    // Appending an element of the array itself must survive the array growing.
    for (int i = 0; i < 40; ++i)
        a.Append(a[0]);
    EXPECT_EQ(a.Size(), 49);
    EXPECT_EQ(a[48].AsInt(), 1);

    EXPECT_TRUE(a.Remove(0));
    EXPECT_EQ(a.Size(), 48);
    EXPECT_TRUE(a[0].IsUInt());
    EXPECT_TRUE(a.Remove(100)); // still an array: nothing removed, but true
    EXPECT_EQ(a.Size(), 48);
    EXPECT_FALSE(a.Remove("x"));

    wxJSONValue o;
    o["x"] = 1;
    EXPECT_FALSE(o.Remove(0));
    EXPECT_FALSE(o.Remove("y"));
    EXPECT_TRUE(o.Remove("x"));
    EXPECT_EQ(o.Size(), 0);
    EXPECT_TRUE(o.IsObject());
    EXPECT_FALSE(wxJSONValue(1).Remove(0));
}

TEST(wxJSONValueContainers, CatAppendsToStringsAndBuffers)
{
    wxJSONValue s("ab");
    EXPECT_TRUE(s.Cat("cd"));
    EXPECT_TRUE(s.Cat(L"e"));
    EXPECT_EQ(s.AsString(), "abcde");
    wxJSONValue b(Bytes({1}));
    EXPECT_TRUE(b.Cat(Bytes({2, 3})));
    EXPECT_TRUE(b.Cat(wxMemoryBuffer(0)));
    EXPECT_EQ(wxJSONValue::CompareMemoryBuff(b.AsMemoryBuff(), Bytes({1, 2, 3})), 0);
    wxJSONValue n(1);
    EXPECT_FALSE(n.Cat("x"));
    EXPECT_FALSE(n.Cat(Bytes({1})));
    EXPECT_EQ(n.AsInt(), 1);
}

TEST(wxJSONValueSharing, CopiesShareUntilWritten)
{
    wxJSONValue a;
    a["list"].Append(1);
    a["name"] = "first";
    wxJSONValue b = a;
    EXPECT_EQ(a.GetRefData(), b.GetRefData());
    EXPECT_EQ(a.GetRefData()->GetRefCount(), 2);

    b["name"] = "second";
    EXPECT_NE(a.GetRefData(), b.GetRefData());
    EXPECT_EQ(a["name"].AsString(), "first");
    EXPECT_EQ(b["name"].AsString(), "second");

    // The untouched member is still shared by both trees until one of them writes it.
    EXPECT_EQ(a.ItemAt("list").GetRefData(), b.ItemAt("list").GetRefData());
    b["list"].Append(2);
    EXPECT_EQ(a["list"].Size(), 1);
    EXPECT_EQ(b["list"].Size(), 2);

    wxJSONValue c(1);
    wxJSONValue d(c);
    d = 2;
    EXPECT_EQ(c.AsInt(), 1);
    EXPECT_EQ(c.GetRefData()->GetRefCount(), 1);
}

TEST(wxJSONValueSharing, SelfAssignmentAndAssignmentFromInside)
{
    wxJSONValue a;
    a["x"]["y"] = 5;
    a = a;
    EXPECT_EQ(a["x"]["y"].AsInt(), 5);
    // Assigning a member of a value to the value itself keeps the member's data alive.
    a = a["x"];
    EXPECT_EQ(a["y"].AsInt(), 5);

    wxJSONValue s("text");
    s = s.AsString();
    EXPECT_EQ(s.AsString(), "text");
}

TEST(wxJSONValueSharing, DeepCopyRefUnShareAndMemoryBuffers)
{
    wxJSONValue a;
    a["k"] = 1;
    wxJSONValue b;
    b.DeepCopy(a);
    EXPECT_NE(a.GetRefData(), b.GetRefData());
    EXPECT_TRUE(a.IsSameAs(b));
    b["k"] = 2;
    EXPECT_EQ(a["k"].AsInt(), 1);

    wxJSONValue c;
    c.Ref(a);
    EXPECT_EQ(c.GetRefData(), a.GetRefData());
    c.UnShare();
    EXPECT_NE(c.GetRefData(), a.GetRefData());
    EXPECT_EQ(a.GetRefData()->GetRefCount(), 1);
    c.UnRef();
    EXPECT_EQ(c.GetRefData(), nullptr);
    EXPECT_FALSE(c.IsValid());

    // A buffer value shares the caller's storage, as copies of toolkit buffers do.
    wxMemoryBuffer buff = Bytes({1, 2});
    wxJSONValue m(buff);
    wxMemoryBuffer out;
    ASSERT_TRUE(m.AsMemoryBuff(out));
    EXPECT_EQ(out.GetData(), buff.GetData());
    wxJSONValue raw(buff.GetData(), buff.GetDataLen());
    EXPECT_NE(raw.AsMemoryBuff().GetData(), buff.GetData());
    EXPECT_TRUE(raw.IsSameAs(m));
}

TEST(wxJSONValueSharing, SetTypeEmptiesContainersButKeepsScalarBits)
{
    wxJSONValue v;
    v.Append(1);
    v.SetType(wxJSONTYPE_OBJECT);
    EXPECT_EQ(v.Size(), 0);
    v.SetType(wxJSONTYPE_ARRAY);
    EXPECT_EQ(v.Size(), 0);

    wxJSONValue i(-1);
    EXPECT_EQ(i.SetType(wxJSONTYPE_ULONG), wxJSONTYPE_ULONG);
    EXPECT_TRUE(i.IsUInt64());
    EXPECT_EQ(i.AsUInt64(), ULLONG_MAX);

    wxJSONValue s("abc");
    s.SetType(wxJSONTYPE_STRING);
    EXPECT_EQ(s.AsString(), "abc"); // the same type: untouched
    s.SetType(wxJSONTYPE_CSTRING);
    EXPECT_TRUE(s.IsString());
    EXPECT_EQ(s.AsString(), "");
    EXPECT_EQ(s.SetType(static_cast<wxJSONType>(99)), wxJSONTYPE_INVALID);
    EXPECT_FALSE(s.IsValid());
}

TEST(wxJSONValueComments, AcceptedFormsAndPositions)
{
    wxJSONValue v(1);
    EXPECT_EQ(v.GetCommentPos(), wxJSONVALUE_COMMENT_BEFORE);
    wxJSONValue without;
    without.UnRef();
    EXPECT_EQ(without.GetCommentPos(), wxJSONVALUE_COMMENT_BEFORE) << "answers as invalid data";
    EXPECT_EQ(v.AddComment("// line"), 1);
    EXPECT_EQ(v.GetComment(0), "// line\n");
    EXPECT_EQ(v.AddComment("/* block */\n \t", wxJSONVALUE_COMMENT_INLINE), 2);
    EXPECT_EQ(v.GetCommentPos(), wxJSONVALUE_COMMENT_INLINE);
    EXPECT_EQ(v.AddComment("/* open", wxJSONVALUE_COMMENT_AFTER), -1);
    EXPECT_EQ(v.AddComment("/*/"), -1);
    EXPECT_EQ(v.AddComment("# hash"), -1);
    EXPECT_EQ(v.AddComment("/x"), -1);
    EXPECT_EQ(v.AddComment("/"), -1);
    EXPECT_EQ(v.GetCommentPos(), wxJSONVALUE_COMMENT_INLINE);
    EXPECT_EQ(v.GetCommentCount(), 2);
    EXPECT_EQ(v.GetComment(), "// line\n/* block */\n \t");
    EXPECT_EQ(v.GetComment(5), "");

    wxArrayString more;
    more.Add("// a");
    more.Add("bad");
    more.Add("/**/");
    EXPECT_EQ(v.AddComment(more), 2);
    EXPECT_EQ(v.GetCommentCount(), 4);

    wxJSONValue copy(v);
    copy.ClearComments();
    EXPECT_EQ(copy.GetCommentCount(), 0);
    EXPECT_EQ(v.GetCommentCount(), 4);

    v.SetLineNo(12);
    EXPECT_EQ(v.GetLineNo(), 12);
    EXPECT_EQ(wxJSONValue().GetLineNo(), -1);
}

TEST(wxJSONValueCompare, NumbersCompareByValueAcrossKinds)
{
    EXPECT_TRUE(wxJSONValue(1).IsSameAs(wxJSONValue(1.0)));
    EXPECT_TRUE(wxJSONValue(1.0).IsSameAs(wxJSONValue(1u)));
    EXPECT_TRUE(wxJSONValue(1).IsSameAs(wxJSONValue(1u)));
    EXPECT_FALSE(wxJSONValue(-1).IsSameAs(wxJSONValue(ULLONG_MAX)));
    EXPECT_TRUE(wxJSONValue(18446744073709551615.0).IsSameAs(wxJSONValue(ULLONG_MAX)));
    EXPECT_FALSE(wxJSONValue(1).IsSameAs(wxJSONValue("1")));
    EXPECT_FALSE(wxJSONValue(1).IsSameAs(wxJSONValue(true)));
    EXPECT_FALSE(wxJSONValue().IsSameAs(wxJSONValue(wxJSONTYPE_INVALID)));
    EXPECT_TRUE(wxJSONValue(wxJSONTYPE_INVALID).IsSameAs(wxJSONValue(wxJSONTYPE_INVALID)));
}

TEST(wxJSONValueCompare, ContainersCompareDeeplyIgnoringComments)
{
    wxJSONValue a;
    a["x"].Append(1);
    a["x"].Append("two");
    a["y"] = wxJSONValue(wxJSONTYPE_OBJECT);
    wxJSONValue b;
    b["y"] = wxJSONValue(wxJSONTYPE_OBJECT);
    b["x"].Append(1.0);
    b["x"].Append("two");
    b["x"].AddComment("// differs");
    b.SetLineNo(4);
    EXPECT_TRUE(a.IsSameAs(b));
    b["x"][1] = "Two";
    EXPECT_FALSE(a.IsSameAs(b));
    b["x"][1] = "two";
    b["z"];
    EXPECT_FALSE(a.IsSameAs(b));
    a["w"];
    EXPECT_FALSE(a.IsSameAs(b)); // same sizes, different names

    EXPECT_FALSE(wxJSONValue(wxJSONTYPE_ARRAY).IsSameAs(wxJSONValue(wxJSONTYPE_OBJECT)));
    EXPECT_TRUE(wxJSONValue(wxJSONTYPE_ARRAY).IsSameAs(wxJSONValue(wxJSONTYPE_ARRAY)));

    // Each member is compared with what the other object's ItemAt gives for its name: a member
    // holding an invalid value matches a missing one.
    wxJSONValue holder;
    holder["gone"] = wxJSONValue(wxJSONTYPE_INVALID);
    wxJSONValue other;
    other["there"] = 1;
    EXPECT_TRUE(holder.IsSameAs(other));
    EXPECT_FALSE(other.IsSameAs(holder));
}

// A host can build a tree far deeper than any text the reader accepts: comparing, copying and
// freeing it must not exhaust the stack.
TEST(wxJSONValueCompare, TreesOfAnyDepthCompareCopyAndFree)
{
    const int depth = 100000;
    wxJSONValue a;
    wxJSONValue b;
    wxJSONValue* atA = &a;
    wxJSONValue* atB = &b;
    for (int i = 0; i < depth; ++i)
    {
        atA = &(*atA)[wxS("n")];
        atB = &(*atB)[wxS("n")];
    }
    *atA = 1;
    *atB = 1.0;
    EXPECT_TRUE(a.IsSameAs(b));
    *atB = 2;
    EXPECT_FALSE(a.IsSameAs(b));

    wxJSONValue copy(a);
    copy[wxS("n")][wxS("n")] = wxS("changed near the top");
    EXPECT_FALSE(copy.IsSameAs(a));
    wxJSONValue deep;
    deep.DeepCopy(a);
    EXPECT_TRUE(deep.IsSameAs(a));
    a.Clear();
    b = wxJSONTYPE_NULL;
}

TEST(wxJSONValueBuffers, CompareFormatAndConvert)
{
    EXPECT_EQ(wxJSONValue::CompareMemoryBuff(Bytes({1, 2}), Bytes({1, 2})), 0);
    EXPECT_EQ(wxJSONValue::CompareMemoryBuff(Bytes({1, 2, 0}), Bytes({1, 3})), 1);
    EXPECT_EQ(wxJSONValue::CompareMemoryBuff(Bytes({1, 2}), Bytes({1, 0x80})), -1);
    const unsigned char raw[] = {1, 1};
    EXPECT_EQ(wxJSONValue::CompareMemoryBuff(Bytes({1, 2}), raw), 1);
    EXPECT_FALSE(wxJSONValue(Bytes({1})).IsSameAs(wxJSONValue(Bytes({2}))));

    EXPECT_EQ(wxJSONValue::MemoryBuffToString(Bytes({0x0A, 0xFF, 0})), "(3) 0A FF 00 ");
    EXPECT_EQ(wxJSONValue::MemoryBuffToString(Bytes({0x0A, 0xFF, 0}), 1), "(3) 0A ");

    wxJSONValue array;
    array.Append(0);
    array.Append(255);
    array.Append(256);
    array.Append(-1);
    array.Append(7u);
    array.Append("9");
    array.Append(65);
    EXPECT_EQ(
        wxJSONValue::CompareMemoryBuff(wxJSONValue::ArrayToMemoryBuff(array), Bytes({0, 255, 65})),
        0);
    EXPECT_EQ(wxJSONValue::ArrayToMemoryBuff(wxJSONValue(3)).GetDataLen(), 0u);
}

TEST(wxJSONValueDiagnostics, InfoAndDumpNameTypeSizeAndMembers)
{
    wxJSONValue o;
    o["only"] = 1;
    o.AddComment("// c");
    EXPECT_EQ(o.GetInfo(), "Object: Type=wxJSONTYPE_OBJECT Size=1 comments=1\n"
                           "    Member name: only\n");
    wxString dump = o.Dump(true, 2);
    EXPECT_TRUE(dump.StartsWith("  Object: Type=wxJSONTYPE_OBJECT Size=1 comments=1\n"));
    EXPECT_NE(dump.Find("Num shares=1"), wxNOT_FOUND);
    EXPECT_NE(dump.Find("Type=wxJSONTYPE_SHORT"), wxNOT_FOUND);
    EXPECT_EQ(o.Dump(false).Find("SHORT"), wxNOT_FOUND);
}

TEST(wxJSONValueAllocation, HeapPlacementAndDerivedForms)
{
    // A derived value is larger than the pool's blocks and is deleted through its base.
    struct Tagged : wxJSONValue
    {
        explicit Tagged(int i) : wxJSONValue(i) {}
        char m_tag[100] = "tagged";
    };
    wxJSONValue* tagged = new Tagged(7);
    EXPECT_EQ(tagged->AsInt(), 7);
    delete tagged;

    wxJSONValue* plain = new wxJSONValue(wxS("on the heap"));
    EXPECT_EQ(plain->AsString(), wxS("on the heap"));
    delete plain;

    alignas(wxJSONValue) unsigned char storage[sizeof(wxJSONValue)];
    wxJSONValue* placed = new (storage) wxJSONValue(3.5);
    EXPECT_EQ(placed->AsDouble(), 3.5);
    placed->~wxJSONValue();
}

TEST(wxJSONValueThreads, ValuesOutliveTheThreadThatMadeThem)
{
    // A thread builds a tree and ends while the tree lives on: it is read and destroyed here.
    wxJSONValue tree;
    std::thread maker(
        [&tree]
        {
            wxJSONValue made;
            for (int i = 0; i < 20000; ++i)
                made.Append(wxString::Format("item %d", i));
            tree = made;
        });
    maker.join();
    ASSERT_EQ(tree.Size(), 20000);
    EXPECT_EQ(tree[19999].AsString(), "item 19999");
    tree.Clear();

    // A value made here may be destroyed by another thread and its room reused here afterwards.
    wxJSONValue shared;
    for (int round = 0; round < 3; ++round)
    {
        for (int i = 0; i < 5000; ++i)
            shared.Append(i);
        std::thread other([&shared] { shared.Clear(); });
        other.join();
    }
    for (int i = 0; i < 5000; ++i)
        shared.Append(i);
    EXPECT_EQ(shared.Size(), 5000);
    EXPECT_EQ(shared[4999].AsInt(), 4999);
}

TEST(wxJSONValueThreads, OtherThreadsDestroyWhileTheMakerGoesOn)
{
    // Trees made here are handed to workers that destroy them while this thread keeps making
    // and destroying its own; every record must come back exactly once.
    std::mutex lock;
    std::condition_variable ready;
    std::deque<wxJSONValue> handed;
    bool done = false;
    auto worker = [&]
    {
        for (;;)
        {
            wxJSONValue tree;
            {
                std::unique_lock<std::mutex> guard(lock);
                ready.wait(guard, [&] { return done || !handed.empty(); });
                if (handed.empty())
                    return;
                tree = handed.front();
                handed.pop_front();
            }
            tree.Clear();
        }
    };
    std::thread first(worker);
    std::thread second(worker);
    for (int round = 0; round < 200; ++round)
    {
        wxJSONValue tree;
        wxJSONValue own;
        for (int i = 0; i < 200; ++i)
        {
            tree[wxString::Format("k%d", i)].Append(i);
            own.Append(i);
        }
        {
            // The handle is dropped before a worker can take the tree: one thread at a time.
            std::lock_guard<std::mutex> guard(lock);
            handed.push_back(tree);
            tree.Clear();
        }
        ready.notify_one();
        own.Clear();
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        done = true;
    }
    ready.notify_all();
    first.join();
    second.join();
    wxJSONValue after;
    after["x"] = 1;
    EXPECT_EQ(after["x"].AsInt(), 1);
}

TEST(wxJSONValueThreads, ValuesDestroyedAsTheirThreadEnds)
{
    // A value in thread storage made before the thread's first value dies after the thread has
    // given up its own records, and must still be released whole.
    std::thread worker(
        []
        {
            thread_local std::optional<wxJSONValue> late;
            late.emplace();
            for (int i = 0; i < 1000; ++i)
                (*late)[wxString::Format("member %d", i)] = i;
            EXPECT_EQ(late->Size(), 1000);
        });
    worker.join();
}
