#pragma once

#include <cstddef>

namespace vn {

// Descriptors kept free for the rest of the program while a sweep holds its
// connections: the examinations that follow it open sockets and helper pipes.
inline constexpr std::size_t kDescriptorReserve = 256;

// Raises this process's soft descriptor limit to the hard one where it can,
// and gives how many more descriptors can be opened beside those open now
// and the reserve; 0 when none.
std::size_t SpareDescriptors();

}  // namespace vn
