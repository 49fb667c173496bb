#pragma once

#include <cstdlib>
#include <memory>

namespace skylane {

// Memory a C library hands over for the caller to free() (an xcb reply or
// error, realpath's answer), owned like any other object.
struct CFree {
    void operator()(void *memory) const noexcept { std::free(memory); }
};
template <typename T>
using UniqueCPtr = std::unique_ptr<T, CFree>;

} // namespace skylane
