#include "workbook/xml_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace dovrek {
namespace {

TEST(XmlMemoryTest, BlocksStayApartAlignedAndFreeInAnyOrder) {
  std::vector<size_t> sizes = {1, 15, 16, 17, 0, 3 << 20};   // the last one gets its own chunk
  for (int i = 0; i < 600; ++i) sizes.push_back(32 * 1024);  // pages over several chunks
  for (int round = 0; round < 2; ++round) {  // the second round reuses what the first freed
    std::vector<unsigned char*> blocks;
    for (size_t i = 0; i < sizes.size(); ++i) {
      auto* block = static_cast<unsigned char*>(AllocateXmlMemory(sizes[i]));
      ASSERT_NE(block, nullptr);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u) << sizes[i];
      std::memset(block, static_cast<int>(i & 0xFF), sizes[i]);
      blocks.push_back(block);
    }
    for (size_t i = 0; i < sizes.size(); ++i) {  // no block overlaps another
      for (size_t b = 0; b < sizes[i]; b += 4093) ASSERT_EQ(blocks[i][b], i & 0xFF) << i;
    }
    for (size_t parity : {1, 0}) {
      for (size_t i = parity; i < blocks.size(); i += 2) FreeXmlMemory(blocks[i]);
    }
  }
  FreeXmlMemory(std::malloc(10));  // from the heap, before the chunks were in use
  FreeXmlMemory(nullptr);
}

}  // namespace
}  // namespace dovrek
