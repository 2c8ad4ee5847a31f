#include "CmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage != message) continue;
            if (message == WM_COMMAND && (e->nCode != code || id < e->nID || id > e->nLastID)) continue;
            return e;
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT nID, UINT nCode) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, nCode, nID);
    if (!entry) return false;
    LRESULT ignored = 0;
    return entry->pfn(this, 0, 0, ignored);
}
