#pragma once
// A control's name for screen readers, given without changing its template:
// oleacc's dynamic annotation, created through COM. Where the platform has no
// annotation, or refuses it, nothing changes.

#include "Afx.h"

struct IAccPropServices;

class CAccessibleName {
public:
    CAccessibleName() = default;
    ~CAccessibleName() { Clear(); }
    CAccessibleName(const CAccessibleName&) = delete;
    CAccessibleName& operator=(const CAccessibleName&) = delete;

    // Names the control's client object; once, on the thread's apartment.
    void Set(HWND control, const wchar_t* name);
    // Takes the name back; call it before the control is destroyed.
    void Clear();

private:
    IAccPropServices* m_services = nullptr;
    HWND m_control = nullptr;
};
