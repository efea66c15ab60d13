#include "movie_control.h"

#include <olectl.h>

#include <cwchar>
#include <fstream>
#include <string>
#include <vector>

#include "call_log.h"
#include "connection_point.h"
#include "movie_ids.h"

namespace movie_double {
namespace {

constexpr char kWindowClass[] = "MovieControlDoubleWindow";
constexpr UINT_PTR kFrameTimer = 1;

struct Member {
  const wchar_t* name;
  DISPID id;
};
constexpr Member kMembers[] = {
    {L"Movie", kMovieId},         {L"TotalFrames", kTotalFramesId},
    {L"Play", kPlayId},           {L"Stop", kStopId},
    {L"StopPlay", kStopPlayId},   {L"CurrentFrame", kCurrentFrameId},
    {L"IsPlaying", kIsPlayingId},
};

ClassInfoOffer read_class_info_offer() {
  std::ifstream file(module_folder() + "movie_control.cfg");
  std::string key, value;
  while (file >> key >> value) {
    if (key != "class_info") continue;
    if (value == "none") return ClassInfoOffer::kNone;
    if (value == "guid_only") return ClassInfoOffer::kGuidOnly;
  }
  return ClassInfoOffer::kFull;
}

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* control = reinterpret_cast<MovieControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_TIMER:
      if (control != nullptr && wparam == kFrameTimer) control->on_tick();
      return 0;
    case WM_PAINT:
      if (control != nullptr) {
        control->on_paint();
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_KEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
      // The control keeps the input it takes; the host sees none of it.
      if (control != nullptr) control->on_input(message);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

void register_window_class() {
  static const bool registered = [] {
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = kWindowClass;
    return RegisterClassExA(&window_class) != 0;
  }();
  (void)registered;
}

VARIANT text_variant(const std::string& text) {
  VARIANT value;
  VariantInit(&value);
  const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size - 1 : 0), L'\0');
  if (size > 1) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return value;
}

VARIANT integer_variant(int32_t number) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_I4;
  V_I4(&value) = number;
  return value;
}

std::string file_name(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return narrow((slash == std::wstring::npos ? path : path.substr(slash + 1)).c_str());
}

}  // namespace

MovieControl::MovieControl() : class_info_(read_class_info_offer()), thread_(GetCurrentThreadId()) {
  events_ = new EventPoint(this);
  log_call("created on thread " + std::to_string(thread_));
}

MovieControl::~MovieControl() {
  log_call("destroyed");
  if (window_ != nullptr) DestroyWindow(window_);
  events_->forget_owner();
  events_->Release();
  if (in_place_site_ != nullptr) in_place_site_->Release();
  if (site_ != nullptr) site_->Release();
}

STDMETHODIMP MovieControl::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  const bool class_info = class_info_ != ClassInfoOffer::kNone;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
    *object = static_cast<IOleObject*>(this);
  else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject))
    *object = static_cast<IOleInPlaceObject*>(this);
  else if (IsEqualIID(iid, IID_IOleInPlaceActiveObject))
    *object = static_cast<IOleInPlaceActiveObject*>(this);
  else if (IsEqualIID(iid, IID_IViewObject))
    *object = static_cast<IViewObject*>(this);
  else if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit))
    *object = static_cast<IPersistStreamInit*>(this);
  else if (class_info &&
           (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2)))
    *object = static_cast<IProvideClassInfo2*>(this);
  else if (IsEqualIID(iid, IID_IConnectionPointContainer))
    *object = static_cast<IConnectionPointContainer*>(this);
  else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kDefaultInterfaceId))
    *object = static_cast<IDispatch*>(this);
  // Interfaces that ole32 asks for on its own, not the host, are answered without a log line.
  const bool quiet = IsEqualIID(iid, IID_IMarshal) || IsEqualIID(iid, IID_IUnknown);
  if (!quiet)
    log_call("QueryInterface " + interface_name(iid) + (*object != nullptr ? " -> ok" : " -> no"));
  if (*object == nullptr) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) MovieControl::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

// --- IOleObject ------------------------------------------------------------------------------

STDMETHODIMP MovieControl::SetClientSite(IOleClientSite* site) {
  log_call(std::string("IOleObject::SetClientSite ") + (site != nullptr ? "site" : "none"));
  if (site != nullptr) site->AddRef();
  if (site_ != nullptr) site_->Release();
  site_ = site;
  return S_OK;
}

