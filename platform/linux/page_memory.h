// KeepPageMemoryForReuse() tells the allocator to keep the memory of freed
// page-sized buffers for the next poll cycle instead of handing it back to the
// system. Every cycle allocates the same few buffers of a page's size; given
// back, each cycle pays a page fault for every 4 KiB of them again, which on
// large pages costs more than the conversion itself. The memory kept is at
// most a few times the largest page seen.
#ifndef QUORVEL_PLATFORM_LINUX_PAGE_MEMORY_H_
#define QUORVEL_PLATFORM_LINUX_PAGE_MEMORY_H_

namespace quorvel {

void KeepPageMemoryForReuse();

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_LINUX_PAGE_MEMORY_H_
