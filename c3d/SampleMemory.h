#pragma once
// Memory for the sample stores. A file of some hundred megabytes needs as
// much fresh memory, and on many machines (virtual ones above all) the first
// write to each fresh 4 KiB page costs more than reading the file. So the
// stores of one file are carved from one region that is aligned to 2 MiB,
// marked for huge pages and made ready in one request to the system
// (MADV_HUGEPAGE, then MADV_POPULATE_WRITE); other large blocks get memory of
// their own the same way. Where the system offers neither, the pages simply
// arrive on first use. Small blocks, and the stores of a file under a
// megabyte, come from the usual heap.

#include <cstddef>
#include <new>

// A block of at least `bytes`, 64-byte aligned; throws std::bad_alloc.
void* AllocateSampleMemory(size_t bytes);
void FreeSampleMemory(void* block);
// True while a block is known to hold zeros only (fresh from the system and
// not yet handed out before).
bool IsFreshSampleMemory(const void* block);

// While an object lives, blocks allocated on this thread are carved from one
// region of `bytes` (see RegionBytes), as long as it has room. The region is
// given back when the last block carved from it is freed.
class CSampleRegion {
 public:
  explicit CSampleRegion(size_t bytes);
  ~CSampleRegion();
  CSampleRegion(const CSampleRegion&) = delete;
  CSampleRegion& operator=(const CSampleRegion&) = delete;
  // Bytes of a region that holds a block of `bytes`.
  static size_t RegionBytes(size_t bytes);

 private:
  void* m_pRegion;
  void* m_pPrevious;
};

// The allocator of the sample vectors. New elements made without a value
// are left as they are (not zeroed): the stores zero what they need.
template <typename T>
class CSampleAllocator {
 public:
  using value_type = T;
  CSampleAllocator() noexcept = default;
  template <typename U>
  CSampleAllocator(const CSampleAllocator<U>&) noexcept {}

  T* allocate(size_t n) { return static_cast<T*>(AllocateSampleMemory(n * sizeof(T))); }
  void deallocate(T* p, size_t) noexcept { FreeSampleMemory(p); }

  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(static_cast<Args&&>(args)...);
  }

  template <typename U>
  bool operator==(const CSampleAllocator<U>&) const noexcept {
    return true;
  }
};