STDMETHODIMP MovieControl::GetClientSite(IOleClientSite** site) {
  log_call("IOleObject::GetClientSite");
  if (site == nullptr) return E_POINTER;
  *site = site_;
  if (site_ != nullptr) site_->AddRef();
  return S_OK;
}

STDMETHODIMP MovieControl::SetHostNames(LPCOLESTR, LPCOLESTR) {
  log_call("IOleObject::SetHostNames");
  return S_OK;
}

STDMETHODIMP MovieControl::Close(DWORD save) {
  log_call("IOleObject::Close " + std::to_string(save));
  InPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP MovieControl::SetMoniker(DWORD, IMoniker*) {
  log_call("IOleObject::SetMoniker");
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  log_call("IOleObject::GetMoniker");
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::InitFromData(IDataObject*, BOOL, DWORD) {
  log_call("IOleObject::InitFromData");
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::GetClipboardData(DWORD, IDataObject** data) {
  log_call("IOleObject::GetClipboardData");
  if (data != nullptr) *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                  LPCRECT position) {
  log_call("IOleObject::DoVerb " + std::to_string(verb) + " rect " +
           (position != nullptr ? rect_text(*position) : std::string("none")));
  switch (verb) {
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_SHOW:
    case OLEIVERB_PRIMARY:
      if (site != nullptr && site != site_) SetClientSite(site);
      return activate_in_place(parent, position);
    case OLEIVERB_HIDE:
      if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
      return S_OK;
    default:
      return OLEOBJ_S_INVALIDVERB;
  }
}

HRESULT MovieControl::activate_in_place(HWND parent, LPCRECT position) {
  if (window_ != nullptr) return S_OK;
  if (site_ == nullptr) return E_UNEXPECTED;
  if (in_place_site_ == nullptr &&
      FAILED(site_->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&in_place_site_))))
    return E_NOINTERFACE;
  if (in_place_site_->CanInPlaceActivate() != S_OK) return E_FAIL;
  in_place_site_->OnInPlaceActivate();
  HWND site_window = nullptr;
  in_place_site_->GetWindow(&site_window);
  IOleInPlaceFrame* frame = nullptr;
  IOleInPlaceUIWindow* document = nullptr;
  RECT site_position = {}, clip = {};
  OLEINPLACEFRAMEINFO frame_info = {sizeof frame_info};
  if (SUCCEEDED(in_place_site_->GetWindowContext(&frame, &document, &site_position, &clip,
                                                 &frame_info))) {
    log_call("site window context rect " + rect_text(site_position));
    if (frame != nullptr) frame->Release();
    if (document != nullptr) document->Release();
  }
  const RECT area = position != nullptr ? *position : site_position;
  register_window_class();
  window_ = CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, area.left,
                            area.top, area.right - area.left, area.bottom - area.top,
                            parent != nullptr ? parent : site_window, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (window_ == nullptr) return E_FAIL;
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  log_call("window created at " + rect_text(area));
  // Like a real control, it takes the keyboard once it is active.
  SetFocus(window_);
  return S_OK;
}

STDMETHODIMP MovieControl::EnumVerbs(IEnumOLEVERB** verbs) {
  log_call("IOleObject::EnumVerbs");
  if (verbs != nullptr) *verbs = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::Update() {
  log_call("IOleObject::Update");
  return S_OK;
}

STDMETHODIMP MovieControl::IsUpToDate() {
  log_call("IOleObject::IsUpToDate");
  return S_OK;
}

STDMETHODIMP MovieControl::GetUserClassID(CLSID* id) {
  log_call("IOleObject::GetUserClassID");
  if (id == nullptr) return E_POINTER;
  *id = kControlClassId;
  return S_OK;
}

STDMETHODIMP MovieControl::GetUserType(DWORD, LPOLESTR* type) {
  log_call("IOleObject::GetUserType");
  if (type != nullptr) *type = nullptr;
  return OLE_S_USEREG;
}

STDMETHODIMP MovieControl::SetExtent(DWORD, SIZEL* size) {
  log_call("IOleObject::SetExtent " +
           (size != nullptr ? std::to_string(size->cx) + "x" + std::to_string(size->cy) : ""));
  return S_OK;
}

STDMETHODIMP MovieControl::GetExtent(DWORD, SIZEL* size) {
  log_call("IOleObject::GetExtent");
  if (size == nullptr) return E_POINTER;
  size->cx = size->cy = 0;
  return S_OK;
}

STDMETHODIMP MovieControl::Advise(IAdviseSink*, DWORD* connection) {
  log_call("IOleObject::Advise");
  if (connection != nullptr) *connection = 0;
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::Unadvise(DWORD) {
  log_call("IOleObject::Unadvise");
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::EnumAdvise(IEnumSTATDATA** advise) {
  log_call("IOleObject::EnumAdvise");
  if (advise != nullptr) *advise = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::GetMiscStatus(DWORD, DWORD* status) {
  log_call("IOleObject::GetMiscStatus");
  if (status == nullptr) return E_POINTER;
  *status = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT |
            OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
  return S_OK;
}

STDMETHODIMP MovieControl::SetColorScheme(LOGPALETTE*) {
  log_call("IOleObject::SetColorScheme");
  return E_NOTIMPL;
}

// --- IOleInPlaceObject and IOleInPlaceActiveObject ---------------------------------------------

STDMETHODIMP MovieControl::GetWindow(HWND* window) {
  log_call("IOleWindow::GetWindow");
  if (window == nullptr) return E_POINTER;
  *window = window_;
  return window_ != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP MovieControl::ContextSensitiveHelp(BOOL) {
  log_call("IOleWindow::ContextSensitiveHelp");
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::InPlaceDeactivate() {
  log_call("IOleInPlaceObject::InPlaceDeactivate");
  if (window_ == nullptr) return S_OK;
  KillTimer(window_, kFrameTimer);
  DestroyWindow(window_);
  window_ = nullptr;
  if (in_place_site_ != nullptr) in_place_site_->OnInPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP MovieControl::UIDeactivate() {
  log_call("IOleInPlaceObject::UIDeactivate");
  return S_OK;
}

STDMETHODIMP MovieControl::SetObjectRects(LPCRECT position, LPCRECT clip) {
  log_call("IOleInPlaceObject::SetObjectRects " +
           (position != nullptr ? rect_text(*position) : std::string("none")) + " clip " +
           (clip != nullptr ? rect_text(*clip) : std::string("none")));
  if (position == nullptr) return E_POINTER;
  if (window_ != nullptr)
    MoveWindow(window_, position->left, position->top, position->right - position->left,
               position->bottom - position->top, TRUE);
  return S_OK;
}

STDMETHODIMP MovieControl::ReactivateAndUndo() {
  log_call("IOleInPlaceObject::ReactivateAndUndo");
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::TranslateAccelerator(LPMSG) {
  log_call("IOleInPlaceActiveObject::TranslateAccelerator");
  return S_FALSE;
}

STDMETHODIMP MovieControl::OnFrameWindowActivate(BOOL) {
  log_call("IOleInPlaceActiveObject::OnFrameWindowActivate");
  return S_OK;
}

STDMETHODIMP MovieControl::OnDocWindowActivate(BOOL) {
  log_call("IOleInPlaceActiveObject::OnDocWindowActivate");
  return S_OK;
}

STDMETHODIMP MovieControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
  log_call("IOleInPlaceActiveObject::ResizeBorder");
  return S_OK;
}

STDMETHODIMP MovieControl::EnableModeless(BOOL) {
  log_call("IOleInPlaceActiveObject::EnableModeless");
  return S_OK;
}

// --- IViewObject -----------------------------------------------------------------------------

STDMETHODIMP MovieControl::Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC target,
                                LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                ULONG_PTR) {
  log_call("IViewObject::Draw");
  if (target == nullptr || bounds == nullptr) return E_INVALIDARG;
  const RECT area = {bounds->left, bounds->top, bounds->right, bounds->bottom};
  HBRUSH brush = CreateSolidBrush(script_.colour);
  FillRect(target, &area, brush);
  DeleteObject(brush);
  return S_OK;
}

STDMETHODIMP MovieControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                       LOGPALETTE** palette) {
  log_call("IViewObject::GetColorSet");
  if (palette != nullptr) *palette = nullptr;
  return S_FALSE;
}

STDMETHODIMP MovieControl::Freeze(DWORD, LONG, void*, DWORD*) {
  log_call("IViewObject::Freeze");
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::Unfreeze(DWORD) {
  log_call("IViewObject::Unfreeze");
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::SetAdvise(DWORD, DWORD, IAdviseSink*) {
  log_call("IViewObject::SetAdvise");
  return S_OK;
}

STDMETHODIMP MovieControl::GetAdvise(DWORD*, DWORD*, IAdviseSink** sink) {
  log_call("IViewObject::GetAdvise");
  if (sink != nullptr) *sink = nullptr;
  return S_OK;
}

// --- IPersistStreamInit ----------------------------------------------------------------------

STDMETHODIMP MovieControl::GetClassID(CLSID* id) {
  log_call("IPersist::GetClassID");
  if (id == nullptr) return E_POINTER;
  *id = kControlClassId;
  return S_OK;
}

STDMETHODIMP MovieControl::IsDirty() {
  log_call("IPersistStreamInit::IsDirty");
  return S_FALSE;
}

STDMETHODIMP MovieControl::Load(LPSTREAM) {
  log_call("IPersistStreamInit::Load");
  return S_OK;
}

STDMETHODIMP MovieControl::Save(LPSTREAM, BOOL) {
  log_call("IPersistStreamInit::Save");
  return S_OK;
}

STDMETHODIMP MovieControl::GetSizeMax(ULARGE_INTEGER* size) {
  log_call("IPersistStreamInit::GetSizeMax");
  if (size == nullptr) return E_POINTER;
  size->QuadPart = 0;
  return S_OK;
}

STDMETHODIMP MovieControl::InitNew() {
  log_call("IPersistStreamInit::InitNew");
  return S_OK;
}

// --- IProvideClassInfo2 ----------------------------------------------------------------------

ITypeInfo* MovieControl::type_info_of(REFGUID guid) {
  char path[MAX_PATH] = {};
  HMODULE self = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&register_window_class), &self);
  GetModuleFileNameA(self, path, MAX_PATH);
  std::wstring wide(MAX_PATH, L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), MAX_PATH)));
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLib(wide.c_str(), &library))) {
    log_call("the type library cannot be loaded");
    return nullptr;
  }
  ITypeInfo* info = nullptr;
  if (FAILED(library->GetTypeInfoOfGuid(guid, &info))) info = nullptr;
  library->Release();
  return info;
}

STDMETHODIMP MovieControl::GetClassInfo(ITypeInfo** info) {
  log_call("IProvideClassInfo::GetClassInfo");
  if (info == nullptr) return E_POINTER;
  *info = class_info_ == ClassInfoOffer::kFull ? type_info_of(kControlClassId) : nullptr;
  return *info != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP MovieControl::GetGUID(DWORD kind, GUID* guid) {
  log_call("IProvideClassInfo2::GetGUID " + std::to_string(kind));
  if (guid == nullptr) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = kEventInterfaceId;
  return S_OK;
}

// --- IConnectionPointContainer ---------------------------------------------------------------

STDMETHODIMP MovieControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
  log_call("IConnectionPointContainer::EnumConnectionPoints");
  if (points != nullptr) *points = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP MovieControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  log_call("IConnectionPointContainer::FindConnectionPoint " + interface_name(iid));
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  if (!IsEqualIID(iid, kEventInterfaceId)) return CONNECT_E_NOCONNECTION;
  events_->AddRef();
  *point = events_;
  return S_OK;
}

// --- IDispatch -------------------------------------------------------------------------------

STDMETHODIMP MovieControl::GetTypeInfoCount(UINT* count) {
  log_call("IDispatch::GetTypeInfoCount");
  if (count == nullptr) return E_POINTER;
  *count = class_info_ == ClassInfoOffer::kFull ? 1 : 0;
  return S_OK;
}

STDMETHODIMP MovieControl::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  log_call("IDispatch::GetTypeInfo");
  if (info == nullptr) return E_POINTER;
  *info = class_info_ == ClassInfoOffer::kFull ? type_info_of(kDefaultInterfaceId) : nullptr;
  return *info != nullptr ? S_OK : TYPE_E_ELEMENTNOTFOUND;
}

