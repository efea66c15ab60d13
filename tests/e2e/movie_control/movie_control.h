#pragma once
// The movie control double: an ActiveX control that offers its host what a real movie control
// offers (embedding, in-place activation, drawing, persistence, class information, events and
// automation), plays the text "movies" of movie_script.h on a child window of its own, and logs
// every call. Everything runs on the thread that created it, the host's GUI thread.
#include <windows.h>
// After windows.h, which declares the types they use.
#include <ocidl.h>
#include <oleidl.h>

#include <atomic>
#include <set>
#include <string>

#include "movie_script.h"

namespace movie_double {

class EventPoint;

// What the control says about its class, set by "class_info" in movie_control.cfg beside the
// DLL: the type information and the event id (full, the default), the event id only
// (guid_only), or nothing at all (none).
enum class ClassInfoOffer { kFull, kGuidOnly, kNone };

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class MovieControl final : public IOleObject,
                           public IOleInPlaceObject,
                           public IOleInPlaceActiveObject,
                           public IViewObject,
                           public IPersistStreamInit,
                           public IProvideClassInfo2,
                           public IConnectionPointContainer,
                           public IDispatch {
 public:
  MovieControl();
  virtual ~MovieControl();
  MovieControl(const MovieControl&) = delete;
  MovieControl& operator=(const MovieControl&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override;
  STDMETHODIMP Close(DWORD save) override;
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override;
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override;
  STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                      LPCRECT position) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
  STDMETHODIMP Update() override;
  STDMETHODIMP IsUpToDate() override;
  STDMETHODIMP GetUserClassID(CLSID* id) override;
  STDMETHODIMP GetUserType(DWORD, LPOLESTR* type) override;
  STDMETHODIMP SetExtent(DWORD, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink*, DWORD* connection) override;
  STDMETHODIMP Unadvise(DWORD) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override;

  // IOleWindow, shared by both in-place interfaces
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override;
  // IOleInPlaceObject
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override;
  // IOleInPlaceActiveObject
  STDMETHODIMP TranslateAccelerator(LPMSG) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL) override;
  STDMETHODIMP OnDocWindowActivate(BOOL) override;
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override;
  STDMETHODIMP EnableModeless(BOOL) override;

  // IViewObject
  STDMETHODIMP Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC target, LPCRECTL bounds, LPCRECTL,
                    BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
  STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override;
  STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override;
  STDMETHODIMP Unfreeze(DWORD) override;
  STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink*) override;
  STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override;

  // IPersistStreamInit
  STDMETHODIMP GetClassID(CLSID* id) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP Load(LPSTREAM) override;
  STDMETHODIMP Save(LPSTREAM, BOOL) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override;

  // IProvideClassInfo2
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                      VARIANT* result, EXCEPINFO*, UINT*) override;

  // The control's window.
  void on_tick();
  void on_paint();
  void on_input(UINT message);

 private:
  HRESULT activate_in_place(HWND parent, LPCRECT position);
  void load_movie(const std::wstring& path);
  void show_frame(int32_t frame);
  // The type information of `guid` from the type library in this DLL, or null.
  ITypeInfo* type_info_of(REFGUID guid);

  std::atomic<ULONG> references_{1};
  ClassInfoOffer class_info_ = ClassInfoOffer::kFull;
  IOleClientSite* site_ = nullptr;
  IOleInPlaceSite* in_place_site_ = nullptr;
  EventPoint* events_ = nullptr;
  HWND window_ = nullptr;
  DWORD thread_ = 0;  // the thread that created the control

  std::wstring movie_;
  MovieScript script_;
  int32_t frame_ = 0;
  bool playing_ = false;
  std::set<UINT> inputs_seen_;
};
#pragma GCC diagnostic pop

}  // namespace movie_double
