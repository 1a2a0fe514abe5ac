// The processors the search's vector loops are built for: on x86 an AVX-512, an AVX2 and a plain version of
// each, the best the processor has chosen when the program starts.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#define TAVRIK_VECTOR_CLONES [[gnu::target_clones("arch=x86-64-v4", "avx2", "default")]]
#else
#define TAVRIK_VECTOR_CLONES
#endif
