#include "http/win/ComWrappers.h"

#include <gtest/gtest.h>

namespace lumatrel {
namespace {

// An object that counts its references, to watch ComPtr release exactly once.
class Counted final : public IUnknown {
 public:
  ULONG references = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

TEST(ComWrappers, ComPtrReleasesEachReferenceOnce) {
  Counted first;
  Counted second;
  {
    ComPtr<IUnknown> held(&first);
    ComPtr<IUnknown> moved(std::move(held));
    EXPECT_FALSE(held);
    EXPECT_EQ(first.references, 1u);
    *moved.Put() = &second;  // Put drops the old reference before the new one arrives
    EXPECT_EQ(first.references, 0u);
    EXPECT_EQ(moved.Get(), &second);
  }
  EXPECT_EQ(second.references, 0u);
}

TEST(ComWrappers, BstrKeepsEmbeddedZerosAndMoves) {
  Bstr text(std::wstring_view(L"a\0b\x4E0A", 4));
  EXPECT_EQ(SysStringLen(text.Get()), 4u);
  EXPECT_EQ(text.View(), std::wstring_view(L"a\0b\x4E0A", 4));
  Bstr other(std::move(text));
  EXPECT_EQ(text.Get(), nullptr);
  EXPECT_EQ(other.View().size(), 4u);
  BSTR detached = other.Detach();
  EXPECT_EQ(other.Get(), nullptr);
  SysFreeString(detached);
}

TEST(ComWrappers, VariantsOwnTheirValues) {
  Variant text = Variant::FromText(L"上传");
  ASSERT_EQ(text.Type(), VT_BSTR);
  EXPECT_EQ(SysStringLen(V_BSTR(text.Get())), 2u);
  Variant moved(std::move(text));
  EXPECT_EQ(text.Type(), VT_EMPTY);
  EXPECT_EQ(moved.Type(), VT_BSTR);
  EXPECT_EQ(Variant::FromBool(true).Type(), VT_BOOL);
  EXPECT_EQ(V_BOOL(Variant::FromBool(true).Get()), VARIANT_TRUE);
  EXPECT_EQ(V_I4(Variant::FromInt32(-7).Get()), -7);
  moved.Put();
  EXPECT_EQ(moved.Type(), VT_EMPTY);
}

TEST(ComWrappers, ByteArraysInAndOutOfVariants) {
  const std::vector<std::uint8_t> bytes{0, 1, 0xFF, 0, 7};
  SafeArray copy = SafeArray::CopyOf(bytes);
  ASSERT_NE(copy.Get(), nullptr);
  LONG upper = 0;
  SafeArrayGetUBound(copy.Get(), 1, &upper);
  EXPECT_EQ(upper, 4);

  Variant holder;
  V_VT(holder.Get()) = VT_ARRAY | VT_UI1;
  V_ARRAY(holder.Get()) = copy.Detach();  // the variant now frees the array
  EXPECT_EQ(CopyBytesOfVariant(*holder.Get()), bytes);

  Variant copied;
  ASSERT_EQ(VariantCopy(copied.Put(), holder.Get()), S_OK);
  EXPECT_NE(V_ARRAY(copied.Get()), V_ARRAY(holder.Get()));
  EXPECT_EQ(CopyBytesOfVariant(*copied.Get()), bytes);

  EXPECT_TRUE(CopyBytesOfVariant(*Variant::FromInt32(3).Get()).empty());
  SafeArray empty = SafeArray::CopyOf({});
  Variant emptyHolder;
  V_VT(emptyHolder.Get()) = VT_ARRAY | VT_UI1;
  V_ARRAY(emptyHolder.Get()) = empty.Detach();
  EXPECT_TRUE(CopyBytesOfVariant(*emptyHolder.Get()).empty());
}

}  // namespace
}  // namespace lumatrel
