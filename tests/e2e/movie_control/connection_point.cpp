#include "connection_point.h"

#include <olectl.h>

#include <string>

#include "call_log.h"
#include "movie_ids.h"

namespace movie_double {

EventPoint::~EventPoint() {
  for (Sink& sink : sinks_) sink.dispatch->Release();
}

STDMETHODIMP EventPoint::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint)) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) EventPoint::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP EventPoint::GetConnectionInterface(IID* iid) {
  log_call("IConnectionPoint::GetConnectionInterface");
  if (iid == nullptr) return E_POINTER;
  *iid = kEventInterfaceId;
  return S_OK;
}

STDMETHODIMP EventPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  log_call("IConnectionPoint::GetConnectionPointContainer");
  if (container == nullptr) return E_POINTER;
  *container = owner_;
  if (owner_ == nullptr) return E_UNEXPECTED;
  owner_->AddRef();
  return S_OK;
}

STDMETHODIMP EventPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (sink == nullptr || cookie == nullptr) return E_POINTER;
  // A sink answers for the event interface itself, or at least for IDispatch.
  IDispatch* dispatch = nullptr;
  const char* how = "IMovieControlEvents";
  if (FAILED(sink->QueryInterface(kEventInterfaceId, reinterpret_cast<void**>(&dispatch)))) {
    how = "IDispatch";
    if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
      log_call("IConnectionPoint::Advise -> the sink has no dispatch interface");
      return CONNECT_E_CANNOTCONNECT;
    }
  }
  *cookie = next_cookie_++;
  sinks_.push_back({*cookie, dispatch});
  log_call("IConnectionPoint::Advise sink as " + std::string(how) + " cookie " +
           std::to_string(*cookie));
  return S_OK;
}

STDMETHODIMP EventPoint::Unadvise(DWORD cookie) {
  log_call("IConnectionPoint::Unadvise cookie " + std::to_string(cookie));
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->cookie != cookie) continue;
    IDispatch* dispatch = it->dispatch;
    sinks_.erase(it);
    dispatch->Release();
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP EventPoint::EnumConnections(IEnumConnections** connections) {
  log_call("IConnectionPoint::EnumConnections");
  if (connections != nullptr) *connections = nullptr;
  return E_NOTIMPL;
}

void EventPoint::fire(DISPID event, const char* name, std::vector<VARIANT> arguments) {
  std::vector<VARIANT> last_first(arguments.rbegin(), arguments.rend());
  DISPPARAMS parameters = {};
  parameters.rgvarg = last_first.empty() ? nullptr : last_first.data();
  parameters.cArgs = static_cast<UINT>(last_first.size());
  // A sink may unadvise while it is called: call a copy, each kept alive for its call.
  const std::vector<Sink> sinks = sinks_;
  for (const Sink& sink : sinks) {
    sink.dispatch->AddRef();
    log_call(std::string("fire ") + name + " thread " + std::to_string(GetCurrentThreadId()));
    sink.dispatch->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                          nullptr, nullptr, nullptr);
    sink.dispatch->Release();
  }
  for (VARIANT& argument : arguments) VariantClear(&argument);
}

}  // namespace movie_double
