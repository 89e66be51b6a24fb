// The fixture of the winsim tests: a fresh simulated machine for each test, with a file root of its own so
// that tests can run side by side in separate processes.
#pragma once

#include <windows.h>
#include <winsim_host.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class WinsimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        winsim_reset();
        std::string pattern = (std::filesystem::temp_directory_path() / "winsim_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        winsim_set_file_root(root_.c_str());
        handles_before_ = winsim_open_handles();
    }

    void TearDown() override {
        EXPECT_EQ(winsim_open_handles(), handles_before_) << "the test left handles open";
        winsim_set_file_root(nullptr);
        std::filesystem::remove_all(root_);
        winsim_reset();
    }

    std::string root_;
    uint32_t handles_before_ = 0;
};
