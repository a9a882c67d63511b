// Finding bytes 64 at a time: a mask with bit i set where p[i] is the byte wanted. On
// x86 the comparison runs 16 bytes per instruction; elsewhere byte by byte. And a hint
// to read memory ahead of a search.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// A hint to read the cache line at p soon; no effect on what a program computes.
inline void Prefetch(const void* p) {
#if defined(__GNUC__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

inline uint64_t ByteMask64(const char* p, char wanted) {
#if defined(__SSE2__)
  const __m128i w = _mm_set1_epi8(wanted);
  auto bits = [&](int at) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
    return static_cast<uint64_t>(
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, w))));
  };
  return bits(0) | bits(16) << 16 | bits(32) << 32 | bits(48) << 48;
#else
  uint64_t mask = 0;
  for (int i = 0; i < 64; ++i) mask |= static_cast<uint64_t>(p[i] == wanted) << i;
  return mask;
#endif
}
