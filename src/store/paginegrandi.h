#pragma once

#include <cstddef>

namespace brenzola {

// Asks the kernel to back a large buffer with 2 MiB pages where it can. A million
// contacts' arrays, faulted in 4 KiB at a time, spend a good part of the start in faults.
// Only a hint: nothing changes when it is refused.
void pagineGrandi(const void* data, size_t bytes);

// Room for `quanti` items in a vector or string, in large pages before it is first touched.
template <typename Contenitore> void riservaGrande(Contenitore& contenitore, size_t quanti)
{
    contenitore.reserve(quanti);
    pagineGrandi(contenitore.data(), contenitore.capacity() * sizeof(*contenitore.data()));
}

// A vector of `quanti` copies of `valore`, in large pages.
template <typename Vettore> Vettore grande(size_t quanti, const typename Vettore::value_type& valore = {})
{
    Vettore vettore;
    riservaGrande(vettore, quanti);
    vettore.assign(quanti, valore);
    return vettore;
}

}  // namespace brenzola
