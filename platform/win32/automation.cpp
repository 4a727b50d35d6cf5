#include "platform/win32/automation.h"

#include <cstring>

namespace quorvel {

namespace {

const OLECHAR* AsOle(const std::u16string& s) { return reinterpret_cast<const OLECHAR*>(s.data()); }

std::u16string FromOle(const OLECHAR* s, UINT length) {
  if (s == nullptr) return std::u16string();
  return std::u16string(reinterpret_cast<const char16_t*>(s), length);
}

// Some SDK headers declare the source of VariantChangeType() and VariantCopy()
// non-const; neither changes it.
bool ChangeType(const VARIANT& from, VARTYPE type, Variant* to) {
  return SUCCEEDED(::VariantChangeType(to->put(), const_cast<VARIANT*>(&from), 0, type));
}

// The strings Invoke() may leave in an EXCEPINFO belong to the caller.
class ExceptionInfo {
 public:
  ExceptionInfo() { std::memset(&info_, 0, sizeof(info_)); }
  ExceptionInfo(const ExceptionInfo&) = delete;
  ExceptionInfo& operator=(const ExceptionInfo&) = delete;
  ~ExceptionInfo() {
    Bstr source, description, helpFile;
    *source.put() = info_.bstrSource;
    *description.put() = info_.bstrDescription;
    *helpFile.put() = info_.bstrHelpFile;
  }
  EXCEPINFO* get() { return &info_; }

 private:
  EXCEPINFO info_;
};

// Invokes member `name` with `args` in their natural order and, for a
// property put, `putValue` after them.
HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags,
                     const std::vector<Variant>& args, const Variant* putValue, Variant* result) {
  if (result != nullptr) result->put();
  if (object == nullptr || name == nullptr) return E_POINTER;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;

  // DISPPARAMS lists the arguments last to first. The copies are shallow: the
  // callee only reads them and the Variants keep ownership.
  std::vector<VARIANT> raw;
  raw.reserve(args.size() + 1);
  if (putValue != nullptr) raw.push_back(putValue->get());
  for (auto it = args.rbegin(); it != args.rend(); ++it) raw.push_back(it->get());
  DISPID namedPut = DISPID_PROPERTYPUT;
  DISPPARAMS params = {raw.empty() ? nullptr : raw.data(), nullptr,
                       static_cast<UINT>(raw.size()), 0};
  if (putValue != nullptr) {
    params.rgdispidNamedArgs = &namedPut;
    params.cNamedArgs = 1;
  }
  ExceptionInfo exception;
  UINT argError = 0;
  Variant ignored;
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                      result != nullptr ? result->put() : ignored.put(), exception.get(),
                      &argError);
  if (FAILED(hr) && result != nullptr) result->put();
  return hr;
}

}  // namespace

Bstr::Bstr(const std::u16string& s)
    : b_(::SysAllocStringLen(AsOle(s), static_cast<UINT>(s.size()))) {}

Bstr::Bstr(const Bstr& other)
    : b_(other.b_ == nullptr ? nullptr
                             : ::SysAllocStringLen(other.b_, ::SysStringLen(other.b_))) {}

Bstr::~Bstr() { ::SysFreeString(b_); }

BSTR* Bstr::put() {
  ::SysFreeString(std::exchange(b_, nullptr));
  return &b_;
}

std::u16string Bstr::ToU16String() const { return FromOle(b_, ::SysStringLen(b_)); }

Variant::Variant(const std::u16string& s) {
  ::VariantInit(&v_);
  Bstr b(s);
  if (b.get() == nullptr) return;  // out of memory: stays empty
  v_.vt = VT_BSTR;
  v_.bstrVal = b.release();
}

Variant::Variant(bool b) {
  ::VariantInit(&v_);
  v_.vt = VT_BOOL;
  v_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(int32_t i) {
  ::VariantInit(&v_);
  v_.vt = VT_I4;
  v_.lVal = i;
}

Variant::Variant(double d) {
  ::VariantInit(&v_);
  v_.vt = VT_R8;
  v_.dblVal = d;
}

Variant::Variant(IDispatch* object) {
  ::VariantInit(&v_);
  if (object == nullptr) return;
  object->AddRef();
  v_.vt = VT_DISPATCH;
  v_.pdispVal = object;
}

Variant Variant::FromBytes(const Bytes& bytes) {
  Variant result;
  SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.length()));
  if (array == nullptr) return result;
  if (bytes.length() > 0) {
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(array, &data))) {
      ::SafeArrayDestroy(array);
      return result;
    }
    std::memcpy(data, bytes.data().data(), bytes.data().size());
    ::SafeArrayUnaccessData(array);
  }
  result.v_.vt = VT_ARRAY | VT_UI1;
  result.v_.parray = array;
  return result;
}

