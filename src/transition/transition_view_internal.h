#pragma once
// Small helpers shared by the control's source files.
#include <cstdint>

namespace ss::view_internal {

// How long one wait for the animation thread lasts before its flags are looked at again. The
// thread's requests wake the wait early, so this only bounds a wait that nothing wakes.
inline constexpr uint32_t kThreadWaitSliceMs = 50;

// Holds a counter raised for the lifetime of a scope, also when the scope is left by an error.
class CountedScope {
 public:
  explicit CountedScope(int32_t& counter) : counter_(counter) { ++counter_; }
  ~CountedScope() { --counter_; }
  CountedScope(const CountedScope&) = delete;
  CountedScope& operator=(const CountedScope&) = delete;

 private:
  int32_t& counter_;
};

// Sets a flag for the lifetime of a scope and clears it on the way out.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace ss::view_internal