STDMETHODIMP MovieControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (names == nullptr || ids == nullptr || count == 0) return E_POINTER;
  HRESULT result = S_OK;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  ids[0] = DISPID_UNKNOWN;
  for (const Member& member : kMembers)
    if (_wcsicmp(member.name, names[0]) == 0) ids[0] = member.id;
  if (ids[0] == DISPID_UNKNOWN || count > 1) result = DISP_E_UNKNOWNNAME;
  log_call("IDispatch::GetIDsOfNames " + narrow(names[0]) + " -> " + std::to_string(ids[0]));
  return result;
}

STDMETHODIMP MovieControl::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                  VARIANT* result, EXCEPINFO*, UINT*) {
  const bool get = (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0;
  const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
  std::string line = "IDispatch::Invoke " + std::to_string(member);
  if (result != nullptr) VariantInit(result);
  switch (member) {
    case kMovieId:
      if (put) {
        if (parameters == nullptr || parameters->cArgs != 1) return DISP_E_BADPARAMCOUNT;
        VARIANT text;
        VariantInit(&text);
        if (FAILED(VariantChangeType(&text, &parameters->rgvarg[0], 0, VT_BSTR)))
          return DISP_E_TYPEMISMATCH;
        const std::wstring path(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
        VariantClear(&text);
        log_call(line + " Movie put " + narrow(path.c_str()));
        load_movie(path);
        return S_OK;
      }
      log_call(line + " Movie get");
      if (result != nullptr) {
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocStringLen(movie_.data(), static_cast<UINT>(movie_.size()));
      }
      return S_OK;
    case kTotalFramesId:
      if (!get) return DISP_E_MEMBERNOTFOUND;
      log_call(line + " TotalFrames -> " + std::to_string(script_.frames));
      if (result != nullptr) *result = integer_variant(script_.frames);
      return S_OK;
    case kCurrentFrameId:
      log_call(line + " CurrentFrame -> " + std::to_string(frame_));
      if (result != nullptr) *result = integer_variant(frame_);
      return S_OK;
    case kIsPlayingId:
      log_call(line + " IsPlaying -> " + (playing_ ? "true" : "false"));
      if (result != nullptr) {
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = playing_ ? VARIANT_TRUE : VARIANT_FALSE;
      }
      return S_OK;
    case kPlayId:
      log_call(line + " Play");
      if (movie_.empty()) return E_FAIL;
      if (!playing_ && script_.frames > 0) {
        playing_ = true;
        if (window_ != nullptr) SetTimer(window_, kFrameTimer, 1000 / script_.rate, nullptr);
        show_frame(frame_);
      }
      return S_OK;
    case kStopId:
    case kStopPlayId:
      log_call(line + (member == kStopId ? " Stop" : " StopPlay"));
      playing_ = false;
      if (window_ != nullptr) KillTimer(window_, kFrameTimer);
      return S_OK;
    default:
      log_call(line + " unknown");
      return DISP_E_MEMBERNOTFOUND;
  }
}

// --- the movie -------------------------------------------------------------------------------

void MovieControl::load_movie(const std::wstring& path) {
  movie_ = path;
  const int size = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
  if (size > 1)
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, ansi.data(), size, nullptr, nullptr);
  script_ = read_movie_script(ansi);
  frame_ = 0;
  playing_ = false;
  if (window_ != nullptr) {
    KillTimer(window_, kFrameTimer);
    InvalidateRect(window_, nullptr, FALSE);
  }
  events_->fire(kReadyStateChangeId, "OnReadyStateChange", {integer_variant(4)});
}

void MovieControl::show_frame(int32_t frame) {
  frame_ = frame;
  log_call("frame " + std::to_string(frame_) + " of " + file_name(movie_));
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
  if (playing_ && frame_ == script_.command_frame) {
    log_call("FSCommand " + script_.command + " " + script_.args + " on thread " +
             std::to_string(GetCurrentThreadId()) +
             (GetCurrentThreadId() == thread_ ? " (the creating thread)" : " (another thread)"));
    events_->fire(kFsCommandId, "FSCommand",
                  {text_variant(script_.command), text_variant(script_.args)});
  }
}

void MovieControl::on_tick() {
  if (!playing_) return;
  const int32_t last = script_.frames - 1;
  if (frame_ < last) {
    show_frame(frame_ + 1);
    return;
  }
  switch (script_.end) {
    case MovieEnd::kLoop:
      show_frame(0);
      return;
    case MovieEnd::kOverrun:
      playing_ = false;
      show_frame(script_.frames);
      break;
    case MovieEnd::kStop:
      playing_ = false;
      log_call("stopped on the last frame of " + file_name(movie_));
      break;
  }
  if (window_ != nullptr) KillTimer(window_, kFrameTimer);
}

void MovieControl::on_input(UINT message) {
  const char* what = message == WM_KEYDOWN     ? "key down"
                     : message == WM_MOUSEMOVE ? "mouse move"
                                               : "button down";
  // Once each: enough to show that the input reached the control, not the host.
  if (!inputs_seen_.insert(message).second) return;
  log_call(std::string(what) + " in the control's window");
}

void MovieControl::on_paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  RECT client = {};
  GetClientRect(window_, &client);
  HBRUSH brush = CreateSolidBrush(script_.colour);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  const std::string text = movie_.empty() ? std::string("no movie")
                                          : file_name(movie_) + "  frame " + std::to_string(frame_);
  HFONT font =
      CreateFontA(-64, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma");
  HGDIOBJ old_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old_font);
  DeleteObject(font);
  EndPaint(window_, &paint);
}

}  // namespace movie_double
