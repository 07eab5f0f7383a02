// SPDX-License-Identifier: GPL-3.0-or-later
// The USB tests run inside umockdev's emulation of sysfs and device nodes, which needs
// libumockdev-preload.so loaded ahead of the C library. The test binary re-runs itself with it,
// so that ctest can start it plainly. Built with KORVELANE_USB_TEST_QT, it also makes the
// QApplication of the window tests.
#include <gtest/gtest.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef KORVELANE_USB_TEST_QT
#include <QApplication>
#endif

namespace {

constexpr const char* kPreload = "libumockdev-preload.so.0";
constexpr const char* kRerun = "KORVELANE_UMOCKDEV_RERUN";

// The path of the loaded library whose name contains `part`, or "".
std::string LoadedLibrary(const char* part) {
  struct Search {
    const char* part;
    std::string path;
  } search{part, {}};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        if (info->dlpi_name && std::strstr(info->dlpi_name, s->part)) {
          s->path = info->dlpi_name;
          return 1;
        }
        return 0;
      },
      &search);
  return search.path;
}

}  // namespace

int main(int argc, char** argv) {
  if (LoadedLibrary("libumockdev-preload").empty()) {
    if (std::getenv(kRerun)) {
      std::fprintf(stderr, "%s could not be preloaded\n", kPreload);
      return 1;
    }
    std::string preload = kPreload;
    // The address sanitizer's runtime must stay the first library.
    const std::string asan = LoadedLibrary("libasan.so");
    if (!asan.empty())
      preload = asan + ":" + preload;
    const char* before = std::getenv("LD_PRELOAD");
    if (before && *before)
      preload += std::string(":") + before;
    setenv("LD_PRELOAD", preload.c_str(), 1);
    setenv(kRerun, "1", 1);
    execv("/proc/self/exe", argv);
    std::perror("re-running the USB tests under umockdev");
    return 1;
  }
#ifdef KORVELANE_USB_TEST_QT
  // The windows' tests: one QApplication, on the offscreen platform.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
