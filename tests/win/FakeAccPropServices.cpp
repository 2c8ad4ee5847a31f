#include "FakeAccPropServices.h"

// oleacc's published identifiers, written out as a client would read them.
const GUID FakeAccPropServices::kClsid = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const GUID FakeAccPropServices::kIid = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const GUID FakeAccPropServices::kPropName = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

namespace {
const GUID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const GUID kIidClassFactory = {0x00000001, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
}  // namespace

FakeAccPropServices::FakeAccPropServices() {
    ::CoRegisterClassObject(kClsid, static_cast<IClassFactory*>(this), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                            &m_cookie);
}

FakeAccPropServices::~FakeAccPropServices() {
    if (m_cookie) ::CoRevokeClassObject(m_cookie);
}

HRESULT WINAPI FakeAccPropServices::QueryInterface(REFIID riid, void** ppv) {
    if (::IsEqualGUID(riid, kIidClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
    } else if (::IsEqualGUID(riid, kIid) || ::IsEqualGUID(riid, kIidUnknown)) {
        *ppv = static_cast<IAccPropServices*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    return S_OK;
}

HRESULT WINAPI FakeAccPropServices::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (outer) return CLASS_E_NOAGGREGATION;
    return QueryInterface(riid, ppv);
}

HRESULT WINAPI FakeAccPropServices::SetHwndPropStr(HWND hwnd, DWORD idObject, DWORD idChild, MSAAPROPID idProp,
                                                   LPCWSTR str) {
    named.push_back(
        {hwnd, idObject, idChild, idProp, str ? str : L"", ::IsWindowVisible(::GetAncestor(hwnd, GA_ROOT)) != FALSE});
    return S_OK;
}

HRESULT WINAPI FakeAccPropServices::ClearHwndProps(HWND hwnd, DWORD idObject, DWORD idChild, const MSAAPROPID* props,
                                                   int count) {
    cleared.push_back({hwnd, idObject, idChild, std::vector<GUID>(props, props + (count > 0 ? count : 0)),
                       ::IsWindow(hwnd) != FALSE});
    return S_OK;
}
