// The late-binding layer over a real component, "VBScript.RegExp".
#include "platform/win32/automation.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

class AutomationTest : public ::testing::Test {
 protected:
  ComInitialization com_;
};

TEST_F(AutomationTest, InitializationIsBalancedAndNests) {
  EXPECT_TRUE(com_.succeeded());
  {
    ComInitialization inner;
    EXPECT_EQ(inner.result(), S_FALSE);  // already initialised on this thread
  }
  ComInitialization again;
  EXPECT_EQ(again.result(), S_FALSE);
}

TEST_F(AutomationTest, DrivesAComponentByName) {
  ComPtr<IDispatch> re = CreateObject(u"VBScript.RegExp");
  ASSERT_TRUE(re);
  EXPECT_EQ(PutMember(re.get(), L"Pattern", {}, Variant(u"a(b)")), S_OK);
  EXPECT_EQ(PutMember(re.get(), L"Global", {}, Variant(true)), S_OK);
  Variant pattern;
  EXPECT_EQ(GetMember(re.get(), L"Pattern", {}, &pattern), S_OK);
  EXPECT_EQ(pattern.ToU16String(), u"a(b)");

  Variant matches;
  ASSERT_EQ(CallMethod(re.get(), L"Execute", {Variant(u"xab ab")}, &matches), S_OK);
  ComPtr<IDispatch> collection = matches.ToDispatch();
  ASSERT_TRUE(collection);
  Variant count;
  EXPECT_EQ(GetMember(collection.get(), L"Count", {}, &count), S_OK);
  EXPECT_EQ(count.ToDouble(), 2.0);

  Variant item;
  ASSERT_EQ(GetMember(collection.get(), L"Item", {Variant(int32_t{1})}, &item), S_OK);
  ComPtr<IDispatch> match = item.ToDispatch();
  Variant firstIndex;
  GetMember(match.get(), L"FirstIndex", {}, &firstIndex);
  EXPECT_EQ(firstIndex.ToDouble(), 4.0);
  Variant value;
  GetMember(match.get(), L"Value", {}, &value);
  EXPECT_EQ(value.ToU16String(), u"ab");

  // Replace is a method: reading it as a member falls back to calling it.
  Variant replaced;
  EXPECT_EQ(GetMember(re.get(), L"Replace", {Variant(u"ab"), Variant(u"[$1]")}, &replaced), S_OK);
  EXPECT_EQ(replaced.ToU16String(), u"[b]");
}

TEST_F(AutomationTest, IndexedPropertiesTakeTheirIndexesBeforeTheValue) {
  ComPtr<IDispatch> dictionary = CreateObject(u"Scripting.Dictionary");
  ASSERT_TRUE(dictionary);
  EXPECT_EQ(PutMember(dictionary.get(), L"Item", {Variant(u"key")}, Variant(u"value")), S_OK);
  EXPECT_EQ(PutMember(dictionary.get(), L"Item", {Variant(u"n")}, Variant(int32_t{7})), S_OK);
  Variant value;
  EXPECT_EQ(GetMember(dictionary.get(), L"Item", {Variant(u"key")}, &value), S_OK);
  EXPECT_EQ(value.ToU16String(), u"value");
  GetMember(dictionary.get(), L"Item", {Variant(u"n")}, &value);
  EXPECT_EQ(value.ToDouble(), 7.0);
  Variant count;
  GetMember(dictionary.get(), L"Count", {}, &count);
  EXPECT_EQ(count.ToDouble(), 2.0);
  // A method with arguments, and an object travelling as an argument.
  Variant exists;
  EXPECT_EQ(CallMethod(dictionary.get(), L"Exists", {Variant(u"key")}, &exists), S_OK);
  EXPECT_TRUE(exists.ToBool());
  EXPECT_EQ(PutMember(dictionary.get(), L"Item", {Variant(u"self")}, Variant(dictionary.get())),
            S_OK);
  GetMember(dictionary.get(), L"Item", {Variant(u"self")}, &value);
  EXPECT_EQ(value.ToDispatch().get(), dictionary.get());
  CallMethod(dictionary.get(), L"RemoveAll", {}, nullptr);
}

TEST_F(AutomationTest, FailuresLeaveEmptyValues) {
  HRESULT status = S_OK;
  EXPECT_FALSE(CreateObject(u"Quorvel.NoSuchComponent", &status));
  EXPECT_TRUE(FAILED(status));

  ComPtr<IDispatch> re = CreateObject(u"VBScript.RegExp");
  ASSERT_TRUE(re);
  EXPECT_TRUE(FAILED(PutMember(re.get(), L"Singleline", {}, Variant(true))));
  Variant result(u"stale");
  EXPECT_TRUE(FAILED(GetMember(re.get(), L"NoSuchMember", {}, &result)));
  EXPECT_TRUE(result.empty());
  EXPECT_EQ(GetMember(nullptr, L"Count", {}, &result), E_POINTER);
  EXPECT_EQ(CallMethod(nullptr, L"Execute", {}, nullptr), E_POINTER);
  EXPECT_EQ(result.ToU16String(), u"");
  EXPECT_EQ(result.ToDouble(), 0.0);
  EXPECT_FALSE(result.ToDispatch());
}

TEST(VariantTest, ConvertsInTheAutomationWay) {
  EXPECT_EQ(Variant(false).ToU16String(), u"0");
  EXPECT_EQ(Variant(true).ToU16String(), u"-1");
  EXPECT_EQ(Variant(int32_t{42}).ToDouble(), 42.0);
  EXPECT_EQ(Variant(u"7").ToDouble(), 7.0);
  EXPECT_TRUE(Variant(int32_t{-1}).ToBool());
  EXPECT_EQ(Variant(u"").ToU16String(), u"");
  EXPECT_EQ(Variant(u"\u8fdb\u884c").ToU16String(), u"\u8fdb\u884c");
  EXPECT_EQ(Variant(u"abc").ToBytes(), Bytes());
}

TEST(VariantTest, CopiesAreDeepAndMovesTransfer) {
  Variant a(u"text");
  Variant b = a;
  a = Variant(int32_t{1});
  EXPECT_EQ(b.ToU16String(), u"text");
  Variant c = std::move(b);
  EXPECT_EQ(c.ToU16String(), u"text");
  Bstr s(u"abc");
  Bstr t = s;
  s = Bstr(u"x");
  EXPECT_EQ(t.ToU16String(), u"abc");
  EXPECT_EQ(Bstr().ToU16String(), u"");
}

TEST(VariantTest, BytesRoundTripThroughASafeArray) {
  const Bytes cases[] = {Bytes(), Bytes{0}, Bytes{1, 0, 255, 128}};
  for (const Bytes& bytes : cases) {
    SCOPED_TRACE(bytes.length());
    Variant v = Variant::FromBytes(bytes);
    EXPECT_EQ(v.type(), VT_ARRAY | VT_UI1);
    EXPECT_EQ(v.ToBytes(), bytes);
    Variant copy = v;
    EXPECT_EQ(copy.ToBytes(), bytes);
  }
}

}  // namespace
}  // namespace quorvel