Variant::Variant(const Variant& other) {
  ::VariantInit(&v_);
  ::VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
}

Variant::Variant(Variant&& other) noexcept : v_(other.v_) { ::VariantInit(&other.v_); }

VARIANT* Variant::put() {
  ::VariantClear(&v_);
  return &v_;
}

std::u16string Variant::ToU16String() const {
  if (v_.vt == VT_BSTR) return FromOle(v_.bstrVal, ::SysStringLen(v_.bstrVal));
  Variant converted;
  if (!ChangeType(v_, VT_BSTR, &converted)) return std::u16string();
  return FromOle(converted.v_.bstrVal, ::SysStringLen(converted.v_.bstrVal));
}

double Variant::ToDouble() const {
  Variant converted;
  if (!ChangeType(v_, VT_R8, &converted)) return 0.0;
  return converted.v_.dblVal;
}

bool Variant::ToBool() const {
  Variant converted;
  if (!ChangeType(v_, VT_BOOL, &converted)) return false;
  return converted.v_.boolVal != VARIANT_FALSE;
}

ComPtr<IDispatch> Variant::ToDispatch() const {
  if (v_.vt == VT_DISPATCH) return ComPtr<IDispatch>::Borrow(v_.pdispVal);
  ComPtr<IDispatch> result;
  if (v_.vt == VT_UNKNOWN && v_.punkVal != nullptr) {
    v_.punkVal->QueryInterface(IID_IDispatch, result.put_void());
  }
  return result;
}

Bytes Variant::ToBytes() const {
  if (v_.vt != (VT_ARRAY | VT_UI1) || v_.parray == nullptr) return Bytes();
  SAFEARRAY* array = v_.parray;
  LONG lower = 0;
  LONG upper = -1;
  if (::SafeArrayGetDim(array) != 1 || FAILED(::SafeArrayGetLBound(array, 1, &lower)) ||
      FAILED(::SafeArrayGetUBound(array, 1, &upper)) || upper < lower) {
    return Bytes();
  }
  void* data = nullptr;
  if (FAILED(::SafeArrayAccessData(array, &data))) return Bytes();
  Bytes result(data, static_cast<int32_t>(upper - lower + 1));
  ::SafeArrayUnaccessData(array);
  return result;
}

ComInitialization::ComInitialization() : hr_(::CoInitialize(nullptr)) {}

ComInitialization::~ComInitialization() {
  if (SUCCEEDED(hr_)) ::CoUninitialize();
}

ComPtr<IDispatch> CreateObject(const std::u16string& progId, HRESULT* status) {
  ComPtr<IDispatch> object;
  CLSID clsid;
  HRESULT hr = ::CLSIDFromProgID(AsOle(progId), &clsid);
  if (SUCCEEDED(hr)) {
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                            IID_IDispatch, object.put_void());
    if (FAILED(hr)) object.reset();
  }
  if (status != nullptr) *status = hr;
  return object;
}

HRESULT GetMember(IDispatch* object, const wchar_t* name, const std::vector<Variant>& args,
                  Variant* result) {
  HRESULT hr = InvokeByName(object, name, DISPATCH_PROPERTYGET, args, nullptr, result);
  if (hr == DISP_E_MEMBERNOTFOUND) {
    hr = InvokeByName(object, name, DISPATCH_METHOD, args, nullptr, result);
  }
  return hr;
}

HRESULT PutMember(IDispatch* object, const wchar_t* name, const std::vector<Variant>& indexes,
                  const Variant& value) {
  return InvokeByName(object, name, DISPATCH_PROPERTYPUT, indexes, &value, nullptr);
}

HRESULT CallMethod(IDispatch* object, const wchar_t* name, const std::vector<Variant>& args,
                   Variant* result) {
  return InvokeByName(object, name, DISPATCH_METHOD, args, nullptr, result);
}

}  // namespace quorvel
