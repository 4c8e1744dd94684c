// Construction of CC3d and the limits that guard reading.
#include "c3d/C3d.h"

#include <unistd.h>

#include <atomic>

namespace {

uint64_t DefaultStoreLimit() {
  long pages = ::sysconf(_SC_PHYS_PAGES);
  long pageSize = ::sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return 1ull << 31;
  // Three quarters of the physical memory: a larger file could not be edited
  // anyway, and refusing it beats having the system kill the program.
  return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize) / 4 * 3;
}

std::atomic<uint64_t> g_storeLimit{0};

}  // namespace

CC3d::CC3d() : m_gapBuffer(512, 0), m_pPrompt(&m_defaultPrompt) {}

CC3d::~CC3d() = default;

void CC3d::SetPrompt(CUserPrompt* prompt) { m_pPrompt = prompt ? prompt : &m_defaultPrompt; }

void CC3d::SetStoreLimit(uint64_t bytes) { g_storeLimit = bytes; }

uint64_t CC3d::StoreLimit() {
  uint64_t limit = g_storeLimit;
  return limit ? limit : DefaultStoreLimit();
}
