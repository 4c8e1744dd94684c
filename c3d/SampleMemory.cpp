#include "c3d/SampleMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>

// Older system headers lack the newer requests; a kernel without them
// refuses them, which is harmless.
#ifndef MADV_HUGEPAGE
#define MADV_HUGEPAGE 14
#endif
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace {

constexpr size_t kHeader = 64;
constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kPage = 4096;
// Blocks of this size and more get memory of their own from the system.
constexpr size_t kOwnMapping = size_t(1) << 20;

size_t RoundUp(size_t value, size_t step) { return (value + step - 1) / step * step; }

enum BlockKind : uint32_t { BLOCK_HEAP = 0x5A11, BLOCK_MAPPED, BLOCK_REGION };

struct CRegion {
  char* m_pBase = nullptr;
  size_t m_nBytes = 0;
  size_t m_nUsed = 0;
  std::atomic<size_t> m_nRefs{1};  // the open scope, plus one per live block
};

struct alignas(64) CBlockHeader {
  uint32_t m_nKind;
  bool m_bFresh;
  CRegion* m_pRegion;
  void* m_pMapBase;
  size_t m_nMapBytes;
};
static_assert(sizeof(CBlockHeader) == kHeader);

thread_local CRegion* t_pRegion = nullptr;

// Fresh zeroed memory from the system, at least `bytes`. Blocks of 2 MiB and
// more are aligned to 2 MiB and marked for huge pages; every page is asked
// for at once.
char* MapFresh(size_t bytes, size_t& length) {
  const bool huge = bytes >= kHugePage;
  length = RoundUp(bytes, huge ? kHugePage : kPage);
  const size_t extra = huge ? kHugePage : 0;
  void* p = ::mmap(nullptr, length + extra, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
  const uintptr_t raw = reinterpret_cast<uintptr_t>(p);
  const uintptr_t start = RoundUp(raw, huge ? kHugePage : kPage);
  if (start > raw) ::munmap(p, start - raw);
  const size_t tail = raw + length + extra - (start + length);
  if (tail > 0) ::munmap(reinterpret_cast<void*>(start + length), tail);
  char* block = reinterpret_cast<char*>(start);
  if (huge) ::madvise(block, length, MADV_HUGEPAGE);
  ::madvise(block, length, MADV_POPULATE_WRITE);
  return block;
}

void Release(CRegion* region) {
  if (region->m_nRefs.fetch_sub(1) != 1) return;
  if (region->m_pBase) ::munmap(region->m_pBase, region->m_nBytes);
  delete region;
}

}  // namespace

void* AllocateSampleMemory(size_t bytes) {
  const size_t need = kHeader + RoundUp(bytes == 0 ? 1 : bytes, 64);
  CBlockHeader header{BLOCK_HEAP, false, nullptr, nullptr, 0};
  char* at = nullptr;
  if (CRegion* region = t_pRegion; region && region->m_pBase && region->m_nBytes - region->m_nUsed >= need) {
    at = region->m_pBase + region->m_nUsed;
    region->m_nUsed += need;
    region->m_nRefs.fetch_add(1);
    header = {BLOCK_REGION, true, region, nullptr, 0};
  } else if (need >= kOwnMapping) {
    size_t length = 0;
    at = MapFresh(need, length);
    if (!at) throw std::bad_alloc();
    header = {BLOCK_MAPPED, true, nullptr, at, length};
  } else {
    at = static_cast<char*>(std::aligned_alloc(64, need));
    if (!at) throw std::bad_alloc();
  }
  ::new (at) CBlockHeader(header);
  return at + kHeader;
}

void FreeSampleMemory(void* block) {
  if (!block) return;
  auto* header = reinterpret_cast<CBlockHeader*>(static_cast<char*>(block) - kHeader);
  switch (header->m_nKind) {
    case BLOCK_REGION: Release(header->m_pRegion); break;
    case BLOCK_MAPPED: ::munmap(header->m_pMapBase, header->m_nMapBytes); break;
    default: std::free(header); break;
  }
}

bool IsFreshSampleMemory(const void* block) {
  if (!block) return false;
  auto* header = reinterpret_cast<CBlockHeader*>(static_cast<char*>(const_cast<void*>(block)) - kHeader);
  const bool fresh = header->m_bFresh;
  header->m_bFresh = false;  // asked once, by the store that takes it
  return fresh;
}

size_t CSampleRegion::RegionBytes(size_t bytes) { return kHeader + RoundUp(bytes == 0 ? 1 : bytes, 64); }

CSampleRegion::CSampleRegion(size_t bytes) : m_pRegion(nullptr), m_pPrevious(t_pRegion) {
  auto* region = new CRegion;
  // A small file's stores come from the heap, which reuses what the files
  // before it gave back: a fresh mapping costs more than it saves there.
  if (bytes >= kOwnMapping) {
    size_t length = 0;
    region->m_pBase = MapFresh(bytes, length);
    region->m_nBytes = region->m_pBase ? length : 0;
  }
  m_pRegion = region;
  t_pRegion = region;
}

CSampleRegion::~CSampleRegion() {
  t_pRegion = static_cast<CRegion*>(m_pPrevious);
  Release(static_cast<CRegion*>(m_pRegion));
}
