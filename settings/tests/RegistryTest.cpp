#include <gtest/gtest.h>

#include "platform/Registry.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace lumatrel {
namespace {

// Every test works below a key of its own, so that tests running side by side keep apart, and
// removes it afterwards.
class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
#ifdef _WIN32
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER}) {
      RegDeleteTreeA(root, testKey.c_str());
      RegDeleteKeyA(root, "LumatrelRegistryTest");  // only when no other test is using it
    }
#else
    RegistryMemoryClear();
#endif
  }

  const std::string testKey =
      std::string("LumatrelRegistryTest\\") + ::testing::UnitTest::GetInstance()->current_test_info()->name();

  // Plants a value of a given registry type, as another program could have written it.
  static void Plant(const std::string& key, const std::string& name, bool expand, const std::string& data) {
#ifdef _WIN32
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, key.c_str(), &handle), ERROR_SUCCESS);
    RegSetValueExA(handle, name.c_str(), 0, expand ? REG_EXPAND_SZ : REG_DWORD,
                   reinterpret_cast<const BYTE*>(data.c_str()), static_cast<DWORD>(data.size() + 1));
    RegCloseKey(handle);
#else
    RegistryMemorySet(RegistryRoot::CurrentUser, key, name,
                      expand ? RegistryValueKind::ExpandString : RegistryValueKind::Other, data);
#endif
  }
};

TEST_F(RegistryTest, WrittenTextReadsBackUnderEitherRoot) {
  const std::string key = testKey + "\\Brenquil软件\\Lumatrel\\主界面";
  for (RegistryRoot root : {RegistryRoot::ClassesRoot, RegistryRoot::CurrentUser}) {
    EXPECT_FALSE(RegistryReadText(root, key, "上次目录").has_value());
    ASSERT_TRUE(RegistryWriteText(root, key, "上次目录", "D:\\pics\\"));
    EXPECT_EQ(RegistryReadText(root, key, "上次目录"), Text("D:\\pics\\"));
    // An existing key is opened, not created again, and the value replaced.
    ASSERT_TRUE(RegistryWriteText(root, key, "上次目录", ""));
    EXPECT_EQ(RegistryReadText(root, key, "上次目录"), Text(""));
    EXPECT_FALSE(RegistryReadText(root, key, "other").has_value());
    EXPECT_FALSE(RegistryReadText(root, key + "\\missing", "上次目录").has_value());
  }
}

TEST_F(RegistryTest, ExpandableTextIsExpandedAndOtherTypesAreMissing) {
  const std::string key = testKey + "\\Kinds";
  Plant(key, "expand", true, "[%LUMATREL_REGISTRY_TEST%|%LUMATREL_UNSET_VARIABLE%]");
  Plant(key, "number", false, "12");
#ifdef _WIN32
  SetEnvironmentVariableA("LUMATREL_REGISTRY_TEST", "值");
#else
  setenv("LUMATREL_REGISTRY_TEST", "值", 1);
#endif
  EXPECT_EQ(RegistryReadText(RegistryRoot::CurrentUser, key, "expand"), Text("[值|%LUMATREL_UNSET_VARIABLE%]"));
  EXPECT_FALSE(RegistryReadText(RegistryRoot::CurrentUser, key, "number").has_value());
}

}  // namespace
}  // namespace lumatrel
