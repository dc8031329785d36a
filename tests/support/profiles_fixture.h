// A profiles folder, an empty catalogue list and the fake system: the ground the tests
// of creating and deleting profiles stand on.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "catalogue/catalogue_context.h"
#include "catalogue/catalogue_file.h"
#include "fake_platform.h"
#include "memory_rows.h"

namespace velkor::test {

class ProfilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ops.AddDir("C:\\app\\软件配置\\桌面配置"); }
  std::vector<CatalogueRow> SavedRows() { return DecodeCatalogue(ops.files.at(paths.CatalogueFile()), kColumnCount); }

  FakePlatform ops;
  MemoryRows rows;
  AppPaths paths{"C:\\app", "v.exe"};
  CatalogueContext context{ops, rows, paths};
  const std::string root = "C:\\app\\软件配置\\桌面配置\\";
};

}  // namespace velkor::test
