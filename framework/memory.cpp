// Global new and delete on the C heap. The runtime's versions throw std::bad_alloc,
// which would bring the whole exception machinery into a program built without it.
#include <stdlib.h>

#include <new>

void* operator new(size_t size) {
    void* p = malloc(size ? size : 1);
    if (!p) abort();
    return p;
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }
