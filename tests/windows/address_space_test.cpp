// The programs are linked so that the driver backend never meets a buffer it cannot name in
// the 32-bit pData of its request block: whatever memory a transfer may use lies below
// 4 GiB. This suite is linked the same way as the programs. Wine happens to hand out low
// addresses either way, so the image's own header is checked as well: without it Windows
// would not keep the program below 2 GiB.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace lcu {
namespace {

bool Below4GiB(const void* start, std::size_t size) {
  return reinterpret_cast<std::uintptr_t>(start) + size <= std::uintptr_t{0x100000000};
}

std::uint8_t g_staticBuffer[4096];

TEST(AddressSpace, TheImageAsksForTheLow2GiB) {
  const auto* image = reinterpret_cast<const std::uint8_t*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(image + dos->e_lfanew);
  EXPECT_EQ(nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE, 0);
  EXPECT_EQ(nt->OptionalHeader.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, 0);
  EXPECT_LT(nt->OptionalHeader.ImageBase, 0x80000000u);
}

TEST(AddressSpace, EveryBufferATransferMayUseLiesBelow4GiB) {
  std::uint8_t stack[64];
  EXPECT_TRUE(Below4GiB(stack, sizeof stack));
  EXPECT_TRUE(Below4GiB(g_staticBuffer, sizeof g_staticBuffer));
  const auto small = std::make_unique<std::uint8_t[]>(64);
  EXPECT_TRUE(Below4GiB(small.get(), 64));
  // A download's chunks and a large file image come from the heap in big blocks.
  std::vector<std::vector<std::uint8_t>> large;
  for (int i = 0; i < 4; ++i) {
    large.emplace_back(std::size_t{32} << 20);
    EXPECT_TRUE(Below4GiB(large.back().data(), large.back().size())) << i;
  }
  bool threadStackLow = false;
  std::thread([&] {
    std::uint8_t own[64];
    threadStackLow = Below4GiB(own, sizeof own);
  }).join();
  EXPECT_TRUE(threadStackLow);
  void* system = VirtualAlloc(nullptr, 1 << 20, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_NE(system, nullptr);
  EXPECT_TRUE(Below4GiB(system, 1 << 20));
  VirtualFree(system, 0, MEM_RELEASE);
}

}  // namespace
}  // namespace lcu
