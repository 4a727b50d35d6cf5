// A small layer for driving automation (COM) components by late binding:
// owners for interface pointers, BSTRs and VARIANTs, a guard that balances
// CoInitialize() with CoUninitialize(), object creation from a ProgID, and
// members read, written and called by name through IDispatch.
//
// Error policy: nothing here throws. Every late-bound call returns its HRESULT
// and leaves an empty result behind when it fails, so the caller can go on as
// the automation convention asks.
//
// Strings cross as UTF-16 (std::u16string). Turning a Text into UTF-16 and
// back is the caller's business (ToAutomationString / FromAutomationString
// read the Text in code page 936 whatever the system's ANSI code page is).
//
// Ownership, written where it happens:
//   ComPtr::Attach(p)   takes over a reference the caller already holds (does not AddRef).
//   ComPtr::Borrow(p)   takes its own reference (AddRef).
//   ComPtr::put()       releases what it held; the callee's out-reference becomes ours.
//   copying a ComPtr    takes its own reference; moving transfers it.
//   Bstr / Variant      own their contents; copies are deep (SysAllocString / VariantCopy).
//   Variant::get()      lends the VARIANT; the callee must not clear it.
//
//   ComInitialization com;                      // CoInitialize(nullptr) ... CoUninitialize()
//   ComPtr<IDispatch> re = CreateObject(u"VBScript.RegExp");
//   PutMember(re.get(), L"Pattern", {}, Variant(u"a+"));
//   Variant matches;
//   CallMethod(re.get(), L"Execute", {Variant(u"baaa")}, &matches);
//   Variant count;
//   GetMember(matches.ToDispatch().get(), L"Count", {}, &count);  // count.ToDouble() == 1
#ifndef QUORVEL_PLATFORM_WIN32_AUTOMATION_H_
#define QUORVEL_PLATFORM_WIN32_AUTOMATION_H_

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>
#include <utility>
#include <vector>

#include "text/text.h"

namespace quorvel {

// An interface pointer that releases itself.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_ != nullptr) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  // Takes over a reference the caller already holds; does not AddRef.
  static ComPtr Attach(T* p) {
    ComPtr result;
    result.p_ = p;
    return result;
  }
  // Takes its own reference: AddRef.
  static ComPtr Borrow(T* p) {
    ComPtr result;
    result.p_ = p;
    if (p != nullptr) p->AddRef();
    return result;
  }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // Releases the reference held, if any, and becomes empty.
  void reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // For an out-parameter: releases what is held and gives the address to fill;
  // the reference the callee writes there becomes ours.
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

 private:
  T* p_ = nullptr;
};

// A BSTR that frees itself. An empty string may be held as a null BSTR, which
// automation treats as "".
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const std::u16string& s);
  Bstr(const Bstr& other);
  Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  Bstr& operator=(Bstr other) noexcept {
    std::swap(b_, other.b_);
    return *this;
  }
  ~Bstr();

  BSTR get() const { return b_; }
  // For an out-parameter: frees what is held; the string written there becomes ours.
  BSTR* put();
  // Hands the string over to the caller, who frees it; this becomes empty.
  BSTR release() { return std::exchange(b_, nullptr); }
  std::u16string ToU16String() const;

 private:
  BSTR b_ = nullptr;
};

// A VARIANT that clears itself. A new one is VT_EMPTY.
class Variant {
 public:
  Variant() { ::VariantInit(&v_); }
  explicit Variant(const std::u16string& s);
  explicit Variant(const char16_t* s) : Variant(std::u16string(s)) {}
  explicit Variant(bool b);
  explicit Variant(int32_t i);
  explicit Variant(double d);
  // Takes its own reference to `object` (AddRef).
  explicit Variant(IDispatch* object);
  // A SAFEARRAY of bytes (VT_ARRAY | VT_UI1) holding a copy of `bytes`.
  static Variant FromBytes(const Bytes& bytes);

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(Variant other) noexcept {
    std::swap(v_, other.v_);
    return *this;
  }
  ~Variant() { ::VariantClear(&v_); }

  const VARIANT& get() const { return v_; }
  // For an out-parameter: clears what is held; what the callee writes becomes ours.
  VARIANT* put();
  VARTYPE type() const { return v_.vt; }
  bool empty() const { return v_.vt == VT_EMPTY; }

  // Conversions in the automation way (VariantChangeType); a value that does
  // not convert gives "", 0, false or an empty object.
  std::u16string ToU16String() const;
  double ToDouble() const;
  bool ToBool() const;
  // The object held (VT_DISPATCH, or VT_UNKNOWN answering IDispatch), with our own reference.
  ComPtr<IDispatch> ToDispatch() const;
  // The bytes of a one-dimensional SAFEARRAY of bytes (VT_UI1 or VARIANT
  // elements holding bytes); empty Bytes for anything else.
  Bytes ToBytes() const;

 private:
  VARIANT v_;
};

// Enters the automation runtime of the calling thread for its lifetime:
// CoInitialize(nullptr) when made, CoUninitialize() when destroyed, the latter
// only when the former succeeded (S_OK or S_FALSE), so the count stays balanced.
class ComInitialization {
 public:
  ComInitialization();
  ComInitialization(const ComInitialization&) = delete;
  ComInitialization& operator=(const ComInitialization&) = delete;
  ~ComInitialization();
  bool succeeded() const { return SUCCEEDED(hr_); }
  HRESULT result() const { return hr_; }

 private:
  HRESULT hr_;
};

// A new object of the component registered under `progId`; empty on failure.
ComPtr<IDispatch> CreateObject(const std::u16string& progId, HRESULT* status = nullptr);

// Reads member `name` of `object` with the given arguments (indexes of an
// indexed property): a property get, or, where the object has no such
// property, a call of the method of that name. `result` receives the value,
// VT_EMPTY on failure. A null `object` gives E_POINTER.
HRESULT GetMember(IDispatch* object, const wchar_t* name, const std::vector<Variant>& args,
                  Variant* result);

// Writes member `name` of `object` (a property put): `indexes` first, in
// order, then `value`.
HRESULT PutMember(IDispatch* object, const wchar_t* name, const std::vector<Variant>& indexes,
                  const Variant& value);

// Calls method `name` of `object` with `args` in order; `result` (may be
// null) receives its return value, VT_EMPTY on failure.
HRESULT CallMethod(IDispatch* object, const wchar_t* name, const std::vector<Variant>& args,
                   Variant* result);

// UTF-16 string types of the two worlds: wchar_t is 16 bits wide on Windows.
inline const wchar_t* AsWide(const std::u16string& s) {
  return reinterpret_cast<const wchar_t*>(s.c_str());
}

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_WIN32_AUTOMATION_H_
