// A store bound in file mode to a file of the test's own, and the check that file and document
// agree byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "settings/ConfigStore.h"
#include "settings/tests/TestFiles.h"

namespace lumatrel::testing {

class StoreTest : public ::testing::Test {
 protected:
  // Writes content into the settings file (when given) and opens the store on it.
  void OpenWith(const std::string& content, bool writeFile = true) {
    store.Close();  // Windows would refuse to rewrite a file the store still holds
    if (writeFile) WriteFileBytes(path, content);
    ASSERT_TRUE(store.Open(path, StorageMode::File));
  }
  std::string OnDisk() const { return ReadFileBytes(path); }
  std::string InMemory() const { return std::string(store.Document().View()); }

  TempFolder folder;
  std::string path = folder.PathOf("Lumatrel.ini");
  ConfigStore store;
};

}  // namespace lumatrel::testing
