#pragma once

#include "Afx.h"

// An icon this program made, destroyed when it is replaced or its owner goes.
class COwnedIcon {
public:
    COwnedIcon() = default;
    ~COwnedIcon() { Replace(nullptr); }
    COwnedIcon(const COwnedIcon&) = delete;
    COwnedIcon& operator=(const COwnedIcon&) = delete;

    HICON Get() const { return m_hIcon; }
    // Takes icon in place of the one held, which is destroyed: call it once
    // nothing shows the old one any more.
    void Replace(HICON icon) {
        ::DestroyIcon(m_hIcon);  // nothing, when none is held
        m_hIcon = icon;
    }

private:
    HICON m_hIcon = nullptr;
};
