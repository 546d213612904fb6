// MallocArray: an array from malloc, freed by free when its owner goes.
#ifndef QUENORBIAL_SORT_MALLOC_ARRAY_H
#define QUENORBIAL_SORT_MALLOC_ARRAY_H

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

struct Free {
  void operator()(void *p) const noexcept { std::free(p); }
};

// Of elements that may be moved as bytes, as realloc moves them.
template <class T>
using MallocArray = std::unique_ptr<T[], Free>;

// Makes room for `n` elements, keeping those there are. realloc, so that a
// large array can grow in place or by remapping its pages instead of being
// copied.
template <class T>
void resize(MallocArray<T> &a, std::size_t n) {
  static_assert(std::is_trivially_copyable<T>::value, "realloc moves the bytes");
  void *p = std::realloc(a.get(), n * sizeof(T));
  if (p == nullptr) throw std::bad_alloc();
  a.release();
  a.reset(static_cast<T *>(p));
}

// Room for `n` elements, untouched, so that pages not yet used cost nothing.
template <class T>
MallocArray<T> allocate(std::size_t n) {
  MallocArray<T> a;
  resize(a, n);
  return a;
}

#endif  // QUENORBIAL_SORT_MALLOC_ARRAY_H
