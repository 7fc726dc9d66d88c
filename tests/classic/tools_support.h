// Set-up shared by the console tool tests: the search set-up of the search tests,
// run in a temporary working directory (the tools read and write files there).
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "search_support.h"
#include "support/engine_process.h"

using namespace classic;

inline void write_tool_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

class ToolsTest : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    previousDir_ = std::filesystem::current_path();
    dir_ = make_temp_dir();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(previousDir_);
    std::filesystem::remove_all(dir_);
    SearchTest::TearDown();
  }

  std::filesystem::path previousDir_;
  std::string dir_;
};
