#include "AccessibleName.h"

#include <objbase.h>
#include <oleacc.h>

namespace {

// oleacc's own identifiers, written out so that nothing of oleacc is linked.
constexpr GUID kClsidAccPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kIidAccPropServices = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kPropIdAccName = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

}  // namespace

void CAccessibleName::Set(HWND control, const wchar_t* name) {
    if (m_services) return;
    IAccPropServices* services = nullptr;
    if (FAILED(::CoCreateInstance(kClsidAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIidAccPropServices,
                                  reinterpret_cast<void**>(&services))))
        return;
    if (FAILED(
            services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kPropIdAccName, name))) {
        services->Release();
        return;
    }
    m_services = services;
    m_control = control;
}

void CAccessibleName::Clear() {
    if (!m_services) return;
    m_services->ClearHwndProps(m_control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &kPropIdAccName, 1);
    m_services->Release();
    m_services = nullptr;
    m_control = nullptr;
}
