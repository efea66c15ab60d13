#include "platform/win32/ole_events.h"

#include <atomic>
#include <utility>

#include "base/error.h"
#include "platform/win32/ole_text.h"

namespace ss {
namespace {

// COM objects end through Release, never through a pointer to an interface, whose destructors
// the system headers leave non-virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class EventSink final : public IDispatch {
 public:
  EventSink(const IID& events, OleEventHandler handler)
      : events_(events), handler_(std::move(handler)) {}
  virtual ~EventSink() = default;
  EventSink(const EventSink&) = delete;
  EventSink& operator=(const EventSink&) = delete;

  void disconnect() { handler_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != events_) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // The control calls by dispatch id only; the sink needs no type information of its own.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                      EXCEPINFO*, UINT*) override {
    // Copied and kept alive: the handler may end the connection or the control.
    const OleEventHandler handler = handler_;
    if (!handler || parameters == nullptr) return S_OK;
    AddRef();
    try {
      handler(event, *parameters);
    } catch (...) {
      // The control is not ours to unwind through.
    }
    Release();
    return S_OK;
  }

 private:
  IID events_;
  OleEventHandler handler_;
  std::atomic<ULONG> references_{1};
};
#pragma GCC diagnostic pop

// The type information of the control's default source interface, from its class information.
ComPtr<ITypeInfo> default_source_type(IUnknown* control) {
  ComPtr<IProvideClassInfo> provider;
  ComPtr<ITypeInfo> class_type;
  if (FAILED(control->QueryInterface(IID_IProvideClassInfo, provider.put_void())) ||
      FAILED(provider->GetClassInfo(class_type.put())))
    return {};
  TYPEATTR* attributes = nullptr;
  if (FAILED(class_type->GetTypeAttr(&attributes))) return {};
  const UINT interfaces = attributes->cImplTypes;
  class_type->ReleaseTypeAttr(attributes);
  for (UINT i = 0; i < interfaces; ++i) {
    INT flags = 0;
    if (FAILED(class_type->GetImplTypeFlags(i, &flags))) continue;
    const INT wanted = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
    if ((flags & wanted) != wanted) continue;
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> source;
    if (SUCCEEDED(class_type->GetRefTypeOfImplType(i, &reference)) &&
        SUCCEEDED(class_type->GetRefTypeInfo(reference, source.put())))
      return source;
  }
  return {};
}

bool type_guid(ITypeInfo* type, IID& guid) {
  TYPEATTR* attributes = nullptr;
  if (type == nullptr || FAILED(type->GetTypeAttr(&attributes))) return false;
  guid = attributes->guid;
  type->ReleaseTypeAttr(attributes);
  return true;
}

IID default_source_iid(IUnknown* control, ITypeInfo* source_type, const IID& known_events) {
  IID iid = {};
  if (type_guid(source_type, iid)) return iid;
  ComPtr<IProvideClassInfo2> provider;
  if (SUCCEEDED(control->QueryInterface(IID_IProvideClassInfo2, provider.put_void())) &&
      SUCCEEDED(provider->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid)))
    return iid;
  return known_events;
}

}  // namespace

OleEventConnection::OleEventConnection(IUnknown* control, const IID& known_events,
                                       OleEventHandler handler)
    : source_type_(default_source_type(control)) {
  const IID events = default_source_iid(control, source_type_.get(), known_events);
  ComPtr<IConnectionPointContainer> container;
  check_hresult(control->QueryInterface(IID_IConnectionPointContainer, container.put_void()),
                "The control publishes no events");
  check_hresult(container->FindConnectionPoint(events, point_.put()),
                "The control's events cannot be connected");
  sink_ = ComPtr<IDispatch>::adopt(new EventSink(events, std::move(handler)));
  check_hresult(point_->Advise(sink_.get(), &cookie_), "The control's events cannot be connected");
}

OleEventConnection::~OleEventConnection() {
  static_cast<EventSink*>(sink_.get())->disconnect();
  point_->Unadvise(cookie_);
}

DISPID OleEventConnection::event_id(const wchar_t* name, DISPID fallback) const {
  if (!source_type_) return fallback;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  MEMBERID id = MEMBERID_NIL;
  if (FAILED(source_type_->GetIDsOfNames(names, 1, &id))) return fallback;
  return id;
}

}  // namespace ss
