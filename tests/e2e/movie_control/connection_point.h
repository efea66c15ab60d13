#pragma once
// The control's one connection point, for its default event interface. The sinks advised on it
// receive the events by dispatch id, on the thread that fires them.
#include <windows.h>
// After windows.h, which declares the types it uses.
#include <ocidl.h>

#include <atomic>
#include <vector>

namespace movie_double {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class EventPoint final : public IConnectionPoint {
 public:
  explicit EventPoint(IConnectionPointContainer* owner) : owner_(owner) {}
  virtual ~EventPoint();

  // Calls every sink with the arguments in declared order (they travel last first).
  void fire(DISPID event, const char* name, std::vector<VARIANT> arguments);
  // The owner is going: no more calls reach it through GetConnectionPointContainer.
  void forget_owner() { owner_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

 private:
  struct Sink {
    DWORD cookie;
    IDispatch* dispatch;
  };
  IConnectionPointContainer* owner_;
  std::vector<Sink> sinks_;
  DWORD next_cookie_ = 1;
  std::atomic<ULONG> references_{1};
};
#pragma GCC diagnostic pop

}  // namespace movie_double
