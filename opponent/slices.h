// A search written as plain loops that pause after each unit of work (a C++20 coroutine), so the shell
// can run it a slice per frame and the result never depends on how the slices fall.
#pragma once

#include <exception>

#include "opponent/coroutine.h"

class Slices {
 public:
  struct promise_type {
    Slices get_return_object() { return Slices(std::coroutine_handle<promise_type>::from_promise(*this)); }
    std::suspend_always initial_suspend() noexcept { return {}; }
    std::suspend_always final_suspend() noexcept { return {}; }
    std::suspend_always yield_value(int /*unit*/) noexcept { return {}; }
    void return_void() noexcept {}
    void unhandled_exception() noexcept { std::terminate(); }
  };

  Slices() = default;
  explicit Slices(std::coroutine_handle<promise_type> h) : handle_(h) {}
  Slices(Slices&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  Slices& operator=(Slices&& other) noexcept {
    if (this != &other) {
      if (handle_) handle_.destroy();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  ~Slices() {
    if (handle_) handle_.destroy();
  }
  // Runs up to the next pause; false once the search has finished.
  bool Resume() {
    if (!handle_ || handle_.done()) return false;
    handle_.resume();
    return !handle_.done();
  }

 private:
  std::coroutine_handle<promise_type> handle_;
};
