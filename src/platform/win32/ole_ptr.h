#pragma once
// Owners for the three kinds of OLE resources the movie host holds: interface pointers, wide
// strings and variants. Each releases what it holds exactly once.
#include <windows.h>
// After windows.h, which declares the types it uses.
#include <oleauto.h>

#include <utility>

namespace ss {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }

  // Takes over a reference the caller already owns.
  static ComPtr adopt(Interface* pointer) {
    ComPtr result;
    result.pointer_ = pointer;
    return result;
  }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For calls that return a new reference through an out parameter.
  Interface** put() {
    reset();
    return &pointer_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }

  // Another interface of the same object, or an empty pointer when it has none.
  template <typename Other>
  ComPtr<Other> query(REFIID iid) const {
    ComPtr<Other> other;
    if (pointer_ != nullptr && FAILED(pointer_->QueryInterface(iid, other.put_void())))
      other.reset();
    return other;
  }

 private:
  Interface* pointer_ = nullptr;
};

class BstrString {
 public:
  BstrString() = default;
  explicit BstrString(const wchar_t* text) : text_(SysAllocString(text)) {}
  ~BstrString() { SysFreeString(text_); }
  BstrString(const BstrString&) = delete;
  BstrString& operator=(const BstrString&) = delete;

  BSTR get() const { return text_; }
  BSTR* put() {
    SysFreeString(std::exchange(text_, nullptr));
    return &text_;
  }
  // Hands ownership to a variant or another owner.
  BSTR release() { return std::exchange(text_, nullptr); }

 private:
  BSTR text_ = nullptr;
};

class VariantValue {
 public:
  VariantValue() { VariantInit(&value_); }
  ~VariantValue() { VariantClear(&value_); }
  VariantValue(const VariantValue&) = delete;
  VariantValue& operator=(const VariantValue&) = delete;

  VARIANT* get() { return &value_; }
  const VARIANT* get() const { return &value_; }

 private:
  VARIANT value_;
};

}  // namespace ss
