#pragma once

#include <cstddef>

// Secrets in memory without the crypto module: wiping what a password or a plaintext left, and
// comparing digests in a time that does not tell where they differ. A program handles passwords
// before (and without) loading libcrypto, so these stay in every program.
namespace SecureMemory {

// Zeroes the bytes in a way the compiler cannot drop as a dead store.
void wipe(void *bytes, std::size_t size);
// Whether the two runs of `size` bytes are equal, looking at every byte whatever they hold.
bool equal(const void *a, const void *b, std::size_t size);

} // namespace SecureMemory
