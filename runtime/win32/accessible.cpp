// accessible.cpp: a control's description, given through the accessible object Windows makes
// for it. The object a control answers WM_GETOBJECT with is the system's standard one, wrapped:
// every question goes to the standard object but the description, which is ours.
#include "runtime/win32/accessible.hpp"

#include <oleacc.h>

#include <memory>

#include "runtime/win32/system_library.hpp"

namespace numerak::win32 {

namespace {

constexpr wchar_t describedProperty[] = L"numerak.description";

// Held by a described control in a window property, from its first description until it goes.
struct Described {
    WNDPROC previous = nullptr;
    std::wstring text;
};

Described* described(HWND control) { return static_cast<Described*>(::GetPropW(control, describedProperty)); }

// The accessibility libraries, loaded when a screen reader first asks: a player without one
// never loads them.
struct Accessibility {
    static const Accessibility& get() {
        static const Accessibility libraries;
        return libraries;
    }
    bool ready() const { return standardObject && toResult && allocString && comReady; }

    decltype(&::CreateStdAccessibleObject) standardObject =
        systemFunction<decltype(&::CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
    decltype(&::LresultFromObject) toResult =
        systemFunction<decltype(&::LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    decltype(&::SysAllocStringLen) allocString =
        systemFunction<decltype(&::SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
    // The object handed to a reader lives in this thread's apartment, for as long as the reader
    // holds it: COM stays up on the window thread from the first question to the end.
    bool comReady = [] {
        const Com& com = Com::get();
        if (!com.ready()) return false;
        const HRESULT result = com.initialize(nullptr, COINIT_APARTMENTTHREADED);
        return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
    }();
};

class DescribedObject final : public IAccessible {
public:
    DescribedObject(HWND control, IAccessible* standard) : control_(control), standard_(standard) {}
    DescribedObject(const DescribedObject&) = delete;
    DescribedObject& operator=(const DescribedObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return standard_->QueryInterface(iid, out);  // its other faces are the standard object's
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        const Described* d = ::IsWindow(control_) ? described(control_) : nullptr;
        if (!out || child.vt != VT_I4 || child.lVal != CHILDID_SELF || !d || d->text.empty())
            return standard_->get_accDescription(child, out);
        *out = Accessibility::get().allocString(d->text.data(), static_cast<UINT>(d->text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    // The rest as the standard object answers.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return standard_->GetTypeInfoCount(n); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
        return standard_->GetTypeInfo(i, l, t);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* names, UINT n, LCID l, DISPID* ids) override {
        return standard_->GetIDsOfNames(r, names, n, l, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                     UINT* a) override {
        return standard_->Invoke(id, r, l, f, p, v, e, a);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return standard_->get_accParent(p); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override { return standard_->get_accChildCount(n); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** p) override { return standard_->get_accChild(c, p); }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT c, BSTR* s) override { return standard_->get_accName(c, s); }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* s) override { return standard_->get_accValue(c, s); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* v) override { return standard_->get_accRole(c, v); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* v) override { return standard_->get_accState(c, v); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* s) override { return standard_->get_accHelp(c, s); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
        return standard_->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* s) override {
        return standard_->get_accKeyboardShortcut(c, s);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* v) override { return standard_->get_accFocus(v); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* v) override { return standard_->get_accSelection(v); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* s) override {
        return standard_->get_accDefaultAction(c, s);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override { return standard_->accSelect(f, c); }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT c) override {
        return standard_->accLocation(x, y, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override {
        return standard_->accNavigate(d, s, e);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override { return standard_->accHitTest(x, y, c); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return standard_->accDoDefaultAction(c); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR s) override { return standard_->put_accName(c, s); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR s) override { return standard_->put_accValue(c, s); }

private:
    ~DescribedObject() { standard_->Release(); }

    HWND control_;
    IAccessible* standard_;
    LONG references_ = 1;
};

// The answer to WM_GETOBJECT for the control's client object; 0 to let the control answer.
LRESULT describedObject(HWND control, WPARAM flags) {
    const Accessibility& a = Accessibility::get();
    if (!a.ready()) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(a.standardObject(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))) ||
        !standard)
        return 0;
    auto* object = new DescribedObject(control, standard);
    const LRESULT result = a.toResult(__uuidof(IAccessible), flags, object);
    object->Release();
    return result > 0 ? result : 0;  // a failure is a negative HRESULT
}

LRESULT CALLBACK describedProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    Described* d = described(control);
    if (!d) return ::DefWindowProcW(control, message, wParam, lParam);
    const WNDPROC previous = d->previous;
    if (message == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT)
        if (const LRESULT object = describedObject(control, wParam)) return object;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        ::RemovePropW(control, describedProperty);
        delete d;
    }
    return ::CallWindowProcW(previous, control, message, wParam, lParam);
}

}  // namespace

void describeControl(HWND control, const std::wstring& description) {
    if (!control) return;
    Described* d = described(control);
    if (!d) {
        if (description.empty()) return;
        auto fresh = std::make_unique<Described>();
        if (!::SetPropW(control, describedProperty, fresh.get())) return;
        fresh->previous = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(describedProc)));
        if (!fresh->previous) {
            ::RemovePropW(control, describedProperty);
            return;
        }
        d = fresh.release();
    }
    if (d->text == description) return;
    d->text = description;
    ::NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace numerak::win32
