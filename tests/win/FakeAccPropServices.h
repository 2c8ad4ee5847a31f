#pragma once
// A stand-in for oleacc's annotation service, registered in the calling
// thread's apartment, where COM finds it before the registry: it records the
// names set on windows, whether each window was showing then, and the windows
// cleared, and whether each cleared window still existed then.

#include <objbase.h>
#include <oleacc.h>

#include <string>
#include <vector>

class FakeAccPropServices final : public IAccPropServices, public IClassFactory {
public:
    struct Named {
        HWND hwnd;
        DWORD idObject, idChild;
        GUID prop;
        std::wstring name;
        bool windowShown;  // whether the control's top-level window was visible then
    };
    struct Cleared {
        HWND hwnd;
        DWORD idObject, idChild;
        std::vector<GUID> props;
        bool windowExisted;
    };
    std::vector<Named> named;
    std::vector<Cleared> cleared;

    FakeAccPropServices();   // registers the class object; the apartment must exist
    ~FakeAccPropServices();  // revokes it
    FakeAccPropServices(const FakeAccPropServices&) = delete;
    FakeAccPropServices& operator=(const FakeAccPropServices&) = delete;

    // IUnknown: the object lives as long as the test's variable.
    HRESULT WINAPI QueryInterface(REFIID riid, void** ppv) override;
    ULONG WINAPI AddRef() override { return 2; }
    ULONG WINAPI Release() override { return 1; }
    // IClassFactory
    HRESULT WINAPI CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    HRESULT WINAPI LockServer(BOOL) override { return S_OK; }
    // IAccPropServices: the two calls the program makes are recorded.
    HRESULT WINAPI SetHwndPropStr(HWND hwnd, DWORD idObject, DWORD idChild, MSAAPROPID idProp, LPCWSTR str) override;
    HRESULT WINAPI ClearHwndProps(HWND hwnd, DWORD idObject, DWORD idChild, const MSAAPROPID* props,
                                  int count) override;
    HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override { return E_NOTIMPL; }

    static const GUID kClsid, kIid, kPropName;

private:
    DWORD m_cookie = 0;
};
