#pragma once

#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

// Storage for the small objects that the model makes and frees by the thousand (the controls of
// a project, the properties of a theme's skins): blocks of a few sizes cut from large slabs and
// kept, once freed, on a free list of their size for the next object of that size. Taking and
// giving back a block is a pointer swap, where the general allocator searches and tidies; a
// project of thousands of controls is read and closed with a few slab allocations in all.
//
// Each thread keeps its own free lists, so no lock is taken. Slabs are never given back: a
// block freed on another thread than the one that made it joins that thread's lists, and the
// memory stays for the next project. Objects larger than the largest block, and every object in
// a build with AddressSanitizer (which must see each allocation to check it), go to the general
// allocator.
//
// A class uses the pool by declaring BLOCK_POOL_ALLOCATED in its body; its subclasses inherit
// it. Deleting through a base pointer needs a virtual destructor, which hands the size of the
// whole object to the sized delete.
namespace BlockPool {

constexpr std::size_t Granularity = 16;
constexpr std::size_t LargestBlock = 512;
constexpr std::size_t SlabBytes = 64 * 1024;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Enabled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Enabled = false;
#else
constexpr bool Enabled = true;
#endif
#else
constexpr bool Enabled = true;
#endif

class ThreadPool
{
public:
    void* allocate(std::size_t size)
    {
        FreeBlock*& head = freeBlocks[classOf(size)];
        if (FreeBlock* block = head) {
            head = block->next;
            return block;
        }
        return carve(classOf(size) * Granularity);
    }

    void deallocate(void* memory, std::size_t size)
    {
        FreeBlock*& head = freeBlocks[classOf(size)];
        head = new (memory) FreeBlock{head};
    }

private:
    struct FreeBlock
    {
        FreeBlock* next;
    };

    static std::size_t classOf(std::size_t size)
    {
        return size == 0 ? 1 : (size + Granularity - 1) / Granularity;
    }

    void* carve(std::size_t bytes)
    {
        if (std::size_t(slabEnd - slabNext) < bytes) {
            slabNext = newSlab();
            slabEnd = slabNext + SlabBytes;
        }
        void* block = slabNext;
        slabNext += bytes;
        return block;
    }

    // Slabs are kept for the life of the process, listed so that they stay reachable.
    static char* newSlab()
    {
        static std::mutex mutex;
        static std::vector<char*>* slabs = new std::vector<char*>;
        char* slab = static_cast<char*>(::operator new(SlabBytes));
        const std::lock_guard<std::mutex> lock(mutex);
        slabs->push_back(slab);
        return slab;
    }

    FreeBlock* freeBlocks[LargestBlock / Granularity + 1] = {};
    char* slabNext = nullptr;
    char* slabEnd = nullptr;
};

// The model's libraries are linked into programs, never loaded later: the thread's pool is
// then at a fixed place from the thread pointer, reached without a call.
#if defined(__GNUC__)
#define BLOCK_POOL_TLS_MODEL __attribute__((tls_model("initial-exec")))
#else
#define BLOCK_POOL_TLS_MODEL
#endif

inline ThreadPool& threadPool()
{
    static thread_local ThreadPool pool BLOCK_POOL_TLS_MODEL;
    return pool;
}

inline void* allocate(std::size_t size)
{
    if (!Enabled || size > LargestBlock)
        return ::operator new(size);
    return threadPool().allocate(size);
}

inline void deallocate(void* memory, std::size_t size)
{
    if (!memory)
        return;
    if (!Enabled || size > LargestBlock)
        ::operator delete(memory);
    else
        threadPool().deallocate(memory, size);
}

// The pool as the allocator of a standard container, for the nodes of a map or the storage of a
// small vector that the model makes by the thousand.
template <class T> struct Allocator
{
    using value_type = T;

    Allocator() = default;
    template <class U> Allocator(const Allocator<U>&) noexcept {}

    T* allocate(std::size_t count)
    {
        return static_cast<T*>(BlockPool::allocate(count * sizeof(T)));
    }
    void deallocate(T* memory, std::size_t count)
    {
        BlockPool::deallocate(memory, count * sizeof(T));
    }

    template <class U> bool operator==(const Allocator<U>&) const noexcept { return true; }
    template <class U> bool operator!=(const Allocator<U>&) const noexcept { return false; }
};

} // namespace BlockPool

#define BLOCK_POOL_ALLOCATED                                                                       \
    static void* operator new(std::size_t size)                                                    \
    {                                                                                              \
        return BlockPool::allocate(size);                                                          \
    }                                                                                              \
    static void operator delete(void* memory, std::size_t size)                                    \
    {                                                                                              \
        BlockPool::deallocate(memory, size);                                                       \
    }
