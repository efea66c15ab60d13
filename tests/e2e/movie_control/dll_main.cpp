// The DLL's entry points: COM asks for the class object of the control, and whether the DLL may
// be unloaded (never while the process runs: the log is simpler that way).
#include <windows.h>
// After windows.h, which declares the types it uses.
#include <unknwn.h>

#include <atomic>
#include <new>

#include "call_log.h"
#include "movie_control.h"
#include "movie_ids.h"

namespace movie_double {
namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class ControlFactory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  // The factory is static: its count only tells COM that it is in use.
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override { return --references_; }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    log_call("IClassFactory::CreateInstance " + interface_name(iid));
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* control = new (std::nothrow) MovieControl();
    if (control == nullptr) return E_OUTOFMEMORY;
    const HRESULT result = control->QueryInterface(iid, object);
    control->Release();
    return result;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    log_call(std::string("IClassFactory::LockServer ") + (lock ? "1" : "0"));
    return S_OK;
  }

 private:
  std::atomic<ULONG> references_{1};
};
#pragma GCC diagnostic pop

ControlFactory factory;

}  // namespace
}  // namespace movie_double

extern "C" HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  using namespace movie_double;
  log_call("DllGetClassObject " + guid_text(clsid) + " " + interface_name(iid));
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, kControlClassId)) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, object);
}

extern "C" HRESULT STDMETHODCALLTYPE DllCanUnloadNow() {
  return S_FALSE;
}
