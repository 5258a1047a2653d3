// The standard coroutine support the planner uses. A C++ library that has it only under
// std::experimental (emscripten's, for the browser build) lends those names to std.
#pragma once

#if __has_include(<coroutine>)
#include <coroutine>
#else
#include <experimental/coroutine>
namespace std {
using std::experimental::coroutine_handle;
using std::experimental::coroutine_traits;
using std::experimental::suspend_always;
using std::experimental::suspend_never;
}  // namespace std
#endif
