#include "SecureMemory.h"

#include <string.h>

void SecureMemory::wipe(void *bytes, std::size_t size)
{
    if (bytes && size > 0)
        explicit_bzero(bytes, size);
}

bool SecureMemory::equal(const void *a, const void *b, std::size_t size)
{
    const volatile unsigned char *x = static_cast<const unsigned char *>(a);
    const volatile unsigned char *y = static_cast<const unsigned char *>(b);
    unsigned char difference = 0;
    for (std::size_t i = 0; i < size; ++i)
        difference |= x[i] ^ y[i];
    return difference == 0;
}
